// The help window in a real web engine against the loopback host's FAQ page: the offline
// message, the progress row, and what counts as a failure.
#include <QMainWindow>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>

#include "Framework.h"
#include "TestSupport.h"
#include "app/MenuBar1.h"
#include "update/brindlecotHelp.h"

namespace {

const QString kFaq = "/faq.php";
const QString kOffline =
    "Due to technical difficulties, our help system is offline. Please enjoy the Ventrilo help "
    "system instead.";
constexpr const char* kRow[] = {"ProgressBar1", "ProgressWheel1", "percentage"};

brindlecotHelp* Help() {
  return ImplicitIfOpen<brindlecotHelp>();
}

QWebEngineView* View() {
  return Help()->Widget()->findChild<QWebEngineView*>("helpviewer");
}

int RowShown() {
  int shown = 0;
  for (const char* name : kRow) shown += Help()->Find<RectControl>(name).Visible() ? 1 : 0;
  return shown;
}

std::string Percentage() {
  return Help()->Find<StaticText>("percentage").Text();
}

// The whole page has come and the row has gone again.
bool Completed() {
  return Help() != nullptr && Percentage() == "100%" && RowShown() == 0;
}

std::string RefusedUrl() {
  const quint16 port = ClosedPort();
  return "http://127.0.0.1:" + std::to_string(port) + "/faq.php";
}

}  // namespace

class HelpTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    StartProgram();
    Host().clearRequests();
  }

  void cleanup() { StopProgram(); }

  // The message comes once per window and the page is fetched once; the row shows while the
  // page loads and goes when it is complete.
  void openShowsTheFaqOnce() {
    Host().setDelay(kFaq, 1500);
    MessageBoxAnswerer answerer;
    Implicit<brindlecotHelp>();
    QCOMPARE(answerer.seen, QStringList{kOffline});
    // A floating window: a utility window above the others, resizable, with all three buttons.
    QCOMPARE(Help()->Widget()->windowType(), Qt::Tool);
    QVERIFY(Help()->Widget()->windowFlags().testFlags(Qt::WindowMinMaxButtonsHint |
                                                      Qt::WindowCloseButtonHint));
    QVERIFY(WaitFor([] { return RowShown() == 3; }));
    QVERIFY(Help()->Find<ProgressBar>("ProgressBar1").Widget()->isVisible());
    QVERIFY(WaitFor(Completed, 30000));
    QCOMPARE(View()->title(), QString("Ventrilo - Frequently Asked Questions"));
    QCOMPARE(Help()->Find<ProgressBar>("ProgressBar1").Value(), 100);

    brindlecotHelp* first = Help();
    Implicit<brindlecotHelp>().SetVisible(true);
    // Close Window leaves the help window alone.
    MenuBar1Instance()->FindItem("FileClose")->Action()->trigger();
    QTest::qWait(500);
    QCOMPARE(Help(), first);
    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(Host().requestsFor(kFaq).size(), 1);
  }

  // Reports and completions in any order: each report sets the whole row, each completion
  // hides it and keeps the last value. -1 stands for a completion.
  void progressRow_data() {
    QTest::addColumn<QList<int>>("events");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("0: an empty bar") << QList<int>{0} << true << 0 << "0%";
    QTest::newRow("42") << QList<int>{42} << true << 42 << "42%";
    QTest::newRow("100: a full bar") << QList<int>{100} << true << 100 << "100%";
    QTest::newRow("completion alone") << QList<int>{-1} << false << 0 << "0%";
    QTest::newRow("completion keeps the last value") << QList<int>{60, -1} << false << 60 << "60%";
    QTest::newRow("a report after completion") << QList<int>{60, -1, 30} << true << 30 << "30%";
  }

  void progressRow() {
    QFETCH(QList<int>, events);
    QFETCH(bool, shown);
    QFETCH(int, value);
    QFETCH(QString, text);
    // The page never comes, so only these events reach the row.
    Host().setNeverAnswer(kFaq);
    MessageBoxAnswerer answerer;
    Implicit<brindlecotHelp>();
    QVERIFY(WaitFor([] { return Host().requestsFor(kFaq).size() == 1; }));
    QTest::qWait(200);
    for (int event : events) {
      if (event < 0) {
        Help()->helpviewer_DocumentComplete("");
      } else {
        Help()->helpviewer_DocumentProgressChanged("", event);
      }
    }
    QCOMPARE(RowShown(), shown ? 3 : 0);
    QCOMPARE(Help()->Find<ProgressBar>("ProgressBar1").Maximum(), 100);
    QCOMPARE(Help()->Find<ProgressBar>("ProgressBar1").Value(), value);
    QCOMPARE(QString::fromStdString(Percentage()), text);
  }

  // No page at all closes the window, with nothing said beyond the offline message.
  void loadFailureClosesTheWindow_data() {
    QTest::addColumn<QString>("failure");
    QTest::newRow("refused") << "refused";
    QTest::newRow("cut off before an answer") << "cut off";
    QTest::newRow("reset") << "reset";
    // A proxy setting the program cannot use, or one that changed since the engine started:
    // the view loads nothing at all.
    QTest::newRow("proxy setting with a scheme we cannot speak") << "socks4://PROXY";
    QTest::newRow("SOCKS5 now, where the engine was started with HTTP") << "socks5://PROXY";
    QTest::newRow("proxy setting with an unclosed bracket") << "http://[::1";
    QTest::newRow("proxy setting with a port past 65535") << "http://127.0.0.1:99999";
  }

  void loadFailureClosesTheWindow() {
    QFETCH(QString, failure);
    if (failure == "cut off") Host().setCloseWithoutAnswer(kFaq);
    if (failure == "reset") Host().setResetAfter(kFaq, "HTTP/1.1 200 OK\r\n");
    const auto restore = qScopeGuard([] { qputenv("http_proxy", Host().proxyUrl().toUtf8()); });
    if (failure.contains("://")) {
      qputenv("http_proxy", QString(failure).replace("PROXY", Host().proxyUrl().mid(7)).toUtf8());
    }
    MessageBoxAnswerer answerer;
    Implicit<brindlecotHelp>();
    if (failure == "refused") {
      QVERIFY(WaitFor(Completed, 30000));
      Help()->Find<HTMLViewer>("helpviewer").LoadURL(RefusedUrl());
    }
    QVERIFY(WaitFor([] { return Help() == nullptr; }, 30000));
    QTest::qWait(200);
    QCOMPARE(answerer.seen, QStringList{kOffline});
    if (failure.contains("://")) QVERIFY(Host().requestsFor(kFaq).isEmpty());
  }

  // A page's WebSocket meets the proxy setting as a page does: a setting the program refuses
  // stops it before it reaches anyone.
  void webSocketMeetsTheProxySetting_data() {
    QTest::addColumn<QString>("setting");
    QTest::newRow("the proxy: tunnelled through it") << "";
    QTest::newRow("refused: stopped") << "socks4://PROXY";
  }

  void webSocketMeetsTheProxySetting() {
    QFETCH(QString, setting);
    MessageBoxAnswerer answerer;
    Implicit<brindlecotHelp>();
    QVERIFY(WaitFor(Completed, 30000));
    const auto restore = qScopeGuard([] { qputenv("http_proxy", Host().proxyUrl().toUtf8()); });
    if (!setting.isEmpty()) {
      qputenv("http_proxy", QString(setting).replace("PROXY", Host().proxyUrl().mid(7)).toUtf8());
    }
    View()->page()->runJavaScript("new WebSocket('ws://www.ventrilo.example/chat')");
    const auto tunnelled = [] {
      const QList<QByteArray> requests = Host().requests();
      return std::any_of(requests.begin(), requests.end(),
                         [](const QByteArray& request) { return request.startsWith("CONNECT "); });
    };
    if (setting.isEmpty()) {
      QVERIFY(WaitFor(tunnelled));
    } else {
      QTest::qWait(1500);
      QVERIFY(!tunnelled());
    }
  }

  // A link the view does not open itself stops the load it started: the row goes, the page and
  // the window stay.
  void linkTheViewDoesNotOpen_data() {
    QTest::addColumn<QString>("href");
    QTest::newRow("the voice-chat client") << "ventrilo://vent.example:3784/servername=Echo";
    QTest::newRow("mail") << "mailto:vents@example.com";
  }

  void linkTheViewDoesNotOpen() {
    QFETCH(QString, href);
    // The link covers the whole page, so a click anywhere follows it.
    Host().setAnswer(kFaq, 200,
                     "<html><head><title>Links</title></head><body style=\"margin:0\"><a href=\"" +
                         href.toUtf8() +
                         "\" style=\"display:block;width:100vw;height:100vh\">x</a></body></html>",
                     {{"Content-Type", "text/html"}});
    MessageBoxAnswerer answerer;
    Implicit<brindlecotHelp>();
    QVERIFY(WaitFor([] { return Help() != nullptr && View()->title() == "Links"; }, 30000));
    QVERIFY(WaitFor(Completed, 30000));
    QVERIFY(WaitFor([] { return View()->focusProxy() != nullptr; }));
    QSignalSpy started(View(), &QWebEngineView::loadStarted);
    // The engine may take a moment after the page is shown before it takes clicks.
    QVERIFY(WaitFor([&] {
      if (started.isEmpty()) QTest::mouseClick(View()->focusProxy(), Qt::LeftButton, {}, {40, 40});
      return WaitFor([&] { return !started.isEmpty(); }, 300);
    }));
    QTest::qWait(500);
    QVERIFY(Help() != nullptr);
    QCOMPARE(RowShown(), 0);
    QCOMPARE(View()->title(), QString("Links"));
    QCOMPARE(answerer.seen, QStringList{kOffline});
  }

  // An answer with an error status is a page like any other: shown, and the window stays.
  void errorStatusPageIsShown_data() {
    QTest::addColumn<int>("status");
    QTest::newRow("404") << 404;
    QTest::newRow("500") << 500;
  }

  void errorStatusPageIsShown() {
    QFETCH(int, status);
    Host().setAnswer(kFaq, status,
                     "<html><head><title>Vendor error</title></head><body>Gone</body></html>",
                     {{"Content-Type", "text/html"}});
    MessageBoxAnswerer answerer;
    Implicit<brindlecotHelp>();
    QVERIFY(WaitFor([] { return Help() != nullptr && View()->title() == "Vendor error"; }, 30000));
    QVERIFY(WaitFor([] { return Help() != nullptr && RowShown() == 0; }, 30000));
    QTest::qWait(500);
    QVERIFY(Help() != nullptr);
    QCOMPARE(answerer.seen, QStringList{kOffline});
  }
};

QTEST_MAIN(HelpTest)
#include "test_help.moc"
