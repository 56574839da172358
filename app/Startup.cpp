#include "app/Startup.h"

#include "Framework.h"
#include "app/BrindlecotApp.h"
#include "app/MenuBar1.h"
#include "directory/MainWindow.h"
#include "resources/Pictures.h"

void RegisterClasses() {
  for (const char* name :
       {"Application",  "Window",      "MenuBar",        "MenuItem",      "AppleMenuItem",
        "QuitMenuItem", "StaticText",  "EditField",      "Listbox",       "PushButton",
        "BevelButton",  "ToolbarItem", "ProgressBar",    "ProgressWheel", "PagePanel",
        "Canvas",       "Rectangle",   "RoundRectangle", "Separator",     "HTMLViewer",
        "HTTPSocket",   "Timer",       "Picture",        "Graphics"}) {
    RegisterClass(name);
  }
  for (const char* name : {"BrindlecotApp",
                           "MenuBar1",
                           "aboutWindow",
                           "MainWindow",
                           "MainWindow.getVents",
                           "MainWindow.getVentDetails",
                           "MainWindow.getVentURL",
                           "MainWindow.updateCheck",
                           "VentConnect",
                           "VentConnect.Timer1",
                           "AddAVent",
                           "AddAVent.Timer1",
                           "MacConnectVent",
                           "MacConnectVent.checkName",
                           "Report",
                           "Report.Tembrel1",
                           "AdvancedScanner",
                           "AdvancedScanner.getVents",
                           "Sparkle",
                           "Sparkle.SparkleSocket",
                           "brindlecotHelp",
                           "CustomScan",
                           "scanAVent"}) {
    RegisterClass(name);
  }
}

namespace {
// The program registers no file types.
void InitFileTypes() {}
}  // namespace

void NewAppInstance() {
  auto app = std::make_unique<BrindlecotApp>();
  app->SetMenuBar(MenuBar1Instance());
  RuntimeRegisterAppObject(std::move(app));
}

void ApplicationAddMenuHandlers() {
  using Command = bool (BrindlecotApp::*)();
  const std::pair<const char*, Command> commands[] = {
      {"aboutWindowAdd", &BrindlecotApp::aboutWindowAdd_Action},
      {"checkUpdates", &BrindlecotApp::checkUpdates_Action},
      {"FileClose", &BrindlecotApp::FileClose_Action},
      {"addvent", &BrindlecotApp::addvent_Action},
      {"advancedMenuItem", &BrindlecotApp::advancedMenuItem_Action},
      {"refreshList", &BrindlecotApp::refreshList_Action},
      {"helpSystem", &BrindlecotApp::helpSystem_Action},
      {"minimizeMenuItem", &BrindlecotApp::minimizeMenuItem_Action},
      {"zoomMenuItem", &BrindlecotApp::zoomMenuItem_Action}};
  for (const auto& [name, command] : commands) {
    App().AddMenuHandler(name, [command] { return (App().*command)(); });
  }
}

void MakeDefaultView() {
  Implicit<MainWindow>();
}

void Main() {
  try {
    RuntimeInitExternalClasses();
    InitPluginEntrypoints();
    InitFileTypes();
    NewAppInstance();
    ApplicationAddMenuHandlers();
    MakeDefaultView();
    RuntimeRun();
  } catch (...) {
    UnhandledException(std::current_exception());
  }
}

void Finalize() {
  ReleaseProjectPictures();
  ReleaseImplicitWindows();
  ReleaseWindowList();
  ReleaseImplicit<MenuBar1>();
  ReleaseAppObject();
}
