// The custom scan form: the live status of any host and port the user types, shown in the
// status view.
#pragma once

#include "Framework.h"

class CustomScan : public Window {
 public:
  static constexpr const char* kClassName = "CustomScan";

  void JavaButton1_Action();

 protected:
  const WindowDeclaration& Declaration() const override;
};
