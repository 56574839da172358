// The Listbox: splitting a List text into rows, the heading, selection and Change, the order of
// declared properties, column widths, the cell painter, and a list of 100,000 rows.
#include <QElapsedTimer>
#include <QHeaderView>
#include <QImage>
#include <QMainWindow>
#include <QProxyStyle>
#include <QSet>
#include <QtTest>
#include <memory>
#include <stdexcept>

#include "ListView.h"
#include "Listbox.h"
#include "Picture.h"
#include "Window.h"
#include "WindowRegistry.h"

namespace {

// What the handlers saw and what the painter does, shared by the test and the window.
struct ListLog {
  int changes = 0;
  QSet<QPair<int, int>> paintedCells;
  // The painter fills selected rows with this colour and answers True for them.
  bool paintSelected = true;
  Color fill = RGB(0, 0, 128);
};

ListLog& Log() {
  static ListLog log;
  return log;
}

}  // namespace

class ListTestWindow : public Window {
 public:
  static constexpr const char* kClassName = "ListTestWindow";

  // The list's declared properties for the next window made.
  static PropertyList& ListProperties() {
    static PropertyList properties;
    return properties;
  }

  void ventList_Change() { ++Log().changes; }

  bool ventList_CellBackgroundPaint(Graphics& g, int row, int column) {
    Log().paintedCells.insert({row, column});
    if (!Log().paintSelected || !Find<Listbox>("ventList").Selected(row)) return false;
    g.SetForeColor(Log().fill);
    g.FillRect(0, 0, g.Width(), g.Height());
    return true;
  }

 protected:
  const WindowDeclaration& Declaration() const override {
    static WindowDeclaration declaration;
    declaration = WindowDeclaration{
        .properties = {{"Title", "List"}, {"Width", 240}, {"Height", 400}}, .controls = {}};
    declaration.controls.push_back(
        Declare<Listbox>("ventList", {0, 0, 220, 356}, ListProperties())
            .On("Change", &ListTestWindow::ventList_Change)
            .On("CellBackgroundPaint", &ListTestWindow::ventList_CellBackgroundPaint));
    return declaration;
  }
};

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(PropertyList)

namespace {

void CloseList() {
  if (auto* window = ImplicitIfOpen<ListTestWindow>()) window->Close();
  QCoreApplication::processEvents();
}

Listbox& OpenList(PropertyList properties) {
  CloseList();
  Log() = ListLog();
  ListTestWindow::ListProperties() = std::move(properties);
  ListTestWindow& window = Implicit<ListTestWindow>();
  if (!QTest::qWaitForWindowExposed(window.Widget())) throw std::runtime_error("not exposed");
  return window.Find<Listbox>("ventList");
}

// Rows as "cell|cell" lines, heading first when there is one.
QStringList Rows(const Listbox& list) {
  QStringList rows;
  for (int row = 0; row < list.ListCount(); ++row) {
    QStringList cells;
    for (int column = 0; column < list.ColumnCount(); ++column) {
      cells << QString::fromStdString(list.Cell(row, column));
    }
    rows << cells.join('|');
  }
  return rows;
}

QString Headings(const Listbox& list) {
  QStringList cells;
  for (int column = 0; column < list.ColumnCount(); ++column) {
    cells << QString::fromStdString(list.Heading(column));
  }
  return cells.join('|');
}

QRect RowRect(const Listbox& list, int row, int column = 0) {
  return list.View()->visualRect(list.View()->model()->index(row, column));
}

void ClickRow(const Listbox& list, int row) {
  QTest::mouseClick(list.View()->viewport(), Qt::LeftButton, {}, RowRect(list, row).center());
}

bool NearColor(QRgb pixel, const QColor& color, int tolerance = 8) {
  return std::abs(qRed(pixel) - color.red()) <= tolerance &&
         std::abs(qGreen(pixel) - color.green()) <= tolerance &&
         std::abs(qBlue(pixel) - color.blue()) <= tolerance;
}

// Pixels of the rectangle that are close to white / far from the given colour.
int CountPixels(const QImage& image, const QRect& rect, const std::function<bool(QRgb)>& test) {
  int count = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    for (int x = rect.left(); x <= rect.right(); ++x) {
      if (test(image.pixel(x, y))) ++count;
    }
  }
  return count;
}

