// Framework-private: a toolkit widget that offers each mouse press to its control's MouseDown
// handler first; the widget handles the press itself only when the handler did not take it.
#pragma once

#include <QMouseEvent>

template <class Base, class Owner>
class MouseDownWidget : public Base {
 public:
  MouseDownWidget(Owner* owner, QWidget* parent) : Base(parent), owner_(owner) {}

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    const QPoint at = event->position().toPoint();
    if (!owner_->MouseDown(at.x(), at.y())) Base::mousePressEvent(event);
  }

 private:
  Owner* owner_;
};
