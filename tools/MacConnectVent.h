// The name-and-connect sheet: the user names the server and Connect starts the voice-chat
// client on it.
#pragma once

#include <string>

#include "Framework.h"

class MacConnectVent : public Window {
 public:
  static constexpr const char* kClassName = "MacConnectVent";

  // The server name the sheet offers, as the main window passes it on.
  void SetServerName(const std::string& name);

  void PushButton1_Action();
  void PushButton2_Action();
  void checkName_Action();

 protected:
  const WindowDeclaration& Declaration() const override;
};