// The leftmost column of the rectangle that holds a pixel unlike the background.
int FirstInkColumn(const QImage& image, const QRect& rect, QRgb background) {
  for (int x = rect.left(); x <= rect.right(); ++x) {
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
      if (!NearColor(image.pixel(x, y), QColor::fromRgb(background), 40)) return x;
    }
  }
  return -1;
}

struct Snapshot {
  QStringList rows;
  QString headings;
  bool headerShown = false;
  int columns = 0;
  QList<int> widths;
  int rowHeight = 0;
  friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

Snapshot Take(const Listbox& list) {
  Snapshot s;
  s.rows = Rows(list);
  s.headings = Headings(list);
  s.headerShown = list.View()->horizontalHeader()->isVisibleTo(list.View());
  s.columns = list.View()->model()->columnCount();
  for (int column = 0; column < s.columns; ++column) {
    s.widths << list.View()->horizontalHeader()->sectionSize(column);
  }
  s.rowHeight = list.View()->verticalHeader()->defaultSectionSize();
  return s;
}

}  // namespace

class TestListbox : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { CloseList(); }

  void splitting_data();
  void splitting();
  void selectionQueries_data();
  void selectionQueries();
  void severalSelectedRows();
  void dragReorder_data();
  void dragReorder();
  void change_data();
  void change();
  void propertyOrder_data();
  void propertyOrder();
  void declarationErrors_data();
  void declarationErrors();
  void columnWidths_data();
  void columnWidths();
  void cellPainter_data();
  void cellPainter();
  void repaintsOnActivationAndEnabling();
  void alignmentOffsetMovesText();
  void headingElided();
  void hundredThousandRows();
};

void TestListbox::splitting_data() {
  QTest::addColumn<std::string>("text");
  QTest::addColumn<bool>("hasHeading");
  QTest::addColumn<QString>("headings");
  QTest::addColumn<QStringList>("rows");

  const QStringList none;
  QTest::newRow("CR") << std::string("a\tb\rc\td") << false << "||" << QStringList{"a|b|", "c|d|"};
  QTest::newRow("LF") << std::string("a\tb\nc\td") << false << "||" << QStringList{"a|b|", "c|d|"};
  QTest::newRow("CR LF") << std::string("a\tb\r\nc\td") << false << "||"
                         << QStringList{"a|b|", "c|d|"};
  QTest::newRow("mixed line ends")
      << std::string("a\r\nb\nc\rd") << false << "||" << QStringList{"a||", "b||", "c||", "d||"};
  QTest::newRow("LF CR is two line ends")
      << std::string("a\n\rb") << false << "||" << QStringList{"a||", "||", "b||"};
  QTest::newRow("final CR adds no row")
      << std::string("a\rb\r") << false << "||" << QStringList{"a||", "b||"};
  QTest::newRow("final CR LF adds no row")
      << std::string("a\r\nb\r\n") << false << "||" << QStringList{"a||", "b||"};
  QTest::newRow("blank line is a row")
      << std::string("a\r\rb") << false << "||" << QStringList{"a||", "||", "b||"};
  QTest::newRow("lone line end") << std::string("\r\n") << false << "||" << QStringList{"||"};
  QTest::newRow("empty text") << std::string() << false << "||" << none;
  QTest::newRow("empty text, heading") << std::string() << true << "||" << none;
  QTest::newRow("empty cells") << std::string("\t\tx\r") << false << "||" << QStringList{"||x"};
  QTest::newRow("trailing tab") << std::string("a\t\r\nb") << false << "||"
                                << QStringList{"a||", "b||"};
  QTest::newRow("blank cells kept")
      << std::string(" \t  ") << false << "||" << QStringList{" |  |"};
  QTest::newRow("fewer cells than columns")
      << std::string("a\tb\tc\rd") << false << "||" << QStringList{"a|b|c", "d||"};
  QTest::newRow("more cells than columns")
      << std::string("a\tb\tc\td") << false << "||" << QStringList{"a|b|c"};
  QTest::newRow("lone heading") << std::string("Name\tPort\r") << true << "Name|Port|" << none;
  QTest::newRow("heading and rows") << std::string("Name\tPort\rx\t1\ry\t2") << true << "Name|Port|"
                                    << QStringList{"x|1|", "y|2|"};
  QTest::newRow("long cells cross the eight-byte steps")
      << std::string("abcdefghij\tklmnopqrstuvwxyz0123\r\nAB\tCDEFGHIJKLMNOPQ\tR") << false << "||"
      << QStringList{"abcdefghij|klmnopqrstuvwxyz0123|", "AB|CDEFGHIJKLMNOPQ|R"};
  QTest::newRow("control and binary bytes are text")
      << std::string("\x01\x0b\x0c\x7f\xff\x00z\tq", 9) << false << "||"
      << QStringList{QString::fromUtf8("\x01\x0b\x0c\x7f\xff\x00z|q|", 10)};
  QTest::newRow("heading off: first row is data")
      << std::string("Name\tPort\rx\t1") << false << "||" << QStringList{"Name|Port|", "x|1|"};
  QTest::newRow("UTF-8 bytes kept") << std::string("Caf\xc3\xa9\t\xe2\x82\xac") << false << "||"
                                    << QStringList{QString::fromUtf8("Caf\xc3\xa9|\xe2\x82\xac|")};
}

