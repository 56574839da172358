// The update-check state, as the main window's update check leaves it: "wait" until the answer
// comes, then the answer itself (one of the two words below when all is well), or "error".
#pragma once

namespace update_state {
inline constexpr const char* kWait = "wait";
inline constexpr const char* kAvailable = "updateavailable";
inline constexpr const char* kNoUpdate = "noupdate";
inline constexpr const char* kError = "error";
}  // namespace update_state
