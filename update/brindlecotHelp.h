// The help window: the voice-chat vendor's FAQ page in a web view, with a progress row under it
// while it loads.
#pragma once

#include <string>

#include "Framework.h"

class brindlecotHelp : public Window {
 public:
  static constexpr const char* kClassName = "brindlecotHelp";

  void helpviewer_DocumentProgressChanged(const std::string& url, int percent);
  void helpviewer_DocumentComplete(const std::string& url);
  void helpviewer_Error(int code, const std::string& description);

 protected:
  const WindowDeclaration& Declaration() const override;
  void Event_Open() override;
};
