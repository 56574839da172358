// The server submission window: the outside submission form in a web view; the form service's
// "Google" page after sending is the sign that the server was submitted.
#pragma once

#include <string>

#include "Framework.h"

class AddAVent : public Window {
 public:
  static constexpr const char* kClassName = "AddAVent";

  void AddAVentPage_TitleChanged(const std::string& newTitle);

 protected:
  const WindowDeclaration& Declaration() const override;
  void Event_Open() override;
};
