// What the start-up benchmark's child processes share: quitting once the first top-level window
// has painted, and the thread count seen then.
#pragma once

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

inline int ThreadsNow() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("Threads:", 0) == 0) return std::stoi(line.substr(8));
  }
  return -1;
}

inline int& ThreadsAtPaint() {
  static int threads = -1;
  return threads;
}

// Printed on standard output for the driver to read.
inline void ReportThreads() {
  std::printf("threads %d\n", ThreadsAtPaint());
  std::fflush(stdout);
}

// A window's children paint in the same pass as the window itself, so the quit queued on its
// first paint runs once the whole window has been drawn and flushed.
class QuitAfterFirstPaint : public QObject {
 public:
  explicit QuitAfterFirstPaint(std::function<void()> quit) : quit_(std::move(quit)) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!done_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow()) {
      done_ = true;
      QTimer::singleShot(0, this, [this] {
        ThreadsAtPaint() = ThreadsNow();
        quit_();
      });
    }
    return false;
  }

 private:
  std::function<void()> quit_;
  bool done_ = false;
};
