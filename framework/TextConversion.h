// Framework-private: text between the program's UTF-8 bytes and the toolkit.
#pragma once

#include <QString>
#include <string>

// Line ends of any kind (CR, LF, CR LF) become the toolkit's LF.
inline QString ToDisplay(const std::string& text) {
  QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QChar('\r'), QChar('\n'));
  return shown;
}

inline std::string FromDisplay(const QString& text) {
  return text.toUtf8().toStdString();
}

// Qt::AlignmentFlag for the framework's alignment codes: 0 left, 1 centre, 2 right.
inline Qt::Alignment ToAlignment(int code) {
  switch (code) {
    case 1:
      return Qt::AlignHCenter;
    case 2:
      return Qt::AlignRight;
    default:
      return Qt::AlignLeft;
  }
}