// Declared and set by code, over rows that were there before: the same rows either way.
void TestListbox::splitting() {
  QFETCH(std::string, text);
  QFETCH(bool, hasHeading);
  QFETCH(QString, headings);
  QFETCH(QStringList, rows);

  Listbox& declared =
      OpenList({{"ColumnCount", 3}, {"HasHeading", hasHeading}, {"InitialValue", text}});
  QCOMPARE(Rows(declared), rows);
  QCOMPARE(Headings(declared), headings);
  QCOMPARE(declared.ListCount(), declared.View()->model()->rowCount());
  QCOMPARE(declared.View()->horizontalHeader()->isVisibleTo(declared.View()), hasHeading);
  // Outside the rows and cells there is nothing.
  QCOMPARE(declared.Cell(rows.size(), 0), std::string());
  QCOMPARE(declared.Cell(0, 7), std::string());
  QCOMPARE(declared.Cell(-1, 0), std::string());

  Listbox& replaced = OpenList({{"ColumnCount", 3},
                                {"HasHeading", hasHeading},
                                {"InitialValue", "H1\tH2\rold\t1\rolder\t2\roldest\t3\r"}});
  replaced.SetInitialValue(text);
  QCOMPARE(Rows(replaced), rows);
  QCOMPARE(Headings(replaced), headings);
  if (!rows.isEmpty()) {
    // The view shows the text, decoded from UTF-8, and the heading sits in the header.
    QCOMPARE(replaced.View()->model()->index(0, 0).data().toString(), rows[0].section('|', 0, 0));
  }
  if (hasHeading) {
    QCOMPARE(replaced.View()->model()->headerData(0, Qt::Horizontal).toString(),
             headings.section('|', 0, 0));
  }
}

void TestListbox::selectionQueries_data() {
  QTest::addColumn<bool>("hasHeading");
  QTest::addColumn<QString>("script");
  QTest::addColumn<int>("listIndex");
  QTest::addColumn<QString>("text");

  // Data rows alpha, beta, gamma; with a heading row "Name" above them.
  QTest::newRow("nothing selected") << false << "" << -1 << "";
  QTest::newRow("ListIndex") << false << "index 1" << 1 << "beta";
  QTest::newRow("row numbers start below the heading") << true << "index 0" << 0 << "alpha";
  QTest::newRow("last row") << true << "index 2" << 2 << "gamma";
  QTest::newRow("ListIndex past the rows clears") << false << "index 1;index 3" << -1 << "";
  QTest::newRow("ListIndex -1 clears") << false << "index 1;index -1" << -1 << "";
  QTest::newRow("Selected replaces the single selection")
      << false << "select 0;select 2" << 2 << "gamma";
  QTest::newRow("Selected False clears") << false << "select 2;deselect 2" << -1 << "";
  QTest::newRow("Selected of a missing row is ignored")
      << false << "select 1;select 3;select -1" << 1 << "beta";
}

void TestListbox::selectionQueries() {
  QFETCH(bool, hasHeading);
  QFETCH(QString, script);
  QFETCH(int, listIndex);
  QFETCH(QString, text);

  Listbox& list =
      OpenList({{"HasHeading", hasHeading},
                {"InitialValue", hasHeading ? "Name\ralpha\rbeta\rgamma" : "alpha\rbeta\rgamma"}});
  QCOMPARE(list.ListCount(), 3);
  for (const QString& step : script.split(';', Qt::SkipEmptyParts)) {
    const QStringList words = step.split(' ');
    const int row = words[1].toInt();
    if (words[0] == "index") list.SetListIndex(row);
    if (words[0] == "select") list.SetSelected(row, true);
    if (words[0] == "deselect") list.SetSelected(row, false);
  }
  QCOMPARE(list.ListIndex(), listIndex);
  QCOMPARE(QString::fromStdString(list.Text()), text);
  for (int row = -2; row <= 4; ++row) {
    QCOMPARE(list.Selected(row), row == listIndex && row >= 0);
  }
}

