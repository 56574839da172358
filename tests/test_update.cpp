// The software update window against the loopback host: the newest version's text as the host
// sends it, one pair of downloads per window, and Install Update ending the program.
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QProcess>
#include <QTest>
#include <QWebEngineView>

#include "Framework.h"
#include "Hosts.h"
#include "TestSupport.h"
#include "app/MenuBar1.h"
#include "directory/MainWindow.h"
#include "update/Sparkle.h"

namespace {

const QString kNewest = "/files/sparkle/newestversion.txt";
const QString kNotes = "/files/sparkle/rnotes.html";
const std::string kSentence = "-- you have 1.0.9. Would you like to download it now?";

Sparkle* Update() {
  return ImplicitIfOpen<Sparkle>();
}

std::string Label() {
  return Update()->Find<StaticText>("VersionUpdateInformationText").Text();
}

QLabel* ShownLabel() {
  return Update()->Widget()->findChild<QLabel*>("VersionUpdateInformationText");
}

QWebEngineView* Notes() {
  return Update()->Widget()->findChild<QWebEngineView*>("releasenotesSparkle");
}

bool NotesShown() {
  return Notes() != nullptr && Notes()->title() == "Brindlecot Release Notes";
}

}  // namespace

class UpdateTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    StartProgram();
    Host().clearRequests();
  }

  void cleanup() { StopProgram(); }

  // The body comes first exactly as received, then the running version's sentence at once.
  void newestVersionText_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("shown");
    QTest::newRow("sample file") << 0 << QByteArray()
                                 << "Brindlecot 1.1.0 is now available " +
                                        QString::fromStdString(kSentence);
    QTest::newRow("empty body") << 200 << QByteArray() << QString::fromStdString(kSentence);
    QTest::newRow("body ending in CR LF")
        << 200 << QByteArray("Brindlecot 1.2.0 \r\n")
        << "Brindlecot 1.2.0 \n" + QString::fromStdString(kSentence);
    QTest::newRow("no blank before the hyphens")
        << 200 << QByteArray("1.2.0") << "1.2.0" + QString::fromStdString(kSentence);
    QTest::newRow("error page") << 404 << QByteArray("<h1>Not Found</h1>")
                                << "<h1>Not Found</h1>" + QString::fromStdString(kSentence);
  }

  void newestVersionText() {
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QString, shown);
    if (status != 0) Host().setAnswer(kNewest, status, body, {{"Content-Type", "text/plain"}});
    MessageBoxAnswerer answerer;
    Implicit<Sparkle>();
    QCOMPARE(Label(), std::string("Brindlecot "));
    QVERIFY(WaitFor([] { return Label() != "Brindlecot "; }));
    const QByteArray sample = status != 0 ? body : [] {
      QFile file(Host().sampleDir() + kNewest);
      file.open(QIODevice::ReadOnly);
      return file.readAll();
    }();
    QCOMPARE(Label(), sample.toStdString() + kSentence);
    // A line end in the body starts the sentence on a line of its own.
    QCOMPARE(ShownLabel()->text(), shown);
    QVERIFY(ShownLabel()->wordWrap());
    QVERIFY(answerer.seen.isEmpty());
  }

  // No answer: nothing is said and the label keeps its declared text.
  void failedRequestLeavesTheLabel_data() {
    QTest::addColumn<bool>("reset");
    QTest::newRow("closed without an answer") << false;
    QTest::newRow("reset halfway") << true;
  }

  void failedRequestLeavesTheLabel() {
    QFETCH(bool, reset);
    if (reset) {
      Host().setResetAfter(kNewest, "HTTP/1.0 200 OK\r\nContent-Length: 50\r\n\r\nBrindlecot");
    } else {
      Host().setCloseWithoutAnswer(kNewest);
    }
    MessageBoxAnswerer answerer;
    Implicit<Sparkle>();
    QVERIFY(WaitFor(NotesShown, 30000));
    QTest::qWait(300);
    QVERIFY(Update() != nullptr);
    QCOMPARE(Label(), std::string("Brindlecot "));
    QVERIFY(answerer.seen.isEmpty());
    QCOMPARE(Host().requestsFor(kNewest).size(), 1);
  }

  // Each window fetches its two files once; showing the open one again fetches nothing, and
  // neither does Close Window, which leaves the update window alone.
  void onePairOfDownloadsPerWindow() {
    Implicit<Sparkle>();
    QVERIFY(WaitFor([] { return Label() != "Brindlecot "; }));
    QVERIFY(WaitFor(NotesShown, 30000));
    const QString root = QString("GET http://") + kDirectoryHost;
    QVERIFY(Host().requestsFor(kNewest).value(0).startsWith(
        (root + kNewest + " HTTP/1.0\r\n").toUtf8()));
    QVERIFY(Host().requestsFor(kNotes).value(0).startsWith((root + kNotes + " ").toUtf8()));

    Sparkle* first = Update();
    Implicit<Sparkle>().SetVisible(true);
    MenuBar1Instance()->FindItem("FileClose")->Action()->trigger();
    QTest::qWait(500);
    QCOMPARE(Update(), first);
    QCOMPARE(Host().requestsFor(kNewest).size(), 1);
    QCOMPARE(Host().requestsFor(kNotes).size(), 1);

    // Remind Me Later closes it; the next one starts afresh.
    QTest::mouseClick(Update()->Find<PushButton>("PushButton2").Widget(), Qt::LeftButton);
    QVERIFY(Update() == nullptr);
    Implicit<Sparkle>();
    QCOMPARE(Label(), std::string("Brindlecot "));
    QVERIFY(WaitFor([] { return Host().requestsFor(kNewest).size() == 2; }));
    QVERIFY(WaitFor([] { return Host().requestsFor(kNotes).size() == 2; }, 30000));
  }

  // Skip This Version is shown but can never be pressed; the window keeps its minimum size.
  void declaredWindow() {
    Implicit<Sparkle>();
    QCOMPARE(Update()->Title(), std::string("Software Update"));
    PushButton& skip = Update()->Find<PushButton>("PushButton1");
    QVERIFY(!skip.Enabled());
    QTest::mouseClick(skip.Widget(), Qt::LeftButton);
    QVERIFY(Update() != nullptr);
    QVERIFY(Update()->Find<PushButton>("PushButton3").Default());
    QMainWindow* window = Update()->Widget();
    window->resize(300, 200);
    QTest::qWait(50);
    QCOMPARE(Update()->Content()->size(), QSize(626, 377));
    window->resize(window->width() + 100, window->height() + 50);
    QVERIFY(WaitFor([] { return Update()->Content()->size() == QSize(726, 427); }));
    // The notes grow with the window and stay inside the rectangle's border.
    QCOMPARE(Notes()->size(), QSize(605, 274));
  }

  // Install Update hands the product site to the system, then the program ends with 0.
  void installUpdate_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("click") << "click";
    QTest::newRow("Return") << "return";
  }

  void installUpdate() {
    QFETCH(QString, how);
    QProcess probe;
    probe.start(UPDATE_PROBE_PATH, {how});
    if (!probe.waitForFinished(60000)) {
      probe.kill();
      probe.waitForFinished();
    }
    const QStringList lines =
        QString::fromUtf8(probe.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    const QString errors = QString::fromUtf8(probe.readAllStandardError());
    QVERIFY2(!lines.contains("still-running"), qPrintable(errors));
    QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
    QCOMPARE(probe.exitCode(), 0);
    QCOMPARE(lines,
             QStringList({QString("handed http://") + kProductHost + " quitting=0", "loop-ended"}));
  }
};

QTEST_MAIN(UpdateTest)
#include "test_update.moc"
