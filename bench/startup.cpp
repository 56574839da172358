// Start-up time and peak memory, from process start to the main window painted and quit, of the
// program against two floors: a bare Qt window, and a bare window with the same menu bar,
// toolbar, list, text field, buttons and labels (the fair floor). Every run is a new process;
// medians over several runs.
//   bench_startup [runs]   (under a display, e.g. xvfb-run -a, or with QT_QPA_PLATFORM=offscreen)
#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>
#include <cstring>
#include <string>
#include <vector>

#include "BenchProcess.h"
#include "StartupProbe.h"

namespace {

// ---- the floors, run as children of the driver ---------------------------------------------

class TwoColumns : public QAbstractTableModel {
 public:
  int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 0; }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : 2;
  }
  QVariant data(const QModelIndex&, int) const override { return {}; }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section == 0 ? QStringLiteral("Name") : QStringLiteral("Slots");
  }
};

void AddMenu(QMenuBar* bar, const char* title,
             std::vector<std::pair<const char*, const char*>> items) {
  QMenu* menu = bar->addMenu(title);
  for (const auto& [text, keys] : items) {
    if (std::strcmp(text, "-") == 0) {
      menu->addSeparator();
    } else {
      menu->addAction(text)->setShortcut(QKeySequence(keys));
    }
  }
}

// The main window's widgets, laid out as the program lays them out, with nothing behind them.
void BuildFairWindow(QMainWindow& window) {
  window.setWindowTitle("BrindlecotBETA");
  QMenuBar* bar = window.menuBar();
  AddMenu(bar, "&File",
          {{"Connect", ""}, {"-", ""}, {"Close Window", "Ctrl+W"}, {"&Quit", "Ctrl+Q"}});
  AddMenu(bar, "&Edit",
          {{"&Undo", "Ctrl+Z"},
           {"-", ""},
           {"Cu&t", "Ctrl+X"},
           {"&Copy", "Ctrl+C"},
           {"&Paste", "Ctrl+V"},
           {"&Delete", ""},
           {"-", ""},
           {"Select &All", "Ctrl+A"}});
  AddMenu(bar, "Ventrilo Database", {{"Add a Ventrilo Server to Database", ""}});
  AddMenu(bar, "Servers",
          {{"Refresh Server List", "Ctrl+R"}, {"-", ""}, {"Detailed Server Browser", ""}});
  AddMenu(bar, "Window", {{"Minimize", "Ctrl+M"}, {"Zoom", "Ctrl+Meta+Z"}});
  AddMenu(bar, "Help",
          {{"Brindlecot Help", ""},
           {"-", ""},
           {"About Brindlecot", ""},
           {"-", ""},
           {"Check for Updates", "Ctrl+U"}});

  QToolBar* toolbar = window.addToolBar("Toolbar");
  toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  const char* captions[] = {"Connect", "Scan Server", "Report Broken", "Add A Vent",
                            "About Brindlecot"};
  const char* pictures[] = {"168", "170", "172", "174", "176"};
  for (int i = 0; i < 5; ++i) {
    toolbar->addAction(QIcon(QString(BRINDLECOT_PICTURES "/%1.png").arg(pictures[i])), captions[i])
        ->setEnabled(i >= 3);
  }

  auto* content = new QWidget(&window);
  content->setAutoFillBackground(true);
  content->setPalette(QPalette(Qt::white));
  window.setCentralWidget(content);
  // The fonts the window declares: a missing family costs a fallback search in either.
  const auto font = [](const char* family, int size, bool bold, bool italic, bool underline) {
    QFont f = QApplication::font();
    if (*family != 0) f.setFamilies({family});
    if (size > 0) f.setPointSize(size);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    return f;
  };
  auto* list = new QTableView(content);
  list->setModel(new TwoColumns);
  list->setGeometry(0, -1, 220, 356);
  list->setFont(font("Lucidia Grande", 12, false, false, false));
  list->verticalHeader()->hide();
  list->setColumnWidth(0, 150);
  auto* details = new QPlainTextEdit(content);
  details->setGeometry(226, 4, 471, 269);
  details->setReadOnly(true);
  details->setFrameShape(QFrame::NoFrame);
  details->setFont(font("Arial", 14, false, false, false));
  details->setPlainText(
      "You must choose a server to the left FIRST\n\nIf you know of a Ventrilo server that is NOT "
      "listed to the left, please click the Add a Ventrilo Server button at the top.\n\n- What's "
      "new in 1.0.9 -\n* Completely Re-written\n* Entirely new scanning engine\n* So much more");
  const auto button = [&](const char* caption, QRect place, bool bold, bool italic) {
    auto* b = new QPushButton(caption, content);
    b->setGeometry(place);
    b->setFont(font("", 0, bold, italic, false));
  };
  button("Connect to this server", {226, 283, 283, 42}, true, false);
  button("Report Broken Server", {519, 283, 175, 42}, true, true);
  button("Scan server for available slots", {228, 331, 466, 29}, false, false);
  const auto label = [&](const char* text, QRect place, QFont f) {
    auto* l = new QLabel(text, content);
    l->setGeometry(place);
    l->setFont(f);
  };
  label("Written by Quennelby", {2, 374, 308, 20}, font("Arial", 0, true, false, true));
  label("Be Patient...", {0, 356, 220, 15}, font("Arial", 11, false, false, false));
  label("Click here to scan a custom Ventrilo server", {321, 374, 368, 20},
        font("Arial", 0, true, false, true));
  window.resize(703, 398 + bar->sizeHint().height() + toolbar->sizeHint().height());
}

