#include "Timer.h"

#include <QTimer>

Timer::Timer(::Window& owner, std::string name)
    : Control(owner, std::move(name)), timer_(std::make_unique<QTimer>()) {
  QObject::connect(timer_.get(), &QTimer::timeout, timer_.get(), [this] {
    if (mode_ == 1) SetMode(0);
    Raise<PlainHandler>("Action");
  });
  Restart();
}

Timer::~Timer() = default;

void Timer::SetMode(int mode) {
  mode_ = mode;
  Restart();
}

void Timer::SetPeriod(int milliseconds) {
  period_ = milliseconds;
  Restart();
}

void Timer::Shutdown() {
  mode_ = 0;
  timer_->stop();
}

void Timer::Restart() {
  timer_->stop();
  if (mode_ == 0) return;
  timer_->setSingleShot(mode_ == 1);
  timer_->start(std::max(0, period_));
}

bool Timer::ApplyProperty(const std::string& name, const PropertyValue& value) {
  if (name == "Mode") {
    SetMode(value.AsInteger(name));
  } else if (name == "Period") {
    SetPeriod(value.AsInteger(name));
  } else {
    return Control::ApplyProperty(name, value);
  }
  return true;
}

std::optional<std::size_t> Timer::EventSignature(const std::string& event) const {
  if (event == "Action") return kSignature<PlainHandler>;
  return std::nullopt;
}