// With several rows selected, ListIndex and Text name the lowest-numbered one, whatever order
// they were chosen in.
void TestListbox::severalSelectedRows() {
  Listbox& list = OpenList({{"SelectionType", 1}, {"InitialValue", "alpha\rbeta\rgamma\rdelta"}});
  list.SetSelected(3, true);
  list.SetSelected(1, true);
  list.SetSelected(2, true);
  QCOMPARE(list.ListIndex(), 1);
  QCOMPARE(list.Text(), std::string("beta"));
  QVERIFY(!list.Selected(0) && list.Selected(1) && list.Selected(2) && list.Selected(3));
  list.SetSelected(1, false);
  QCOMPARE(list.ListIndex(), 2);
}

void TestListbox::dragReorder_data() {
  QTest::addColumn<bool>("reorder");
  QTest::addColumn<int>("from");
  QTest::addColumn<int>("to");
  QTest::addColumn<QString>("rows");
  QTest::newRow("down") << true << 0 << 2 << "beta gamma alpha delta";
  QTest::newRow("up") << true << 3 << 1 << "alpha delta beta gamma";
  QTest::newRow("onto itself") << true << 1 << 1 << "alpha beta gamma delta";
  QTest::newRow("not allowed") << false << 0 << 2 << "alpha beta gamma delta";
}

// A list that allows reordering lets the user drag a row to another place; the dragged row
// stays the selected one. Filling the list again drops the new order.
void TestListbox::dragReorder() {
  QFETCH(bool, reorder);
  QFETCH(int, from);
  QFETCH(int, to);
  QFETCH(QString, rows);
  Listbox& list =
      OpenList({{"EnableDragReorder", reorder}, {"InitialValue", "alpha\rbeta\rgamma\rdelta"}});
  QWidget* viewport = list.View()->viewport();
  const QPoint start = RowRect(list, from).center();
  const QPoint end = RowRect(list, to).center();
  QTest::mousePress(viewport, Qt::LeftButton, {}, start);
  QTest::mouseMove(viewport, start + QPoint(0, 5 * (to >= from ? 1 : -1)));
  QTest::mouseMove(viewport, end);
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, end);
  QStringList shown;
  for (int row = 0; row < list.ListCount(); ++row) {
    shown << QString::fromStdString(list.Cell(row, 0));
  }
  QCOMPARE(shown.join(' '), rows);
  if (reorder) {
    QCOMPARE(list.ListIndex(), to);
    QCOMPARE(list.Text(), std::string(from == 0 ? "alpha" : from == 3 ? "delta" : "beta"));
    list.SetInitialValue("one\rtwo");
    QCOMPARE(list.Cell(0, 0), std::string("one"));
  }
}

void TestListbox::change_data() {
  QTest::addColumn<QString>("script");
  QTest::addColumn<int>("changes");
  QTest::addColumn<int>("listIndex");

  QTest::newRow("click a row") << "click 1" << 1 << 1;
  QTest::newRow("click the selected row again") << "click 1;click 1" << 1 << 1;
  QTest::newRow("click another row") << "click 1;click 2" << 2 << 2;
  QTest::newRow("ListIndex by code") << "index 2" << 1 << 2;
  QTest::newRow("clearing a selection") << "index 2;index -1" << 2 << -1;
  QTest::newRow("clearing nothing") << "index -1" << 0 << -1;
  QTest::newRow("Selected False") << "click 0;deselect 0" << 2 << -1;
  QTest::newRow("arrow key") << "click 0;key down" << 2 << 1;
  QTest::newRow("replacing rows drops the selection silently") << "click 1;replace" << 1 << -1;
  QTest::newRow("heading switched on drops the selection silently") << "index 1;heading" << 1 << -1;
  QTest::newRow("column count changed drops the selection silently")
      << "index 1;columns" << 1 << -1;
  QTest::newRow("selecting after a replacement") << "index 1;replace;click 0" << 2 << 0;
}

