#include "Buttons.h"

#include <QPushButton>

#include "Window.h"

ButtonBase::ButtonBase(::Window& owner, std::string name) : RectControl(owner, std::move(name)) {
  button_ = new QPushButton(owner.Content());
  button_->setAutoDefault(false);
  AttachWidget(button_);
  QObject::connect(button_, &QPushButton::clicked, button_,
                   [this] { Raise<PlainHandler>("Action"); });
}

ButtonBase::~ButtonBase() = default;

void ButtonBase::SetCaption(const std::string& caption) {
  caption_ = caption;
  button_->setText(QString::fromStdString(caption));
}

void ButtonBase::Push() {
  if (button_->isEnabled() && button_->isVisible()) button_->click();
}

bool ButtonBase::ApplyProperty(const std::string& name, const PropertyValue& value) {
  if (ApplyTextStyle(name, value)) return true;
  if (name == "Caption") {
    SetCaption(value.AsString(name));
    return true;
  }
  return RectControl::ApplyProperty(name, value);
}

std::optional<std::size_t> ButtonBase::EventSignature(const std::string& event) const {
  if (event == "Action") return kSignature<PlainHandler>;
  return std::nullopt;
}

PushButton::PushButton(::Window& owner, std::string name) : ButtonBase(owner, std::move(name)) {}

bool PushButton::ApplyProperty(const std::string& name, const PropertyValue& value) {
  if (name == "Default") {
    default_ = value.AsBoolean(name);
    Button()->setDefault(default_);
  } else if (name == "Cancel") {
    cancel_ = value.AsBoolean(name);
  } else {
    return ButtonBase::ApplyProperty(name, value);
  }
  return true;
}

BevelButton::BevelButton(::Window& owner, std::string name) : ButtonBase(owner, std::move(name)) {
  Button()->setFocusPolicy(Qt::NoFocus);
}

bool BevelButton::ApplyProperty(const std::string& name, const PropertyValue& value) {
  // A centred caption on a plain push button, no menu, no toggling: other values would need a
  // button kind this layer does not draw.
  const std::pair<const char*, PropertyValue> usual[] = {
      {"CaptionAlign", 3}, {"CaptionPlacement", 1}, {"CaptionDelta", 0}, {"HasMenu", 0},
      {"MenuValue", 0},    {"ButtonType", 0},       {"Value", false}};
  for (const auto& [key, usualValue] : usual) {
    if (name == key) {
      RequireUsual(name, value, usualValue);
      return true;
    }
  }
  if (name == "Bevel" || name == "IconAlign" || name == "IconDX" || name == "IconDY") {
    // The style draws one bevel for every code, and no bevel button here carries an icon for
    // the icon's placement to move.
    value.AsInteger(name);
  } else if (name == "AcceptFocus") {
    acceptFocus_ = value.AsBoolean(name);
    Button()->setFocusPolicy(acceptFocus_ ? Qt::StrongFocus : Qt::NoFocus);
  } else {
    return ButtonBase::ApplyProperty(name, value);
  }
  return true;
}
