#include "Timer.h"

#include <QTimer>

Timer::Timer(::Window& owner, std::string name)
    : Control(owner, std::move(name)), timer_(std::make_unique<QTimer>()) {
  // A period is kept to the millisecond: the toolkit's usual coarse timers may fire 5% early.
  timer_->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer_.get(), &QTimer::timeout, timer_.get(), [this] {
    if (mode_ == TimerMode::Single) SetMode(TimerMode::Off);
    Raise<PlainHandler>("Action");
  });
  Restart();
}

Timer::~Timer() = default;

void Timer::SetMode(TimerMode mode) {
  mode_ = mode;
  Restart();
}

void Timer::SetPeriod(int milliseconds) {
  period_ = milliseconds;
  Restart();
}

void Timer::Shutdown() {
  mode_ = TimerMode::Off;
  timer_->stop();
}

void Timer::Restart() {
  timer_->stop();
  if (mode_ == TimerMode::Off) return;
  timer_->setSingleShot(mode_ == TimerMode::Single);
  timer_->start(std::max(0, period_));
}

bool Timer::ApplyProperty(const std::string& name, const PropertyValue& value) {
  if (name == "Mode") {
    SetMode(value.AsCode<TimerMode>(name));
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
