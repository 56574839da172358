// The about window: the logo, the product line, the version with the author, and the credits.
#pragma once

#include "Framework.h"

class aboutWindow : public Window {
 public:
  static constexpr const char* kClassName = "aboutWindow";

 protected:
  const WindowDeclaration& Declaration() const override;
  void Event_Open() override;
};