void TestListbox::change() {
  QFETCH(QString, script);
  QFETCH(int, changes);
  QFETCH(int, listIndex);

  Listbox& list = OpenList({{"InitialValue", "alpha\rbeta\rgamma\r"}});
  list.View()->setFocus();
  for (const QString& step : script.split(';')) {
    const QStringList words = step.split(' ');
    if (words[0] == "click") ClickRow(list, words[1].toInt());
    if (words[0] == "index") list.SetListIndex(words[1].toInt());
    if (words[0] == "deselect") list.SetSelected(words[1].toInt(), false);
    if (words[0] == "key") QTest::keyClick(list.View(), Qt::Key_Down);
    if (words[0] == "replace") list.SetInitialValue("one\rtwo\rthree\rfour");
    if (words[0] == "heading") list.SetProperty("HasHeading", true);
    if (words[0] == "columns") list.SetProperty("ColumnCount", 2);
  }
  QCOMPARE(Log().changes, changes);
  QCOMPARE(list.ListIndex(), listIndex);
}

void TestListbox::propertyOrder_data() {
  QTest::addColumn<PropertyList>("properties");

  QTest::newRow("heading, columns, widths")
      << PropertyList{{"ColumnCount", 3},
                      {"ColumnWidths", "60,40"},
                      {"HasHeading", true},
                      {"DefaultRowHeight", 17},
                      {"InitialValue", "Name\tUsers\tPort\ra\t1\t3784\rb\t2\t3785\r"}};
  QTest::newRow("no heading, one column") << PropertyList{
      {"HasHeading", false}, {"InitialValue", "a\tx\rb\ty"}, {"ColumnWidths", "100"}};
  QTest::newRow("lone heading, standard rows") << PropertyList{{"InitialValue", "Name\tPort"},
                                                               {"HasHeading", true},
                                                               {"ColumnCount", 2},
                                                               {"DefaultRowHeight", -1}};
}

void TestListbox::propertyOrder() {
  QFETCH(PropertyList, properties);

  const Snapshot forward = Take(OpenList(properties));
  PropertyList reversed(properties.rbegin(), properties.rend());
  const Snapshot backward = Take(OpenList(reversed));
  QCOMPARE(backward.rows, forward.rows);
  QCOMPARE(backward.headings, forward.headings);
  QCOMPARE(backward.headerShown, forward.headerShown);
  QCOMPARE(backward.columns, forward.columns);
  QCOMPARE(backward.widths, forward.widths);
  QCOMPARE(backward.rowHeight, forward.rowHeight);
  QVERIFY(forward.rowHeight > 0);
}

void TestListbox::declarationErrors_data() {
  QTest::addColumn<PropertyList>("properties");

  QTest::newRow("unknown name") << PropertyList{{"ColumnCounts", 2}};
  QTest::newRow("Boolean given a String") << PropertyList{{"HasHeading", "True"}};
  QTest::newRow("String given an Integer") << PropertyList{{"InitialValue", 3}};
  QTest::newRow("lower-case scroll bar name") << PropertyList{{"ScrollbarVertical", true}};
}

void TestListbox::declarationErrors() {
  QFETCH(PropertyList, properties);
  QVERIFY_THROWS_EXCEPTION(std::invalid_argument, OpenList(properties));
  QCoreApplication::processEvents();
  QCOMPARE(ImplicitIfOpen<ListTestWindow>(), nullptr);
}

void TestListbox::columnWidths_data() {
  QTest::addColumn<int>("columns");
  QTest::addColumn<QString>("widths");
  // Pixels, a share of the view ("50%"), or "*" for columns that share what is left alike.
  QTest::addColumn<QStringList>("expected");

  QTest::newRow("one width, rest shares") << 2 << "150" << QStringList{"150", "*"};
  QTest::newRow("two widths") << 3 << "100,50" << QStringList{"100", "50", "*"};
  QTest::newRow("no widths") << 2 << "" << QStringList{"*", "*"};
  QTest::newRow("star and spaces") << 3 << " 90 , * ,*" << QStringList{"90", "*", "*"};
  QTest::newRow("percent") << 2 << "50%" << QStringList{"50%", "*"};
  QTest::newRow("nonsense shares") << 3 << "wide,1e300,-5" << QStringList{"*", "*", "*"};
  QTest::newRow("more widths than columns") << 1 << "80,90" << QStringList{"80"};
}

