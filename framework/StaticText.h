// A label: text shown as declared, or held out of sight as a hidden label.
#pragma once

#include <memory>
#include <string>

#include "RectControl.h"

class LabelWidget;

class StaticText : public RectControl {
 public:
  StaticText(::Window& owner, std::string name);
  ~StaticText() override;
  const char* ClassName() const override { return "StaticText"; }

  // The most of a text that is laid out and shown.
  static constexpr std::size_t kLongestShown = 64 * 1024;

  // The text exactly as last set, byte for byte.
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  Color TextColor() const { return textColor_; }
  void SetTextColor(Color color);
  ::TextAlign TextAlign() const { return textAlign_; }

  // Framework use: a mouse press on the label; true when the handler took it.
  bool MouseDown(int x, int y);

 protected:
  bool ApplyProperty(const std::string& name, const PropertyValue& value) override;
  std::optional<std::size_t> EventSignature(const std::string& event) const override;
  // A label that answers clicks shows the pointing hand, as a link does.
  void HandlerInstalled(const std::string& event) override;
  void FontChanged(const QFont& font) override;

 private:
  friend class LabelWidget;
  void FitText();

  LabelWidget* label_ = nullptr;
  // The font as declared, before any fitting.
  std::unique_ptr<QFont> declaredFont_;
  std::string text_;
  Color textColor_ = RGB(0, 0, 0);
  ::TextAlign textAlign_ = ::TextAlign::Left;
  bool multiline_ = false;
};
