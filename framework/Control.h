// The base of every control: a name on its window, declared properties applied by name, and
// events bound by name to handlers with the event's fixed signature.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "Basics.h"
#include "Events.h"

class Window;
class Picture;

class Control {
 public:
  Control(::Window& owner, std::string name);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  ::Window& Window() const { return owner_; }
  int Index() const { return index_; }

  // The framework class name ("StaticText", "HTTPSocket", ...), used in messages.
  virtual const char* ClassName() const = 0;

  // Applies one declared property. A name the class does not have, or a value of the wrong
  // type, throws std::invalid_argument: declarations fail loudly the first time they are built.
  void SetProperty(const std::string& name, const PropertyValue& value);

  // Binds a handler under an event name. An event the class does not raise, or a handler whose
  // signature is not the event's, throws std::invalid_argument.
  void InstallEventHandler(const std::string& event, EventHandler handler);
  bool HasHandler(const std::string& event) const { return handlers_.count(event) != 0; }

  // The project picture a control shows (toolbar Image, canvas Backdrop); others ignore it.
  virtual void SetPicture(Picture* picture);

  // Binds a menu item name to one of this control's own commands (web views' Edit commands).
  void AddMenuHandler(const std::string& itemName, std::function<bool()> handler);
  const std::function<bool()>* MenuHandler(const std::string& itemName) const;

  // Called when the window closes: stop every activity (sockets, timers, pages).
  virtual void Shutdown() {}
  // Creation step for web views: bind the Edit menu items to the view's own commands.
  virtual void AddEditMenuHandlers() {}

 protected:
  // Returns false when the class has no property of that name; subclasses try their own names
  // and fall back to their base.
  virtual bool ApplyProperty(const std::string& name, const PropertyValue& value);
  // Told after a handler has been bound, for controls whose look depends on it.
  virtual void HandlerInstalled(const std::string&) {}
  // The index of the EventHandler alternative for an event this class raises, or nothing.
  virtual std::optional<std::size_t> EventSignature(const std::string& event) const;

  // Runs the bound handler, if any. An exception that leaves the handler is handed to the
  // unhandled-exception report instead of unwinding through the toolkit.
  template <class Handler, class... Args>
  auto Raise(const std::string& event, Args&&... args) ->
      typename std::conditional_t<std::is_void_v<typename Handler::result_type>, void,
                                  std::optional<typename Handler::result_type>>;

 private:
  bool OwnerClosed() const;

  ::Window& owner_;
  std::string name_;
  int index_ = -2147483647 - 1;
  std::map<std::string, std::shared_ptr<const EventHandler>> handlers_;
  std::map<std::string, std::function<bool()>> menuHandlers_;
};

// Held while a handler of the window runs (and while the window is built): a closed window is
// deleted only once nothing holds it, so a handler can close its own window, or wait in a
// message box while something else closes it, and still use the window until it returns.
class WindowHold {
 public:
  explicit WindowHold(::Window& window);
  ~WindowHold();
  WindowHold(const WindowHold&) = delete;
  WindowHold& operator=(const WindowHold&) = delete;

 private:
  ::Window& window_;
};

// Reports an exception that no handler caught (see Runtime.h); defined in Runtime.cpp.
void ReportUnhandledException(std::exception_ptr error);

template <class Handler, class... Args>
auto Control::Raise(const std::string& event, Args&&... args) ->
    typename std::conditional_t<std::is_void_v<typename Handler::result_type>, void,
                                std::optional<typename Handler::result_type>> {
  using Result = typename Handler::result_type;
  auto found = handlers_.find(event);
  // A closed window's controls raise nothing while they are torn down.
  if (found == handlers_.end() || OwnerClosed()) {
    if constexpr (std::is_void_v<Result>) {
      return;
    } else {
      return std::nullopt;
    }
  }
  // Held for the call: the handler may close the window.
  const WindowHold hold(owner_);
  const std::shared_ptr<const EventHandler> held = found->second;
  const Handler& handler = std::get<Handler>(*held);
  try {
    if constexpr (std::is_void_v<Result>) {
      handler(std::forward<Args>(args)...);
    } else {
      return handler(std::forward<Args>(args)...);
    }
  } catch (...) {
    ReportUnhandledException(std::current_exception());
  }
  if constexpr (!std::is_void_v<Result>) return std::nullopt;
}
