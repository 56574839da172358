// Every server of the sample list fetched by its server path name from a real web server
// (Python's http.server on loopback, serving the sample directory): the names with '#', '?',
// '%' and letters outside ASCII included, both files of each answer 200 with the file.
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include "HttpExchange.h"
#include "TestPaths.h"
#include "TestSupport.h"
#include "common/Directory.h"

namespace {

struct Answer {
  int status = 0;
  QByteArray body;
  int failure = 0;
};

Answer Fetch(const QByteArray& url) {
  Answer answer;
  bool done = false;
  HttpExchange exchange;
  QObject::connect(&exchange, &HttpExchange::finished,
                   [&](int status, const HttpExchange::HeaderList&, const std::string& body) {
                     answer.status = status;
                     answer.body = QByteArray::fromStdString(body);
                     done = true;
                   });
  QObject::connect(&exchange, &HttpExchange::failed, [&](int code) {
    answer.failure = code;
    done = true;
  });
  exchange.start(url);
  if (!QTest::qWaitFor([&] { return done; }, 10000)) answer.failure = 1;
  return answer;
}

}  // namespace

class TestRealServer : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    port_ = probe.serverPort();
    probe.close();
    server_.setStandardOutputFile(QProcess::nullDevice());
    server_.setStandardErrorFile(QProcess::nullDevice());
    server_.start("python3", {"-m", "http.server", "--bind", "127.0.0.1", QString::number(port_),
                              "--directory", QString::fromUtf8(kSampleDirectory)});
    QVERIFY2(server_.waitForStarted(), "python3 is needed (scripts/setup.sh installs it)");
    const bool listening = QTest::qWaitFor(
        [&] {
          QTcpSocket socket;
          socket.connectToHost(QHostAddress::LocalHost, port_);
          return socket.waitForConnected(200);
        },
        10000);
    QVERIFY(listening);
  }

  void cleanupTestCase() {
    server_.terminate();
    server_.waitForFinished(5000);
  }

  void everyServerRowIsServed_data() {
    QTest::addColumn<QString>("name");
    const QList<QByteArray> rows = SampleFile("/files/brindlecot/ventList.txt").split('\r');
    for (qsizetype i = 3; i < rows.size(); ++i) {
      const QString name = QString::fromUtf8(rows.at(i).split('\t').at(0));
      QTest::newRow(rows.at(i).split('\t').at(0).constData()) << name;
    }
  }
  void everyServerRowIsServed() {
    QFETCH(QString, name);
    const std::string pathName = ServerPathName(name.toStdString());
    const QByteArray root = "http://127.0.0.1:" + QByteArray::number(port_);
    for (const char* file : {"/serverDetails.txt", "/serverLink.txt"}) {
      const QByteArray path =
          "/files/brindlecot/Servers/" + QByteArray::fromStdString(pathName) + file;
      const Answer answer = Fetch(root + path);
      QVERIFY2(answer.status == 200, path.constData());
      QCOMPARE(answer.body, SampleFile("/files/brindlecot/Servers/" + name + file));
    }
  }

 private:
  QProcess server_;
  quint16 port_ = 0;
};

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  // Loopback is never proxied, but nothing of the suite's environment should steer it.
  qunsetenv("http_proxy");
  qunsetenv("HTTP_PROXY");
  TestRealServer suite;
  return QTest::qExec(&suite, argc, argv);
}

#include "test_realserver.moc"
