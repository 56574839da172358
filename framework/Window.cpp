#include "Window.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QPalette>
#include <QScreen>
#include <QToolBar>
#include <algorithm>

#include "Menu.h"
#include "Runtime.h"
#include "ToolbarItem.h"
#include "WindowRegistry.h"
#include "WindowWidget.h"

WindowHold::WindowHold(Window& window) : window_(window) {
  ++window_.holds_;
}

WindowHold::~WindowHold() {
  if (--window_.holds_ == 0 && window_.closed_) ScheduleBurial();
}

Window::Window() = default;

Window::~Window() {
  closed_ = true;
  ForgetWindow(this);
  if (widget_ != nullptr) {
    widget_->Disown();
    delete widget_;
  }
  controls_.clear();
}

QMainWindow* Window::Widget() const {
  return widget_;
}

QWidget* Window::Content() const {
  return widget_ == nullptr ? nullptr : widget_->Content();
}

void Window::Retire() {
  closed_ = true;
  for (auto& control : controls_) control->Shutdown();
  ForgetWindow(this);
  if (widget_ != nullptr) widget_->hide();
  BuryWhenIdle(this);
}

void Window::WidgetDestroyed() {
  // The toolkit took the widget down with a window it belonged to: this window ends with it.
  widget_ = nullptr;
  if (!closed_) Retire();
}

void Window::Construct(const std::string& className, const std::string& implicitKey) {
  const WindowHold hold(*this);
  className_ = className;
  RegisterImplicitWindow(implicitKey, this);
  AddToWindowList(this);
  widget_ = new WindowWidget(this);
  try {
    Layout();
    CreateControls();
    AddMenuHandlers();
    ApplyFlags();
    AddApplicationShortcuts();
    RefreshControlVisibility();
    constructed_ = true;
    Event_Open();
    if (visible_ && !closed_) ShowForTheFirstTime();
  } catch (...) {
    if (!closed_) Retire();
    throw;
  }
}

namespace {
void AddShortcutsOf(const MenuItem& item, QWidget& widget) {
  for (std::size_t i = 0; i < item.Count(); ++i) {
    const MenuItem& child = item.Item(i);
    if (!child.KeyboardShortcut().empty()) widget.addAction(child.Action());
    AddShortcutsOf(child, widget);
  }
}
}  // namespace

// A window without a menu bar of its own (a sheet, the status view) answers the application's
// shortcuts too: Cmd+Q, Cmd+W and the Edit commands work whichever window is in front.
void Window::AddApplicationShortcuts() {
  const Application* app = GetAppObject();
  if (menuBar_ != nullptr || app == nullptr || app->MenuBar() == nullptr) return;
  AddShortcutsOf(*app->MenuBar(), *widget_);
}

void Window::Layout() {
  const WindowDeclaration& declaration = Declaration();
  if (declaration.menuBar != nullptr) SetMenuBar(declaration.menuBar());
  for (const auto& [name, value] : declaration.properties) ApplyWindowProperty(name, value);
}

void Window::CreateControls() {
  for (const ControlDeclaration& declaration : Declaration().controls) CreateControl(declaration);
}

void Window::CreateControl(const ControlDeclaration& declaration) {
  const std::string& name = declaration.Name();
  if (ControlByName(name) != nullptr) {
    throw std::invalid_argument(ClassName() + " declares " + name + " twice");
  }
  controls_.push_back(declaration.MakeControl()(*this, name));
  controlsByName_[name] = controls_.back().get();
  Control& control = Find<Control>(name);
  if (declaration.PictureSource() != nullptr) control.SetPicture(declaration.PictureSource()());
  for (const auto& [property, value] : declaration.AllProperties()) {
    control.SetProperty(property, value);
  }
  control.AddEditMenuHandlers();
  for (const auto& [event, binder] : declaration.Events()) {
    control.InstallEventHandler(event, binder(*this));
  }
}

Control* Window::ControlByName(const std::string& name) const {
  auto found = controlsByName_.find(name);
  return found == controlsByName_.end() ? nullptr : found->second;
}

