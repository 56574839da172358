// The broken-server report sheet: the server it names, the placeholder that a click clears, and
// Send Report's one probe of a well-known site, answered or not.
#include <QApplication>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>
#include <chrono>

#include "Framework.h"
#include "Hosts.h"
#include "TestSupport.h"
#include "directory/MainWindow.h"
#include "tools/Report.h"

namespace {

constexpr const char* kPlaceholder = "Please enter the report details here";
constexpr const char* kFailed = "Failed to send, no internet connection";

MainWindow& Main() {
  return Implicit<MainWindow>();
}
Report* Sheet() {
  return ImplicitIfOpen<Report>();
}
std::string Details() {
  return Sheet()->Find<EditField>("EditField1").Text();
}
QPlainTextEdit* DetailsField() {
  return qobject_cast<QPlainTextEdit*>(Sheet()->Find<EditField>("EditField1").Widget());
}

}  // namespace

class ReportTest : public QObject {
  Q_OBJECT

 private:
  // The program, a server chosen in the main list, and the sheet.
  static void OpenSheet() {
    StartProgram();
    QVERIFY(WaitFor([] { return Main().Find<Listbox>("ventList").ListCount() > 2; }));
    QVERIFY(ClickServerRow(2));
    Implicit<Report>();
    QVERIFY(QTest::qWaitForWindowExposed(Sheet()->Widget()));
  }

 private slots:
  void init() { Host().clearRequests(); }
  void cleanup() { StopProgram(); }

  // The sheet hangs from the main window and names the server chosen there, or none.
  void namesTheChosenServer_data() {
    QTest::addColumn<bool>("chosen");
    QTest::addColumn<QString>("line");
    QTest::newRow("a server chosen") << true << "Brindlecot: Iron Lantern Guild";
    QTest::newRow("no row selected") << false << "Brindlecot: ";
  }

  void namesTheChosenServer() {
    QFETCH(bool, chosen);
    QFETCH(QString, line);
    StartProgram();
    QVERIFY(WaitFor([] { return Main().Find<Listbox>("ventList").ListCount() > 2; }));
    if (chosen) QVERIFY(ClickServerRow(2));
    Report& sheet = Implicit<Report>();
    QCOMPARE(sheet.Find<EditField>("ventName").Text(), line.toStdString());
    QVERIFY(sheet.Find<EditField>("ventName").ReadOnly());
    QCOMPARE(sheet.Widget()->windowModality(), Qt::WindowModal);
    QCOMPARE(sheet.Widget()->parentWidget(), Main().Widget());
    QCOMPARE(Details(), std::string(kPlaceholder));
  }

