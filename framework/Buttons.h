// Push buttons and bevel buttons: a caption and the event Action.
#pragma once

#include <string>

#include "RectControl.h"

class QPushButton;

class ButtonBase : public RectControl {
 public:
  ButtonBase(::Window& owner, std::string name);
  ~ButtonBase() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  // Presses the button as a click would (nothing when it is disabled or not shown).
  void Push();

 protected:
  bool ApplyProperty(const std::string& name, const PropertyValue& value) override;
  std::optional<std::size_t> EventSignature(const std::string& event) const override;
  QPushButton* Button() const { return button_; }

 private:
  QPushButton* button_ = nullptr;
  std::string caption_;
};

class PushButton : public ButtonBase {
 public:
  PushButton(::Window& owner, std::string name);
  const char* ClassName() const override { return "PushButton"; }

  // The Return key presses the default button; Escape the cancel button.
  bool Default() const { return default_; }
  bool Cancel() const { return cancel_; }

 protected:
  bool ApplyProperty(const std::string& name, const PropertyValue& value) override;

 private:
  bool default_ = false;
  bool cancel_ = false;
};

class BevelButton : public ButtonBase {
 public:
  BevelButton(::Window& owner, std::string name);
  const char* ClassName() const override { return "BevelButton"; }

 protected:
  bool ApplyProperty(const std::string& name, const PropertyValue& value) override;

 private:
  bool acceptFocus_ = false;
};
