#include "EditField.h"

#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPalette>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "MouseDownWidget.h"
#include "TextConversion.h"
#include "Window.h"

namespace {

// Alignment codes of a field: 0 default (left), 1 left, 2 centre, 3 right.
Qt::Alignment FieldAlignment(int code) {
  switch (code) {
    case 2:
      return Qt::AlignHCenter;
    case 3:
      return Qt::AlignRight;
    default:
      return Qt::AlignLeft;
  }
}

// The many-line widget. A long paragraph is held as several blocks (see ShowInArea): what is
// copied or cut joins them again, so the clipboard gets the text without the cuts.
class FieldArea : public MouseDownWidget<QPlainTextEdit, EditField> {
 public:
  using MouseDownWidget::MouseDownWidget;

 protected:
  QMimeData* createMimeDataFromSelection() const override {
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) return nullptr;
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    QString text;
    for (QTextBlock block = document()->findBlock(start);
         block.isValid() && block.position() <= end; block = block.next()) {
      const int blockEnd = block.position() + block.length() - 1;
      const int from = std::max(start, block.position()) - block.position();
      text += block.text().mid(from, std::min(end, blockEnd) - block.position() - from);
      if (blockEnd < end && block.userState() != EditField::kRunsOn) text += '\n';
    }
    auto* data = new QMimeData;
    data->setText(text);
    return data;
  }
};

}  // namespace

EditField::EditField(::Window& owner, std::string name) : RectControl(owner, std::move(name)) {
  Rebuild();
}

EditField::~EditField() = default;

std::string EditField::Text() const {
  if (!multiline_) {
    // Untouched since code set it: give back exactly what was set.
    if (line_->text() == ToDisplay(text_).remove('\n')) return text_;
    return FromDisplay(line_->text());
  }
  // Untouched since code set it: give back exactly what was set, without reading the widget.
  if (!area_->document()->isModified()) return text_;
  std::string text;
  for (QTextBlock block = area_->document()->begin(); block.isValid(); block = block.next()) {
    text += FromDisplay(block.text());
    if (block.next().isValid() && block.userState() != kRunsOn) text += '\n';
  }
  return text;
}

void EditField::SetText(const std::string& text) {
  text_ = text;
  if (multiline_) {
    ShowInArea();
  } else {
    line_->setText(ToDisplay(text).remove('\n'));
  }
}

