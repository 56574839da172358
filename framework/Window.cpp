#include "Window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QPalette>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <map>

#include "Buttons.h"
#include "Menu.h"
#include "Runtime.h"
#include "ToolbarItem.h"

namespace {

std::map<std::string, Window*>& ImplicitTable() {
  static std::map<std::string, Window*> table;
  return table;
}

std::vector<Window*>& WindowList() {
  static std::vector<Window*> list;
  return list;
}

// Closed windows wait here until the event loop is back in control: a window may be closed from
// inside one of its own handlers.
std::vector<Window*>& Graveyard() {
  static std::vector<Window*> graveyard;
  return graveyard;
}

void BuryLater(Window* window) {
  Graveyard().push_back(window);
  QTimer::singleShot(0, [] {
    std::vector<Window*> dead;
    dead.swap(Graveyard());
    for (Window* w : dead) delete w;
  });
}

void Forget(Window* window) {
  auto& table = ImplicitTable();
  for (auto it = table.begin(); it != table.end();) {
    it = it->second == window ? table.erase(it) : std::next(it);
  }
  auto& list = WindowList();
  list.erase(std::remove(list.begin(), list.end(), window), list.end());
}

}  // namespace

// The window's content area: the geometry of every control is relative to it.
class ContentWidget : public QWidget {
 public:
  explicit ContentWidget(Window* owner) : owner_(owner) {}

 protected:
  void resizeEvent(QResizeEvent*) override { owner_->ContentResized(width(), height()); }

 private:
  Window* owner_;
};

class WindowWidget : public QMainWindow {
 public:
  explicit WindowWidget(Window* owner) : owner_(owner) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    content_ = new ContentWidget(owner);
    content_->setObjectName("content");
    setCentralWidget(content_);
  }
  ~WindowWidget() override {
    if (owner_ != nullptr) owner_->WidgetDestroyed();
  }

  QWidget* Content() const { return content_; }
  QToolBar* Toolbar() {
    if (toolbar_ == nullptr) {
      toolbar_ = new QToolBar(this);
      toolbar_->setObjectName("toolbar");
      toolbar_->setMovable(false);
      toolbar_->setFloatable(false);
      toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
      toolbar_->setIconSize(QSize(32, 32));
      toolbar_->toggleViewAction()->setEnabled(false);
      addToolBar(Qt::TopToolBarArea, toolbar_);
    }
    return toolbar_;
  }
  void Disown() { owner_ = nullptr; }

 protected:
  // Return presses the window's default button, Escape its cancel button; fields that use the
  // key themselves (many-line text) never pass it on.
  void keyPressEvent(QKeyEvent* event) override {
    if (owner_ != nullptr && event->modifiers() == Qt::NoModifier) {
      const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
      const bool escape = event->key() == Qt::Key_Escape;
      for (const auto& control : owner_->Controls()) {
        auto* button = dynamic_cast<PushButton*>(control.get());
        if (button != nullptr && ((enter && button->Default()) || (escape && button->Cancel()))) {
          button->Push();
          return;
        }
      }
    }
    QMainWindow::keyPressEvent(event);
  }

  void closeEvent(QCloseEvent* event) override {
    if (owner_ == nullptr || owner_->IsClosed()) {
      event->accept();
      return;
    }
    // The window's own Close decides; the toolkit never destroys it behind our back.
    event->ignore();
    owner_->CloseRequestedByUser();
  }

 private:
  Window* owner_;
  ContentWidget* content_ = nullptr;
  QToolBar* toolbar_ = nullptr;
};

// ---- declarations --------------------------------------------------------------------------

ControlDeclaration::ControlDeclaration(Factory factory, std::string name,
                                       std::optional<Geometry> geometry, PropertyList properties)
    : factory_(factory),
      name_(std::move(name)),
      geometry_(geometry),
      properties_(std::move(properties)) {}

ControlDeclaration&& ControlDeclaration::WithPicture(PictureAccessor accessor) && {
  picture_ = accessor;
  return std::move(*this);
}

ControlDeclaration ControlDeclaration::WithProperties(PropertyList properties) const {
  ControlDeclaration copy = *this;
  copy.geometry_.reset();
  copy.properties_ = std::move(properties);
  return copy;
}

PropertyList ControlDeclaration::AllProperties() const {
  PropertyList all;
  if (geometry_) {
    all.emplace_back("Left", geometry_->left);
    all.emplace_back("Top", geometry_->top);
    all.emplace_back("Width", geometry_->width);
    all.emplace_back("Height", geometry_->height);
  }
  all.insert(all.end(), properties_.begin(), properties_.end());
  return all;
}

// ---- tables --------------------------------------------------------------------------------

Window* GetImplicitWindow(const std::string& key) {
  auto found = ImplicitTable().find(key);
  return found == ImplicitTable().end() ? nullptr : found->second;
}

void RegisterImplicitWindow(const std::string& key, Window* window) {
  ImplicitTable()[key] = window;
}

const std::vector<Window*>& OpenWindows() {
  return WindowList();
}

void ReleaseImplicitWindows() {
  std::vector<Window*> live;
  for (auto& [key, window] : ImplicitTable()) live.push_back(window);
  ImplicitTable().clear();
  // Sheets first: their widgets are children of the window they belong to.
  std::stable_sort(live.begin(), live.end(),
                   [](Window* a, Window* b) { return a->Frame() == 8 && b->Frame() != 8; });
  for (Window* window : live) {
    WindowList().erase(std::remove(WindowList().begin(), WindowList().end(), window),
                       WindowList().end());
    delete window;
  }
}

