// The software update window: the newest version's text and its release notes, both from the
// directory host, and the way to the product web site.
#pragma once

#include <string>

#include "Framework.h"

class Sparkle : public Window {
 public:
  static constexpr const char* kClassName = "Sparkle";

  void SparkleSocket_PageReceived(const std::string& url, int status,
                                  const InternetHeaders& headers, std::string content);
  void PushButton2_Action();
  void PushButton3_Action();

 protected:
  const WindowDeclaration& Declaration() const override;
  void Event_Open() override;
};
