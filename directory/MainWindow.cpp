#include "directory/MainWindow.h"

#include "common/Directory.h"
#include "common/RowPainter.h"
#include "tools/MacConnectVent.h"
#include "tools/scanAVent.h"

namespace {
constexpr const char* kServerActions[] = {"PushButton1", "PushButtonBroken", "PushButtonScan"};
constexpr const char* kServerToolbarItems[] = {"Toolbar_ConnectServer", "Toolbar_ReportBroken",
                                               "Toolbar_ScanServer"};
}  // namespace

void MainWindow::Event_Open() {
  Find<HTTPSocket>("getVents").Get(ServerListUrl());
  Find<HTTPSocket>("updateCheck").Get(UpdateFileUrl(Find<StaticText>("versiontext").Text()));
  Implicit<MainWindow>().SetBackColor(RGB(214, 221, 229));
  Implicit<MainWindow>().SetTitle("Brindlecot Mac Beta");
  Find<Listbox>("ventList").SetColumnAlignmentOffset(0, 20);
}

// Closing the main window ends the program, whatever else is open.
void MainWindow::Event_Close() {
  Quit(0);
}

std::string MainWindow::ServerCount() {
  return Str(Find<Listbox>("ventList").ListCount() - 2);
}

void MainWindow::SetServerActionsEnabled(bool enabled) {
  for (const char* name : kServerActions) Find<BevelButton>(name).SetEnabled(enabled);
  for (const char* name : kServerToolbarItems) Find<ToolbarItem>(name).SetEnabled(enabled);
}

// ---- the server directory ------------------------------------------------------------------

void MainWindow::ventList_Change() {
  const auto name = [this] { return Find<Listbox>("ventList").Text(); };
  const bool server =
      !(name() == "Please choose a server:" || name().empty() ||
        name() == "-----------------------" || name() == "Downloading Public Vents...");
  if (server) {
    const std::string pathName = ReplaceAll(name(), " ", "%20");
    Find<HTTPSocket>("getVentDetails").Get(ServerDetailsUrl(pathName));
    Find<HTTPSocket>("getVentURL").Get(ServerLinkUrl(pathName));
  }
  Find<StaticText>("ventListStatus").SetText("Selected 1 of " + ServerCount() + " servers");
}

void MainWindow::getVents_Connected() {
  Find<StaticText>("ventListStatus").SetText("Downloading updated server list");
}

void MainWindow::getVents_PageReceived(const std::string&, int, const InternetHeaders&,
                                       const std::string& content) {
  Find<Listbox>("ventList").SetInitialValue(content);
  Find<Listbox>("ventList").SetVisible(false);
  Find<Listbox>("ventList").SetVisible(true);
  Find<StaticText>("ventListStatus").SetText("Received " + ServerCount() + " servers");
}

void MainWindow::getVents_Error(int) {
  Find<StaticText>("ventListStatus").SetText("Unable to get Vent list");
  Find<StaticText>("ventListStatus").SetTextColor(RGB(255, 0, 5));
}

void MainWindow::getVentDetails_PageReceived(const std::string&, int, const InternetHeaders&,
                                             const std::string& content) {
  Find<EditField>("ventDetails").SetText(content);
  Find<EditField>("ventDetails").SetVisible(false);
  Find<EditField>("ventDetails").SetVisible(true);
}

void MainWindow::getVentDetails_Error(int) {
  Find<EditField>("ventDetails")
      .SetText("Error - Unable to retrieve server information... Check connection?");
}

void MainWindow::getVentURL_Connected() {
  SetServerActionsEnabled(false);
}

void MainWindow::getVentURL_PageReceived(const std::string&, int, const InternetHeaders&,
                                         const std::string& content) {
  Find<StaticText>("ventURL").SetText(content);
  SetServerActionsEnabled(true);
}

void MainWindow::getVentURL_Error(int) {
  SetServerActionsEnabled(false);
}

// ---- the update check ----------------------------------------------------------------------

void MainWindow::updateCheck_PageReceived(const std::string&, int, const InternetHeaders&,
                                          const std::string& content) {
  Find<StaticText>("updateDetails").SetText(content);
  if (Find<StaticText>("updateDetails").Text() == "updateavailable") {
    Find<StaticText>("StaticText1").SetText("Written by Quennelby   --- Update available!");
  }
}

void MainWindow::updateCheck_Error(int) {
  Find<StaticText>("updateDetails").SetText("error");
}

// ---- row painting --------------------------------------------------------------------------

bool MainWindow::ventList_CellBackgroundPaint(Graphics& g, int row, int) {
  return PaintServerListCell(Find<Listbox>("ventList"), g, row);
}

void MainWindow::selectgradient(Graphics& g) {
  PaintSelectedGradient(Find<Listbox>("ventList"), g);
}

// ---- connect and scan ----------------------------------------------------------------------

void MainWindow::Toolbar_ConnectServer_Action() {
  Implicit<MacConnectVent>().SetVisible(true);
  Implicit<MacConnectVent>()
      .Find<EditField>("EditField1")
      .SetText(Find<Listbox>("ventList").Text());
}

void MainWindow::PushButton1_Action() {
  Implicit<MacConnectVent>().SetVisible(true);
  Implicit<MacConnectVent>()
      .Find<EditField>("EditField1")
      .SetText(Find<Listbox>("ventList").Text());
}

void MainWindow::Toolbar_ScanServer_Action() {
  Implicit<scanAVent>().SetVisible(true);
  Implicit<scanAVent>()
      .Find<HTMLViewer>("ScannerWindow")
      .LoadURL(StatusPageUrl(AddressForUrl(Find<StaticText>("ventURL").Text())));
}

void MainWindow::PushButtonScan_Action() {
  Implicit<scanAVent>().SetVisible(true);
  Implicit<scanAVent>()
      .Find<HTMLViewer>("ScannerWindow")
      .LoadURL(StatusPageUrl(AddressForUrl(Find<StaticText>("ventURL").Text())));
}

// ---- the other windows ---------------------------------------------------------------------

bool MainWindow::StaticText1_MouseDown(int, int) {
  MsgBox(":)");
  return false;
}

// The windows these actions open arrive with their own parts of the program.
void MainWindow::Toolbar_ReportBroken_Action() {}
void MainWindow::PushButtonBroken_Action() {}
void MainWindow::Toolbar_AddAVent_Action() {}
void MainWindow::Toolbar_about_Action() {}
bool MainWindow::StaticText2_MouseDown(int, int) {
  return false;
}
