// Shows large answers in the main window's description field, as the details handler does, and
// prints for each the time until the field is painted and the memory it took (the peak resident
// size over the resident size with the answer already held, as the handler gets it), against
// the targets (1 s, 4x the answer). Each case runs in a fresh process: every figure is a cold one.
//   bench_text_field [MiB]   (run it with QT_QPA_PLATFORM=offscreen or under a display)
#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <cstdio>
#include <string>

#include "Framework.h"
#include "app/Startup.h"
#include "directory/MainWindow.h"

namespace {

qint64 StatusBytes(const char* field) {
  QFile status("/proc/self/status");
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith(field)) {
      return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong() * 1024;
    }
  }
  return 0;
}

// The answers a hostile or careless host may send, all of `bytes` bytes.
std::string MakeText(const std::string& kind, std::size_t bytes) {
  std::string text;
  text.reserve(bytes);
  if (kind == "one-word") {
    text.assign(bytes, 'w');
  } else if (kind == "words") {  // blanks, no line end
    const std::string word = "lorem ipsum dolor sit amet consectetur ";
    while (text.size() < bytes) text += word;
  } else {  // many short lines
    const std::string line = "Server description line, as a directory page would have it.\n";
    while (text.size() < bytes) text += line;
  }
  text.resize(bytes);
  return text;
}

int RunCase(int argc, char** argv, const std::string& kind, std::size_t bytes) {
  RuntimeInit(argc, argv);
  RegisterClasses();
  // Nothing answers here: the window's own requests fail at once and leave the field to us.
  qputenv("http_proxy", "http://127.0.0.1:9");
  EditField& field = Implicit<MainWindow>().Find<EditField>("ventDetails");
  QApplication::processEvents();
  std::string text = MakeText(kind, bytes);
  const qint64 before = StatusBytes("VmRSS:");

  QElapsedTimer clock;
  clock.start();
  field.SetText(text);
  field.SetVisible(false);
  field.SetVisible(true);
  static_cast<QAbstractScrollArea*>(field.Widget())->viewport()->repaint();
  QApplication::processEvents();
  const double ms = clock.nsecsElapsed() / 1e6;
  const qint64 peak = StatusBytes("VmHWM:") - before;
  const bool whole = field.Text() == text;
  std::printf("%.3f %lld %d\n", ms, static_cast<long long>(peak), whole ? 1 : 0);
  Finalize();
  return RuntimeExit();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc == 4 && std::string(argv[1]) == "--case") {
    return RunCase(1, argv, argv[2], std::stoull(argv[3]));
  }
  const std::size_t mib = argc > 1 ? std::stoull(argv[1]) : 32;
  const std::size_t bytes = mib * 1024 * 1024;
  std::printf("%-10s %8s %10s %10s %12s %6s\n", "answer", "MiB", "shown ms", "peak MiB",
              "peak / size", "whole");
  for (const char* kind : {"one-word", "words", "lines"}) {
    QProcess run;
    run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    run.start(QString::fromLocal8Bit(argv[0]),
              {"--case", kind, QString::number(static_cast<qulonglong>(bytes))});
    run.waitForFinished(-1);
    double ms = 0;
    long long peak = 0;
    int whole = 0;
    if (std::sscanf(run.readAllStandardOutput().constData(), "%lf %lld %d", &ms, &peak, &whole) !=
        3) {
      std::printf("%-10s failed\n", kind);
      continue;
    }
    std::printf("%-10s %8zu %10.1f %10.1f %12.2f %6s\n", kind, mib, ms, peak / 1048576.0,
                double(peak) / double(bytes), whole ? "yes" : "NO");
  }
  std::printf("targets: shown within 1000 ms, peak within 4.00x the answer\n");
  return 0;
}
