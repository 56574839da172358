// The program's life from start-up to exit status, each ending in a process of its own.
#include <QProcess>
#include <QTest>

#include "Hosts.h"

class LifecycleTest : public QObject {
  Q_OBJECT

 private:
  struct Run {
    int exitCode = -1;
    QStringList lines;
    QString errors;
  };

  static Run RunProbe(const QString& scenario) {
    QProcess probe;
    probe.start(PROBE_PATH, {scenario});
    Run run;
    if (!probe.waitForFinished(60000)) {
      probe.kill();
      probe.waitForFinished();
    }
    run.exitCode = probe.exitStatus() == QProcess::NormalExit ? probe.exitCode() : -1;
    run.lines = QString::fromUtf8(probe.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    run.errors = QString::fromUtf8(probe.readAllStandardError());
    return run;
  }

  static QString Line(const Run& run, const QString& prefix) {
    for (const QString& line : run.lines) {
      if (line.startsWith(prefix)) return line;
    }
    return {};
  }

 private slots:
  void endings_data() {
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("Cmd+Q quits through the framework") << "quit-key" << 0;
    QTest::newRow("Cmd+Q with the sheet in front") << "quit-key-sheet" << 0;
    QTest::newRow("closing the main window quits, whatever else is open") << "close-main" << 0;
    QTest::newRow("an escaped exception is reported, shutdown still runs") << "throw" << 1;
    QTest::newRow("a failure after quitting has begun still fails the run")
        << "throw-while-quitting" << 1;
  }

  void endings() {
    QFETCH(QString, scenario);
    QFETCH(int, exitCode);
    const Run run = RunProbe(scenario);
    QVERIFY2(!run.lines.contains("still-running"), qPrintable(run.errors));
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(Line(run, "loop-start"),
             QString("loop-start menubar=MenuBar1 commands=9 windows=1 main-visible=1"));
    QVERIFY(run.lines.contains("loop-ended"));
    QCOMPARE(Line(run, "finalized"), QString("finalized windows=0 menubar=0 app=0"));
    if (exitCode != 0) QVERIFY(run.errors.contains("NilObjectException: no such control"));
  }

  // Every window carries the program's icon, in both sizes, for taskbars and window switchers
  // that read it off the window; the desktop entry is named for the rest.
  void windowIcon() {
    const Run run = RunProbe("quit-key");
    QCOMPARE(Line(run, "window-icon"),
             QString("window-icon sizes=48x48,128x128 desktop=com.example.Brindlecot"));
  }

  // Both requests leave at start-up, each with exactly the three headers.
  void startupRequests() {
    const Run run = RunProbe("quit-key");
    QStringList requests;
    for (const QString& line : run.lines) {
      if (line.startsWith("request ")) {
        requests << QString::fromLatin1(QByteArray::fromPercentEncoding(line.mid(8).toLatin1()));
      }
    }
    const QString host = kDirectoryHost;
    const auto wire = [&](const QString& path) {
      return "GET http://" + host + path + " HTTP/1.0\r\nHost: " + host +
             "\r\nAccept: */*\r\nAccept-Language: en\r\n\r\n";
    };
    requests.sort();
    QStringList expected{wire("/files/brindlecot/ventList.txt"), wire("/files/sparkle/1.0.9.txt")};
    expected.sort();
    QCOMPARE(requests, expected);
  }
};

QTEST_GUILESS_MAIN(LifecycleTest)
#include "test_lifecycle.moc"
