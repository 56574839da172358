// The loopback host itself: routing, path safety, the sample directory's consistency, and the
// program form of it.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpSocket>
#include <QtTest>

#include "FixtureHost.h"
#include "TestPaths.h"

namespace {

const QString kSample = QString::fromUtf8(kSampleDirectory);

// Sends `request` as it is and returns everything until the host closes.
QByteArray Fetch(quint16 port, const QByteArray& request) {
  QTcpSocket socket;
  QByteArray answer;
  bool closed = false;
  QObject::connect(&socket, &QTcpSocket::readyRead, [&] { answer += socket.readAll(); });
  QObject::connect(&socket, &QTcpSocket::disconnected, [&] { closed = true; });
  socket.connectToHost(QHostAddress::LocalHost, port);
  socket.write(request);
  if (!QTest::qWaitFor([&] { return closed; }, 5000)) return "(still open) " + answer;
  return answer + socket.readAll();
}

QByteArray SampleFile(const QString& path) {
  QFile file(kSample + path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing sample file)");
}

QByteArray Get(const QByteArray& target) {
  return "GET " + target + " HTTP/1.0\r\n\r\n";
}

}  // namespace

class TestFixture : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY(host_.start()); }
  void cleanup() { host_.clearOverrides(); }

  void servesByPathOnly_data() {
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("statusLine");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QByteArray>("body");  // "~text": the body contains text
    const QByteArray txt = "text/plain; charset=utf-8";
    const QByteArray html = "text/html; charset=utf-8";
    const QString list = "/files/brindlecot/ventList.txt";
    QTest::newRow("absolute URL, as through a proxy")
        << Get("http://files.brindlecot.example" + list.toUtf8()) << QByteArray("HTTP/1.0 200 OK")
        << txt << SampleFile(list);
    QTest::newRow("HTTP/1.1 with a Host header")
        << QByteArray(
               "GET /files/sparkle/1.0.9.txt HTTP/1.1\r\nHost: x\r\nConnection: "
               "keep-alive\r\n\r\n")
        << QByteArray("HTTP/1.0 200 OK") << txt << QByteArray("noupdate");
    QTest::newRow("percent-encoded UTF-8 folder")
        << Get("/files/brindlecot/Servers/Caf%C3%A9%20Nocturne/serverLink.txt")
        << QByteArray("HTTP/1.0 200 OK") << txt << QByteArray("nocturne.cafe.example:3784\r\n");
    QTest::newRow("UTF-8 sent unescaped")
        << Get("/files/brindlecot/Servers/Caf\xc3\xa9%20Nocturne/serverLink.txt")
        << QByteArray("HTTP/1.0 200 OK") << txt << QByteArray("nocturne.cafe.example:3784\r\n");
    QTest::newRow("query ignored, directory index")
        << Get("http://forms.formservice.example/form/10314441287/submitted?servername=a")
        << QByteArray("HTTP/1.0 200 OK") << html << QByteArray("~<title>Google</title>");
    QTest::newRow("status page for any target, escaped")
        << Get("/ventrilo/vent.a.example:3784%3Cb%3E/ventrilo_status.html")
        << QByteArray("HTTP/1.0 200 OK") << html
        << QByteArray("~<td>vent.a.example:3784&lt;b&gt;</td>");
    QTest::newRow("status page title")
        << Get("/ventrilo/x/ventrilo_status.html") << QByteArray("HTTP/1.0 200 OK") << html
        << QByteArray("~<title>Server Status - Ventrilo - Nanospy</title>");
    QTest::newRow("probe") << Get("http://www.google.com/") << QByteArray("HTTP/1.0 200 OK") << html
                           << QByteArray("~<title>Google</title>");
    QTest::newRow("unknown path") << Get("/favicon.ico") << QByteArray("HTTP/1.0 404 Not Found")
                                  << html << QByteArray("~/favicon.ico");
    QTest::newRow("dot-dot") << Get("/files/../../etc/passwd")
                             << QByteArray("HTTP/1.0 404 Not Found") << html << QByteArray("~");
    QTest::newRow("encoded dot-dot")
        << Get("/files/%2e%2e/%2E%2E/etc/passwd") << QByteArray("HTTP/1.0 404 Not Found") << html
        << QByteArray("~");
    QTest::newRow("not a request")
        << QByteArray("\x01\x02 nonsense\r\n\r\n") << QByteArray("HTTP/1.0 400 Bad Request") << html
        << QByteArray("~");
    QTest::newRow("request over 64 KiB")
        << "GET /" + QByteArray(FixtureHost::kMaxRequestBytes - 4, 'a')
        << QByteArray("HTTP/1.0 400 Bad Request") << html << QByteArray("~");
  }
  void servesByPathOnly() {
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, statusLine);
    QFETCH(QByteArray, contentType);
    QFETCH(QByteArray, body);
    const QByteArray answer = Fetch(host_.port(), request);
    const qsizetype split = answer.indexOf("\r\n\r\n");
    QVERIFY2(split > 0, answer.left(200).constData());
    QList<QByteArray> head = answer.left(split).split('\n');
    for (QByteArray& line : head) line = line.trimmed();
    const QByteArray content = answer.mid(split + 4);
    QCOMPARE(head.first(), statusLine);
    QVERIFY(head.contains("Content-Type: " + contentType));
    QVERIFY(head.contains("Content-Length: " + QByteArray::number(content.size())));
    if (body.startsWith('~')) {
      QVERIFY2(content.contains(body.mid(1)), content.constData());
    } else {
      QCOMPARE(content, body);
    }
  }

  void overrideAnswersWithStatusBodyAndHeaders() {
    host_.setAnswer("/a b", 503, "busy", {{"Retry-After", "5"}});
    QCOMPARE(Fetch(host_.port(), Get("/a%20b")),
             QByteArray("HTTP/1.0 503 Service Unavailable\r\nContent-Type: text/plain; "
                        "charset=utf-8\r\nContent-Length: 4\r\nRetry-After: 5\r\n\r\nbusy"));
    QCOMPARE(host_.requestsFor("/a b"), QList<QByteArray>{Get("/a%20b")});
    QCOMPARE(host_.requestsFor("/a%20b").size(), 1);
    host_.clearRequests();
    Fetch(host_.port(), Get("/Caf\xc3\xa9%20b"));
    QCOMPARE(host_.requestsFor(QString::fromUtf8("/Caf\xc3\xa9 b")).size(), 1);
  }

  // Every server the list names has its folder, and the lists agree.
  void sampleDirectoryIsConsistent() {
    const QList<QByteArray> rows = SampleFile("/files/brindlecot/ventList.txt").split('\r');
    QVERIFY(rows.size() > 12);
    QCOMPARE(rows.at(0), QByteArray("Name\tSlots"));
    QCOMPARE(rows.at(2), QByteArray(23, '-') + '\t');
    QStringList names;
    for (qsizetype i = 3; i < rows.size(); ++i) {
      const QList<QByteArray> cells = rows.at(i).split('\t');
      QCOMPARE(cells.size(), 2);
      QVERIFY(!rows.at(i).contains('\n'));
      names << QString::fromUtf8(cells.at(0));
      const QString folder = "/files/brindlecot/Servers/" + names.last();
      QVERIFY2(QFile::exists(kSample + folder + "/serverDetails.txt"), qPrintable(folder));
      const QByteArray link = SampleFile(folder + "/serverLink.txt");
      QVERIFY2(link.contains(':') && link.endsWith("\r\n"), qPrintable(folder));
    }
    QStringList advanced;
    const QList<QByteArray> advancedRows =
        SampleFile("/files/brindlecot/advancedList.txt").trimmed().split('\r');
    QCOMPARE(advancedRows.at(0), QByteArray("Name\tSlots\tOwner\tPurpose"));
    for (qsizetype i = 1; i < advancedRows.size(); ++i) {
      QCOMPARE(advancedRows.at(i).split('\t').size(), 4);
      advanced << QString::fromUtf8(advancedRows.at(i).split('\t').at(0));
    }
    QCOMPARE(advanced, names);
  }

  void programPrintsItsPortAndStopsOnSigterm() {
    const QString program = QCoreApplication::applicationDirPath() + "/brindlecot-fixture";
    if (!QFile::exists(program)) QSKIP("brindlecot-fixture is not built");
    QProcess process;
    process.start(program, {"--port", "0"});
    QVERIFY(process.waitForStarted());
    QTRY_VERIFY(process.canReadLine());
    const QByteArray line = process.readLine();
    QVERIFY2(line.startsWith("port "), line.constData());
    const quint16 port = line.mid(5).trimmed().toUShort();
    QVERIFY(port != 0);
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    socket.write(Get("/files/sparkle/1.0.9.txt"));
    QVERIFY(socket.waitForDisconnected(5000) ||
            socket.state() == QAbstractSocket::UnconnectedState);
    QVERIFY(socket.readAll().endsWith("\r\n\r\nnoupdate"));
    process.terminate();
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
  }

 private:
  FixtureHost host_{kSample};
};

QTEST_GUILESS_MAIN(TestFixture)
#include "test_fixture.moc"
