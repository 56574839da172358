// The status view in a real web engine, against the loopback host's status page: progress,
// completion, the load error, and the guard that closes the window when the page leads away.
#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "Framework.h"
#include "Hosts.h"
#include "ListView.h"
#include "TestSupport.h"
#include "app/MenuBar1.h"
#include "directory/MainWindow.h"
#include "tools/scanAVent.h"

namespace {

const QString kStatusPath = "/ventrilo/vent.ironlantern.example:3784/ventrilo_status.html";
constexpr const char* kGuardMessage =
    "The website, or you, has attempted to click a link or redirect you to another page. "
    "Brindlecot will now close this window for your security.";

MainWindow& Main() {
  return Implicit<MainWindow>();
}
scanAVent* Scanner() {
  return ImplicitIfOpen<scanAVent>();
}
std::string ScannerText(const char* name) {
  return Scanner()->Find<StaticText>(name).Text();
}

QWebEngineView* View() {
  return Scanner()->Widget()->findChild<QWebEngineView*>("ScannerWindow");
}

bool Completed() {
  return Scanner() != nullptr && Scanner()->Title() == "Brindlecot - Server successfully scanned";
}

void RunInPage(const QString& script) {
  View()->page()->runJavaScript(script);
}

}  // namespace

class ScanTest : public QObject {
  Q_OBJECT

 private:
  // Starts, chooses the sample's first server and clicks Scan.
  static void ScanFirstServer(bool toolbar = false) {
    StartProgram();
    QVERIFY(WaitFor([] { return Main().Find<Listbox>("ventList").ListCount() > 2; }));
    QVERIFY(ClickServerRow(2));
    QVERIFY(WaitFor([] { return Main().Find<BevelButton>("PushButtonScan").Enabled(); }));
    if (toolbar) {
      Main().Find<ToolbarItem>("Toolbar_ScanServer").Action()->trigger();
    } else {
      QTest::mouseClick(Main().Find<BevelButton>("PushButtonScan").Widget(), Qt::LeftButton);
    }
    QVERIFY(Scanner() != nullptr);
  }

 private slots:
  void cleanup() { StopProgram(); }

  void scanShowsTheStatusPage_data() {
    QTest::addColumn<bool>("toolbar");
    QTest::newRow("button") << false;
    QTest::newRow("toolbar item") << true;
  }

  void scanShowsTheStatusPage() {
    QFETCH(bool, toolbar);
    Host().clearRequests();
    ScanFirstServer(toolbar);
    QCOMPARE(Scanner()->Title(), std::string("Brindlecot - Connecting..."));
    QCOMPARE(ScannerText("firstLoad"), std::string("NotYet"));
    QVERIFY(Scanner()->Find<RoundRectangle>("loadingBackgroundTangle").Widget()->isVisible());
    QVERIFY(WaitFor(Completed, 30000));
    // The address went in trimmed of its line end.
    QCOMPARE(Host().requestsFor(kStatusPath).size(), 1);
    QCOMPARE(ScannerText("firstLoad"), std::string("done"));
    QCOMPARE(ScannerText("currentPercent"), std::string("100%"));
    QCOMPARE(Scanner()->Find<ProgressBar>("ProgressBar1").Value(), 100);
    for (const char* name :
         {"loadingSymbol", "ProgressBar1", "currentPercent", "loadingBackgroundTangle"}) {
      QVERIFY2(!Scanner()->Find<RectControl>(name).Visible(), name);
    }
    // The page starts 96 pixels above the window.
    QCOMPARE(View()->geometry().top(), -96);
    QVERIFY(Scanner()->Find<StaticText>("Warning").Widget()->isVisible());
  }

  // Scanning again into the open window keeps it open, under the same guard.
  void secondScanKeepsTheWindow() {
    MessageBoxAnswerer answerer;
    ScanFirstServer();
    QVERIFY(WaitFor(Completed, 30000));
    QTest::mouseClick(Main().Find<BevelButton>("PushButtonScan").Widget(), Qt::LeftButton);
    QVERIFY(WaitFor([] { return Host().requestsFor(kStatusPath).size() == 2; }, 30000));
    QTest::qWait(1000);
    QVERIFY(Scanner() != nullptr);
    QVERIFY(answerer.seen.isEmpty());
    QCOMPARE(ScannerText("firstLoad"), std::string("done"));
  }

  // Once the status page has shown, leaving it for any other page closes the window after
  // one message; the next Scan starts afresh.
  void guardClosesTheWindow_data() {
    QTest::addColumn<QString>("script");
    QTest::newRow("a link to a titled page") << "document.getElementById('elsewhere').click()";
    QTest::newRow("a page without a title") << "location.href = '/ventrilo/untitled.html'";
    QTest::newRow("titles that keep coming while the message is up")
        << "document.title = 'One';"
           "setTimeout(() => { document.title = 'Two'; }, 100);"
           "setTimeout(() => { document.title = 'Three'; }, 200);";
  }

