#include "Progress.h"

#include <QPainter>
#include <QProgressBar>
#include <QTimerEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "Window.h"

ProgressBar::ProgressBar(::Window& owner, std::string name) : RectControl(owner, std::move(name)) {
  bar_ = new QProgressBar(owner.Content());
  bar_->setTextVisible(false);
  bar_->setRange(0, maximum_);
  AttachWidget(bar_);
}

void ProgressBar::SetValue(int value) {
  value_ = value;
  bar_->setValue(std::clamp(value, 0, std::max(0, maximum_)));
}

void ProgressBar::SetMaximum(int maximum) {
  maximum_ = maximum;
  bar_->setRange(0, std::max(0, maximum));
  SetValue(value_);
}

bool ProgressBar::ApplyProperty(const std::string& name, const PropertyValue& value) {
  if (name == "Value") {
    SetValue(value.AsInteger(name));
  } else if (name == "Maximum") {
    SetMaximum(value.AsInteger(name));
  } else {
    return RectControl::ApplyProperty(name, value);
  }
  return true;
}

class WheelWidget : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void showEvent(QShowEvent*) override { timer_ = startTimer(80); }
  void hideEvent(QHideEvent*) override {
    if (timer_ != 0) killTimer(timer_);
    timer_ = 0;
  }
  void timerEvent(QTimerEvent*) override {
    step_ = (step_ + 1) % kSpokes;
    update();
  }
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double radius = std::min(width(), height()) / 2.0 - 1;
    p.translate(width() / 2.0, height() / 2.0);
    for (int i = 0; i < kSpokes; ++i) {
      const int age = (kSpokes + step_ - i) % kSpokes;
      QColor colour = palette().color(QPalette::WindowText);
      colour.setAlphaF(1.0 - 0.8 * age / kSpokes);
      p.setPen(QPen(colour, std::max(2.0, radius / 5), Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(0, -radius * 0.45), QPointF(0, -radius * 0.95));
      p.rotate(360.0 / kSpokes);
    }
  }

 private:
  static constexpr int kSpokes = 12;
  int step_ = 0;
  int timer_ = 0;
};

ProgressWheel::ProgressWheel(::Window& owner, std::string name)
    : RectControl(owner, std::move(name)) {
  AttachWidget(new WheelWidget(owner.Content()));
}
