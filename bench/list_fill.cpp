// The server list filled once, cold, as a user waits for it: each figure is a process of its
// own whose list has never seen the names it is given.
//   ours:   the main window's list takes a List text and paints its rows once;
//   plain:  a plain QTableView over the minimal model a Qt developer would write for the same
//           bytes (split into QStrings), same size, font and row height, filled and painted once;
//   end to end: from the list's request (Refresh Server List) through the loopback host to the
//           rows painted.
//   bench_list_fill [runs]   (under a display, e.g. xvfb-run -a, or with QT_QPA_PLATFORM=offscreen)
#include <QAbstractTableModel>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QHeaderView>
#include <QMainWindow>
#include <QTableView>
#include <QTimer>
#include <cstring>
#include <string>
#include <vector>

#include "BenchProcess.h"
#include "Framework.h"
#include "ListView.h"
#include "app/Startup.h"
#include "directory/MainWindow.h"

namespace {

const int kSizes[] = {1000, 10000, 100000, 800000};

// A List text as the directory host sends it, with names unique to `seed`.
std::string MakeListText(int rows, const std::string& seed) {
  std::string text = "Name\tSlots\rPlease choose a server:\t\r-----------------------\t\r";
  text.reserve(text.size() + static_cast<std::size_t>(rows) * 40);
  for (int i = 0; i < rows; ++i) {
    text +=
        "Server " + seed + " number " + std::to_string(i) + "\t" + std::to_string(i % 64) + "/64\r";
  }
  return text;
}

// Runs the event loop until `done` or ten minutes.
template <class Condition>
bool Await(Condition done) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > 600000) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  return true;
}

// Notes the moment `widget` has finished its first paint after being armed.
class PaintClock : public QObject {
 public:
  explicit PaintClock(QWidget* widget) : widget_(widget) { widget->installEventFilter(this); }
  void Arm(std::function<bool()> ready) { ready_ = std::move(ready); }
  bool Done() const { return done_; }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == widget_ && event->type() == QEvent::Paint && ready_ && !pending_ && ready_()) {
      pending_ = true;
      // Queued behind the paint, so it runs once the paint is over.
      QTimer::singleShot(0, this, [this] { done_ = true; });
    }
    return false;
  }

 private:
  QWidget* widget_;
  std::function<bool()> ready_;
  bool pending_ = false;
  bool done_ = false;
};

// ---- plain: the floor --------------------------------------------------------------------------

class PlainModel : public QAbstractTableModel {
 public:
  void Fill(const std::string& text) {
    beginResetModel();
    rows_.clear();
    const QString all = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    for (const QString& line : all.split('\r', Qt::SkipEmptyParts))
      rows_.push_back(line.split('\t'));
    // The first row is the heading.
    if (!rows_.isEmpty()) heading_ = rows_.takeFirst();
    endResetModel();
  }
  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : 2;
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole) return {};
    const QStringList& row = rows_[index.row()];
    return index.column() < row.size() ? row[index.column()] : QString();
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section < heading_.size() ? heading_[section] : QString();
  }

 private:
  QList<QStringList> rows_;
  QStringList heading_;
};

int RunPlain(int argc, char** argv, int rows, const std::string& seed) {
  QApplication app(argc, argv);
  QMainWindow window;
  auto* view = new QTableView(&window);
  PlainModel model;
  view->setModel(&model);
  view->setGeometry(0, 0, 220, 356);
  QFont font = QApplication::font();
  font.setFamilies({"Lucidia Grande"});
  font.setPointSize(12);
  view->setFont(font);
  view->verticalHeader()->hide();
  view->verticalHeader()->setDefaultSectionSize(20);
  view->setColumnWidth(0, 150);
  view->setShowGrid(false);
  window.resize(703, 398);
  PaintClock shown(view->viewport());
  shown.Arm([] { return true; });
  window.show();
  if (!Await([&] { return shown.Done(); })) return 1;

  const std::string text = MakeListText(rows, seed);
  QElapsedTimer clock;
  clock.start();
  model.Fill(text);
  view->viewport()->repaint();
  std::printf("ms %.3f\n", clock.nsecsElapsed() / 1e6);
  return 0;
}

// ---- ours ------------------------------------------------------------------------------------

int RunOurs(int argc, char** argv, int rows, const std::string& seed) {
  RuntimeInit(argc, argv);
  RegisterClasses();
  // Nothing answers here: the window's own requests fail at once and leave the list to us.
  qputenv("http_proxy", "http://127.0.0.1:9");
  Listbox& list = Implicit<MainWindow>().Find<Listbox>("ventList");
  {
    PaintClock shown(list.View()->viewport());
    shown.Arm([] { return true; });
    if (!Await([&] { return shown.Done(); })) return 1;
  }
  std::string text = MakeListText(rows, seed);
  QElapsedTimer clock;
  clock.start();
  list.SetInitialValue(std::move(text));
  list.View()->viewport()->repaint();
  std::printf("ms %.3f\n", clock.nsecsElapsed() / 1e6);
  Finalize();
  return RuntimeExit();
}

// ---- end to end ------------------------------------------------------------------------------

