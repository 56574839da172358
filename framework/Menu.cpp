#include "Menu.h"

#include <QAction>
#include <QIcon>
#include <QImage>
#include <QKeySequence>
#include <QMenu>
#include <QPixmap>
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
