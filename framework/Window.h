// Windows: declared as data, made once per class through the implicit-instance accessor (see
// WindowRegistry.h), their controls reached by name.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Codes.h"
#include "Control.h"
#include "RectControl.h"
#include "WindowDeclaration.h"

class MenuBar;
class QWidget;
class QMainWindow;
class WindowWidget;

class Window {
 public:
  Window();
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // The class name the implicit-instance table knows the window by: its class's kClassName.
  const std::string& ClassName() const { return className_; }

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
  // Ends the window: its Close handler runs, then the window and its controls go once no
  // handler of the window is running any more. A window closes itself through `this`: its
  // accessor would make a new one.
  void Close();
  void Maximize();
  void Minimize();
  void Restore();
  bool IsClosed() const { return closed_; }

  // The declared kind and first placement, for the toolkit layer and tests.
  ::Frame WindowFrame() const { return frame_; }
  ::Placement WindowPlacement() const { return placement_; }

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
  void Construct(const std::string& className, const std::string& implicitKey);

  // True while a handler of the window runs or the window is being built (see WindowHold).
  bool Busy() const { return holds_ > 0; }

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
  friend class WindowHold;
  void ApplyWindowProperty(const std::string& name, const PropertyValue& value);
  void CreateControl(const ControlDeclaration& declaration);
  void ApplyFlags();
  void AddApplicationShortcuts();
  void ShowForTheFirstTime();
  // Stops the controls and takes the window out of the registry; it is buried when idle.
  void Retire();

  WindowWidget* widget_ = nullptr;
  std::vector<std::unique_ptr<Control>> controls_;
  std::map<std::string, Control*> controlsByName_;
  std::string className_;
  std::string title_;
  ::MenuBar* menuBar_ = nullptr;
  Color backColor_ = RGB(255, 255, 255);
  bool hasBackColor_ = false;
  bool visible_ = true;
  bool constructed_ = false;
  // Placed by its first showing; later showings leave it where it is.
  bool placed_ = false;
  bool closed_ = false;
  int holds_ = 0;
  int contentWidth_ = 0;
  int contentHeight_ = 0;
  int minWidth_ = 64, minHeight_ = 64, maxWidth_ = 32000, maxHeight_ = 32000;
  ::Placement placement_ = ::Placement::Default;
  ::Frame frame_ = ::Frame::Document;
  bool closeButton_ = true, resizeable_ = true, maximizeButton_ = true, minimizeButton_ = true;
};

template <class C>
C& Window::Find(const std::string& name) const {
  C* typed = dynamic_cast<C*>(ControlByName(name));
  if (typed == nullptr) {
    throw NilObjectException(ClassName() + " has no control " + name);
  }
  return *typed;
}
