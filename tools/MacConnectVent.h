// The name-and-connect sheet: the user names the server and Connect starts the voice-chat
// client on it.
#pragma once

#include "Framework.h"

class MacConnectVent : public Window {
 public:
  static constexpr const char* kClassName = "MacConnectVent";
  const char* ClassName() const override { return kClassName; }

  void PushButton1_Action();
  void PushButton2_Action();
  void checkName_Action();

 protected:
  const WindowDeclaration& Declaration() const override;
};
