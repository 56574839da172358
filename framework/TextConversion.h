// Framework-private: text between the program's UTF-8 bytes and the toolkit.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "Codes.h"

// Line ends of any kind (CR, LF, CR LF) become the toolkit's LF.
inline QString ToDisplay(std::string_view text) {
  QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QChar('\r'), QChar('\n'));
  return shown;
}

inline std::string FromDisplay(const QString& text) {
  return text.toUtf8().toStdString();
}

// Qt::AlignmentFlag for a label's alignment.
inline Qt::Alignment ToAlignment(TextAlign code) {
  switch (code) {
    case TextAlign::Center:
      return Qt::AlignHCenter;
    case TextAlign::Right:
      return Qt::AlignRight;
    case TextAlign::Left:
      break;
  }
  return Qt::AlignLeft;
}
