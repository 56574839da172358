// Menus: a menu bar is the root item whose children are the menus.
#pragma once

#include <memory>
#include <string>
#include <vector>

class Picture;
class QAction;
class QMenu;

class MenuItem {
 public:
  MenuItem();
  virtual ~MenuItem();
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  // The caption with its "&" marks; "-" makes the item a separator line.
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  // "Cmd+" and a key, with further modifiers between ("Cmd+Control+Z"); "" for none. Cmd is the
  // platform's command key: Ctrl where there is no Command key.
  const std::string& KeyboardShortcut() const { return shortcut_; }
  void SetKeyboardShortcut(const std::string& shortcut);
  // False leaves the item disabled.
  bool AutoEnable() const { return autoEnable_; }
  void SetAutoEnable(bool value);
  Picture* Icon() const { return icon_; }
  void SetIcon(Picture* picture);
  bool Enabled() const;

  // Adds an item as the last child; this item keeps it.
  void Append(std::unique_ptr<MenuItem> item);
  // The direct child named `name`, or nil.
  MenuItem* Child(const std::string& name) const;
  // The item named `name` anywhere below this one, or nil.
  MenuItem* FindItem(const std::string& name) const;
  std::size_t Count() const { return children_.size(); }
  MenuItem& Item(std::size_t index) const { return *children_.at(index); }

  // Framework use: the toolkit action, and the item's role in a platform application menu.
  QAction* Action() const { return action_; }
  enum class Role { Plain, ApplicationMenu, Quit };
  virtual Role MenuRole() const { return Role::Plain; }

 protected:
  void ApplyRole();

 private:
  std::string name_;
  std::string text_;
  std::string shortcut_;
  bool autoEnable_ = true;
  Picture* icon_ = nullptr;
  QAction* action_ = nullptr;
  QMenu* menu_ = nullptr;
  std::vector<std::unique_ptr<MenuItem>> children_;
};

// Shown in the application menu where the platform has one; elsewhere it stays in its menu.
class AppleMenuItem : public MenuItem {
 public:
  AppleMenuItem() { ApplyRole(); }
  Role MenuRole() const override { return Role::ApplicationMenu; }
};

// Quits the application by itself.
class QuitMenuItem : public MenuItem {
 public:
  QuitMenuItem() { ApplyRole(); }
  Role MenuRole() const override { return Role::Quit; }
};

class MenuBar : public MenuItem {};