  void guardClosesTheWindow() {
    QFETCH(QString, script);
    Host().setAnswer("/ventrilo/untitled.html", 200, "<html><body>plain</body></html>",
                     {{"Content-Type", "text/html"}});
    // The message stays up a while, as a user reads it: it asks once however many titles come.
    MessageBoxAnswerer answerer(800);
    ScanFirstServer();
    QVERIFY(WaitFor(Completed, 30000));
    RunInPage(script);
    QVERIFY(WaitFor([] { return Scanner() == nullptr; }, 30000));
    QCOMPARE(answerer.seen, QStringList{kGuardMessage});
    QTest::mouseClick(Main().Find<BevelButton>("PushButtonScan").Widget(), Qt::LeftButton);
    QCOMPARE(ScannerText("firstLoad"), std::string("NotYet"));
    QCOMPARE(Scanner()->Title(), std::string("Brindlecot - Connecting..."));
  }

  // Before the status page has shown, other titles are let be.
  void otherTitlesBeforeTheStatusPage() {
    MessageBoxAnswerer answerer;
    Host().setNeverAnswer("/files/brindlecot/ventList.txt");
    StartProgram();
    Implicit<scanAVent>()
        .Find<HTMLViewer>("ScannerWindow")
        .LoadURL(std::string("http://") + kStatusHost + "/ventrilo/elsewhere.html");
    QVERIFY(WaitFor(Completed, 30000));
    QTest::qWait(200);
    QVERIFY(Scanner() != nullptr);
    QCOMPARE(ScannerText("firstLoad"), std::string("NotYet"));
    QVERIFY(answerer.seen.isEmpty());
  }

  // No page at all: the label says so and the panel stays up.
  void loadError() {
    Host().setCloseWithoutAnswer(kStatusPath);
    ScanFirstServer();
    QVERIFY(
        WaitFor([] { return ScannerText("currentPercent") == "Failed to scan server"; }, 30000));
    QVERIFY(Scanner()->Find<RoundRectangle>("loadingBackgroundTangle").Visible());
    QCOMPARE(Scanner()->Title(), std::string("Brindlecot - Connecting..."));
  }

  // What the view reports, in order, and what the panel then shows: percentages as they come,
  // unclamped; the failure until the next progress; completion hides the panel for good.
  void panelFollowsTheView_data() {
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("bar");
    QTest::addColumn<bool>("complete");
    QTest::newRow("0") << QStringList{"0"} << "0%" << 0 << false;
    QTest::newRow("100") << QStringList{"100"} << "100%" << 100 << false;
    QTest::newRow("past the maximum") << QStringList{"150"} << "150%" << 150 << false;
    QTest::newRow("below zero") << QStringList{"-5"} << "-5%" << -5 << false;
    QTest::newRow("an error") << QStringList{"30", "error"} << "Failed to scan server" << 30
                              << false;
    QTest::newRow("progress after an error") << QStringList{"error", "40"} << "40%" << 40 << false;
    QTest::newRow("an error after completion")
        << QStringList{"100", "complete", "error"} << "Failed to scan server" << 100 << true;
    QTest::newRow("progress after completion")
        << QStringList{"100", "complete", "20"} << "20%" << 20 << true;
  }

  void panelFollowsTheView() {
    QFETCH(QStringList, events);
    QFETCH(QString, label);
    QFETCH(int, bar);
    QFETCH(bool, complete);
    Host().setNeverAnswer("/files/brindlecot/ventList.txt");
    StartProgram();
    scanAVent& view = Implicit<scanAVent>();
    for (const QString& event : events) {
      if (event == "error") {
        view.ScannerWindow_Error(-1, "failed");
      } else if (event == "complete") {
        view.ScannerWindow_DocumentComplete("http://x/");
      } else {
        view.ScannerWindow_DocumentProgressChanged("http://x/", event.toInt());
      }
    }
    QCOMPARE(ScannerText("currentPercent"), label.toStdString());
    QCOMPARE(view.Find<ProgressBar>("ProgressBar1").Value(), bar);
    QCOMPARE(view.Title(), std::string(complete ? "Brindlecot - Server successfully scanned"
                                                : "Brindlecot - Connecting..."));
    for (const char* name :
         {"loadingSymbol", "ProgressBar1", "currentPercent", "loadingBackgroundTangle"}) {
      QCOMPARE(view.Find<RectControl>(name).Visible(), !complete);
    }
  }

  // The Edit menu reaches the page of the web view in front.
  void editCommandsReachThePage() {
    ScanFirstServer();
    QVERIFY(WaitFor(Completed, 30000));
    Scanner()->Widget()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Scanner()->Widget()));
    QApplication::clipboard()->clear();
    MenuBar1Instance()->FindItem("EditSelectAll")->Action()->trigger();
    MenuBar1Instance()->FindItem("EditCopy")->Action()->trigger();
    QVERIFY(WaitFor([] { return QApplication::clipboard()->text().contains("Lobby, Raid, AFK"); }));
  }

  // Close Window closes the status view.
  void closeWindowCommand() {
    ScanFirstServer();
    MenuBar1Instance()->FindItem("FileClose")->Action()->trigger();
    QVERIFY(Scanner() == nullptr);
  }
};

QTEST_MAIN(ScanTest)
#include "test_scan.moc"
