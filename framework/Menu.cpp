#include "Menu.h"

#include <QAction>
#include <QCoreApplication>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <QStringList>

#include "Basics.h"
#include "Picture.h"
#include "Runtime.h"

namespace {

// "Cmd+Control+Z": Cmd is the command key, which Qt calls Ctrl (Command on macOS); Control is
// the control key, which Qt calls Meta (Control on macOS).
QKeySequence ParseShortcut(const std::string& shortcut) {
  if (shortcut.empty()) return {};
  QStringList parts = QString::fromStdString(shortcut).split('+');
  for (QString& part : parts) {
    if (part == "Cmd") {
      part = "Ctrl";
    } else if (part == "Control") {
      part = "Meta";
    } else if (part == "Option") {
      part = "Alt";
    }
  }
  return QKeySequence::fromString(parts.join('+'), QKeySequence::PortableText);
}

// An enabled item below `item` whose shortcut is `keys` and that runs a command of the
// application (the quit item included).
bool RunsCommandOn(const Application& app, const MenuItem& item, const QKeySequence& keys) {
  for (std::size_t i = 0; i < item.Count(); ++i) {
    const MenuItem& child = item.Item(i);
    if (child.Action()->isEnabled() && child.Action()->shortcut() == keys &&
        (app.MenuHandler(child.Name()) != nullptr || child.MenuRole() == MenuItem::Role::Quit)) {
      return true;
    }
    if (RunsCommandOn(app, child, keys)) return true;
  }
  return false;
}

// A text field claims some keys before any shortcut sees them (under X11 key bindings Ctrl+U
// deletes its line). The application's commands keep their keys in every window, as a command
// key does on the Mac; the Edit items and the unbound ones leave the key to the field.
class CommandKeys : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ShortcutOverride) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const Application* app = GetAppObject();
    if (app == nullptr || app->MenuBar() == nullptr) return false;
    const QKeySequence keys(
        QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, static_cast<Qt::Key>(key->key())));
    if (!RunsCommandOn(*app, *app->MenuBar(), keys)) return false;
    // Not claimed: the shortcut runs the command.
    event->ignore();
    return true;
  }
};

void WatchCommandKeys() {
  static QPointer<QObject> watcher;
  if (watcher != nullptr || QCoreApplication::instance() == nullptr) return;
  watcher = new CommandKeys(QCoreApplication::instance());
  QCoreApplication::instance()->installEventFilter(watcher);
}

}  // namespace

MenuItem::MenuItem() : action_(new QAction()) {
  action_->setMenuRole(QAction::NoRole);
  action_->setShortcutContext(Qt::ApplicationShortcut);
  QObject::connect(action_, &QAction::triggered, action_, [this] {
    // The quit item quits by itself unless a handler takes the command.
    const bool handled = DispatchMenuCommand(name_);
    if (!handled && MenuRole() == Role::Quit) Quit(0);
  });
}

MenuItem::~MenuItem() {
  children_.clear();
  delete menu_;
  delete action_;
}

void MenuItem::ApplyRole() {
  switch (MenuRole()) {
    case Role::ApplicationMenu:
      action_->setMenuRole(QAction::ApplicationSpecificRole);
      break;
    case Role::Quit:
      action_->setMenuRole(QAction::QuitRole);
      break;
    case Role::Plain:
      action_->setMenuRole(QAction::NoRole);
      break;
  }
}

void MenuItem::SetText(const std::string& text) {
  text_ = text;
  // A separator is a plain line: the style would draw its "-" beside it.
  action_->setSeparator(text == "-");
  action_->setText(text == "-" ? QString() : QString::fromStdString(text));
  if (menu_ != nullptr) menu_->setTitle(QString::fromStdString(text));
}

void MenuItem::SetKeyboardShortcut(const std::string& shortcut) {
  shortcut_ = shortcut;
  action_->setShortcut(ParseShortcut(shortcut));
  if (!shortcut.empty()) WatchCommandKeys();
}

void MenuItem::SetAutoEnable(bool value) {
  autoEnable_ = value;
  action_->setEnabled(value);
}

bool MenuItem::Enabled() const {
  return action_->isEnabled();
}

void MenuItem::SetIcon(Picture* picture) {
  icon_ = picture;
  action_->setIcon(picture == nullptr ? QIcon() : QIcon(QPixmap::fromImage(picture->Shown())));
}

void MenuItem::Append(std::unique_ptr<MenuItem> item) {
  if (!item) throw NilObjectException("nil menu item appended to " + name_);
  if (menu_ == nullptr) {
    menu_ = new QMenu(QString::fromStdString(text_));
    menu_->setObjectName(QString::fromStdString(name_));
    action_->setMenu(menu_);
  }
  menu_->addAction(item->Action());
  children_.push_back(std::move(item));
}

MenuItem* MenuItem::Child(const std::string& name) const {
  for (const auto& child : children_) {
    if (child->Name() == name) return child.get();
  }
  return nullptr;
}

MenuItem* MenuItem::FindItem(const std::string& name) const {
  for (const auto& child : children_) {
    if (child->Name() == name) return child.get();
    if (MenuItem* found = child->FindItem(name)) return found;
  }
  return nullptr;
}
