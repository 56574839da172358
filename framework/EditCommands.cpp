#include "EditCommands.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <type_traits>

namespace {

enum class Command { Cut, Copy, Paste, Clear, SelectAll, None };

Command CommandOf(const std::string& itemName) {
  if (itemName == "EditCut") return Command::Cut;
  if (itemName == "EditCopy") return Command::Copy;
  if (itemName == "EditPaste") return Command::Paste;
  if (itemName == "EditClear") return Command::Clear;
  if (itemName == "EditSelectAll") return Command::SelectAll;
  return Command::None;
}

// The same commands for the three kinds of text widget.
template <class Field>
void Run(Field& field, Command command, bool readOnly) {
  if (readOnly && command != Command::Copy && command != Command::SelectAll) return;
  switch (command) {
    case Command::Cut:
      field.cut();
      break;
    case Command::Copy:
      field.copy();
      break;
    case Command::Paste:
      field.paste();
      break;
    case Command::SelectAll:
      field.selectAll();
      break;
    case Command::Clear:
      if constexpr (std::is_same_v<Field, QLineEdit>) {
        if (field.hasSelectedText()) field.del();
      } else {
        QTextCursor cursor = field.textCursor();
        cursor.removeSelectedText();
        field.setTextCursor(cursor);
      }
      break;
    case Command::None:
      break;
  }
}

}  // namespace

bool EditFocusedTextField(const std::string& itemName) {
  const Command command = CommandOf(itemName);
  QWidget* focus = QApplication::focusWidget();
  if (command == Command::None || focus == nullptr) return false;
  if (auto* line = qobject_cast<QLineEdit*>(focus)) {
    Run(*line, command, line->isReadOnly());
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(focus)) {
    Run(*plain, command, plain->isReadOnly());
  } else if (auto* rich = qobject_cast<QTextEdit*>(focus)) {
    Run(*rich, command, rich->isReadOnly());
  } else {
    return false;
  }
  return true;
}
