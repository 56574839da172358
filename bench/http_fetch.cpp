// Bodies of 1, 10 and 30 MB fetched from the loopback directory host, through HTTPSocket (from
// Get to PageReceived) against curl's own transfer time (-w '%{time_total}') for the same URL,
// and the peak memory the fetch adds to the idle program. Each fetch is a process of its own.
//   bench_http_fetch [runs]   (needs curl; QT_QPA_PLATFORM=offscreen is enough)
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstring>
#include <string>
#include <vector>

#include "BenchProcess.h"
#include "Framework.h"
#include "app/Startup.h"

namespace {

const int kSizesMB[] = {1, 10, 30};

// A window holding nothing but the socket; the handler only notes the answer.
class FetchWindow : public Window {
 public:
  static constexpr const char* kClassName = "FetchWindow";
  static inline bool received = false;
  static inline std::size_t bytes = 0;
  static inline int error = 0;
  void Received(const std::string&, int, const InternetHeaders&, std::string content) {
    received = true;
    bytes = content.size();
  }
  void Failed(int code) { error = code; }

 protected:
  const WindowDeclaration& Declaration() const override {
    static const WindowDeclaration d{
        .properties = {{"Title", "Fetch"}, {"Width", 200}, {"Height", 100}}, .controls = [] {
          std::vector<ControlDeclaration> c;
          c.push_back(Declare<HTTPSocket>("socket")
                          .On("PageReceived", &FetchWindow::Received)
                          .On("Error", &FetchWindow::Failed));
          return c;
        }()};
    return d;
  }
};

int RunFetch(int argc, char** argv, const std::string& url) {
  RuntimeInit(argc, argv);
  RegisterClasses();
  HTTPSocket& socket = Implicit<FetchWindow>().Find<HTTPSocket>("socket");
  QCoreApplication::processEvents();
  bench::ResetPeakMemory();
  const long idleKiB = bench::MemoryKiB("VmRSS");
  QElapsedTimer clock;
  clock.start();
  socket.Get(url);
  while (!FetchWindow::received && FetchWindow::error == 0) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  const double ms = clock.nsecsElapsed() / 1e6;
  if (FetchWindow::error != 0) {
    std::fprintf(stderr, "error %d\n", FetchWindow::error);
    return 1;
  }
  std::printf("ms %.3f\nadded %ld\nbytes %zu\n", ms, bench::MemoryKiB("VmHWM") - idleKiB,
              FetchWindow::bytes);
  Finalize();
  return RuntimeExit();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--fetch") == 0) return RunFetch(argc, argv, argv[2]);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  if (std::getenv("DISPLAY") == nullptr && std::getenv("QT_QPA_PLATFORM") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  bench::PrepareEnvironment();
  // Both clients go straight to the host.
  for (const char* name : {"http_proxy", "HTTP_PROXY", "no_proxy"}) unsetenv(name);

  char dir[] = "/tmp/bench-http-XXXXXX";
  if (mkdtemp(dir) == nullptr) bench::Fail("no temporary folder");
  const QString bodies = QString(dir) + "/files";
  QDir().mkpath(bodies);
  for (const int mb : kSizesMB) {
    QFile file(bodies + QString("/body-%1MB.txt").arg(mb));
    if (!file.open(QIODevice::WriteOnly)) bench::Fail("cannot write a body");
    const std::size_t size = static_cast<std::size_t>(mb) * 1000 * 1000;
    std::string body;
    body.reserve(size);
    for (int i = 0; body.size() < size; ++i) body += "Server " + std::to_string(i) + "\t12/64\r";
    body.resize(size);
    file.write(body.data(), static_cast<qint64>(body.size()));
  }
  const std::string host = "http://127.0.0.1:" + std::to_string(bench::StartFixture(dir));

  std::printf("a body from the loopback host; medians of %d runs, each a process of its own\n",
              runs);
  std::printf("%8s %12s %10s %8s %14s %12s\n", "body", "HTTPSocket ms", "curl ms", "ratio",
              "added MiB", "added/body");
  for (const int mb : kSizesMB) {
    const std::string url = host + "/files/body-" + std::to_string(mb) + "MB.txt";
    std::vector<double> ours, curl, added;
    for (int i = 0; i < runs; ++i) {
      const bench::Run o = bench::RunOnce({argv[0], "--fetch", url});
      if (bench::Printed(o.printed, "bytes") != mb * 1e6) bench::Fail("short body: " + o.printed);
      ours.push_back(bench::Printed(o.printed, "ms"));
      added.push_back(bench::Printed(o.printed, "added") / 1024.0);
      const bench::Run c = bench::RunOnce(
          {"/usr/bin/curl", "-s", "-o", "/dev/null", "-w", "time %{time_total}\n", url});
      curl.push_back(bench::Printed(c.printed, "time") * 1000);
    }
    const double addedMiB = bench::Median(added);
    std::printf("%6d MB %12.1f %10.1f %7.2fx %14.1f %11.2fx\n", mb, bench::Median(ours),
                bench::Median(curl), bench::Median(ours) / bench::Median(curl), addedMiB,
                addedMiB * 1024 * 1024 / (mb * 1e6));
    std::fflush(stdout);
  }
  bench::StopFixture();
  QDir(dir).removeRecursively();
  return 0;
}
