// The detailed server list: the directory's servers with slots, owner and purpose; GO hands the
// chosen server to the main window, which shows it as if chosen in its own list.
#pragma once

#include <string>

#include "Framework.h"

class AdvancedScanner : public Window {
 public:
  static constexpr const char* kClassName = "AdvancedScanner";

  void ventList_Change();
  bool ventList_CellBackgroundPaint(Graphics& g, int row, int column);
  void getVents_PageReceived(const std::string& url, int status, const InternetHeaders& headers,
                             std::string content);
  void getVents_Error(int code);
  void getVents_Connected();
  void PushButton1_Action();

  void selectgradient(Graphics& g);

 protected:
  const WindowDeclaration& Declaration() const override;
  void Event_Open() override;
};