int RunFloor(int argc, char** argv, bool fair) {
  QApplication app(argc, argv);
  QuitAfterFirstPaint quitter([] { QApplication::quit(); });
  app.installEventFilter(&quitter);
  QMainWindow window;
  if (fair) {
    BuildFairWindow(window);
  } else {
    window.setWindowTitle("bare");
    window.resize(703, 398);
  }
  window.show();
  const int code = QApplication::exec();
  ReportThreads();
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && (std::strcmp(argv[1], "--bare") == 0 || std::strcmp(argv[1], "--fair") == 0)) {
    return RunFloor(argc, argv, std::strcmp(argv[1], "--fair") == 0);
  }
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  if (std::getenv("DISPLAY") == nullptr && std::getenv("QT_QPA_PLATFORM") == nullptr) {
    std::fprintf(stderr, "no display: run under xvfb-run -a, or set QT_QPA_PLATFORM=offscreen\n");
    return 2;
  }
  bench::PrepareEnvironment();
  // The program reaches the loopback host as its proxy, as the run command has it.
  const std::string proxy = "http://127.0.0.1:" + std::to_string(bench::StartFixture());
  setenv("http_proxy", proxy.c_str(), 1);
  setenv("HTTP_PROXY", proxy.c_str(), 1);

  struct Kind {
    const char* name;
    std::vector<std::string> command;
    std::vector<double> ms, mib, threads;
  };
  std::vector<Kind> kinds = {
      {"bare Qt window", {argv[0], "--bare"}, {}, {}, {}},
      {"fair floor", {argv[0], "--fair"}, {}, {}, {}},
      {"Brindlecot", {BRINDLECOT_STARTUP_PROGRAM}, {}, {}, {}},
  };
  // One unmeasured round first: the first run of each brings its files into the page cache.
  for (Kind& kind : kinds) bench::RunOnce(kind.command);
  // The kinds take turns, so that a slow moment of the machine hits each alike.
  for (int i = 0; i < runs; ++i) {
    for (Kind& kind : kinds) {
      const bench::Run run = bench::RunOnce(kind.command);
      kind.ms.push_back(run.ms);
      kind.mib.push_back(run.peakMiB);
      kind.threads.push_back(bench::Printed(run.printed, "threads"));
    }
  }
  bench::StopFixture();

  const char* platform = std::getenv("QT_QPA_PLATFORM");
  std::printf("start-up to the main window painted and quit; medians of %d runs (%s)\n", runs,
              platform != nullptr ? platform : "X display");
  std::printf("%-16s %10s %10s %8s %12s %12s\n", "", "time ms", "peak MiB", "threads", "time/fair",
              "memory/fair");
  const double fairMs = bench::Median(kinds[1].ms);
  const double fairMib = bench::Median(kinds[1].mib);
  for (const Kind& kind : kinds) {
    const double ms = bench::Median(kind.ms);
    const double mib = bench::Median(kind.mib);
    std::printf("%-16s %10.1f %10.1f %8.0f %11.2fx %11.2fx\n", kind.name, ms, mib,
                bench::Median(kind.threads), ms / fairMs, mib / fairMib);
  }
  return 0;
}