int RunEndToEnd(int argc, char** argv, int rows, const std::string& seed,
                const std::string& listFile) {
  RuntimeInit(argc, argv);
  RegisterClasses();
  NewAppInstance();
  ApplicationAddMenuHandlers();
  MainWindow& main = Implicit<MainWindow>();
  Listbox& list = main.Find<Listbox>("ventList");
  // Start-up fetches the host's small list first; the measured list is new to the window.
  if (!Await([&] { return list.ListCount() > 0; })) return 1;
  {
    // Written and let go before the clock starts: the peak is the program's alone.
    QFile file(QString::fromStdString(listFile));
    const std::string text = MakeListText(rows, seed);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != qint64(text.size())) {
      return 1;
    }
  }
  const int expected = rows + 2;
  PaintClock painted(list.View()->viewport());
  painted.Arm([&] { return list.ListCount() == expected; });
  QElapsedTimer clock;
  clock.start();
  main.RefreshServerList();
  if (!Await([&] { return painted.Done(); })) return 1;
  std::printf("ms %.3f\n", clock.nsecsElapsed() / 1e6);
  Finalize();
  return RuntimeExit();
}

// ---- the driver ------------------------------------------------------------------------------

// The names of one run: its kind's letter and a number never used before. Built by appending, as
// g++ 12 at -O3 mistakes `"o" + std::to_string(n)` for an overlapping copy (-Wrestrict).
std::string Seed(char kind, int number) {
  std::string seed(1, kind);
  seed += std::to_string(number);
  return seed;
}

// A copy of the sample directory whose server list the end-to-end runs replace.
std::string MakeSampleCopy() {
  char dir[] = "/tmp/bench-list-XXXXXX";
  if (mkdtemp(dir) == nullptr) bench::Fail("no temporary folder");
  const QString target = QString(dir) + "/files/brindlecot";
  QDir().mkpath(target);
  QFile::copy(BRINDLECOT_SAMPLE "/files/brindlecot/ventList.txt", target + "/ventList.txt");
  return dir;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 4 && std::strcmp(argv[1], "--plain") == 0) {
    return RunPlain(argc, argv, std::atoi(argv[2]), argv[3]);
  }
  if (argc >= 4 && std::strcmp(argv[1], "--ours") == 0) {
    return RunOurs(argc, argv, std::atoi(argv[2]), argv[3]);
  }
  if (argc >= 5 && std::strcmp(argv[1], "--end-to-end") == 0) {
    return RunEndToEnd(argc, argv, std::atoi(argv[2]), argv[3], argv[4]);
  }
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  if (std::getenv("DISPLAY") == nullptr && std::getenv("QT_QPA_PLATFORM") == nullptr) {
    std::fprintf(stderr, "no display: run under xvfb-run -a, or set QT_QPA_PLATFORM=offscreen\n");
    return 2;
  }
  bench::PrepareEnvironment();
  const std::string sample = MakeSampleCopy();
  const std::string listFile = sample + "/files/brindlecot/ventList.txt";
  const std::string proxy = "http://127.0.0.1:" + std::to_string(bench::StartFixture(sample));
  setenv("http_proxy", proxy.c_str(), 1);
  setenv("HTTP_PROXY", proxy.c_str(), 1);

  const char* platform = std::getenv("QT_QPA_PLATFORM");
  std::printf("one cold fill, painted once; medians of %d runs, each a process of its own (%s)\n",
              runs, platform != nullptr ? platform : "X display");
  std::printf("%8s %10s %10s %8s %10s %10s %13s %11s %8s\n", "rows", "ours ms", "plain ms", "ratio",
              "ours MiB", "plain MiB", "end-to-end ms", "us per row", "e2e MiB");
  int seed = 0;
  for (const int rows : kSizes) {
    std::vector<double> ours, plain, endToEnd, oursMib, plainMib, endToEndMib;
    for (int i = 0; i < runs; ++i) {
      const std::string n = std::to_string(rows);
      // Each kind gets names of its own, never seen in any earlier run.
      const bench::Run o = bench::RunOnce({argv[0], "--ours", n, Seed('o', ++seed)});
      const bench::Run p = bench::RunOnce({argv[0], "--plain", n, Seed('p', ++seed)});
      const bench::Run e =
          bench::RunOnce({argv[0], "--end-to-end", n, Seed('e', ++seed), listFile});
      ours.push_back(bench::Printed(o.printed, "ms"));
      plain.push_back(bench::Printed(p.printed, "ms"));
      endToEnd.push_back(bench::Printed(e.printed, "ms"));
      oursMib.push_back(o.peakMiB);
      plainMib.push_back(p.peakMiB);
      endToEndMib.push_back(e.peakMiB);
    }
    const double e = bench::Median(endToEnd);
    std::printf("%8d %10.2f %10.2f %7.2fx %10.1f %10.1f %13.1f %11.3f %8.1f\n", rows,
                bench::Median(ours), bench::Median(plain),
                bench::Median(ours) / bench::Median(plain), bench::Median(oursMib),
                bench::Median(plainMib), e, e * 1000 / rows, bench::Median(endToEndMib));
    std::fflush(stdout);
  }
  bench::StopFixture();
  QDir(QString::fromStdString(sample)).removeRecursively();
  return 0;
}
