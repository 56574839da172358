#include "Shapes.h"

#include <QFrame>
#include <QPainter>
#include <QWidget>

#include "Picture.h"
#include "Window.h"

// One widget paints every shape: fill, border (plain, or two-tone for rectangles), corner
// radius, and a backdrop picture.
class ShapeWidget : public QWidget {
 public:
  using QWidget::QWidget;

  QColor fill = Qt::white;
  bool filled = false;
  int borderWidth = 0;
  QColor border = Qt::black;
  QColor topLeft = Qt::black;
  QColor bottomRight = Qt::black;
  bool twoTone = false;
  int ovalWidth = 0;
  int ovalHeight = 0;
  const Picture* backdrop = nullptr;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QRectF box = QRectF(rect()).adjusted(borderWidth / 2.0, borderWidth / 2.0,
                                               -borderWidth / 2.0, -borderWidth / 2.0);
    if (ovalWidth > 0 || ovalHeight > 0) {
      p.setRenderHint(QPainter::Antialiasing);
      p.setPen(borderWidth > 0 ? QPen(border, borderWidth) : Qt::NoPen);
      p.setBrush(filled ? QBrush(fill) : Qt::NoBrush);
      p.drawRoundedRect(box, ovalWidth / 2.0, ovalHeight / 2.0);
    } else if (filled || borderWidth > 0) {
      if (filled) p.fillRect(rect(), fill);
      if (borderWidth > 0) {
        const QRect r = rect();
        for (int i = 0; i < borderWidth; ++i) {
          p.setPen(twoTone ? topLeft : border);
          p.drawLine(r.left() + i, r.top() + i, r.right() - i, r.top() + i);
          p.drawLine(r.left() + i, r.top() + i, r.left() + i, r.bottom() - i);
          p.setPen(twoTone ? bottomRight : border);
          p.drawLine(r.left() + i, r.bottom() - i, r.right() - i, r.bottom() - i);
          p.drawLine(r.right() - i, r.top() + i, r.right() - i, r.bottom() - i);
        }
      }
    }
    if (backdrop != nullptr) p.drawImage(0, 0, backdrop->Shown());
  }
};

namespace {
QColor ToQColor(Color c) {
  return QColor(c.red, c.green, c.blue);
}
}  // namespace

Canvas::Canvas(::Window& owner, std::string name) : RectControl(owner, std::move(name)) {
  shape_ = new ShapeWidget(owner.Content());
  AttachWidget(shape_);
}

void Canvas::SetBackdrop(Picture* picture) {
  backdrop_ = picture;
  shape_->backdrop = picture;
  shape_->update();
}

bool Canvas::ApplyProperty(const std::string& name, const PropertyValue& value) {
  if (name == "EraseBackground" || name == "UseFocusRing") {
    // The canvas is painted whole from its backdrop every time, and draws no focus ring of its
    // own: both values look the same.
    value.AsBoolean(name);
  } else if (name == "AcceptTabs") {
    RequireUsual(name, value, false);
  } else if (name == "AcceptFocus") {
    shape_->setFocusPolicy(value.AsBoolean(name) ? Qt::StrongFocus : Qt::NoFocus);
  } else {
    return RectControl::ApplyProperty(name, value);
  }
  return true;
}

Rectangle::Rectangle(::Window& owner, std::string name) : RectControl(owner, std::move(name)) {
  shape_ = new ShapeWidget(owner.Content());
  shape_->filled = true;
  shape_->borderWidth = 1;
  shape_->twoTone = true;
  AttachWidget(shape_);
}

bool Rectangle::ApplyProperty(const std::string& name, const PropertyValue& value) {
  if (name == "FillColor") {
    shape_->fill = ToQColor(value.AsColor(name));
  } else if (name == "BorderWidth") {
    shape_->borderWidth = value.AsInteger(name);
  } else if (name == "TopLeftColor") {
    shape_->topLeft = ToQColor(value.AsColor(name));
  } else if (name == "BottomRightColor") {
    shape_->bottomRight = ToQColor(value.AsColor(name));
  } else {
    return RectControl::ApplyProperty(name, value);
  }
  shape_->update();
  return true;
}

RoundRectangle::RoundRectangle(::Window& owner, std::string name)
    : RectControl(owner, std::move(name)) {
  shape_ = new ShapeWidget(owner.Content());
  shape_->filled = true;
  shape_->borderWidth = 1;
  shape_->ovalWidth = 16;
  shape_->ovalHeight = 16;
  AttachWidget(shape_);
}

bool RoundRectangle::ApplyProperty(const std::string& name, const PropertyValue& value) {
  if (name == "FillColor") {
    shape_->fill = ToQColor(value.AsColor(name));
  } else if (name == "BorderWidth") {
    shape_->borderWidth = value.AsInteger(name);
  } else if (name == "BorderColor") {
    shape_->border = ToQColor(value.AsColor(name));
  } else if (name == "OvalWidth") {
    shape_->ovalWidth = value.AsInteger(name);
  } else if (name == "OvalHeight") {
    shape_->ovalHeight = value.AsInteger(name);
  } else {
    return RectControl::ApplyProperty(name, value);
  }
  shape_->update();
  return true;
}

Separator::Separator(::Window& owner, std::string name) : RectControl(owner, std::move(name)) {
  auto* line = new QFrame(owner.Content());
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  AttachWidget(line);
}
