#include "StaticText.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPalette>

#include "MouseDownWidget.h"
#include "TextConversion.h"
#include "Window.h"

class LabelWidget : public MouseDownWidget<QLabel, StaticText> {
 public:
  LabelWidget(StaticText* owner, QWidget* parent) : MouseDownWidget(owner, parent) {
    setTextFormat(Qt::PlainText);
  }
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
  if (ApplyTextStyle(name, value) || ApplyDataBinding(name, value)) return true;
  if (name == "Text") {
    SetText(value.AsString(name));
  } else if (name == "TextColor") {
    SetTextColor(value.AsColor(name));
  } else if (name == "TextAlign") {
    textAlign_ = value.AsCode<::TextAlign>(name);
    label_->setAlignment(ToAlignment(textAlign_) | Qt::AlignTop);
  } else if (name == "Multiline") {
    multiline_ = value.AsBoolean(name);
    label_->setWordWrap(multiline_);
  } else {
    return RectControl::ApplyProperty(name, value);
  }
  return true;
}

std::optional<std::size_t> StaticText::EventSignature(const std::string& event) const {
  if (event == "MouseDown") return kSignature<MouseDownHandler>;
  return std::nullopt;
}

void StaticText::HandlerInstalled(const std::string& event) {
  if (event == "MouseDown") label_->setCursor(Qt::PointingHandCursor);
}
