// The multi-line text field with answers of any size: every byte kept and shown, long
// paragraphs handed to the layout in bounded blocks.
#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QtTest>
#include <string>

#include "Framework.h"

namespace {

class FieldTestWindow : public Window {
 public:
  static constexpr const char* kClassName = "FieldTestWindow";

 protected:
  const WindowDeclaration& Declaration() const override {
    static const WindowDeclaration d{
        .properties = {{"Title", "Field test"}, {"Width", 400}, {"Height", 300}},
        .controls = {Declare<EditField>("Area", {0, 0, 400, 300}, {{"Multiline", true}})}};
    return d;
  }
};

EditField& Field() {
  return Implicit<FieldTestWindow>().Find<EditField>("Area");
}
QPlainTextEdit* Widget() {
  return qobject_cast<QPlainTextEdit*>(Field().Widget());
}

// What the field shows for `text`: the toolkit's line ends, bad UTF-8 replaced.
std::string Displayed(const std::string& text) {
  QString shown = QString::fromUtf8(text.data(), qsizetype(text.size()));
  shown.replace("\r\n", "\n").replace('\r', '\n');
  return shown.toUtf8().toStdString();
}

std::string Repeat(const std::string& piece, std::size_t bytes) {
  std::string text;
  while (text.size() < bytes) text += piece;
  text.resize(bytes);
  return text;
}

}  // namespace

Q_DECLARE_METATYPE(std::string)

class TestEditField : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() {
    if (auto* window = ImplicitIfOpen<FieldTestWindow>()) window->Close();
  }

  void keepsAndShowsEveryByte_data() {
    QTest::addColumn<std::string>("text");
    QTest::newRow("line ends of every kind") << std::string("a\r\nb\rc\nd\r\r\n\n");
    QTest::newRow("bad UTF-8") << std::string("ok \xff\xfe \xc3 caf\xc3\xa9", 14);
    QTest::newRow("one word of 1 MiB") << std::string(1 << 20, 'w');
    QTest::newRow("1 MiB of words, no line end") << Repeat("lorem ipsum dolor ", 1 << 20);
    QTest::newRow("CR LF across a block boundary")
        << std::string(4095, 'a') + "\r\n" + std::string(5000, 'b');
    QTest::newRow("UTF-8 across a block boundary")
        << std::string(4095, 'a') + "\xc3\xa9\xe2\x82\xac" + std::string(5000, 'b');
    QTest::newRow("short lines, then a long one")
        << Repeat("row\r\n", 10000) + std::string(9000, 'x') + "\r\nend";
    QTest::newRow("empty") << std::string();
  }
  void keepsAndShowsEveryByte() {
    QFETCH(std::string, text);
    Field().SetText(text);
    QCOMPARE(Field().Text(), text);
    // An edit reads the text back from the widget: what it shows is the whole text, in order,
    // with no line end where a long paragraph was cut into blocks.
    Widget()->moveCursor(QTextCursor::End);
    QTest::keyClicks(Widget(), "!");
    QCOMPARE(Field().Text(), Displayed(text) + "!");
  }

  // A paragraph laid out whole costs time with the square of an unbroken word.
  void longParagraphsGoToTheLayoutInBoundedBlocks_data() {
    QTest::addColumn<std::string>("text");
    QTest::addColumn<bool>("words");
    QTest::newRow("one word") << std::string(1 << 20, 'w') << false;
    QTest::newRow("words") << Repeat("lorem ipsum dolor sit amet ", 1 << 20) << true;
  }
  void longParagraphsGoToTheLayoutInBoundedBlocks() {
    QFETCH(std::string, text);
    QFETCH(bool, words);
    Field().SetText(text);
    const QTextDocument* document = Widget()->document();
    QVERIFY(document->blockCount() > 200);
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
      QVERIFY(block.length() <= 4097);
      // Cut after a blank, so no word is broken in two.
      if (words && block.next().isValid()) QVERIFY(block.text().endsWith(' '));
    }
  }

  // Copy and Cut give the text without the cuts between a long paragraph's blocks.
  void copiedTextHasNoBlockCuts() {
    const std::string text = std::string(9000, 'w') + "\n" + Repeat("lorem ipsum ", 10000);
    Field().SetText(text);
    Widget()->selectAll();
    Widget()->copy();
    QCOMPARE(QApplication::clipboard()->text().toStdString(), text);
    QTextCursor cursor = Widget()->textCursor();
    cursor.setPosition(100);
    cursor.setPosition(8000, QTextCursor::KeepAnchor);
    Widget()->setTextCursor(cursor);
    Widget()->cut();
    // Position 8000 lies past one cut: it is the text's 7999th character.
    QCOMPARE(QApplication::clipboard()->text().toStdString(), text.substr(100, 7899));
    QCOMPARE(Field().Text(), text.substr(0, 100) + text.substr(7999));
  }

  void readOnlyFieldKeepsItsText() {
    Field().SetText(std::string(10000, 'r'));
    Field().SetProperty("ReadOnly", true);
    Widget()->moveCursor(QTextCursor::End);
    QTest::keyClicks(Widget(), "typed");
    QCOMPARE(Field().Text(), std::string(10000, 'r'));
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  RuntimeInit(argc, argv);
  TestEditField suite;
  const int result = QTest::qExec(&suite, argc, argv);
  ReleaseImplicitWindows();
  return result;
}

#include "test_editfield.moc"
