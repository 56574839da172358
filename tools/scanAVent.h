// The status view: a server's live status page in a web view, with a loading panel over it and
// a guard that closes the window when the page leads anywhere else.
#pragma once

#include <string>

#include "Framework.h"

class scanAVent : public Window {
 public:
  static constexpr const char* kClassName = "scanAVent";

  // Loads the status page of `target` ("host:port") into the view.
  void ScanTarget(const std::string& target);

  void ScannerWindow_DocumentComplete(const std::string& url);
  void ScannerWindow_TitleChanged(const std::string& newTitle);
  void ScannerWindow_DocumentProgressChanged(const std::string& url, int percent);
  void ScannerWindow_Error(int code, const std::string& description);

 protected:
  const WindowDeclaration& Declaration() const override;
};
