#include "app/MenuBar1.h"

#include <memory>

#include "resources/Pictures.h"

namespace {

struct Entry {
  const char* name;
  const char* text;
  // nullptr: a separator, whose shortcut is never set.
  const char* shortcut;
  bool autoEnable = true;
  enum Kind { Plain, Apple, Quit } kind = Plain;
  Picture* (*icon)() = nullptr;
};

constexpr const char* kSeparator = nullptr;

// Each menu is appended under its name before any of its items, and every item is complete
// (name, enabling, caption, shortcut, icon) before it is appended.
void BuildMenu(MenuBar& bar, const char* name, const char* text,
               std::initializer_list<Entry> entries) {
  auto menu = std::make_unique<MenuItem>();
  menu->SetName(name);
  menu->SetAutoEnable(true);
  menu->SetText(text);
  menu->SetKeyboardShortcut("");
  bar.Append(std::move(menu));

  for (const Entry& entry : entries) {
    std::unique_ptr<MenuItem> item;
    switch (entry.kind) {
      case Entry::Apple:
        item = std::make_unique<AppleMenuItem>();
        break;
      case Entry::Quit:
        item = std::make_unique<QuitMenuItem>();
        break;
      case Entry::Plain:
        item = std::make_unique<MenuItem>();
        break;
    }
    item->SetName(entry.name);
    item->SetAutoEnable(entry.autoEnable);
    item->SetText(entry.text);
    if (entry.shortcut != kSeparator) item->SetKeyboardShortcut(entry.shortcut);
    if (entry.icon != nullptr) item->SetIcon(entry.icon());
    MenuItem* parent = bar.Child(name);
    if (parent == nullptr) throw NilObjectException(std::string("no menu ") + name);
    parent->Append(std::move(item));
  }
}

}  // namespace

MenuBar1::MenuBar1() {
  Untitled0();
  Untitled1();
  Untitled2();
  Untitled3();
  Untitled4();
  Untitled5();
}

void MenuBar1::Untitled0() {
  BuildMenu(*this, "FileMenu", "&File",
            {{"connectListBox1", "Connect", "Cmd+C", false},
             {"UntitledSeparator2", "-", kSeparator},
             {"FileClose", "Close Window", "Cmd+W"},
             {"FileQuit", "&Quit", "Cmd+Q", true, Entry::Quit}});
}

void MenuBar1::Untitled1() {
  BuildMenu(*this, "EditMenu", "&Edit",
            {{"EditUndo", "&Undo", "Cmd+Z"},
             {"UntitledMenu1", "-", kSeparator},
             {"EditCut", "Cu&t", "Cmd+X"},
             {"EditCopy", "&Copy", "Cmd+C"},
             {"EditPaste", "&Paste", "Cmd+V"},
             {"EditClear", "&Delete", ""},
             {"UntitledMenu0", "-", kSeparator},
             {"EditSelectAll", "Select &All", "Cmd+A"}});
}

void MenuBar1::Untitled2() {
  BuildMenu(*this, "DATABASEDATA", "Ventrilo Database",
            {{"addvent", "Add a Ventrilo Server to Database", "", true, Entry::Plain, &PlusSign}});
}

void MenuBar1::Untitled3() {
  BuildMenu(*this, "ServersListsMenuItem", "Servers",
            {{"refreshList", "Refresh Server List", "Cmd+R"},
             {"UntitledSeparator1", "-", kSeparator},
             {"advancedMenuItem", "Detailed Server Browser", ""}});
}

void MenuBar1::Untitled4() {
  BuildMenu(*this, "windowMenuItem", "Window",
            {{"minimizeMenuItem", "Minimize", "Cmd+M"}, {"zoomMenuItem", "Zoom", "Cmd+Control+Z"}});
}

void MenuBar1::Untitled5() {
  BuildMenu(*this, "Help", "Help",
            {{"helpSystem", "Brindlecot Help", ""},
             {"UntitledSeparator", "-", kSeparator},
             {"aboutWindowAdd", "About Brindlecot", "", true, Entry::Apple},
             {"UntitledSeparator0", "-", kSeparator},
             {"checkUpdates", "Check for Updates", "Cmd+U", true, Entry::Apple}});
}

MenuBar* MenuBar1Instance() {
  return &Implicit<MenuBar1>();
}
