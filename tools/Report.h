// The broken-server report sheet. Send Report only checks that a well-known web site answers;
// nothing the user typed leaves the sheet.
#pragma once

#include <string>

#include "Framework.h"

class Report : public Window {
 public:
  static constexpr const char* kClassName = "Report";

  bool EditField1_MouseDown(int x, int y);
  void PushButton1_Action();
  void PushButton2_Action();
  void Tembrel1_Error(int code);
  void Tembrel1_PageReceived(const std::string& url, int status, const InternetHeaders& headers,
                             std::string content);

 protected:
  const WindowDeclaration& Declaration() const override;
  void Event_Open() override;
};
