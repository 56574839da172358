// Fills the main window's server list from List texts of growing size and prints, per size, the
// time until the rows are shown and the time merely to split the same text into cells.
//   bench_list_fill [repetitions]   (run it with QT_QPA_PLATFORM=offscreen or under a display)
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "Framework.h"
#include "ListView.h"
#include "app/Startup.h"
#include "directory/MainWindow.h"

namespace {

std::string MakeListText(int rows) {
  std::string text = "Name\tSlots\rPlease choose a server:\t\r-----------------------\t\r";
  for (int i = 0; i < rows; ++i) {
    text += "Server number " + std::to_string(i) + "\t" + std::to_string(i % 64) + "/64\r";
  }
  return text;
}

// The least work that yields every cell: one pass, a view of each cell in one flat table.
std::size_t BareSplit(const std::string& text) {
  std::vector<std::string_view> cells;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\t' || c == '\r' || c == '\n') {
      cells.emplace_back(text.data() + start, i - start);
      start = i + 1;
    }
  }
  return cells.size();
}

template <class Work>
double MedianMilliseconds(int repetitions, Work&& work) {
  std::vector<double> times;
  for (int i = 0; i < repetitions; ++i) {
    QElapsedTimer clock;
    clock.start();
    work();
    times.push_back(clock.nsecsElapsed() / 1e6);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  RuntimeInit(argc, argv);
  RegisterClasses();
  // Nothing answers here: the window's own requests fail at once and leave the list to us.
  qputenv("http_proxy", "http://127.0.0.1:9");
  const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  Listbox& list = Implicit<MainWindow>().Find<Listbox>("ventList");
  QApplication::processEvents();

  std::printf("%10s %14s %14s %8s\n", "rows", "fill+show ms", "bare split ms", "ratio");
  for (int rows : {1000, 10000, 100000}) {
    const std::string text = MakeListText(rows);
    volatile std::size_t sink = 0;
    const double split = MedianMilliseconds(repetitions, [&] { sink = sink + BareSplit(text); });
    const double fill = MedianMilliseconds(repetitions, [&] {
      list.SetInitialValue(text);
      list.View()->viewport()->repaint();
    });
    std::printf("%10d %14.3f %14.3f %8.2f\n", rows, fill, split, fill / split);
  }
  Finalize();
  return RuntimeExit();
}
