#include "app/BrindlecotApp.h"

#include "Hosts.h"
#include "common/Directory.h"
#include "directory/MainWindow.h"
#include "tools/scanAVent.h"

BrindlecotApp& App() {
  auto* app = dynamic_cast<BrindlecotApp*>(GetAppObject());
  if (app == nullptr) throw NilObjectException("no application object");
  return *app;
}

namespace {
MenuItem* MenuBarItem(const std::string& name) {
  ::MenuBar* bar = App().MenuBar();
  if (bar == nullptr) throw NilObjectException("the application has no menu bar");
  return bar->FindItem(name);
}

MenuItem& Existing(MenuItem* item, const char* name) {
  if (item == nullptr) throw NilObjectException(std::string("no menu item ") + name);
  return *item;
}
}  // namespace

MenuItem* zoomMenuItem() {
  return MenuBarItem("zoomMenuItem");
}

MenuItem* minimizeMenuItem() {
  return MenuBarItem("minimizeMenuItem");
}

// The windows these commands open arrive with their own parts of the program.
bool BrindlecotApp::aboutWindowAdd_Action() {
  return false;
}
bool BrindlecotApp::addvent_Action() {
  return false;
}
bool BrindlecotApp::advancedMenuItem_Action() {
  return false;
}
bool BrindlecotApp::helpSystem_Action() {
  return false;
}

bool BrindlecotApp::checkUpdates_Action() {
  const auto state = [] { return Implicit<MainWindow>().Find<StaticText>("updateDetails").Text(); };
  if (state() == "wait") {
    MsgBox("You must wait... Brindlecot is still trying to check for updates");
  } else if (state() == "updateavailable") {
    // The software update window opens here once it exists.
  } else if (state() == "error") {
    MsgBox("Unable to check for updates");
  } else if (state() == "noupdate") {
    MsgBox("Brindlecot " + Implicit<MainWindow>().Find<StaticText>("versiontext").Text() +
           " is currently the newest version available.");
  } else {
    MsgBox(std::string("Some weird unknown error has popped up when checking for updates. You "
                       "may want to visit ") +
           kProductHost);
  }
  return false;
}

namespace {
template <class W>
void CloseIfOpenAndVisible() {
  W* window = ImplicitIfOpen<W>();
  if (window != nullptr && window->Visible()) window->Close();
}
}  // namespace

// Closes the open secondary windows, never making one.
bool BrindlecotApp::FileClose_Action() {
  CloseIfOpenAndVisible<scanAVent>();
  return false;
}

bool BrindlecotApp::refreshList_Action() {
  MainWindow& main = Implicit<MainWindow>();
  main.Find<Listbox>("ventList").SetInitialValue("");
  main.Find<StaticText>("ventListStatus").SetText("Refreshing list...");
  main.Find<EditField>("ventDetails").SetText("Make your selection to the left!");
  main.Find<HTTPSocket>("getVents").Get(ServerListUrl());
  main.SetServerActionsEnabled(false);
  return false;
}

bool BrindlecotApp::minimizeMenuItem_Action() {
  if (Existing(minimizeMenuItem(), "minimizeMenuItem").Text() == "Minimize") {
    Implicit<MainWindow>().Minimize();
    Existing(minimizeMenuItem(), "minimizeMenuItem").SetText("Restore");
  } else {
    Implicit<MainWindow>().Restore();
    Existing(minimizeMenuItem(), "minimizeMenuItem").SetText("Minimize");
  }
  return false;
}

bool BrindlecotApp::zoomMenuItem_Action() {
  if (Existing(zoomMenuItem(), "zoomMenuItem").Text() == "Zoom") {
    Implicit<MainWindow>().Maximize();
    Existing(zoomMenuItem(), "zoomMenuItem").SetText("Restore");
  } else {
    Implicit<MainWindow>().Restore();
    Existing(zoomMenuItem(), "zoomMenuItem").SetText("Zoom");
  }
  return false;
}
