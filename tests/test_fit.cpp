// Every text a user reads fits the box its window declares for it, with the fonts found here.
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "Framework.h"
#include "TestSupport.h"
#include "directory/MainWindow.h"
#include "tools/AddAVent.h"
#include "tools/AdvancedScanner.h"
#include "tools/CustomScan.h"
#include "tools/MacConnectVent.h"
#include "tools/Report.h"
#include "tools/VentConnect.h"
#include "tools/scanAVent.h"
#include "update/Sparkle.h"
#include "update/aboutWindow.h"
#include "update/brindlecotHelp.h"

namespace {

// The labels and buttons of `window` whose text needs more room than their box gives.
QStringList Clipped(Window& window) {
  QStringList clipped;
  for (const auto& control : window.Controls()) {
    auto* rect = dynamic_cast<RectControl*>(control.get());
    if (rect == nullptr || rect->Top() < 0 || rect->Left() < 0) continue;
    if (auto* label = qobject_cast<QLabel*>(rect->Widget())) {
      if (label->text().isEmpty()) continue;
      const int flags = label->alignment() | (label->wordWrap() ? Qt::TextWordWrap : 0);
      const QRect needed =
          QFontMetrics(label->font())
              .boundingRect(QRect(0, 0, rect->Width(), 1 << 20), flags, label->text());
      if (needed.height() > rect->Height() ||
          (!label->wordWrap() && needed.width() > rect->Width())) {
        clipped << window.ClassName().c_str() + QString(".") + label->objectName();
      }
    } else if (auto* button = qobject_cast<QPushButton*>(rect->Widget())) {
      const QFontMetrics metrics(button->font());
      if (metrics.horizontalAdvance(button->text()) + 4 > rect->Width() ||
          metrics.height() > rect->Height() + 2) {
        clipped << window.ClassName().c_str() + QString(".") + button->objectName();
      }
    }
  }
  return clipped;
}

// Labels whose declared font is a little too large for their box, and one that could never fit.
class TightWindow : public Window {
 public:
  static constexpr const char* kClassName = "TightWindow";

 protected:
  const WindowDeclaration& Declaration() const override {
    static const WindowDeclaration d{
        .properties = {{"Title", "Tight"}, {"Width", 300}, {"Height", 200}}, .controls = [] {
          std::vector<ControlDeclaration> c;
          c.push_back(Declare<StaticText>("one line", {10, 10, 200, 22},
                                          {{"Text", "Tight label"}, {"TextSize", 22}}));
          c.push_back(Declare<StaticText>(
              "two lines", {10, 40, 120, 26},
              {{"Text", "Wrapped over two short lines"}, {"TextSize", 14}, {"Multiline", true}}));
          c.push_back(Declare<StaticText>("hopeless", {10, 80, 200, 4},
                                          {{"Text", "Far too tall"}, {"TextSize", 20}}));
          c.push_back(Declare<StaticText>("hidden", {10, -40, 50, 4},
                                          {{"Text", "Kept as declared"}, {"TextSize", 20}}));
          return c;
        }()};
    return d;
  }
};

int PixelSize(const char* name) {
  return qobject_cast<QLabel*>(Implicit<TightWindow>().Find<StaticText>(name).Widget())
      ->font()
      .pixelSize();
}

}  // namespace

class FitTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { StopProgram(); }

  // A label drawn a little smaller fits; it never shrinks below three quarters of its size, and
  // a hidden label keeps its declared font.
  void labelsShrinkToFit() {
    Implicit<TightWindow>();
    const QStringList clipped = Clipped(Implicit<TightWindow>());
    QVERIFY2(clipped == QStringList{"TightWindow.hopeless"}, qPrintable(clipped.join(", ")));
    QVERIFY(PixelSize("one line") < 22 && PixelSize("one line") >= 16);
    QVERIFY(PixelSize("two lines") < 14 && PixelSize("two lines") >= 10);
    QCOMPARE(PixelSize("hopeless"), 15);
    QCOMPARE(PixelSize("hidden"), 20);
    Implicit<TightWindow>().Close();
  }

  void declaredTextsFit() {
    MessageBoxAnswerer answerer;  // the help window's greeting
    Host().setNeverAnswer("/files/brindlecot/ventList.txt");
    StartProgram();
    QStringList clipped = Clipped(Implicit<MainWindow>());
    clipped << Clipped(Implicit<MacConnectVent>());
    Implicit<MacConnectVent>().Close();
    clipped << Clipped(Implicit<Report>());
    Implicit<Report>().Close();
    clipped << Clipped(Implicit<scanAVent>()) << Clipped(Implicit<CustomScan>())
            << Clipped(Implicit<AdvancedScanner>()) << Clipped(Implicit<AddAVent>())
            << Clipped(Implicit<VentConnect>()) << Clipped(Implicit<Sparkle>())
            << Clipped(Implicit<aboutWindow>()) << Clipped(Implicit<brindlecotHelp>());
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(", ")));
  }
};

QTEST_MAIN(FitTest)
#include "test_fit.moc"