void TestListbox::columnWidths() {
  QFETCH(int, columns);
  QFETCH(QString, widths);
  QFETCH(QStringList, expected);

  Listbox& list = OpenList({{"ColumnCount", columns},
                            {"ColumnWidths", widths.toStdString()},
                            {"InitialValue", "a\tb\tc\r"}});
  QHeaderView* header = list.View()->horizontalHeader();
  const int viewport = list.View()->viewport()->width();
  int total = 0;
  QList<int> shared;
  for (int column = 0; column < columns; ++column) {
    const int width = header->sectionSize(column);
    total += width;
    const QString& want = expected[column];
    if (want == "*") {
      shared << width;
    } else if (want.endsWith('%')) {
      QCOMPARE(width, viewport * want.chopped(1).toInt() / 100);
    } else {
      QCOMPARE(width, want.toInt());
    }
  }
  // Shared columns fill the view exactly and alike.
  if (!shared.isEmpty()) QCOMPARE(total, viewport);
  for (int width : shared) QVERIFY(std::abs(width - shared.first()) <= 1);
}

void TestListbox::cellPainter_data() {
  QTest::addColumn<bool>("paintSelected");
  QTest::newRow("handler paints the selected row") << true;
  QTest::newRow("handler declines: Qt's highlight") << false;
}

void TestListbox::cellPainter() {
  QFETCH(bool, paintSelected);

  Listbox& list = OpenList({{"ColumnCount", 2},
                            {"ColumnWidths", "100"},
                            {"HasHeading", true},
                            {"InitialValue", "Name\tPort\rMMMM\t1\rWWWW\t2\rHHHH\t3"}});
  Log().paintSelected = paintSelected;
  list.SetListIndex(1);
  Log().paintedCells.clear();
  const QImage image = list.View()->viewport()->grab().toImage();

  // Every visible cell, numbered from the first row below the heading, and below the last row
  // the empty slots down to the list's bottom, numbered on.
  const int emptySlots = (list.View()->viewport()->height() - RowRect(list, 2, 0).bottom() - 1 +
                          list.View()->verticalHeader()->defaultSectionSize() - 1) /
                         list.View()->verticalHeader()->defaultSectionSize();
  QVERIFY(emptySlots > 0);
  QSet<QPair<int, int>> cells;
  for (int row = 0; row < 3 + emptySlots; ++row) cells << qMakePair(row, 0) << qMakePair(row, 1);
  QCOMPARE(Log().paintedCells, cells);

  const QPalette palette = list.View()->palette();
  const QColor base = palette.color(QPalette::Base);
  const QColor navy(0, 0, 128);
  const QRect selectedRow = RowRect(list, 1, 1).united(RowRect(list, 1, 0));
  // The far end of the selected row holds no text: only the background shows there.
  const QRgb background = image.pixel(selectedRow.right() - 2, selectedRow.center().y());
  if (paintSelected) {
    QVERIFY(NearColor(background, navy, 0));
  } else {
    QVERIFY(NearColor(background, palette.color(QPalette::Active, QPalette::Highlight), 0) ||
            NearColor(background, palette.color(QPalette::Inactive, QPalette::Highlight), 0));
  }
  // The text is drawn over the background: white over the handler's colour.
  const int lightInk = CountPixels(image, RowRect(list, 1, 0), [&](QRgb p) {
    return qRed(p) > 200 && qGreen(p) > 200 && qBlue(p) > 200;
  });
  const int otherInk = CountPixels(image, RowRect(list, 1, 0), [&](QRgb p) {
    return !NearColor(p, QColor::fromRgb(background), 40);
  });
  QVERIFY(otherInk > 10);
  if (paintSelected) QVERIFY(lightInk > 10);

  // Rows the handler leaves alone keep the usual background, with the text on it.
  const QRect plainRow = RowRect(list, 0, 0);
  QVERIFY(NearColor(image.pixel(plainRow.right() - 2, plainRow.center().y()), base, 0));
  QVERIFY(CountPixels(image, plainRow, [&](QRgb p) { return !NearColor(p, base, 40); }) > 10);
  QVERIFY(CountPixels(image, plainRow, [&](QRgb p) { return NearColor(p, navy, 30); }) == 0);
}