void Window::ApplyWindowProperty(const std::string& name, const PropertyValue& value) {
  if (name == "Title") {
    SetTitle(value.AsString(name));
  } else if (name == "Width") {
    contentWidth_ = value.AsInteger(name);
  } else if (name == "Height") {
    contentHeight_ = value.AsInteger(name);
  } else if (name == "MinWidth") {
    minWidth_ = value.AsInteger(name);
  } else if (name == "MinHeight") {
    minHeight_ = value.AsInteger(name);
  } else if (name == "MaxWidth") {
    maxWidth_ = value.AsInteger(name);
  } else if (name == "MaxHeight") {
    maxHeight_ = value.AsInteger(name);
  } else if (name == "Placement") {
    placement_ = value.AsCode<::Placement>(name);
  } else if (name == "Frame") {
    frame_ = value.AsCode<::Frame>(name);
  } else if (name == "HasBackColor") {
    hasBackColor_ = value.AsBoolean(name);
    SetBackColor(backColor_);
  } else if (name == "BackColor") {
    SetBackColor(value.AsColor(name));
  } else if (name == "Visible") {
    visible_ = value.AsBoolean(name);
  } else if (name == "CloseButton") {
    closeButton_ = value.AsBoolean(name);
  } else if (name == "Resizeable") {
    resizeable_ = value.AsBoolean(name);
  } else if (name == "MaximizeButton") {
    maximizeButton_ = value.AsBoolean(name);
  } else if (name == "MinimizeButton") {
    minimizeButton_ = value.AsBoolean(name);
  } else if (name == "Composite" || name == "LiveResize") {
    // Every window here is drawn composited and resized live: both values look the same.
    value.AsBoolean(name);
  } else if (name == "FullScreen") {
    RequireUsual(name, value, false);
  } else if (name == "MenuBarVisible") {
    RequireUsual(name, value, true);
  } else if (name == "BalloonHelp") {
    RequireUsual(name, value, "");
  } else if (name == "MacProcID") {
    RequireUsual(name, value, 0);
  } else {
    throw std::invalid_argument(ClassName() + " has no window property " + name);
  }
}

// Window kind, title-bar buttons, size limits and first size, all from the declared values.
void Window::ApplyFlags() {
  const bool sheet = frame_ == ::Frame::Sheet;
  const bool modal = frame_ == ::Frame::MovableModal || frame_ == ::Frame::ModalDialog;
  Qt::WindowFlags flags = Qt::Window;
  if (frame_ == ::Frame::Floating) flags = Qt::Tool;
  if (modal || sheet) flags = Qt::Dialog;
  flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
  if (closeButton_) flags |= Qt::WindowCloseButtonHint;
  if (minimizeButton_ && !sheet) flags |= Qt::WindowMinimizeButtonHint;
  if (maximizeButton_ && resizeable_) flags |= Qt::WindowMaximizeButtonHint;
  if (sheet) {
    // A sheet belongs to the main window and blocks it while it is up: a bordered panel without
    // a title bar, hanging from the top of that window's content and moving with it.
    QWidget* parent = nullptr;
    for (Window* other : OpenWindows()) {
      if (other != this && other->frame_ != ::Frame::Sheet && other->widget_ != nullptr) {
        parent = other->widget_;
        break;
      }
    }
    widget_->setParent(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::Sheet);
    widget_->setWindowModality(parent == nullptr ? Qt::ApplicationModal : Qt::WindowModal);
    widget_->MakeSheet();
  } else {
    widget_->setWindowFlags(flags);
    if (modal) widget_->setWindowModality(Qt::ApplicationModal);
  }

  QWidget* content = widget_->Content();
  content->setFixedSize(contentWidth_, contentHeight_);
  widget_->layout()->activate();
  widget_->resize(widget_->sizeHint());
  if (resizeable_) {
    content->setMinimumSize(minWidth_, minHeight_);
    content->setMaximumSize(std::min(maxWidth_, QWIDGETSIZE_MAX),
                            std::min(maxHeight_, QWIDGETSIZE_MAX));
  } else {
    // The window system offers neither resizing nor zooming only to a window of one fixed size.
    widget_->setFixedSize(widget_->size());
  }
}

void Window::ShowForTheFirstTime() {
  QWidget* anchor = nullptr;
  for (Window* other : OpenWindows()) {
    if (other != this && other->widget_ != nullptr && other->widget_->isVisible()) {
      anchor = other->widget_;
      break;
    }
  }
  const QRect frame(QPoint(0, 0), widget_->size());
  if (frame_ == ::Frame::Sheet && widget_->parentWidget() != nullptr) {
    widget_->PlaceAsSheet();
  } else if (placement_ == ::Placement::Parent && anchor != nullptr) {
    widget_->move(anchor->geometry().center() - frame.center());
  } else if (placement_ == ::Placement::MainScreen || placement_ == ::Placement::ParentScreen ||
             placement_ == ::Placement::Parent) {
    QScreen* screen = (placement_ == ::Placement::ParentScreen && anchor != nullptr)
                          ? anchor->screen()
                          : QGuiApplication::primaryScreen();
    if (screen != nullptr) widget_->move(screen->availableGeometry().center() - frame.center());
  }
  placed_ = true;
  widget_->show();
  widget_->raise();
  widget_->activateWindow();
}

