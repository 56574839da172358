// The connect dialog: name the chosen server, Connect starts the voice-chat client on it and
// shows a progress page until the dialog closes itself.
#pragma once

#include "Framework.h"

class VentConnect : public Window {
 public:
  static constexpr const char* kClassName = "VentConnect";

  void PushButton1_Action();
  void PushButton2_Action();
  void Timer1_Action();

 protected:
  const WindowDeclaration& Declaration() const override;
};
