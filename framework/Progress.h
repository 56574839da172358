// Progress displays: a bar (Value out of Maximum) and a spinning wheel.
#pragma once

#include <string>

#include "RectControl.h"

class QProgressBar;
class WheelWidget;

class ProgressBar : public RectControl {
 public:
  ProgressBar(::Window& owner, std::string name);
  const char* ClassName() const override { return "ProgressBar"; }

  int Value() const { return value_; }
  void SetValue(int value);
  int Maximum() const { return maximum_; }
  void SetMaximum(int maximum);

 protected:
  bool ApplyProperty(const std::string& name, const PropertyValue& value) override;

 private:
  QProgressBar* bar_ = nullptr;
  int value_ = 0;
  int maximum_ = 100;
};

// Spins while it is shown.
class ProgressWheel : public RectControl {
 public:
  ProgressWheel(::Window& owner, std::string name);
  const char* ClassName() const override { return "ProgressWheel"; }
};
