// The main window as declared: its own properties and its 22 controls in creation order.
#include "app/MenuBar1.h"
#include "common/ServerListLook.h"
#include "directory/MainWindow.h"
#include "resources/Pictures.h"

namespace {

const char* const kWelcomeText =
    "You must choose a server to the left FIRST\r"
    "\r"
    "If you know of a Ventrilo server that is NOT listed to the left, please click the Add a "
    "Ventrilo Server button at the top. (This is a beta version, some servers may be missing)\r"
    "\r"
    "- What's new in 1.0.9 -\r"
    "* Completely Re-written\r"
    "* Entirely new scanning engine\r"
    "* Added latest WebKit build for scanner and add a vent\r"
    "* Ability to refresh the list\r"
    "* New menu items added\r"
    "* Scanning servers now displays percentage complete\r"
    "* Ability to scan custom inputted servers\r"
    "* Add a vent feature improved\r"
    "* New status message at bottom\r"
    "* New database system\r"
    "* New check for updates service\r"
    "* Help system installed\r"
    "* So much more";

}  // namespace

const WindowDeclaration& MainWindow::Declaration() const {
  using W = MainWindow;
  static const WindowDeclaration declaration{
      .menuBar = &MenuBar1Instance,
      .properties = {{"Title", "BrindlecotBETA"},
                     {"Width", 703},
                     {"Height", 398},
                     {"MinWidth", 703},
                     {"MinHeight", 398},
                     {"Placement", Placement::MainScreen},
                     {"HasBackColor", true}},
      .controls = [] {
        std::vector<ControlDeclaration> c;
        c.push_back(Declare<StaticText>("StaticText1", {2, 374, 308, 20},
                                        {{"Text", "Written by Quennelby"},
                                         {"TextFont", "Arial"},
                                         {"Bold", true},
                                         {"Underline", true},
                                         {"LockLeft", true},
                                         {"LockBottom", true}})
                        .On("MouseDown", &W::StaticText1_MouseDown));
        c.push_back(
            Declare<StaticText>("ventURL", {391, -50, 100, 20}, {{"Text", "ventDirectory"}}));
        c.push_back(Declare<HTTPSocket>("getVents")
                        .On("PageReceived", &W::getVents_PageReceived)
                        .On("Connected", &W::getVents_Connected)
                        .On("Error", &W::getVents_Error));
        c.push_back(Declare<HTTPSocket>("getVentDetails")
                        .On("PageReceived", &W::getVentDetails_PageReceived)
                        .On("Error", &W::getVentDetails_Error));
        c.push_back(Declare<HTTPSocket>("getVentURL")
                        .On("PageReceived", &W::getVentURL_PageReceived)
                        .On("Error", &W::getVentURL_Error)
                        .On("Connected", &W::getVentURL_Connected));
        c.push_back(Declare<HTTPSocket>("updateCheck")
                        .On("PageReceived", &W::updateCheck_PageReceived)
                        .On("Error", &W::updateCheck_Error));
        c.push_back(Declare<ToolbarItem>("Toolbar_ConnectServer",
                                         {{"Caption", "Connect"}, {"Enabled", false}})
                        .WithPicture(&LightningBoltConnect)
                        .On("Action", &W::Toolbar_ConnectServer_Action));
        c.push_back(Declare<ToolbarItem>("Toolbar_ScanServer",
                                         {{"Caption", "Scan Server"}, {"Enabled", false}})
                        .WithPicture(&ScanServer)
                        .On("Action", &W::Toolbar_ScanServer_Action));
        c.push_back(Declare<ToolbarItem>("Toolbar_ReportBroken",
                                         {{"Caption", "Report Broken"}, {"Enabled", false}})
                        .WithPicture(&ReportBroken)
                        .On("Action", &W::Toolbar_ReportBroken_Action));
        c.push_back(Declare<ToolbarItem>("Toolbar_AddAVent", {{"Caption", "Add A Vent"}})
                        .WithPicture(&PlusSign)
                        .On("Action", &W::Toolbar_AddAVent_Action));
        c.push_back(Declare<ToolbarItem>("Toolbar_about", {{"Caption", "About Brindlecot"}})
                        .WithPicture(&brindlecot)
                        .On("Action", &W::Toolbar_about_Action));
        c.push_back(Declare<StaticText>("versiontext", {-38, -63, 100, 20}, {{"Text", "1.0.9"}}));
        c.push_back(Declare<Listbox>("ventList", {0, -1, 220, 356},
                                     ServerListLook({{"ColumnCount", 2},
                                                     {"InitialValue", "Name\tSlots"},
                                                     {"LockLeft", true},
                                                     {"LockTop", true},
                                                     {"LockBottom", true}}))
                        .On("Change", &W::ventList_Change)
                        .On("CellBackgroundPaint", &W::ventList_CellBackgroundPaint));
        c.push_back(Declare<StaticText>("updateDetails", {-39, -43, 100, 20}, {{"Text", "wait"}}));
        c.push_back(
            Declare<Separator>("Separator1", {-1, 367, 704, 6},
                               {{"LockLeft", true}, {"LockRight", true}, {"LockBottom", true}}));
        c.push_back(Declare<StaticText>("ventListStatus", {0, 356, 220, 15},
                                        {{"Text", "Be Patient..."},
                                         {"TextFont", "Arial"},
                                         {"TextSize", 11},
                                         {"TextAlign", TextAlign::Center},
                                         {"Multiline", true},
                                         {"LockBottom", true}}));
        c.push_back(Declare<StaticText>("StaticText2", {321, 374, 368, 20},
                                        {{"Text", "Click here to scan a custom Ventrilo server"},
                                         {"TextFont", "Arial"},
                                         {"Bold", true},
                                         {"Underline", true},
                                         {"TextColor", RGB(19, 0, 255)},
                                         {"TextAlign", TextAlign::Right},
                                         {"LockRight", true},
                                         {"LockBottom", true}})
                        .On("MouseDown", &W::StaticText2_MouseDown));
        c.push_back(Declare<RoundRectangle>(
            "RoundRectangle1", {220, 0, 483, 279},
            {{"LockLeft", true}, {"LockTop", true}, {"LockRight", true}, {"LockBottom", true}}));
        c.push_back(Declare<EditField>("ventDetails", {226, 4, 471, 269},
                                       {{"Text", kWelcomeText},
                                        {"InitialParent", "RoundRectangle1"},
                                        {"ReadOnly", true},
                                        {"Multiline", true},
                                        {"Border", false},
                                        {"UseFocusRing", false},
                                        {"TextFont", "Arial"},
                                        {"TextSize", 14},
                                        {"LockLeft", true},
                                        {"LockTop", true},
                                        {"LockRight", true},
                                        {"LockBottom", true}}));
        c.push_back(Declare<BevelButton>("PushButton1", {226, 283, 283, 42},
                                         {{"Caption", "Connect to this server"},
                                          {"Enabled", false},
                                          {"Bold", true},
                                          {"IconAlign", 1},
                                          {"LockLeft", true},
                                          {"LockRight", true},
                                          {"LockBottom", true}})
                        .On("Action", &W::PushButton1_Action));
        c.push_back(Declare<BevelButton>("PushButtonBroken", {519, 283, 175, 42},
                                         {{"Caption", "Report Broken Server"},
                                          {"Enabled", false},
                                          {"Bold", true},
                                          {"Italic", true},
                                          {"LockRight", true},
                                          {"LockBottom", true}})
                        .On("Action", &W::PushButtonBroken_Action));
        c.push_back(Declare<BevelButton>("PushButtonScan", {228, 331, 466, 29},
                                         {{"Caption", "Scan server for available slots"},
                                          {"Enabled", false},
                                          {"LockLeft", true},
                                          {"LockRight", true},
                                          {"LockBottom", true}})
                        .On("Action", &W::PushButtonScan_Action));
        return c;
      }()};
  return declaration;
}