bool Window::Visible() const {
  return visible_ && !closed_;
}

void Window::SetVisible(bool value) {
  visible_ = value;
  if (!constructed_ || closed_) return;
  if (value) {
    if (!placed_) {
      ShowForTheFirstTime();
      return;
    }
    // Shown again where it was, in front, restored when it was minimized; a sheet up on it comes
    // back in front of it too, or the window would sit blocked by a sheet hidden behind it.
    widget_->setWindowState(widget_->windowState() & ~Qt::WindowMinimized);
    widget_->show();
    widget_->raise();
    widget_->activateWindow();
    for (Window* other : OpenWindows()) {
      if (other->frame_ == ::Frame::Sheet && other->widget_ != nullptr &&
          other->widget_->parentWidget() == widget_ && other->Visible()) {
        other->widget_->show();
        other->widget_->raise();
        other->widget_->activateWindow();
      }
    }
  } else {
    widget_->hide();
  }
}

std::string Window::Title() const {
  return title_;
}

void Window::SetTitle(const std::string& title) {
  title_ = title;
  if (widget_ != nullptr) widget_->setWindowTitle(QString::fromStdString(title));
}

void Window::SetBackColor(Color color) {
  backColor_ = color;
  if (widget_ == nullptr) return;
  QWidget* content = widget_->Content();
  QPalette palette = content->palette();
  if (hasBackColor_) {
    palette.setColor(QPalette::Window, QColor(color.red, color.green, color.blue));
    content->setPalette(palette);
    content->setAutoFillBackground(true);
  } else {
    content->setAutoFillBackground(false);
  }
}

void Window::SetMenuBar(::MenuBar* bar) {
  menuBar_ = bar;
  if (widget_ == nullptr || bar == nullptr) return;
  QMenuBar* shown = widget_->menuBar();
  shown->clear();
  for (std::size_t i = 0; i < bar->Count(); ++i) shown->addAction(bar->Item(i).Action());
}

void Window::Close() {
  if (closed_) return;
  const WindowHold hold(*this);
  closed_ = true;
  // The Close handler still sees every control; nothing raises events from now on.
  Event_Close();
  Retire();
}

void Window::CloseRequestedByUser() {
  try {
    Close();
  } catch (...) {
    ReportUnhandledException(std::current_exception());
  }
}

void Window::Maximize() {
  if (widget_ != nullptr) widget_->showMaximized();
}

void Window::Minimize() {
  if (widget_ != nullptr) widget_->showMinimized();
}

// A minimized window comes back as it was before, zoomed or not; any other is unzoomed.
void Window::Restore() {
  if (widget_ == nullptr) return;
  const Qt::WindowStates state = widget_->windowState();
  if (state.testFlag(Qt::WindowMinimized)) {
    widget_->setWindowState(state & ~Qt::WindowMinimized);
    widget_->show();
    widget_->raise();
    widget_->activateWindow();
  } else {
    widget_->showNormal();
  }
}

const std::function<bool()>* Window::MenuHandlerFor(const std::string& itemName) const {
  QWidget* focus = QApplication::focusWidget();
  const std::function<bool()>* any = nullptr;
  for (const auto& control : controls_) {
    const std::function<bool()>* handler = control->MenuHandler(itemName);
    if (handler == nullptr) continue;
    auto* rect = dynamic_cast<RectControl*>(control.get());
    if (focus != nullptr && rect != nullptr && rect->Widget() != nullptr &&
        (rect->Widget() == focus || rect->Widget()->isAncestorOf(focus))) {
      return handler;
    }
    if (any == nullptr) any = handler;
  }
  return any;
}

void Window::AddToolbarAction(Control& item) {
  auto* toolbarItem = dynamic_cast<ToolbarItem*>(&item);
  if (toolbarItem == nullptr || widget_ == nullptr) return;
  widget_->Toolbar()->addAction(toolbarItem->Action());
}

void Window::RefreshControlVisibility() {
  for (auto& control : controls_) {
    if (auto* rect = dynamic_cast<RectControl*>(control.get())) rect->UpdateShown();
  }
}

void Window::ContentResized(int width, int height) {
  if (!constructed_) return;
  contentWidth_ = width;
  contentHeight_ = height;
  for (auto& control : controls_) {
    if (auto* rect = dynamic_cast<RectControl*>(control.get())) rect->WindowResized(width, height);
  }
}
