// Windows: declared as data, made once per class through the implicit-instance accessor, their
// controls reached by name.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "Control.h"
#include "RectControl.h"

class MenuBar;
class Picture;
class QWidget;
class QMainWindow;
class WindowWidget;

using PropertyList = std::vector<std::pair<std::string, PropertyValue>>;

// One control of a window declaration: its class, name, geometry, declared properties, the
// project picture code sets on it, and its event bindings in binding order.
class ControlDeclaration {
 public:
  using Factory = std::unique_ptr<Control> (*)(::Window&, const std::string&);
  using PictureAccessor = Picture* (*)();
  using Binder = std::function<EventHandler(::Window&)>;

  ControlDeclaration(Factory factory, std::string name, std::optional<Geometry> geometry,
                     PropertyList properties);

  // Binds `event` to a member of the window class. The member's type must be the event's
  // signature exactly (see Events.h).
  template <class W, class R, class... A>
  ControlDeclaration&& On(std::string event, R (W::*handler)(A...)) &&;
  ControlDeclaration&& WithPicture(PictureAccessor accessor) &&;
  // The same control with another property list in place of the geometry and properties.
  ControlDeclaration WithProperties(PropertyList properties) const;

  const std::string& Name() const { return name_; }
  Factory MakeControl() const { return factory_; }
  // The declared properties with the geometry first, as they are applied.
  PropertyList AllProperties() const;
  PictureAccessor PictureSource() const { return picture_; }
  const std::vector<std::pair<std::string, Binder>>& Events() const { return events_; }

 private:
  Factory factory_;
  std::string name_;
  std::optional<Geometry> geometry_;
  PropertyList properties_;
  PictureAccessor picture_ = nullptr;
  std::vector<std::pair<std::string, Binder>> events_;
};

template <class C>
ControlDeclaration Declare(std::string name, Geometry geometry, PropertyList properties = {}) {
  return ControlDeclaration(
      [](::Window& w, const std::string& n) -> std::unique_ptr<Control> {
        return std::make_unique<C>(w, n);
      },
      std::move(name), geometry, std::move(properties));
}

// Controls without geometry: toolbar items, sockets, timers.
template <class C>
ControlDeclaration Declare(std::string name, PropertyList properties = {}) {
  return ControlDeclaration(
      [](::Window& w, const std::string& n) -> std::unique_ptr<Control> {
        return std::make_unique<C>(w, n);
      },
      std::move(name), std::nullopt, std::move(properties));
}

struct WindowDeclaration {
  // The menu bar the window shows, set by Layout before the properties (main window only).
  ::MenuBar* (*menuBar)() = nullptr;
  PropertyList properties;
  std::vector<ControlDeclaration> controls;
};

class Window {
 public:
  Window();
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // The class name the implicit-instance table knows the window by.
  virtual const char* ClassName() const = 0;

  bool Visible() const;
  // True shows the window and brings it forward; False hides it.
  void SetVisible(bool value);
  std::string Title() const;
  void SetTitle(const std::string& title);
  Color BackColor() const { return backColor_; }
  void SetBackColor(Color color);
  bool HasBackColor() const { return hasBackColor_; }
  ::MenuBar* MenuBar() const { return menuBar_; }
  void SetMenuBar(::MenuBar* bar);
  // Ends the window: its Close handler runs, then the window and its controls go.
  void Close();
  void Maximize();
  void Minimize();
  void Restore();
  bool IsClosed() const { return closed_; }

  // The declared size limits and kind, for the toolkit layer and tests.
  int Frame() const { return frame_; }
  int Placement() const { return placement_; }

  // The control registered under `name`, or nil.
  Control* ControlByName(const std::string& name) const;
  // The control registered under `name` as class C; NilObjectException when there is none.
  template <class C>
  C& Find(const std::string& name) const;
  const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }

  // The window's toolkit widget and its content area (framework use and tests).
  QMainWindow* Widget() const;
  QWidget* Content() const;
  int ContentWidth() const { return contentWidth_; }
  int ContentHeight() const { return contentHeight_; }

  // Menu dispatch: a handler bound to `itemName` by one of this window's controls, the focused
  // one first.
  const std::function<bool()>* MenuHandlerFor(const std::string& itemName) const;

  // Runs the construction steps; called once by the implicit-instance accessor.
  void Construct(const std::string& implicitKey);

  // Framework use: toolbar items, and passes over the controls.
  void AddToolbarAction(Control& item);
  void RefreshControlVisibility();
  void ContentResized(int width, int height);
  void CloseRequestedByUser();
  void WidgetDestroyed();

 protected:
  virtual const WindowDeclaration& Declaration() const = 0;
  virtual void Layout();
  virtual void CreateControls();
  virtual void AddMenuHandlers() {}
  virtual void Event_Open() {}
  virtual void Event_Close() {}

 private:
  void ApplyWindowProperty(const std::string& name, const PropertyValue& value);
  void CreateControl(const ControlDeclaration& declaration);
  void ApplyFlags();
  void ShowForTheFirstTime();

  WindowWidget* widget_ = nullptr;
  std::vector<std::unique_ptr<Control>> controls_;
  std::map<std::string, Control*> controlsByName_;
  std::string title_;
  std::string implicitKey_;
  ::MenuBar* menuBar_ = nullptr;
  Color backColor_ = RGB(255, 255, 255);
  bool hasBackColor_ = false;
  bool visible_ = true;
  bool constructed_ = false;
  bool closed_ = false;
  int contentWidth_ = 0;
  int contentHeight_ = 0;
  int minWidth_ = 64, minHeight_ = 64, maxWidth_ = 32000, maxHeight_ = 32000;
  int placement_ = 0;
  int frame_ = 0;
  bool closeButton_ = true, resizeable_ = true, maximizeButton_ = true, minimizeButton_ = true;
};

// The implicit-instance table: live windows by class key ("MainWindow.MainWindow").
Window* GetImplicitWindow(const std::string& key);
void RegisterImplicitWindow(const std::string& key, Window* window);
// All open windows, oldest first.
const std::vector<Window*>& OpenWindows();
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
      made->Construct(key);
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

template <class C>
C& Window::Find(const std::string& name) const {
  C* typed = dynamic_cast<C*>(ControlByName(name));
  if (typed == nullptr) {
    throw NilObjectException(std::string(ClassName()) + " has no control " + name);
  }
  return *typed;
}

namespace detail {
template <class Handler, class W, class R, class... A>
EventHandler BindMember(::Window& window, R (W::*member)(A...)) {
  W* typed = dynamic_cast<W*>(&window);
  if (typed == nullptr) throw std::invalid_argument("event bound to a member of another window");
  return EventHandler(
      Handler([typed, member](A... args) -> R { return (typed->*member)(args...); }));
}
}  // namespace detail

template <class W, class R, class... A>
ControlDeclaration&& ControlDeclaration::On(std::string event, R (W::*handler)(A...)) && {
  using Handler = std::function<R(A...)>;
  static_assert(std::is_constructible_v<EventHandler, std::in_place_type_t<Handler>, Handler>,
                "a handler's signature must be one of the event signatures of Events.h");
  events_.emplace_back(std::move(event), [handler](::Window& window) {
    return detail::BindMember<Handler>(window, handler);
  });
  return std::move(*this);
}
