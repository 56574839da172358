// The server list's cell backgrounds, painted into an image and read back pixel by pixel.
#include <QImage>
#include <QMainWindow>
#include <QPainter>
#include <QTest>
#include <QtMath>

#include "Framework.h"
#include "ListView.h"
#include "TestSupport.h"
#include "directory/MainWindow.h"

namespace {

MainWindow& Main() {
  return Implicit<MainWindow>();
}
Listbox& List() {
  return Main().Find<Listbox>("ventList");
}

// Paints one cell of `row`, `height` pixels high and 40 wide, into an image one line taller
// (the gradient's last line lies just below the cell). Unpainted pixels stay black.
QImage PaintCell(int row, int height, bool* result = nullptr) {
  QImage image(40, height + 1, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  Graphics g(painter, 40, height);
  const bool painted = Main().ventList_CellBackgroundPaint(g, row, 1);
  if (result != nullptr) *result = painted;
  return image;
}

QColor Pixel(const QImage& image, int y) {
  return image.pixelColor(20, y);
}

}  // namespace

class RowPainterTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    Host().setAnswer("/files/brindlecot/ventList.txt", 200, "Name\tSlots\rOne\t1\rTwo\t2\r");
    Host().setNeverAnswer("/files/sparkle/1.0.9.txt");
    StartProgram();
    QVERIFY(WaitFor([] { return List().ListCount() == 2; }));
    Main().Widget()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Main().Widget()));
  }
  void cleanup() { StopProgram(); }

  // An unselected cell is one flat colour, and the handler says it painted.
  void unselectedCell() {
    List().SetListIndex(1);
    bool painted = false;
    const QImage image = PaintCell(0, 20, &painted);
    QVERIFY(painted);
    for (int y = 0; y < 20; ++y) QCOMPARE(Pixel(image, y), QColor(214, 221, 229));
    // Nothing is drawn below the cell.
    QCOMPARE(Pixel(image, 20), QColor(Qt::black));
    // Row -1 never gets the gradient.
    QCOMPARE(Pixel(PaintCell(-1, 20), 10), QColor(214, 221, 229));
  }

  void selectedCell_data() {
    QTest::addColumn<int>("state");
    QTest::addColumn<QColor>("line0");
    QTest::addColumn<QColor>("line10");
    QTest::addColumn<QColor>("line20");
    QTest::newRow("active and enabled")
        << 0 << QColor(15, 145, 224) << QColor(40, 144, 224) << QColor(0, 117, 215);
    QTest::newRow("active, disabled")
        << 1 << QColor(145, 145, 145) << QColor(144, 144, 144) << QColor(121, 121, 121);
    QTest::newRow("not active") << 2 << QColor(145, 145, 145) << QColor(144, 144, 144)
                                << QColor(121, 121, 121);
  }

  void selectedCell() {
    QFETCH(int, state);
    QFETCH(QColor, line0);
    QFETCH(QColor, line10);
    QFETCH(QColor, line20);
    List().SetListIndex(0);
    QWidget other;
    if (state == 1) List().SetEnabled(false);
    if (state == 2) {
      other.show();
      other.activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(&other));
    }
    QCOMPARE(List().Active(), state != 2);
    const QImage image = PaintCell(0, 20);
    QCOMPARE(Pixel(image, 0), line0);
    QCOMPARE(Pixel(image, 10), line10);
    QCOMPARE(Pixel(image, 20), line20);
    // Between the ends each line lies between the top and bottom colours, darkening downwards.
    for (int y = 2; y < 20; ++y) {
      QVERIFY(Pixel(image, y).blue() <= Pixel(image, y - 1).blue());
      QVERIFY(Pixel(image, y).green() <= Pixel(image, y - 1).green());
    }
    // The gradient spans the whole cell width.
    QCOMPARE(image.pixelColor(0, 10), line10);
    QCOMPARE(image.pixelColor(39, 10), line10);
  }

  // A cell with no height gets only the top line.
  void zeroHeightCell() {
    List().SetListIndex(0);
    const QImage image = PaintCell(0, 0);
    QCOMPARE(Pixel(image, 0), QColor(15, 145, 224));
  }

  // On screen: the selected row shows the gradient behind its text, the others the flat fill.
  void paintedOnScreen() {
    List().SetListIndex(1);
    QTest::qWait(20);
    ListView* view = List().View();
    const QImage shot = view->viewport()->grab().toImage();
    const QRect selected = view->visualRect(view->model()->index(1, 1));
    const QRect plain = view->visualRect(view->model()->index(0, 1));
    QCOMPARE(shot.pixelColor(selected.right() - 2, selected.top()), QColor(15, 145, 224));
    QCOMPARE(shot.pixelColor(plain.right() - 2, plain.center().y()), QColor(214, 221, 229));
    // Below the two rows, the empty slots are the window's colour down to the list's bottom,
    // and a row number that has no row is never painted as selected.
    for (const int y : {selected.bottom() + 5, shot.height() / 2, shot.height() - 2}) {
      QCOMPARE(shot.pixelColor(5, y), QColor(214, 221, 229));
      QCOMPARE(shot.pixelColor(plain.right() - 2, y), QColor(214, 221, 229));
    }
  }

  // On a scaled screen every device line of the selected row is the gradient's, from its top
  // line to its last, without the list's fill showing between lines or a seam between cells.
  void paintedScaled_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("2x") << qreal(2);
    QTest::newRow("1.5x") << qreal(1.5);
  }

  void paintedScaled() {
    QFETCH(qreal, ratio);
    List().SetListIndex(1);
    ListView* view = List().View();
    QWidget* viewport = view->viewport();
    QImage shot((QSizeF(viewport->size()) * ratio).toSize(), QImage::Format_RGB32);
    shot.setDevicePixelRatio(ratio);
    shot.fill(Qt::black);
    viewport->render(&shot);
    const QRect row = view->visualRect(view->model()->index(1, 0));
    const int first = qCeil(row.top() * ratio);
    const int last = qCeil((row.bottom() + 1) * ratio) - 1;
    const int margin = qFloor(ratio);
    const QColor topLine(15, 145, 224);
    QCOMPARE(shot.pixelColor(margin, first), topLine);
    QCOMPARE(shot.pixelColor(margin, last), QColor(4, 119, 215));
    // Darkening line by line below the top line, whose colour is its own.
    for (int y = first + 1; y <= last; ++y) {
      const QColor colour = shot.pixelColor(margin, y);
      const QColor above = shot.pixelColor(margin, y - 1);
      QVERIFY2(colour.red() <= 80 && colour.blue() >= 215,
               qPrintable(QString("line %1 is %2").arg(y).arg(colour.name())));
      if (above != topLine) QVERIFY(colour.blue() <= above.blue());
    }
    // The top line runs unbroken across every cell of the row.
    const int right = qCeil(view->visualRect(view->model()->index(1, 1)).right() * ratio);
    for (int x = 0; x < right; ++x) QCOMPARE(shot.pixelColor(x, first), topLine);
  }
};

QTEST_MAIN(RowPainterTest)
#include "test_rowpainter.moc"
