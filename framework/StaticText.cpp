#include "StaticText.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPalette>

#include "TextConversion.h"
#include "Window.h"

class LabelWidget : public QLabel {
 public:
  LabelWidget(StaticText* owner, QWidget* parent) : QLabel(parent), owner_(owner) {
    setTextFormat(Qt::PlainText);
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    const QPoint at = event->position().toPoint();
    if (!owner_->MouseDown(at.x(), at.y())) QLabel::mousePressEvent(event);
  }

 private:
  StaticText* owner_;
};

StaticText::StaticText(::Window& owner, std::string name) : RectControl(owner, std::move(name)) {
  label_ = new LabelWidget(this, owner.Content());
  AttachWidget(label_);
  label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

StaticText::~StaticText() = default;

void StaticText::SetText(const std::string& text) {
  text_ = text;
  label_->setText(ToDisplay(text));
}

void StaticText::SetTextColor(Color color) {
  textColor_ = color;
  QPalette palette = label_->palette();
  palette.setColor(QPalette::WindowText, QColor(color.red, color.green, color.blue));
  label_->setPalette(palette);
}

bool StaticText::MouseDown(int x, int y) {
  return Raise<MouseDownHandler>("MouseDown", x, y).value_or(false);
}

bool StaticText::ApplyProperty(const std::string& name, const PropertyValue& value) {
  if (ApplyTextStyle(name, value)) return true;
  if (name == "Text") {
    SetText(value.AsString(name));
  } else if (name == "TextColor") {
    SetTextColor(value.AsColor(name));
  } else if (name == "TextAlign") {
    textAlign_ = value.AsInteger(name);
    label_->setAlignment(ToAlignment(textAlign_) | Qt::AlignTop);
  } else if (name == "Multiline") {
    multiline_ = value.AsBoolean(name);
    label_->setWordWrap(multiline_);
  } else if (name == "DataSource") {
    dataSource_ = value.AsString(name);
  } else if (name == "DataField") {
    dataField_ = value.AsString(name);
  } else {
    return RectControl::ApplyProperty(name, value);
  }
  return true;
}

std::optional<std::size_t> StaticText::EventSignature(const std::string& event) const {
  if (event == "MouseDown") return kSignature<MouseDownHandler>;
  return std::nullopt;
}
