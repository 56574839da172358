// The server tools that drive a web engine, against the loopback host: the custom scan form,
// the submission window and the connect dialog.
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMainWindow>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "Framework.h"
#include "Hosts.h"
#include "TestSupport.h"
#include "app/MenuBar1.h"
#include "directory/MainWindow.h"
#include "tools/AddAVent.h"
#include "tools/CustomScan.h"
#include "tools/VentConnect.h"
#include "tools/scanAVent.h"

namespace {

const QString kFormPath = "/form/10314441287";
constexpr const char* kThanks =
    "Thank you! Your vent was submitted and will be moderated in a few hours.";

MainWindow& Main() {
  return Implicit<MainWindow>();
}

QWebEngineView* ViewOf(Window* window, const char* name) {
  return window->Widget()->findChild<QWebEngineView*>(name);
}

// Runs a script in a page and waits for its result.
QVariant RunInPage(QWebEngineView* view, const QString& script) {
  QVariant result;
  bool done = false;
  view->page()->runJavaScript(script, [&](const QVariant& value) {
    result = value;
    done = true;
  });
  WaitFor([&] { return done; }, 10000);
  return result;
}

// The program without its list, so that only the requests of the window under test arrive.
void StartQuietProgram() {
  Host().setNeverAnswer("/files/brindlecot/ventList.txt");
  StartProgram();
}

// ---- the custom scan form -------------------------------------------------------------------

CustomScan* Form() {
  return ImplicitIfOpen<CustomScan>();
}
QLineEdit* FormField(const char* name) {
  return qobject_cast<QLineEdit*>(Form()->Find<EditField>(name).Widget());
}
void PressScan() {
  QTest::mouseClick(Form()->Find<BevelButton>("JavaButton1").Widget(), Qt::LeftButton);
}

// The request lines the status host received.
QStringList StatusRequests() {
  QStringList lines;
  for (const QByteArray& raw : Host().requests()) {
    const QString line = QString::fromUtf8(raw.left(raw.indexOf("\r\n")));
    if (line.contains(kStatusHost)) lines << line;
  }
  return lines;
}

// ---- the submission window ------------------------------------------------------------------

AddAVent* Submission() {
  return ImplicitIfOpen<AddAVent>();
}
QWebEngineView* SubmissionPage() {
  return ViewOf(Submission(), "AddAVentPage");
}
// Opens the window and waits for the form page.
void OpenTheForm() {
  Implicit<AddAVent>();
  QVERIFY(WaitFor([] { return SubmissionPage()->title() == "Add a Ventrilo Server"; }, 30000));
}

// ---- the connect dialog ---------------------------------------------------------------------

VentConnect* Dialog() {
  return ImplicitIfOpen<VentConnect>();
}

}  // namespace

class WebToolsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { Host().clearRequests(); }
  void cleanup() { StopProgram(); }

  // ---- custom scan --------------------------------------------------------------------------

  // Scan drops every blank from both fields, writes the cleaned texts back and loads the status
  // page of host:port into the status view, which comes to the front; the form stays.
  void customScan_data() {
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("cleanHost");
    QTest::addColumn<QString>("cleanPort");
    QTest::newRow("blanks before, inside and after") << "  vent. example .com "
                                                     << " 37 84 "
                                                     << "vent.example.com"
                                                     << "3784";
    QTest::newRow("only blanks: the target is \":\"") << "   "
                                                      << " "
                                                      << ""
                                                      << "";
  }

  void customScan() {
    QFETCH(QString, host);
    QFETCH(QString, port);
    QFETCH(QString, cleanHost);
    QFETCH(QString, cleanPort);
    StartQuietProgram();
    Implicit<CustomScan>();
    QVERIFY(QTest::qWaitForWindowExposed(Form()->Widget()));
    QTest::keyClicks(FormField("Javahostname"), host);
    QTest::keyClicks(FormField("Javaport"), port);
    PressScan();
    QCOMPARE(FormField("Javahostname")->text(), cleanHost);
    QCOMPARE(FormField("Javaport")->text(), cleanPort);
    QVERIFY(ImplicitIfOpen<scanAVent>() != nullptr);
    const QString path = "/ventrilo/" + cleanHost + ":" + cleanPort + "/ventrilo_status.html";
    QVERIFY(WaitFor([&] { return Host().requestsFor(path).size() == 1; }, 30000));
    QVERIFY(Host().requestsFor(path)[0].contains(QByteArray("Host: ") + kStatusHost));
    QVERIFY(Form() != nullptr && Form()->Widget()->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(ImplicitIfOpen<scanAVent>()->Widget()));
  }

  // A second Scan loads into the one status view and brings it in front; a tab is not a blank:
  // it stays, and goes into the URL escaped.
  void secondScanReusesTheStatusView() {
    StartQuietProgram();
    Implicit<CustomScan>();
    Form()->Find<EditField>("Javahostname").SetText("tab\there");
    Form()->Find<EditField>("Javaport").SetText("1 2");
    PressScan();
    QCOMPARE(Form()->Find<EditField>("Javahostname").Text(), std::string("tab\there"));
    QCOMPARE(Form()->Find<EditField>("Javaport").Text(), std::string("12"));
    scanAVent* first = ImplicitIfOpen<scanAVent>();
    QVERIFY(first != nullptr);
    QVERIFY(WaitFor([] { return StatusRequests().size() == 1; }, 30000));
    // The status view minimized and the form in front: the second Scan brings the status view
    // back in front.
    first->Widget()->showMinimized();
    QTRY_VERIFY(first->Widget()->isMinimized());
    QVERIFY(BringToFront(Form()->Widget()));
    PressScan();
    QCOMPARE(ImplicitIfOpen<scanAVent>(), first);
    QVERIFY(!first->Widget()->isMinimized());
    QVERIFY(QTest::qWaitForWindowActive(first->Widget()));
    QVERIFY(WaitFor([] { return StatusRequests().size() == 2; }, 30000));
    const QString line =
        QString("GET http://%1/ventrilo/tab%09here:12/ventrilo_status.html HTTP/1.1")
            .arg(kStatusHost);
    QCOMPARE(StatusRequests(), QStringList({line, line}));
  }

  // ---- submission ---------------------------------------------------------------------------

  // The form comes from the form host; the title "Google", reached by sending the form or by a
  // link, thanks the user once and closes the window after the message.
  void submissionThanksAndCloses_data() {
    QTest::addColumn<QString>("script");
    QTest::newRow("the form sent") << "document.getElementById('servername').value = 'Echo';"
                                      "document.getElementById('send').click()";
    QTest::newRow("the link followed") << "document.getElementById('recorded').click()";
    QTest::newRow("\"Google\" again while the message is up")
        << "document.title = 'Google';"
           "setTimeout(() => { document.title = 'Form'; }, 100);"
           "setTimeout(() => { document.title = 'Google'; }, 200);";
  }

  void submissionThanksAndCloses() {
    QFETCH(QString, script);
    // The message stays up a while, as a user reads it: titles that come meanwhile ask nothing.
    MessageBoxAnswerer answerer(800);
    StartQuietProgram();
    OpenTheForm();
    QCOMPARE(Submission()->Title(), std::string("Add your Ventrilo server to Brindlecot"));
    QCOMPARE(Host().requestsFor(kFormPath).size(), 1);
    QVERIFY(Host().requestsFor(kFormPath)[0].contains(QByteArray("Host: ") + kFormHost));
    RunInPage(SubmissionPage(), script);
    QVERIFY(WaitFor([] { return Submission() == nullptr; }, 30000));
    QCOMPARE(answerer.seen, QStringList{kThanks});
    QTest::qWait(1000);
    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
  }

  // Any other title leaves the window open, one that merely contains the word as well.
  void otherTitlesLeaveItOpen_data() {
    QTest::addColumn<QString>("title");
    QTest::newRow("containing the word") << "Google Search";
    QTest::newRow("ending with it") << "Not Google";
    QTest::newRow("empty") << "";
  }

  void otherTitlesLeaveItOpen() {
    QFETCH(QString, title);
    MessageBoxAnswerer answerer;
    Host().setAnswer(
        "/form/other.html", 200,
        "<html><head><title>" + title.toUtf8() + "</title></head><body>x</body></html>",
        {{"Content-Type", "text/html"}});
    StartQuietProgram();
    OpenTheForm();
    QSignalSpy loaded(SubmissionPage(), &QWebEngineView::loadFinished);
    RunInPage(SubmissionPage(), "location.href = '/form/other.html'");
    QVERIFY(WaitFor([&] { return !loaded.isEmpty(); }, 30000));
    QTest::qWait(300);
    QVERIFY(Submission() != nullptr);
    QVERIFY(answerer.seen.isEmpty());
  }

  // Opening the window again while it is open neither reloads the form nor loses the typing.
  void reopeningKeepsWhatWasTyped() {
    StartQuietProgram();
    OpenTheForm();
    RunInPage(SubmissionPage(), "document.getElementById('servername').value = 'Half typed'");
    Implicit<AddAVent>().SetVisible(true);
    QTest::qWait(300);
    QCOMPARE(Host().requestsFor(kFormPath).size(), 1);
    QCOMPARE(RunInPage(SubmissionPage(), "document.getElementById('servername').value").toString(),
             QString("Half typed"));
  }

  // No form at all: the engine's error page, no message, and the window stays.
  void formHostFails() {
    MessageBoxAnswerer answerer;
    Host().setCloseWithoutAnswer(kFormPath);
    StartQuietProgram();
    Implicit<AddAVent>();
    QSignalSpy loaded(SubmissionPage(), &QWebEngineView::loadFinished);
    QVERIFY(WaitFor([&] { return !loaded.isEmpty(); }, 30000));
    QCOMPARE(loaded.first().first().toBool(), false);
    QTest::qWait(300);
    QVERIFY(Submission() != nullptr);
    QVERIFY(answerer.seen.isEmpty());
  }

  // The Edit menu reaches the form page.
  void editCommandsReachTheForm() {
    StartQuietProgram();
    OpenTheForm();
    Submission()->Widget()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Submission()->Widget()));
    QApplication::clipboard()->clear();
    MenuBar1Instance()->FindItem("EditSelectAll")->Action()->trigger();
    MenuBar1Instance()->FindItem("EditCopy")->Action()->trigger();
    QVERIFY(WaitFor([] { return QApplication::clipboard()->text().contains("Add a Ventrilo"); }));
  }

  // ---- the connect dialog -------------------------------------------------------------------

  // Connect (Return) shows the progress page, hands the launch URL to the system exactly once
  // (the hidden view gets the same URL but passes no unknown scheme on), and the dialog goes
  // 6.5 s later.
  void connectDialog_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("url");
    QTest::newRow("a name") << "My Vent"
                            << QByteArray("ventrilo://vent.example:3784/servername=My%20Vent");
    QTest::newRow("'%' and '#'") << "100% Fun #1"
                                 << QByteArray(
                                        "ventrilo://vent.example:3784/"
                                        "servername=100%25%20Fun%20%231");
    QTest::newRow("no name") << "" << QByteArray("ventrilo://vent.example:3784/servername=");
  }

  void connectDialog() {
    QFETCH(QString, name);
    QFETCH(QByteArray, url);
    UrlCatcher catcher;
    StartQuietProgram();
    Main().Find<StaticText>("ventURL").SetText("vent.example:3784\r\n");
    VentConnect& dialog = Implicit<VentConnect>();
    QCOMPARE(dialog.Title(), std::string("Connect to Vent"));
    QVERIFY(QTest::qWaitForWindowActive(dialog.Widget()));
    QWidget* field = dialog.Find<EditField>("EditField1").Widget();
    QVERIFY(field->isVisible());
    QVERIFY(!dialog.Find<StaticText>("StaticText2").Widget()->isVisible());
    field->setFocus();
    QTest::keyClicks(field, name);
    QList<QUrl> loaded;
    QObject::connect(ViewOf(&dialog, "ventConnectPanel")->page(), &QWebEnginePage::loadingChanged,
                     this, [&](const QWebEngineLoadingInfo& info) { loaded << info.url(); });
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(field, Qt::Key_Return);

    QCOMPARE(dialog.Find<PagePanel>("PagePanel1").Value(), 1);
    QVERIFY(!field->isVisible());
    QVERIFY(!dialog.Find<PushButton>("PushButton2").Widget()->isVisible());
    QVERIFY(dialog.Find<ProgressWheel>("ProgressWheel1").Widget()->isVisible());
    QVERIFY(dialog.Find<StaticText>("StaticText2").Widget()->isVisible());
    QCOMPARE(catcher.urls.size(), 1);
    QCOMPARE(catcher.urls[0].toEncoded(), url);
    QVERIFY(WaitFor([&] { return !loaded.isEmpty(); }, 30000));
    QCOMPARE(loaded.first(), catcher.urls[0]);

    QVERIFY(WaitFor([] { return Dialog() == nullptr; }, 9000));
    // Never early, as the toolkit's coarse timers may be.
    QVERIFY2(clock.elapsed() >= 6500, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(catcher.urls.size(), 1);
  }

  // Cancel closes at once and hands nothing over.
  void connectDialogCancel() {
    UrlCatcher catcher;
    StartQuietProgram();
    QTest::mouseClick(Implicit<VentConnect>().Find<PushButton>("PushButton2").Widget(),
                      Qt::LeftButton);
    QVERIFY(Dialog() == nullptr);
    QTest::qWait(200);
    QVERIFY(catcher.urls.isEmpty());
  }

  // Closed by its close box while it waits: no tick follows, no dialog comes back.
  void connectDialogClosedWhileWaiting() {
    UrlCatcher catcher;
    StartQuietProgram();
    VentConnect& dialog = Implicit<VentConnect>();
    QTest::mouseClick(dialog.Find<PushButton>("PushButton1").Widget(), Qt::LeftButton);
    QCOMPARE(catcher.urls.size(), 1);
    QTest::qWait(500);
    dialog.Widget()->close();
    QVERIFY(Dialog() == nullptr);
    QTest::qWait(6500);
    QVERIFY(Dialog() == nullptr);
    QCOMPARE(catcher.urls.size(), 1);
  }

  // It never shrinks below its first size.
  void connectDialogMinimumSize() {
    StartQuietProgram();
    VentConnect& dialog = Implicit<VentConnect>();
    QCOMPARE(dialog.Content()->size(), QSize(438, 110));
    dialog.Widget()->resize(200, 50);
    QTest::qWait(20);
    QVERIFY(dialog.Content()->width() >= 438);
    QVERIFY(dialog.Content()->height() >= 110);
  }
};

QTEST_MAIN(WebToolsTest)
#include "test_webtools.moc"