void TestListbox::repaintsOnActivationAndEnabling() {
  Listbox& list = OpenList({{"InitialValue", "a\rb"}});
  list.View()->viewport()->repaint();
  QTRY_VERIFY(!Log().paintedCells.isEmpty());

  Log().paintedCells.clear();
  QEvent activation(QEvent::ActivationChange);
  QCoreApplication::sendEvent(list.View(), &activation);
  QTRY_VERIFY(!Log().paintedCells.isEmpty());

  Log().paintedCells.clear();
  list.SetEnabled(false);
  QTRY_VERIFY(!Log().paintedCells.isEmpty());
}

void TestListbox::alignmentOffsetMovesText() {
  Listbox& list = OpenList({{"InitialValue", "IIII\rx"}});
  const QRect cell = RowRect(list, 0, 0);
  const QRgb base = list.View()->palette().color(QPalette::Base).rgb();
  const int before = FirstInkColumn(list.View()->viewport()->grab().toImage(), cell, base);
  list.SetColumnAlignmentOffset(0, 30);
  QCOMPARE(list.ColumnAlignmentOffset(0), 30);
  QCOMPARE(list.ColumnAlignmentOffset(1), 0);
  const int after = FirstInkColumn(list.View()->viewport()->grab().toImage(), cell, base);
  QVERIFY(before >= 0);
  QCOMPARE(after - before, 30);
}

// A heading wider than its column ends in an ellipsis within the room the style gives it, as a
// cell does; one that fits is drawn whole.
void TestListbox::headingElided() {
  // What the style is asked to draw for each heading, and where.
  class Recorder : public QProxyStyle {
   public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
      if (const auto* header = qstyleoption_cast<const QStyleOptionHeader*>(option);
          header != nullptr && element == CE_HeaderLabel) {
        labels.insert(header->section, {header->text, header->rect});
      }
      QProxyStyle::drawControl(element, option, painter, widget);
    }
    mutable QMap<int, QPair<QString, QRect>> labels;
  };
  Listbox& list = OpenList({{"ColumnCount", 2},
                            {"ColumnWidths", "150"},
                            {"HasHeading", true},
                            {"InitialValue", "Downloading updated list...\tSlots"}});
  QHeaderView* header = list.View()->horizontalHeader();
  Recorder recorder;
  header->setStyle(&recorder);
  header->grab();
  header->setStyle(nullptr);

  const QFontMetrics metrics(header->font());
  QVERIFY(metrics.horizontalAdvance("Downloading updated list...") > header->sectionSize(0));
  const auto [longText, longRoom] = recorder.labels.value(0);
  QVERIFY2(longText.startsWith("Downloading") && longText.endsWith(QChar(0x2026)),
           qPrintable(longText));
  QVERIFY(metrics.horizontalAdvance(longText) <= longRoom.width());
  QCOMPARE(recorder.labels.value(1).first, QString("Slots"));
  // The heading itself keeps every byte.
  QCOMPARE(list.Heading(0), std::string("Downloading updated list..."));
}

void TestListbox::hundredThousandRows() {
  constexpr int kRows = 100000;
  std::string text = "Name\tHost\tPort\r";
  for (int row = 0; row < kRows; ++row) {
    text += "server" + std::to_string(row) + "\t10.0.0." + std::to_string(row % 250) + "\t3784\r";
  }
  Listbox& list = OpenList({{"ColumnCount", 3}, {"HasHeading", true}});
  QElapsedTimer timer;
  timer.start();
  // Handed over by move, the text is kept as it is, not copied.
  const char* const bytes = text.data();
  list.SetInitialValue(std::move(text));
  QCoreApplication::processEvents();
  qInfo("filled and shown %d rows in %lld ms", kRows, timer.elapsed());
  QCOMPARE(static_cast<ListModel*>(list.View()->model())->Heading(0).data(), bytes);

  QCOMPARE(list.ListCount(), kRows);
  QCOMPARE(list.Cell(kRows - 1, 0), std::string("server99999"));
  QCOMPARE(list.Heading(2), std::string("Port"));

  list.View()->scrollToBottom();
  QCoreApplication::processEvents();
  const int lastShown = list.View()->rowAt(list.View()->viewport()->height() - 2);
  QVERIFY(lastShown > kRows - 30);
  ClickRow(list, lastShown);
  QCOMPARE(Log().changes, 1);
  QCOMPARE(list.Text(), "server" + std::to_string(lastShown));

  list.View()->setFocus();
  QTest::keyClick(list.View(), Qt::Key_Home);
  QCOMPARE(list.ListIndex(), 0);
  QCOMPARE(Log().changes, 2);
}

QTEST_MAIN(TestListbox)
#include "test_listbox.moc"
