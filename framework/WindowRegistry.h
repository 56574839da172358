// The registry of open windows: the implicit-instance table (one live window per class), the
// list of open windows, and the burial of closed ones.
#pragma once

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "Window.h"

// The implicit-instance table: live windows by class key ("MainWindow.MainWindow").
Window* GetImplicitWindow(const std::string& key);
void RegisterImplicitWindow(const std::string& key, Window* window);
// Takes a window out of the table and the list: it is no longer the live one of its class.
void ForgetWindow(Window* window);
// All open windows, oldest first.
const std::vector<Window*>& OpenWindows();
void AddToWindowList(Window* window);
// A closed window goes from the event loop once no handler of its own is running.
void BuryWhenIdle(Window* window);
// Another burial pass from the event loop: a window's last running handler has returned.
void ScheduleBurial();
// Releases every window still open, without running their Close handlers (shutdown).
void ReleaseImplicitWindows();
void ReleaseWindowList();

namespace detail {
template <class W>
std::unique_ptr<W>& ImplicitSlot() {
  static std::unique_ptr<W> slot;
  return slot;
}
}  // namespace detail

// The one place a window class gets its name.
template <class W>
std::string ImplicitKey() {
  return std::string(W::kClassName) + "." + W::kClassName;
}

// The implicit-instance accessor: the class's one instance, made on first reference. A window
// is made and shown whenever none of its class is open; any other class (the menu bar) is made
// once and kept until ReleaseImplicit. A constructor that throws leaves nothing behind.
template <class W>
W& Implicit() {
  if constexpr (std::is_base_of_v<Window, W>) {
    const std::string key = ImplicitKey<W>();
    Window* live = GetImplicitWindow(key);
    if (live == nullptr) {
      auto* made = new W();
      made->Construct(W::kClassName, key);
      live = made;
    }
    W* typed = dynamic_cast<W*>(live);
    if (typed == nullptr) throw NilObjectException("window " + key + " is of another class");
    return *typed;
  } else {
    std::unique_ptr<W>& slot = detail::ImplicitSlot<W>();
    if (!slot) slot = std::make_unique<W>();
    return *slot;
  }
}

template <class W>
void ReleaseImplicit() {
  detail::ImplicitSlot<W>().reset();
}

template <class W>
bool HasImplicit() {
  return detail::ImplicitSlot<W>() != nullptr;
}

// The live window of the class, or nil: a lookup that never makes one.
template <class W>
W* ImplicitIfOpen() {
  return dynamic_cast<W*>(GetImplicitWindow(ImplicitKey<W>()));
}
