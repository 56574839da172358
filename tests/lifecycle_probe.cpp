// Runs the program's whole life in one process, as main() does, and drives one ending chosen on
// the command line; prints what it saw for the lifecycle suite to check.
#include <QApplication>
#include <QMainWindow>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "Framework.h"
#include "TestSupport.h"
#include "app/BrindlecotApp.h"
#include "app/MenuBar1.h"
#include "app/Startup.h"
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

void Say(const QString& line) {
  std::printf("%s\n", line.toUtf8().constData());
  std::fflush(stdout);
}

int BoundCommands() {
  int bound = 0;
  for (const char* name :
       {"aboutWindowAdd", "checkUpdates", "FileClose", "addvent", "advancedMenuItem", "refreshList",
        "helpSystem", "minimizeMenuItem", "zoomMenuItem"}) {
    bound += App().MenuHandler(name) != nullptr ? 1 : 0;
  }
  return bound;
}

// What holds at the moment the event loop starts.
void ReportLoopStart() {
  MainWindow* main = ImplicitIfOpen<MainWindow>();
  Say(QString("loop-start menubar=%1 commands=%2 windows=%3 main-visible=%4")
          .arg(App().MenuBar() == MenuBar1Instance() ? "MenuBar1" : "other")
          .arg(BoundCommands())
          .arg(OpenWindows().size())
          .arg(main != nullptr && main->Visible() ? 1 : 0));
  QStringList iconSizes;
  if (main != nullptr) {
    for (const QSize& size : main->Widget()->windowIcon().availableSizes()) {
      iconSizes << QString("%1x%2").arg(size.width()).arg(size.height());
    }
  }
  Say(QString("window-icon sizes=%1 desktop=%2")
          .arg(iconSizes.join(','), QGuiApplication::desktopFileName()));
  WaitFor([] { return Host().requests().size() >= 2; }, 10000);
  for (const QByteArray& raw : Host().requests()) {
    Say("request " + QString::fromLatin1(raw.toPercentEncoding(" /:*.")));
  }
}

// Every window of the program at once, the two sheets last; the help window's greeting is
// answered as a user would.
void OpenEveryWindow() {
  static auto* answerer = new MessageBoxAnswerer;
  Implicit<aboutWindow>();
  Implicit<AddAVent>();
  Implicit<AdvancedScanner>();
  Implicit<CustomScan>();
  Implicit<VentConnect>();
  Implicit<scanAVent>();
  Implicit<Sparkle>();
  Implicit<brindlecotHelp>();
  Implicit<Report>();
  Implicit<MacConnectVent>();
  Say(QString("every-window windows=%1 greeted=%2")
          .arg(OpenWindows().size())
          .arg(answerer->seen.size()));
}

void Ending(const QString& scenario) {
  QMainWindow* main = Implicit<MainWindow>().Widget();
  if (scenario.endsWith("-every-window")) OpenEveryWindow();
  if (scenario == "quit-key-every-window") {
    // The name sheet, opened last, is in front and blocks the main window.
    QWidget* front = Implicit<MacConnectVent>().Widget();
    front->activateWindow();
    if (!QTest::qWaitForWindowActive(front)) Say("sheet never became active");
    QTest::keyClick(front, Qt::Key_Q, Qt::ControlModifier);
    return;
  }
  if (scenario == "close-main-every-window") {
    main->close();
    return;
  }
  if (scenario == "quit-key") {
    main->activateWindow();
    if (!QTest::qWaitForWindowActive(main)) Say("main window never became active");
    QTest::keyClick(main, Qt::Key_Q, Qt::ControlModifier);
  } else if (scenario == "quit-key-sheet") {
    // The sheet blocks the main window, whose menu bar holds the Quit item.
    QWidget* sheet = Implicit<MacConnectVent>().Widget();
    sheet->activateWindow();
    if (!QTest::qWaitForWindowActive(sheet)) Say("sheet never became active");
    QTest::keyClick(sheet, Qt::Key_Q, Qt::ControlModifier);
  } else if (scenario == "throw-while-quitting") {
    App().AddMenuHandler("refreshList",
                         []() -> bool { throw NilObjectException("no such control"); });
    Quit(0);
    MenuBar1Instance()->FindItem("refreshList")->Action()->trigger();
  } else if (scenario == "close-main") {
    // Other windows open, a sheet among them, ask nothing.
    Implicit<MacConnectVent>();
    main->close();
  } else if (scenario == "throw") {
    App().AddMenuHandler("refreshList",
                         []() -> bool { throw NilObjectException("no such control"); });
    MenuBar1Instance()->FindItem("refreshList")->Action()->trigger();
  }
}

}  // namespace

int main(int argc, char** argv) {
  RuntimeInit(argc, argv);
  const QString scenario = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("quit-key");
  RegisterClasses();
  Host();
  QTimer::singleShot(0, [scenario] {
    ReportLoopStart();
    Ending(scenario);
    // A program that failed to end fails the suite instead of hanging it.
    QTimer::singleShot(10000, [] {
      Say("still-running");
      std::_Exit(3);
    });
  });
  Main();
  Say("loop-ended");
  Finalize();
  Say(QString("finalized windows=%1 menubar=%2 app=%3")
          .arg(OpenWindows().size())
          .arg(HasImplicit<MenuBar1>() ? 1 : 0)
          .arg(GetAppObject() != nullptr ? 1 : 0));
  return RuntimeExit();
}
