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

}  // namespace

class FitTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() {
    StopProgram();
    Host().clearOverrides();
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