// The widget lays out a paragraph whole, in a time that grows with the square of an unbroken
// word and in memory many times the paragraph: a long paragraph goes in as blocks of at most
// kBlockBytes, broken after a blank where one is near, each marked as running on into the next
// so that the text reads back whole. The blocks go in one by one, so no display copy of the
// whole text is ever held beside the document.
void EditField::ShowInArea() {
  QTextDocument* document = area_->document();
  area_->clear();
  const bool undo = document->isUndoRedoEnabled();
  document->setUndoRedoEnabled(false);
  QTextCursor cursor(document);
  cursor.beginEditBlock();
  const std::string& text = text_;
  const std::size_t size = text.size();
  std::size_t start = 0;
  while (start < size) {
    // A piece: whole lines up to kBlockBytes, or the next kBlockBytes of a longer line.
    std::size_t end = std::min(size, start + kBlockBytes);
    bool runsOn = false;
    if (end < size) {
      std::size_t lineEnd = end;
      while (lineEnd > start && text[lineEnd - 1] != '\n' && text[lineEnd - 1] != '\r') --lineEnd;
      if (lineEnd > start) {
        end = lineEnd;
      } else {
        runsOn = true;
        // After the last blank of the piece's last quarter, else anywhere but inside a UTF-8
        // sequence.
        std::size_t cut = end;
        while (cut > start + kBlockBytes * 3 / 4 && text[cut - 1] != ' ') --cut;
        if (text[cut - 1] != ' ') {
          cut = end;
          while (cut > start + 1 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
        }
        end = cut;
      }
    }
    // A CR LF pair split between two pieces would read as two line ends.
    if (end < size && text[end - 1] == '\r' && text[end] == '\n') ++end;
    cursor.insertText(ToDisplay(text.substr(start, end - start)));
    if (runsOn) {
      cursor.block().setUserState(kRunsOn);
      cursor.insertBlock();
    }
    start = end;
  }
  cursor.endEditBlock();
  document->setUndoRedoEnabled(undo);
  document->setModified(false);
  area_->moveCursor(QTextCursor::Start);
}

void EditField::SetTextColor(Color color) {
  textColor_ = color;
  ApplyLook();
}

bool EditField::MouseDown(int x, int y) {
  return Raise<MouseDownHandler>("MouseDown", x, y).value_or(false);
}

void EditField::Rebuild() {
  const std::string current = text_;
  QWidget* old = Widget();
  if (multiline_) {
    area_ = new FieldArea(this, Window().Content());
    line_ = nullptr;
    AttachWidget(area_);
  } else {
    line_ = new MouseDownWidget<QLineEdit, EditField>(this, Window().Content());
    area_ = nullptr;
    AttachWidget(line_);
  }
  if (old != nullptr) {
    Widget()->setFont(old->font());
    Widget()->setEnabled(old->isEnabled());
    Widget()->stackUnder(old);
    delete old;
  }
  SetText(current);
  ApplyLook();
  SetEnabled(Enabled());
  UpdateShown();
}

void EditField::ApplyLook() {
  QWidget* field = Widget();
  QPalette palette = field->palette();
  palette.setColor(QPalette::Text, QColor(textColor_.red, textColor_.green, textColor_.blue));
  palette.setColor(QPalette::Base, QColor(backColor_.red, backColor_.green, backColor_.blue));
  field->setPalette(palette);
  field->setAttribute(Qt::WA_MacShowFocusRect, useFocusRing_);
  if (line_ != nullptr) {
    line_->setReadOnly(readOnly_);
    line_->setFrame(border_);
    line_->setEchoMode(password_ ? QLineEdit::Password : QLineEdit::Normal);
    line_->setAlignment(FieldAlignment(alignment_) | Qt::AlignVCenter);
    line_->setMaxLength(limitText_ > 0 ? limitText_ : 32767);
    line_->setInputMask(QString::fromStdString(mask_));
  } else {
    area_->setReadOnly(readOnly_);
    area_->setFrameShape(border_ ? QFrame::StyledPanel : QFrame::NoFrame);
    area_->setVerticalScrollBarPolicy(scrollbarVertical_ ? Qt::ScrollBarAsNeeded
                                                         : Qt::ScrollBarAlwaysOff);
    area_->setHorizontalScrollBarPolicy(scrollbarHorizontal_ ? Qt::ScrollBarAsNeeded
                                                             : Qt::ScrollBarAlwaysOff);
    area_->setLineWrapMode(scrollbarHorizontal_ ? QPlainTextEdit::NoWrap
                                                : QPlainTextEdit::WidgetWidth);
    area_->setTabChangesFocus(!acceptTabs_);
    QTextOption option = area_->document()->defaultTextOption();
    option.setAlignment(FieldAlignment(alignment_));
    area_->document()->setDefaultTextOption(option);
  }
}

void EditField::FontChanged(const QFont& font) {
  Widget()->setFont(font);
}

bool EditField::ApplyProperty(const std::string& name, const PropertyValue& value) {
  if (ApplyTextStyle(name, value) || ApplyDataBinding(name, value)) return true;
  if (name == "Text") {
    SetText(value.AsString(name));
    return true;
  }
  if (name == "Multiline") {
    const bool multiline = value.AsBoolean(name);
    if (multiline != multiline_) {
      const std::string current = Text();
      multiline_ = multiline;
      text_ = current;
      Rebuild();
    }
    return true;
  }
  if (name == "TextColor") {
    textColor_ = value.AsColor(name);
  } else if (name == "BackColor") {
    backColor_ = value.AsColor(name);
  } else if (name == "ReadOnly") {
    readOnly_ = value.AsBoolean(name);
  } else if (name == "Border") {
    border_ = value.AsBoolean(name);
  } else if (name == "ScrollbarVertical") {
    scrollbarVertical_ = value.AsBoolean(name);
  } else if (name == "ScrollbarHorizontal") {
    scrollbarHorizontal_ = value.AsBoolean(name);
  } else if (name == "Styled" || name == "Format") {
    // Fields hold plain text: no styled runs, no display format.
    RequireUsual(name, value, name == "Styled" ? PropertyValue(false) : PropertyValue(""));
  } else if (name == "Password") {
    password_ = value.AsBoolean(name);
  } else if (name == "UseFocusRing") {
    // Only where the platform draws a focus ring around fields does this show.
    useFocusRing_ = value.AsBoolean(name);
  } else if (name == "AcceptTabs") {
    acceptTabs_ = value.AsBoolean(name);
  } else if (name == "Alignment") {
    alignment_ = static_cast<int>(value.AsCode<FieldAlign>(name));
  } else if (name == "LimitText") {
    limitText_ = value.AsInteger(name);
  } else if (name == "Mask") {
    mask_ = value.AsString(name);
  } else {
    return RectControl::ApplyProperty(name, value);
  }
  ApplyLook();
  return true;
}

std::optional<std::size_t> EditField::EventSignature(const std::string& event) const {
  if (event == "MouseDown") return kSignature<MouseDownHandler>;
  return std::nullopt;
}
