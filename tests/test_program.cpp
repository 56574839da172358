// The whole program as a user meets it: one walk through every window by clicks and shortcuts
// against the sample directory, and the program's end with every window open.
#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTest>
#include <QToolBar>

#include "Framework.h"
#include "TestSupport.h"
#include "app/MenuBar1.h"
#include "directory/MainWindow.h"
#include "tools/AddAVent.h"
#include "tools/AdvancedScanner.h"
#include "tools/CustomScan.h"
#include "tools/MacConnectVent.h"
#include "tools/Report.h"
#include "tools/scanAVent.h"
#include "update/aboutWindow.h"
#include "update/brindlecotHelp.h"

namespace {

MainWindow& Main() {
  return Implicit<MainWindow>();
}

QAction* Item(const char* name) {
  return MenuBar1Instance()->FindItem(name)->Action();
}

void Front(QWidget* window) {
  QVERIFY(BringToFront(window));
}

void Press(QWidget* window, QKeySequence keys) {
  QTest::keySequence(window, keys);
}

template <class W>
bool IsOpen() {
  return ImplicitIfOpen<W>() != nullptr;
}

}  // namespace

class ProgramTest : public QObject {
  Q_OBJECT

 private slots:
  // Cmd+Q and the main window's close box end the program with status 0 whatever is open.
  void endsWithEveryWindowOpen_data() {
    QTest::addColumn<QString>("scenario");
    QTest::newRow("Cmd+Q") << "quit-key-every-window";
    QTest::newRow("the main window's close box") << "close-main-every-window";
  }

  void endsWithEveryWindowOpen() {
    QFETCH(QString, scenario);
    QProcess probe;
    probe.start(PROBE_PATH, {scenario});
    if (!probe.waitForFinished(90000)) probe.kill();
    const QString out = QString::fromUtf8(probe.readAllStandardOutput());
    QVERIFY2(out.contains("every-window windows=11 greeted=1"), qPrintable(out));
    QVERIFY2(out.contains("finalized windows=0"), qPrintable(out));
    QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
    QCOMPARE(probe.exitCode(), 0);
  }

  void walk() {
    UrlCatcher catcher;
    MessageBoxAnswerer answerer;
    StartProgram();
    QVERIFY(WaitFor([] { return Main().Find<Listbox>("ventList").ListCount() > 2; }));
    QWidget* main = Main().Widget();
    Front(main);

    // Pick a server: its description and address arrive, the actions come on.
    QVERIFY(ClickServerRow(2));
    QVERIFY(WaitFor([] { return Main().Find<BevelButton>("PushButton1").Enabled(); }));
    QVERIFY(Main().Find<EditField>("ventDetails").Text().find("Iron Lantern") != std::string::npos);

    // Connect through the sheet: Return hands the launch URL over once.
    ClickToolbarItem("Toolbar_ConnectServer");
    QTRY_VERIFY(IsOpen<MacConnectVent>());
    QWidget* sheet = Implicit<MacConnectVent>().Widget();
    Front(sheet);
    QTest::keyClick(Implicit<MacConnectVent>().Find<EditField>("EditField1").Widget(),
                    Qt::Key_Return);
    QTRY_VERIFY(!IsOpen<MacConnectVent>());
    QCOMPARE(catcher.urls.size(), 1);
    QCOMPARE(
        catcher.urls[0].toEncoded(),
        QByteArray("ventrilo://vent.ironlantern.example:3784/servername=Iron%20Lantern%20Guild"));

    // Scan it: the status view shows the server's page.
    QTest::mouseClick(Main().Find<BevelButton>("PushButtonScan").Widget(), Qt::LeftButton);
    QTRY_VERIFY(IsOpen<scanAVent>());
    QTRY_COMPARE_WITH_TIMEOUT(Implicit<scanAVent>().Title(),
                              std::string("Brindlecot - Server successfully scanned"), 20000);

    // Report it: Send Report probes the well-known site and the sheet goes without a word.
    Front(main);
    ClickToolbarItem("Toolbar_ReportBroken");
    QTRY_VERIFY(IsOpen<Report>());
    QTest::mouseClick(Implicit<Report>().Find<PushButton>("PushButton2").Widget(), Qt::LeftButton);
    QTRY_VERIFY(!IsOpen<Report>());
    QVERIFY(answerer.seen.isEmpty());

    // Every other window, from the toolbar, the link and the menus.
    Front(main);
    ClickToolbarItem("Toolbar_AddAVent");
    QTRY_VERIFY(IsOpen<AddAVent>());
    Front(main);
    ClickToolbarItem("Toolbar_about");
    QTRY_VERIFY(IsOpen<aboutWindow>());
    Front(main);
    QTest::mouseClick(Main().Find<StaticText>("StaticText2").Widget(), Qt::LeftButton);
    QTRY_VERIFY(IsOpen<CustomScan>());
    Front(main);
    ChooseFromMenu("ServersListsMenuItem", "advancedMenuItem");
    QTRY_VERIFY(IsOpen<AdvancedScanner>());
    Front(main);
    ChooseFromMenu("Help", "helpSystem");
    QTRY_VERIFY(IsOpen<brindlecotHelp>());
    QTRY_COMPARE(answerer.seen.size(), 1);

    // Check for Updates: the sample says there is none.
    Front(main);
    Press(main, QKeySequence("Ctrl+U"));
    QTRY_COMPARE(answerer.seen.size(), 2);
    QCOMPARE(answerer.seen.last(),
             QString("Brindlecot 1.0.9 is currently the newest version available."));

    // Close Window: the about, status, submission and detailed list windows go; the custom scan
    // and help windows stay.
    Front(main);
    Press(main, QKeySequence("Ctrl+W"));
    QTRY_VERIFY(!IsOpen<aboutWindow>());
    QVERIFY(!IsOpen<scanAVent>() && !IsOpen<AddAVent>() && !IsOpen<AdvancedScanner>());
    QVERIFY(IsOpen<CustomScan>() && IsOpen<brindlecotHelp>());

    // Refresh: the list comes again, the actions wait for a new choice.
    Front(main);
    Press(main, QKeySequence("Ctrl+R"));
    QVERIFY(!Main().Find<BevelButton>("PushButton1").Enabled());
    QVERIFY(WaitFor(
        [] { return Main().Find<StaticText>("ventListStatus").Text().rfind("Received", 0) == 0; }));

    // Minimize and Zoom, and back.
    Press(main, QKeySequence("Ctrl+Meta+Z"));
    QTRY_VERIFY(main->isMaximized());
    Press(main, QKeySequence("Ctrl+Meta+Z"));
    QTRY_VERIFY(!main->isMaximized());
    Press(main, QKeySequence("Ctrl+M"));
    QTRY_VERIFY(main->isMinimized());
    Item("minimizeMenuItem")->trigger();
    QTRY_VERIFY(!main->isMinimized());

    // Quit: the program ends with status 0.
    Front(main);
    Press(main, QKeySequence("Ctrl+Q"));
    QVERIFY(IsQuitting());
    StopProgram();
    QCOMPARE(RuntimeExit(), 0);
  }
};

QTEST_MAIN(ProgramTest)
#include "test_program.moc"
