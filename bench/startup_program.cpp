// The program's own start-up, ending right after the main window's first paint: what
// bench_startup times. Same steps as app/main.cpp; only the quit after the first paint is added.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include "Framework.h"
#include "StartupProbe.h"
#include "app/Startup.h"

int main(int argc, char** argv) {
  RuntimeInit(argc, argv);
  QuitAfterFirstPaint quitter([] { Quit(0); });
  qApp->installEventFilter(&quitter);
  RegisterClasses();
  Main();
  Finalize();
  ReportThreads();
  return RuntimeExit();
}
