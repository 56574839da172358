// A text field: one line, or several with Multiline.
#pragma once

#include <string>

#include "RectControl.h"

class QLineEdit;
class QPlainTextEdit;
class QString;

class EditField : public RectControl {
 public:
  // Framework use: the user state of a block of the many-line widget that runs on into the
  // next without a line end (a long paragraph held as several blocks).
  static constexpr int kRunsOn = 1;

  EditField(::Window& owner, std::string name);
  ~EditField() override;
  const char* ClassName() const override { return "EditField"; }

  // What the field holds. Text set by code reads back byte for byte until the user edits it;
  // edited text comes back with the platform's line ends.
  std::string Text() const;
  void SetText(const std::string& text);
  Color TextColor() const { return textColor_; }
  void SetTextColor(Color color);
  bool ReadOnly() const { return readOnly_; }
  bool Multiline() const { return multiline_; }

  // Framework use: a mouse press in the field; true when the handler took it.
  bool MouseDown(int x, int y);

 protected:
  bool ApplyProperty(const std::string& name, const PropertyValue& value) override;
  std::optional<std::size_t> EventSignature(const std::string& event) const override;
  void FontChanged(const QFont& font) override;

 private:
  // The one-line and the many-line fields are different widgets: switching Multiline makes the
  // other one and carries every setting over, so the declared order does not matter.
  void Rebuild();
  void ApplyLook();
  void ShowInArea();

  // A paragraph longer than this is shown as several blocks (see ShowInArea).
  static constexpr std::size_t kBlockBytes = 4096;
  QLineEdit* line_ = nullptr;
  QPlainTextEdit* area_ = nullptr;
  std::string text_;
  Color textColor_ = RGB(0, 0, 0);
  Color backColor_ = RGB(255, 255, 255);
  bool readOnly_ = false;
  bool multiline_ = false;
  bool border_ = true;
  bool scrollbarVertical_ = true;
  bool scrollbarHorizontal_ = false;
  bool password_ = false;
  bool useFocusRing_ = true;
  bool acceptTabs_ = false;
  int alignment_ = 0;
  int limitText_ = 0;
  std::string mask_;
};
