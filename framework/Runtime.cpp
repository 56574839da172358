#include "Runtime.h"

#include <QApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QIcon>
#include <QMainWindow>
#include <QMessageBox>
#include <QNetworkProxyFactory>
#include <QUrl>
#include <iostream>
#include <set>

#include "Control.h"
#include "EditCommands.h"
#include "Window.h"
#include "WindowRegistry.h"

namespace {

struct RuntimeState {
  std::unique_ptr<QApplication> qtApp;
  std::unique_ptr<Application> app;
  std::set<std::string> classes;
  std::function<void(const std::string&)> reporter;
  int argc = 0;
  int exitCode = 0;
  bool quitting = false;
  bool failed = false;
  std::string pendingReport;
};

RuntimeState& State() {
  static RuntimeState state;
  return state;
}

std::string Describe(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const NilObjectException& e) {
    return std::string("NilObjectException: ") + e.what();
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "unknown exception";
  }
}

bool Headless() {
  const QString platform = QGuiApplication::platformName();
  return platform == "offscreen" || platform == "minimal";
}

// Standard error at once; the user sees a message once the event loop has stopped, never in
// the middle of the event that failed (a paint, say).
void DefaultReport(const std::string& message) {
  std::cerr << "Brindlecot: unhandled exception: " << message << std::endl;
  State().pendingReport = message;
}

void ShowPendingReport() {
  RuntimeState& state = State();
  if (state.pendingReport.empty() || qApp == nullptr || Headless()) return;
  QMessageBox::critical(
      nullptr, "Brindlecot",
      "An unexpected error stopped Brindlecot:\n" + QString::fromStdString(state.pendingReport));
  state.pendingReport.clear();
}

}  // namespace

Application::Application() = default;
Application::~Application() = default;

void Application::AddMenuHandler(const std::string& itemName, MenuCommand command) {
  menuHandlers_[itemName] = std::move(command);
}

const MenuCommand* Application::MenuHandler(const std::string& itemName) const {
  auto found = menuHandlers_.find(itemName);
  return found == menuHandlers_.end() ? nullptr : &found->second;
}

void RuntimeInit(int argc, char** argv) {
  RuntimeState& state = State();
  state.argc = argc;
  if (QApplication::instance() == nullptr) {
    // No Qt::AA_ShareOpenGLContexts here: it would make a GL context at start for web views that
    // most runs never show. The web view module makes it with the first view.
    state.qtApp = std::make_unique<QApplication>(state.argc, argv);
  }
  QApplication::setApplicationName("Brindlecot");
  // The desktop entry the program is installed with: the window system finds its icon there.
  QGuiApplication::setDesktopFileName("com.example.Brindlecot");
  // The same icon on every window, for what reads it off the window rather than the entry.
  QIcon icon;
  icon.addFile(":/desktop/brindlecot-48.png");
  icon.addFile(":/desktop/brindlecot-128.png");
  QApplication::setWindowIcon(icon);
  QApplication::setApplicationVersion("1.0.9");
  QApplication::setQuitOnLastWindowClosed(false);
  QNetworkProxyFactory::setUseSystemConfiguration(true);
}

void RegisterClass(const std::string& name) {
  State().classes.insert(name);
}

bool IsClassRegistered(const std::string& name) {
  return State().classes.count(name) != 0;
}

// Our controls are compiled in: there are no external classes or plug-ins to look up.
void RuntimeInitExternalClasses() {}
void InitPluginEntrypoints() {}

void RuntimeRegisterAppObject(std::unique_ptr<Application> app) {
  State().app = std::move(app);
}

Application* GetAppObject() {
  return State().app.get();
}

void ReleaseAppObject() {
  State().app.reset();
}

void RuntimeRun() {
  if (!State().quitting) QApplication::exec();
  ShowPendingReport();
}

void UnhandledException(std::exception_ptr error) {
  RuntimeState& state = State();
  state.failed = true;
  const std::string message = Describe(error);
  if (state.reporter) {
    state.reporter(message);
  } else {
    DefaultReport(message);
    // Outside the event loop (start-up, shutdown) nothing else will show it.
    if (QCoreApplication::instance() != nullptr && !IsQuitting()) ShowPendingReport();
  }
}

// An exception that leaves a handler leaves the event loop too: it is reported and the program
// shuts down, as it would from any other unhandled failure.
void ReportUnhandledException(std::exception_ptr error) {
  if (!State().reporter) Quit(1);
  UnhandledException(error);
}

void SetUnhandledExceptionReporter(std::function<void(const std::string&)> reporter) {
  State().reporter = std::move(reporter);
}

void Quit(int code) {
  RuntimeState& state = State();
  if (!state.quitting) state.exitCode = code;
  state.quitting = true;
  QCoreApplication::exit(state.exitCode);
}

bool IsQuitting() {
  return State().quitting;
}

int RuntimeExit() {
  RuntimeState& state = State();
  const int status = state.failed ? 1 : state.exitCode;
  state.qtApp.reset();
  return status;
}

bool DispatchMenuCommand(const std::string& itemName) {
  try {
    // A text field with the focus takes the Edit commands before any web view of its window.
    if (EditFocusedTextField(itemName)) return false;
    QWidget* front = QApplication::activeWindow();
    for (Window* window : OpenWindows()) {
      if (front == nullptr || window->Widget() != front) continue;
      if (const auto* handler = window->MenuHandlerFor(itemName)) return (*handler)();
    }
    if (Application* app = GetAppObject()) {
      if (const MenuCommand* command = app->MenuHandler(itemName)) return (*command)();
    }
  } catch (...) {
    ReportUnhandledException(std::current_exception());
  }
  return false;
}

void MsgBox(const std::string& message) {
  QMessageBox box(QApplication::activeWindow());
  box.setObjectName("MsgBox");
  box.setWindowTitle(QString());
  box.setIcon(QMessageBox::NoIcon);
  box.setText(QString::fromStdString(message));
  box.setTextFormat(Qt::PlainText);
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
}

// The URL goes to the system as the bytes it was built from: the program encodes what a URL
// cannot hold itself, and the tolerant parser would re-read a '#' or '?' in it.
void ShowURL(const std::string& url) {
  QDesktopServices::openUrl(QUrl::fromEncoded(QByteArray::fromStdString(url), QUrl::StrictMode));
}
