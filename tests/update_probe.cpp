// Runs the program's whole life in one process and presses Install Update in the software
// update window (by click or by Return, as the command line says); prints what was handed to
// the system and whether the program had already begun to quit.
#include <QApplication>
#include <QDesktopServices>
#include <QMainWindow>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "Framework.h"
#include "TestSupport.h"
#include "app/Startup.h"
#include "update/Sparkle.h"

namespace {

void Say(const QString& line) {
  std::printf("%s\n", line.toUtf8().constData());
  std::fflush(stdout);
}

}  // namespace

class HandOff : public QObject {
  Q_OBJECT
 public slots:
  void Open(const QUrl& url) {
    Say("handed " + url.toString() + " quitting=" + (IsQuitting() ? "1" : "0"));
  }
};

int main(int argc, char** argv) {
  RuntimeInit(argc, argv);
  const QString how = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("click");
  RegisterClasses();
  Host();
  HandOff handOff;
  QDesktopServices::setUrlHandler("http", &handOff, "Open");
  QTimer::singleShot(0, [how] {
    Sparkle& update = Implicit<Sparkle>();
    if (how == "return") {
      QTest::keyClick(update.Widget(), Qt::Key_Return);
    } else {
      QTest::mouseClick(update.Find<PushButton>("PushButton3").Widget(), Qt::LeftButton);
    }
    // A program that failed to end fails the suite instead of hanging it.
    QTimer::singleShot(15000, [] {
      Say("still-running");
      std::_Exit(3);
    });
  });
  Main();
  Say("loop-ended");
  QDesktopServices::unsetUrlHandler("http");
  Finalize();
  return RuntimeExit();
}

#include "update_probe.moc"
