#include "directory/MainWindow.h"

#include "common/Directory.h"
#include "common/RowPainter.h"
#include "common/ServerRows.h"
#include "common/UpdateStates.h"
#include "tools/AddAVent.h"
#include "tools/CustomScan.h"
#include "tools/MacConnectVent.h"
#include "tools/Report.h"
#include "tools/scanAVent.h"
#include "update/aboutWindow.h"

namespace {
constexpr const char* kServerActions[] = {"PushButton1", "PushButtonBroken", "PushButtonScan"};
constexpr const char* kServerToolbarItems[] = {"Toolbar_ConnectServer", "Toolbar_ReportBroken",
                                               "Toolbar_ScanServer"};
}  // namespace

void MainWindow::Event_Open() {
  Find<HTTPSocket>("getVents").Get(ServerListUrl());
  Find<HTTPSocket>("updateCheck").Get(UpdateFileUrl(VersionText()));
  SetBackColor(RGB(214, 221, 229));
  SetTitle("Brindlecot Mac Beta");
  Find<Listbox>("ventList").SetColumnAlignmentOffset(0, 20);
}

// Closing the main window ends the program, whatever else is open.
void MainWindow::Event_Close() {
  Quit(0);
}

std::string MainWindow::ServerCount() const {
  return Str(Find<Listbox>("ventList").ListCount() - kNoticeRows);
}

// ---- what other windows read or start here -------------------------------------------------

std::string MainWindow::ChosenServerName() const {
  return Find<Listbox>("ventList").Text();
}

std::string MainWindow::ServerAddressText() const {
  return Find<StaticText>("ventURL").Text();
}

std::string MainWindow::VersionText() const {
  return Find<StaticText>("versiontext").Text();
}

std::string MainWindow::UpdateState() const {
  return Find<StaticText>("updateDetails").Text();
}

// The actions go off at once: until the new address arrives they would pair the previous
// server's address with the newly chosen name.
void MainWindow::RequestServerDetailsAndAddress(const std::string& serverPathName) {
  Find<HTTPSocket>("getVentDetails").Get(ServerDetailsUrl(serverPathName));
  Find<HTTPSocket>("getVentURL").Get(ServerLinkUrl(serverPathName));
  SetServerActionsEnabled(false);
}

void MainWindow::RefreshServerList() {
  Find<Listbox>("ventList").SetInitialValue("");
  Find<StaticText>("ventListStatus").SetText("Refreshing list...");
  Find<EditField>("ventDetails").SetText("Make your selection to the left!");
  Find<HTTPSocket>("getVents").Get(ServerListUrl());
  SetServerActionsEnabled(false);
}

void MainWindow::SetServerActionsEnabled(bool enabled) {
  for (const char* name : kServerActions) Find<BevelButton>(name).SetEnabled(enabled);
  for (const char* name : kServerToolbarItems) Find<ToolbarItem>(name).SetEnabled(enabled);
}

// ---- the server directory ------------------------------------------------------------------

void MainWindow::ventList_Change() {
  if (IsServerRow(ChosenServerName())) {
    RequestServerDetailsAndAddress(ServerPathName(ChosenServerName()));
  }
  Find<StaticText>("ventListStatus").SetText("Selected 1 of " + ServerCount() + " servers");
}

void MainWindow::getVents_Connected() {
  Find<StaticText>("ventListStatus").SetText("Downloading updated server list");
}

void MainWindow::getVents_PageReceived(const std::string&, int, const InternetHeaders&,
                                       std::string content) {
  // The list and the field below are repainted by the toolkit as they change: no hiding and
  // showing them again, which would also take the keyboard focus away from them.
  Find<Listbox>("ventList").SetInitialValue(std::move(content));
  Find<StaticText>("ventListStatus").SetText("Received " + ServerCount() + " servers");
}

void MainWindow::getVents_Error(int) {
  Find<StaticText>("ventListStatus").SetText("Unable to get Vent list");
  Find<StaticText>("ventListStatus").SetTextColor(RGB(255, 0, 5));
}

void MainWindow::getVentDetails_PageReceived(const std::string&, int, const InternetHeaders&,
                                             std::string content) {
  Find<EditField>("ventDetails").SetText(content);
}

void MainWindow::getVentDetails_Error(int) {
  Find<EditField>("ventDetails")
      .SetText("Error - Unable to retrieve server information... Check connection?");
}

void MainWindow::getVentURL_Connected() {
  SetServerActionsEnabled(false);
}

void MainWindow::getVentURL_PageReceived(const std::string&, int, const InternetHeaders&,
                                         std::string content) {
  Find<StaticText>("ventURL").SetText(content);
  SetServerActionsEnabled(true);
}

void MainWindow::getVentURL_Error(int) {
  SetServerActionsEnabled(false);
}

// ---- the update check ----------------------------------------------------------------------

void MainWindow::updateCheck_PageReceived(const std::string&, int, const InternetHeaders&,
                                          std::string content) {
  Find<StaticText>("updateDetails").SetText(content);
  if (UpdateState() == update_state::kAvailable) {
    Find<StaticText>("StaticText1").SetText("Written by Quennelby   --- Update available!");
  }
}

void MainWindow::updateCheck_Error(int) {
  Find<StaticText>("updateDetails").SetText(update_state::kError);
}

// ---- row painting --------------------------------------------------------------------------

bool MainWindow::ventList_CellBackgroundPaint(Graphics& g, int row, int) {
  return PaintServerListCell(Find<Listbox>("ventList"), g, row);
}

void MainWindow::selectgradient(Graphics& g) {
  PaintSelectedGradient(Find<Listbox>("ventList"), g);
}

// ---- connect and scan ----------------------------------------------------------------------

void MainWindow::ConnectToChosenServer() {
  Implicit<MacConnectVent>().SetVisible(true);
  Implicit<MacConnectVent>().SetServerName(ChosenServerName());
}

void MainWindow::ScanChosenServer() {
  Implicit<scanAVent>().SetVisible(true);
  Implicit<scanAVent>().ScanTarget(AddressForUrl(ServerAddressText()));
}

void MainWindow::Toolbar_ConnectServer_Action() {
  ConnectToChosenServer();
}

void MainWindow::PushButton1_Action() {
  ConnectToChosenServer();
}

void MainWindow::Toolbar_ScanServer_Action() {
  ScanChosenServer();
}

void MainWindow::PushButtonScan_Action() {
  ScanChosenServer();
}

// ---- the other windows ---------------------------------------------------------------------

bool MainWindow::StaticText1_MouseDown(int, int) {
  MsgBox(":)");
  return false;
}

// The report sheet reads the chosen server itself when it opens.
void MainWindow::Toolbar_ReportBroken_Action() {
  Implicit<Report>().SetVisible(true);
}

void MainWindow::PushButtonBroken_Action() {
  Implicit<Report>().SetVisible(true);
}

void MainWindow::Toolbar_AddAVent_Action() {
  Implicit<AddAVent>().SetVisible(true);
}

void MainWindow::Toolbar_about_Action() {
  Implicit<aboutWindow>().SetVisible(true);
}

bool MainWindow::StaticText2_MouseDown(int, int) {
  Implicit<CustomScan>().SetVisible(true);
  return false;
}