  // Only a click clears the placeholder, and only while the field holds exactly that text.
  // The click itself still reaches the field: the caret goes where it was clicked (-1: the
  // middle of the field, past the text).
  void placeholder_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("click");
    QTest::addColumn<int>("clickAt");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("typedOn");
    QTest::newRow("a click on the placeholder") << "" << true << -1 << ""
                                                << "!";
    QTest::newRow("a click inside typed text") << "Nobody answers" << true << 6 << "Nobody answers"
                                               << "Nobody! answers";
    QTest::newRow("typed text equal to the placeholder") << kPlaceholder << true << -1 << ""
                                                         << "!";
    QTest::newRow("reached by the keyboard") << "" << false << -1 << kPlaceholder << "";
  }

  void placeholder() {
    QFETCH(QString, typed);
    QFETCH(bool, click);
    QFETCH(int, clickAt);
    QFETCH(QString, after);
    QFETCH(QString, typedOn);
    OpenSheet();
    if (!typed.isEmpty()) {
      QTest::mouseClick(DetailsField()->viewport(), Qt::LeftButton);
      QTest::keyClicks(DetailsField(), typed);
      QCOMPARE(Details(), typed.toStdString());
    }
    if (click) {
      QPoint where = DetailsField()->viewport()->rect().center();
      if (clickAt >= 0) {
        QTextCursor at(DetailsField()->document());
        at.setPosition(clickAt);
        where = DetailsField()->cursorRect(at).center();
      }
      QTest::mouseClick(DetailsField()->viewport(), Qt::LeftButton, {}, where);
    } else {
      DetailsField()->setFocus(Qt::TabFocusReason);
      QTest::keyClick(DetailsField(), Qt::Key_End);
    }
    QCOMPARE(Details(), after.toStdString());
    if (click) {
      QTest::keyClicks(DetailsField(), "!");
      QCOMPARE(Details(), typedOn.toStdString());
    }
  }

  // Send Report (Return) probes the site's root page with nothing of the report; any answer
  // closes the sheet silently, no answer at all shows the failure and then closes it.
  void sendReport_data() {
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<int>("presses");
    QTest::addColumn<bool>("fails");
    QTest::newRow("the site answers") << "sample" << 1 << false;
    QTest::newRow("404") << "404" << 1 << false;
    QTest::newRow("500") << "500" << 1 << false;
    QTest::newRow("pressed again before the answer") << "slow" << 2 << false;
    QTest::newRow("the site drops the connection") << "drop" << 1 << true;
    QTest::newRow("nobody listens") << "refuse" << 1 << true;
    QTest::newRow("the site stays silent") << "silent" << 1 << true;
  }

  void sendReport() {
    QFETCH(QString, outcome);
    QFETCH(int, presses);
    QFETCH(bool, fails);
    MessageBoxAnswerer answerer;
    OpenSheet();
    QTest::mouseClick(DetailsField()->viewport(), Qt::LeftButton);
    QTest::keyClicks(DetailsField(), "Secret details");
    if (outcome == "404" || outcome == "500") {
      Host().setAnswer("/", outcome.toInt(), "<html><title>Error</title></html>");
    } else if (outcome == "slow") {
      Host().setDelay("/", 400);
    } else if (outcome == "drop") {
      Host().setCloseWithoutAnswer("/");
    } else if (outcome == "silent") {
      // A shortened silence limit: the program gives up after a minute without a byte.
      HTTPSocket::SetSilenceLimit(std::chrono::milliseconds(1000));
      Host().setNeverAnswer("/");
    } else if (outcome == "refuse") {
      const QByteArray nobody = "http://127.0.0.1:" + QByteArray::number(ClosedPort());
      qputenv("http_proxy", nobody);
      qputenv("HTTP_PROXY", nobody);
    }
    Host().clearRequests();
    QWidget* nameField = Sheet()->Find<EditField>("ventName").Widget();
    nameField->setFocus();
    for (int i = 0; i < presses; ++i) {
      // A later press comes once the earlier request is under way, and replaces it.
      if (i > 0) QVERIFY(WaitFor([i] { return Host().requestsFor("/").size() == i; }));
      QTest::keyClick(nameField, Qt::Key_Return);
    }
    if (outcome == "refuse") {
      qputenv("http_proxy", Host().proxyUrl().toUtf8());
      qputenv("HTTP_PROXY", Host().proxyUrl().toUtf8());
    }
    QVERIFY(WaitFor([] { return Sheet() == nullptr; }));
    QCOMPARE(answerer.seen, fails ? QStringList{kFailed} : QStringList{});
    if (outcome == "refuse") return;
    QCOMPARE(Host().requestsFor("/").size(), presses);
    for (const QByteArray& raw : Host().requestsFor("/")) {
      QCOMPARE(raw, QByteArray("GET http://") + kProbeHost + "/ HTTP/1.0\r\nHost: " + kProbeHost +
                        "\r\nAccept: */*\r\nAccept-Language: en\r\n\r\n");
    }
  }

  // Until the silence limit gives up on the probe, the sheet waits for Cancel, which drops the
  // request.
  void noAnswerWaitsForCancel() {
    MessageBoxAnswerer answerer;
    Host().setNeverAnswer("/");
    OpenSheet();
    // The main window's downloads of the chosen server may still come and go: only the probe's
    // own connection is watched.
    QTest::mouseClick(Sheet()->Find<PushButton>("PushButton2").Widget(), Qt::LeftButton);
    QVERIFY(WaitFor([] { return Host().openConnectionsFor("/") == 1; }));
    QTest::qWait(500);
    QVERIFY(Sheet() != nullptr);
    QCOMPARE(Host().openConnectionsFor("/"), 1);
    QTest::mouseClick(Sheet()->Find<PushButton>("PushButton1").Widget(), Qt::LeftButton);
    QVERIFY(Sheet() == nullptr);
    QVERIFY(WaitFor([] { return Host().droppedConnectionsFor("/") == 1; }));
    QCOMPARE(Host().openConnectionsFor("/"), 0);
    QVERIFY(answerer.seen.isEmpty());
    // The next opening is a fresh sheet.
    QCOMPARE(Implicit<Report>().Find<EditField>("EditField1").Text(), std::string(kPlaceholder));
  }
};

QTEST_MAIN(ReportTest)
#include "test_report.moc"