void ReleaseWindowList() {
  std::vector<Window*> rest;
  rest.swap(WindowList());
  for (Window* window : rest) delete window;
  std::vector<Window*> dead;
  dead.swap(Graveyard());
  for (Window* window : dead) delete window;
}

// ---- window --------------------------------------------------------------------------------

Window::Window() = default;

Window::~Window() {
  closed_ = true;
  Forget(this);
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

void Window::WidgetDestroyed() {
  // The toolkit took the widget down with a window it belonged to: this window ends with it.
  widget_ = nullptr;
  if (closed_) return;
  closed_ = true;
  for (auto& control : controls_) control->Shutdown();
  Forget(this);
  BuryLater(this);
}

void Window::Construct(const std::string& implicitKey) {
  implicitKey_ = implicitKey;
  RegisterImplicitWindow(implicitKey, this);
  WindowList().push_back(this);
  widget_ = new WindowWidget(this);
  try {
    Layout();
    CreateControls();
    AddMenuHandlers();
    ApplyFlags();
    RefreshControlVisibility();
    constructed_ = true;
    Event_Open();
    if (visible_ && !closed_) ShowForTheFirstTime();
  } catch (...) {
    if (!closed_) {
      closed_ = true;
      Forget(this);
      BuryLater(this);
    }
    throw;
  }
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
    throw std::invalid_argument(std::string(ClassName()) + " declares " + name + " twice");
  }
  controls_.push_back(declaration.MakeControl()(*this, name));
  controlsByName_[name] = controls_.back().get();
  if (declaration.PictureSource() != nullptr) {
    Find<Control>(name).SetPicture(declaration.PictureSource()());
  }
  Control& control = Find<Control>(name);
  for (const auto& [property, value] : declaration.AllProperties()) {
    control.SetProperty(property, value);
  }
  Find<Control>(name).AddEditMenuHandlers();
  for (const auto& [event, binder] : declaration.Events()) {
    Find<Control>(name).InstallEventHandler(event, binder(*this));
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
    placement_ = value.AsInteger(name);
  } else if (name == "Frame") {
    frame_ = value.AsInteger(name);
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
  } else if (name == "Composite" || name == "FullScreen" || name == "MenuBarVisible" ||
             name == "LiveResize") {
    value.AsBoolean(name);
  } else if (name == "BalloonHelp") {
    value.AsString(name);
  } else if (name == "MacProcID") {
    value.AsInteger(name);
  } else {
    throw std::invalid_argument(std::string(ClassName()) + " has no window property " + name);
  }
}

// Window kind, title-bar buttons, size limits and first size, all from the declared values.
void Window::ApplyFlags() {
  Qt::WindowFlags flags = Qt::Window;
  if (frame_ == 3) flags = Qt::Tool;
  if (frame_ == 1 || frame_ == 2 || frame_ == 8) flags = Qt::Dialog;
  flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
  if (closeButton_) flags |= Qt::WindowCloseButtonHint;
  if (minimizeButton_ && frame_ != 8) flags |= Qt::WindowMinimizeButtonHint;
  if (maximizeButton_ && resizeable_) flags |= Qt::WindowMaximizeButtonHint;
  if (frame_ == 8) {
    // A sheet belongs to the main window and blocks it while it is up.
    QWidget* parent = nullptr;
    for (Window* other : OpenWindows()) {
      if (other != this && other->frame_ != 8 && other->widget_ != nullptr) {
        parent = other->widget_;
        break;
      }
    }
    widget_->setParent(parent, flags | Qt::Sheet);
    widget_->setWindowModality(parent == nullptr ? Qt::ApplicationModal : Qt::WindowModal);
  } else {
    widget_->setWindowFlags(flags);
    if (frame_ == 1 || frame_ == 2) widget_->setWindowModality(Qt::ApplicationModal);
  }

  QWidget* content = widget_->Content();
  content->setFixedSize(contentWidth_, contentHeight_);
  widget_->layout()->activate();
  widget_->resize(widget_->sizeHint());
  if (resizeable_) {
    content->setMinimumSize(minWidth_, minHeight_);
    content->setMaximumSize(std::min(maxWidth_, QWIDGETSIZE_MAX),
                            std::min(maxHeight_, QWIDGETSIZE_MAX));
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
  QWidget* owner = widget_->parentWidget();
  if (frame_ == 8 && owner != nullptr) {
    // A sheet hangs from the top of its window's content, centred across it.
    const QPoint top = owner->mapToGlobal(QPoint(0, 0)) +
                       QPoint(0, static_cast<QMainWindow*>(owner)->centralWidget()->y());
    widget_->move(top.x() + (owner->width() - widget_->width()) / 2, top.y());
  } else if (placement_ == 1 && anchor != nullptr) {
    widget_->move(anchor->geometry().center() - frame.center());
  } else if (placement_ == 2 || placement_ == 3 || placement_ == 1) {
    QScreen* screen = (placement_ == 3 && anchor != nullptr) ? anchor->screen()
                                                             : QGuiApplication::primaryScreen();
    if (screen != nullptr) widget_->move(screen->availableGeometry().center() - frame.center());
  }
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
    if (widget_->isVisible()) {
      widget_->raise();
      widget_->activateWindow();
    } else {
      ShowForTheFirstTime();
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
  closed_ = true;
  // The Close handler still sees every control; nothing raises events from now on.
  Event_Close();
  for (auto& control : controls_) control->Shutdown();
  Forget(this);
  if (widget_ != nullptr) widget_->hide();
  BuryLater(this);
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

void Window::Restore() {
  if (widget_ != nullptr) widget_->showNormal();
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
