// A timer control: Mode off, once or repeating; Period in milliseconds; event Action.
#pragma once

#include <memory>

#include "Codes.h"
#include "Control.h"

class QTimer;

class Timer : public Control {
 public:
  Timer(::Window& owner, std::string name);
  ~Timer() override;
  const char* ClassName() const override { return "Timer"; }

  TimerMode Mode() const { return mode_; }
  void SetMode(TimerMode mode);
  int Period() const { return period_; }
  void SetPeriod(int milliseconds);
  void Shutdown() override;

 protected:
  bool ApplyProperty(const std::string& name, const PropertyValue& value) override;
  std::optional<std::size_t> EventSignature(const std::string& event) const override;

 private:
  void Restart();

  std::unique_ptr<QTimer> timer_;
  TimerMode mode_ = TimerMode::Multiple;
  int period_ = 1000;
};
