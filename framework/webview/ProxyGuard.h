// The web views' side of the proxy rule (ProxySetting.h).
#pragma once

class QWebEngineProfile;

// Blocks every request of the profile's web views that the proxy setting cannot carry; the load
// ends in the view's usual error. Installed once per profile.
void GuardProxySetting(QWebEngineProfile* profile);
