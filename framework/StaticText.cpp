#include "StaticText.h"

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>

#include "MouseDownWidget.h"
#include "TextConversion.h"
#include "Window.h"

class LabelWidget : public MouseDownWidget<QLabel, StaticText> {
 public:
  LabelWidget(StaticText* owner, QWidget* parent) : MouseDownWidget(owner, parent), label_(owner) {
    setTextFormat(Qt::PlainText);
  }

 protected:
  // Fitted when it first shows, not at each declared property while its window is built.
  void showEvent(QShowEvent* event) override {
    MouseDownWidget::showEvent(event);
    label_->FitText();
  }

 private:
  StaticText* label_;
};

StaticText::StaticText(::Window& owner, std::string name) : RectControl(owner, std::move(name)) {
  label_ = new LabelWidget(this, owner.Content());
  AttachWidget(label_);
  label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

StaticText::~StaticText() = default;

// A label shows a few lines at most, and laying out megabytes of text (a hostile host's answer
// shown in the update window, say) would freeze the window for seconds: only the start of a long
// text goes to the widget. Text() still gives back every byte.
void StaticText::SetText(const std::string& text) {
  text_ = text;
  label_->setText(ToDisplay(std::string_view(text).substr(0, kLongestShown)));
  FitText();
}

void StaticText::FontChanged(const QFont& font) {
  declaredFont_ = std::make_unique<QFont>(font);
  FitText();
}

// A label on view shows its whole text: where the declared font would not fit the declared box
// with the fonts found here, it is drawn a little smaller (never below three quarters of its
// size). Hidden labels and long texts are left as they are: only what a user reads is fitted.
void StaticText::FitText() {
  constexpr std::size_t kLongestFitted = 1000;
  QFont font = declaredFont_ ? *declaredFont_ : label_->font();
  if (label_->isVisible() && Top() >= 0 && Left() >= 0 && Width() > 0 && Height() > 0 &&
      !text_.empty() && text_.size() <= kLongestFitted) {
    const QString shown = ToDisplay(text_);
    const int declared = font.pixelSize() > 0 ? font.pixelSize() : QFontMetrics(font).height();
    const auto needed = [&] {
      const QFontMetrics metrics(font);
      const int flags = label_->alignment() | (multiline_ ? Qt::TextWordWrap : 0);
      return metrics.boundingRect(QRect(0, 0, Width(), 1 << 20), flags, shown).height();
    };
    for (int size = declared; needed() > Height() && size > declared * 3 / 4;) {
      font.setPixelSize(--size);
    }
  }
  label_->setFont(font);
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
    FitText();
  } else {
    if (!RectControl::ApplyProperty(name, value)) return false;
    // The box may have changed.
    if (name == "Width" || name == "Height" || name == "Top" || name == "Left") FitText();
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
