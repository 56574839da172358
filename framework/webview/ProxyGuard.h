// The web views' side of the proxy rule (ProxySetting.h).
#pragma once

class QWebEngineProfile;

// Hands the program's reading of the proxy setting to the engine, in place of the engine's own
// reading of the environment. Only the first call counts, and it must come before the engine
// starts (before the first profile or page is made).
void GiveEngineTheProxySetting();
// Puts the engine's variable back as the user had it, once the engine has read it, so that
// the processes the program starts (the voice-chat client, a browser) inherit the user's
// environment, not the program's switches.
void GiveBackTheEngineFlags();

// Blocks every request of the profile's web views whose route the engine, fixed at its start,
// would take otherwise than the program takes it now, and every request a setting the program
// cannot use should carry; the load ends in the view's usual error. Installed once per profile.
void GuardProxySetting(QWebEngineProfile* profile);
