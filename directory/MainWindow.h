// The main window: the server list, the chosen server's description, the server actions, and
// the hidden labels that hold the state other windows read.
#pragma once

#include <string>

#include "Framework.h"

class MainWindow : public Window {
 public:
  static constexpr const char* kClassName = "MainWindow";

  // What other windows and the menu commands read or start here.
  // The chosen server's name: the selected row's first cell, "" when no row is selected.
  std::string ChosenServerName() const;
  // The chosen server's address text, exactly as the host sent it.
  std::string ServerAddressText() const;
  // The program version text.
  std::string VersionText() const;
  // The update-check state (common/UpdateStates.h).
  std::string UpdateState() const;
  // Requests a server's details and address on this window's own two sockets; the answers land
  // in its handlers as for a selection in the list. The server actions stay off until the
  // address has come.
  void RequestServerDetailsAndAddress(const std::string& serverPathName);
  // Empties the list and asks the directory for it again.
  void RefreshServerList();
  // Switches the six server action controls together, in their order.
  void SetServerActionsEnabled(bool enabled);

  bool StaticText1_MouseDown(int x, int y);
  void getVents_PageReceived(const std::string& url, int status, const InternetHeaders& headers,
                             std::string content);
  void getVents_Connected();
  void getVents_Error(int code);
  void getVentDetails_PageReceived(const std::string& url, int status,
                                   const InternetHeaders& headers, std::string content);
  void getVentDetails_Error(int code);
  void getVentURL_PageReceived(const std::string& url, int status, const InternetHeaders& headers,
                               std::string content);
  void getVentURL_Error(int code);
  void getVentURL_Connected();
  void updateCheck_PageReceived(const std::string& url, int status, const InternetHeaders& headers,
                                std::string content);
  void updateCheck_Error(int code);
  void Toolbar_ConnectServer_Action();
  void Toolbar_ScanServer_Action();
  void Toolbar_ReportBroken_Action();
  void Toolbar_AddAVent_Action();
  void Toolbar_about_Action();
  void ventList_Change();
  bool ventList_CellBackgroundPaint(Graphics& g, int row, int column);
  bool StaticText2_MouseDown(int x, int y);
  void PushButton1_Action();
  void PushButtonBroken_Action();
  void PushButtonScan_Action();

  void selectgradient(Graphics& g);

 protected:
  const WindowDeclaration& Declaration() const override;
  void Event_Open() override;
  void Event_Close() override;

 private:
  // "Selected 1 of N servers" / "Received N servers": every row below the heading but the
  // directory's notice rows.
  std::string ServerCount() const;
  // The twins of a toolbar item and a button share one body.
  void ConnectToChosenServer();
  void ScanChosenServer();
};
