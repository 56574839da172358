// The program against a hostile or broken directory host: answers that freeze, hang, lie about
// their framing or overflow their caps, and names no server can serve as they stand. Whatever
// comes, the main window ends in its own success or failure state and still answers a click.
#include <QAction>
#include <QFile>
#include <QTest>

#include "Framework.h"
#include "ListView.h"
#include "TestPaths.h"
#include "TestSupport.h"
#include "app/MenuBar1.h"
#include "common/UpdateStates.h"
#include "directory/MainWindow.h"

namespace {

const QString kList = "/files/brindlecot/ventList.txt";
const QString kUpdate = "/files/sparkle/1.0.9.txt";
const QString kServers = "/files/brindlecot/Servers/";

MainWindow& Main() {
  return Implicit<MainWindow>();
}
Listbox& List() {
  return Main().Find<Listbox>("ventList");
}
std::string Status() {
  return Main().Find<StaticText>("ventListStatus").Text();
}
std::string Details() {
  return Main().Find<EditField>("ventDetails").Text();
}

QByteArray Head(qint64 length = -1) {
  QByteArray head = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n";
  if (length >= 0) head += "Content-Length: " + QByteArray::number(length) + "\r\n";
  return head + "\r\n";
}

// A head of exactly `bytes` bytes, its blank line included.
QByteArray HeadOfSize(qsizetype bytes) {
  const QByteArray start = "HTTP/1.0 200 OK\r\nX-Fill: ";
  return start + QByteArray(bytes - start.size() - 4, 'h') + "\r\n\r\n";
}

// The main window answers a click: the label under the list shows its message box.
bool AnswersAClick() {
  MessageBoxAnswerer answerer;
  // The box runs its own event loop inside the click, so it may be answered before this returns.
  QTest::mouseClick(Main().Find<StaticText>("StaticText1").Widget(), Qt::LeftButton);
  return WaitFor([&] { return !answerer.seen.isEmpty(); }, 5000) && answerer.seen.last() == ":)";
}

// Clicks the server row `row` (0 = first below the heading, scrolled into view first) and
// waits until its description from the sample directory is shown.
bool ShowsSampleDetails(int row) {
  ListView* view = List().View();
  view->scrollTo(view->model()->index(row, 0));
  if (!ClickServerRow(row)) return false;
  const QString name = QString::fromStdString(std::string(List().Cell(row, 0)));
  const std::string expected = SampleFile(kServers + name + "/serverDetails.txt").toStdString();
  return !expected.empty() && WaitFor([&] { return Details() == expected; }, 20000);
}

}  // namespace

class HostileTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { Host().clearRequests(); }
  void cleanup() { StopProgram(); }

  // What the list request gets, and the status it must end in.
  void listAnswers_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("status");
    const QString received = "Received 17 servers";
    const QString unable = "Unable to get Vent list";
    QTest::newRow("interim 100 Continue, then the list") << "interim" << received;
    QTest::newRow("chunked") << "chunked" << unable;
    QTest::newRow("reset in a body without length") << "reset" << unable;
    QTest::newRow("head of exactly the cap") << "head-cap" << received;
    QTest::newRow("head one byte over the cap") << "head-over" << unable;
    QTest::newRow("garbage status line") << "garbage" << unable;
    QTest::newRow("body cut short of its Content-Length") << "truncated" << unable;
    QTest::newRow("1 GB stream") << "stream" << unable;
    QTest::newRow("1,000,000 rows") << "million"
                                    << "Received 1000000 servers";
    QTest::newRow("one byte every 100 ms") << "trickle"
                                           << "Received 1 servers";
    QTest::newRow("silent host") << "silent" << unable;
  }
  void listAnswers() {
    QFETCH(QString, answer);
    QFETCH(QString, status);
    const QByteArray list = SampleFile(kList);
    HTTPSocket::SetSilenceLimit(std::chrono::milliseconds(1500));
    if (answer == "interim") {
      Host().setRawAnswer(kList, "HTTP/1.1 100 Continue\r\n\r\n" + Head(list.size()) + list);
    } else if (answer == "chunked") {
      Host().setRawAnswer(kList, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" +
                                     QByteArray::number(list.size(), 16) + "\r\n" + list +
                                     "\r\n0\r\n\r\n");
    } else if (answer == "reset") {
      Host().setResetAfter(kList, Head() + list.left(list.size() / 2));
    } else if (answer == "head-cap") {
      Host().setRawAnswer(kList, HeadOfSize(64 * 1024) + list);
    } else if (answer == "head-over") {
      Host().setRawAnswer(kList, HeadOfSize(64 * 1024 + 1) + list);
    } else if (answer == "garbage") {
      Host().setRawAnswer(kList, "HTPT/1.0 200 OK\r\n\r\n" + list);
    } else if (answer == "truncated") {
      Host().setRawAnswer(kList, Head(list.size()) + list.left(list.size() - 1));
    } else if (answer == "stream") {
      Host().setStreamedBody(kList, qint64(1) << 30, false);
    } else if (answer == "million") {
      QByteArray rows = "Name\tSlots\rPlease choose a server:\t\r-----------------------\t\r";
      rows.reserve(24 * 1000 * 1000);
      for (int i = 0; i < 1000000; ++i) rows += "Server " + QByteArray::number(i) + "\t1/8\r";
      Host().setAnswer(kList, 200, rows);
    } else if (answer == "trickle") {
      QList<QByteArray> bytes;
      for (char c : Head() + "N\tS\rP\t\r-\t\rT\t1") bytes << QByteArray(1, c);
      Host().setPiecedAnswer(kList, bytes, 100);
    } else if (answer == "silent") {
      Host().setNeverAnswer(kList);
      Host().setNeverAnswer(kUpdate);
    }
    StartProgram();
    QVERIFY2(WaitFor([&] { return Status() == status.toStdString(); }, 60000), Status().c_str());
    QVERIFY(AnswersAClick());
    if (status == "Received 17 servers") QVERIFY(ShowsSampleDetails(2));
    if (answer == "silent") {
      // The update check gave up too, and says so.
      QVERIFY(WaitFor([] { return Main().UpdateState() == update_state::kError; }));
      MessageBoxAnswerer answerer;
      MenuBar1Instance()->FindItem("checkUpdates")->Action()->trigger();
      QVERIFY(WaitFor([&] { return !answerer.seen.isEmpty(); }, 5000));
      QCOMPARE(answerer.seen.last(), QStringLiteral("Unable to check for updates"));
    }
  }

  // A server description of any size or bytes is shown whole, and the next click on another
  // row is answered as soon as it has been shown.
  void detailsAnswers_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("one word of 4 MiB") << QByteArray(4 << 20, 'w');
    QByteArray words;
    words.reserve(30 << 20);
    while (words.size() < (30 << 20)) words += "lorem ipsum dolor sit amet ";
    QTest::newRow("30 MiB of words, no line end") << words;
    QByteArray binary;
    for (int i = 0; i < 4096; ++i) binary += char(i * 7);
    QTest::newRow("binary bytes") << binary;
  }
  void detailsAnswers() {
    QFETCH(QByteArray, body);
    Host().setAnswer(kServers + "Iron Lantern Guild/serverDetails.txt", 200, body);
    StartProgram();
    QVERIFY(WaitFor([] { return Status() == "Received 17 servers"; }));
    QVERIFY(ClickServerRow(2));
    const std::string expected = body.toStdString();
    QVERIFY(WaitFor([&] { return Details().size() == expected.size(); }, 30000));
    QVERIFY(Details() == expected);
    QVERIFY(ShowsSampleDetails(3));
    QVERIFY(AnswersAClick());
  }

  // Names with bytes a path segment cannot hold as themselves reach their folders.
  void namesNoPathHoldsAsTheyStand_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("'#', '&', '?' and blanks") << "Hash#Tag & Co?";
    QTest::newRow("letters outside ASCII") << "Ünïcode Sërver";
    QTest::newRow("'%'") << "100% Fun";
  }
  void namesNoPathHoldsAsTheyStand() {
    QFETCH(QString, name);
    StartProgram();
    QVERIFY(WaitFor([] { return Status() == "Received 17 servers"; }));
    int row = -1;
    for (int i = 0; i < List().ListCount(); ++i) {
      if (QString::fromStdString(std::string(List().Cell(i, 0))) == name) row = i;
    }
    QVERIFY(row >= 0);
    QVERIFY(ShowsSampleDetails(row));
    QVERIFY(WaitFor([&] {
      return Main().Find<StaticText>("ventURL").Text() ==
             SampleFile(kServers + name + "/serverLink.txt").toStdString();
    }));
    QVERIFY(AnswersAClick());
  }

  // A server name in the list cannot add a header line to the requests made from it.
  void serverNameCannotSplitARequest() {
    Host().setAnswer(kList, 200,
                     QByteArray("Name\tSlots\rPlease choose a server:\t\r-----------------------"
                                "\t\rEvil\x01[::1\x7f]\x0bX-Evil: 1\t1/2\r",
                                79));
    StartProgram();
    QVERIFY(WaitFor([] { return Status() == "Received 1 servers"; }));
    QVERIFY(ClickServerRow(2));
    // The two requests made from that name, then every request the host has received.
    QVERIFY(WaitFor([] {
      int fromTheName = 0;
      for (const QByteArray& raw : Host().requests()) {
        if (raw.contains(kServers.toUtf8())) ++fromTheName;
      }
      return fromTheName == 2;
    }));
    for (const QByteArray& raw : Host().requests()) {
      QCOMPARE(raw.count("\r\n"), 5);
      QVERIFY(raw.endsWith("\r\nAccept: */*\r\nAccept-Language: en\r\n\r\n"));
      QVERIFY(!raw.contains("\nX-Evil"));
    }
    QVERIFY(AnswersAClick());
  }
};

QTEST_MAIN(HostileTest)
#include "test_hostile.moc"
