#include "app/BrindlecotApp.h"

#include "Hosts.h"
#include "common/UpdateStates.h"
#include "directory/MainWindow.h"
#include "tools/AddAVent.h"
#include "tools/AdvancedScanner.h"
#include "tools/Report.h"
#include "tools/VentConnect.h"
#include "tools/scanAVent.h"
#include "update/Sparkle.h"
#include "update/aboutWindow.h"
#include "update/brindlecotHelp.h"

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

bool BrindlecotApp::aboutWindowAdd_Action() {
  Implicit<aboutWindow>().SetVisible(true);
  return false;
}

bool BrindlecotApp::addvent_Action() {
  Implicit<AddAVent>().SetVisible(true);
  return false;
}

bool BrindlecotApp::advancedMenuItem_Action() {
  Implicit<AdvancedScanner>().SetVisible(true);
  return false;
}

bool BrindlecotApp::helpSystem_Action() {
  Implicit<brindlecotHelp>().SetVisible(true);
  return false;
}

bool BrindlecotApp::checkUpdates_Action() {
  // The state is read anew for each comparison.
  const auto state = [] { return Implicit<MainWindow>().UpdateState(); };
  if (state() == update_state::kWait) {
    MsgBox("You must wait... Brindlecot is still trying to check for updates");
  } else if (state() == update_state::kAvailable) {
    Implicit<Sparkle>().SetVisible(true);
  } else if (state() == update_state::kError) {
    MsgBox("Unable to check for updates");
  } else if (state() == update_state::kNoUpdate) {
    MsgBox("Brindlecot " + Implicit<MainWindow>().VersionText() +
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

// Closes the open secondary windows, never making one. The main window, the sheet and the
// update, help and custom scan windows are not among them.
bool BrindlecotApp::FileClose_Action() {
  CloseIfOpenAndVisible<aboutWindow>();
  CloseIfOpenAndVisible<VentConnect>();
  CloseIfOpenAndVisible<scanAVent>();
  CloseIfOpenAndVisible<AddAVent>();
  CloseIfOpenAndVisible<Report>();
  CloseIfOpenAndVisible<AdvancedScanner>();
  return false;
}

bool BrindlecotApp::refreshList_Action() {
  Implicit<MainWindow>().RefreshServerList();
  return false;
}

// The item's text alone decides, never the window's state: it flips between its own word and
// "Restore".
bool BrindlecotApp::minimizeMenuItem_Action() {
  MenuItem& item = Existing(minimizeMenuItem(), "minimizeMenuItem");
  if (item.Text() == "Minimize") {
    Implicit<MainWindow>().Minimize();
    item.SetText("Restore");
  } else {
    Implicit<MainWindow>().Restore();
    item.SetText("Minimize");
  }
  return false;
}

bool BrindlecotApp::zoomMenuItem_Action() {
  MenuItem& item = Existing(zoomMenuItem(), "zoomMenuItem");
  if (item.Text() == "Zoom") {
    Implicit<MainWindow>().Maximize();
    item.SetText("Restore");
  } else {
    Implicit<MainWindow>().Restore();
    item.SetText("Zoom");
  }
  return false;
}
