// Loads each URL of its command line (up to --webEngineArgs) in turn in a web view, made as the
// program makes one, and prints how each load ended and the title of the page it showed: the
// engine's routes for a proxy setting, in a process of its own (the engine takes the setting
// once, as it starts). Then prints the engine's variable as a process it starts would see it.
#include <QApplication>
#include <QProcess>
#include <QTimer>
#include <cstdio>

#include "Framework.h"
#include "TestSupport.h"

namespace {

int gEnded = 0;

class ProbeWindow : public Window {
 public:
  static constexpr const char* kClassName = "ProbeWindow";
  static inline std::string title;
  void Complete(const std::string&) { Ended("complete"); }
  void Failed(int code, const std::string&) { Ended("error " + std::to_string(code)); }
  void Titled(const std::string& shown) { title = shown; }

 protected:
  const WindowDeclaration& Declaration() const override {
    static const WindowDeclaration d{
        .properties = {{"Title", "Probe"}, {"Width", 300}, {"Height", 200}}, .controls = [] {
          std::vector<ControlDeclaration> c;
          c.push_back(Declare<HTMLViewer>("page", {0, 0, 300, 200})
                          .On("DocumentComplete", &ProbeWindow::Complete)
                          .On("Error", &ProbeWindow::Failed)
                          .On("TitleChanged", &ProbeWindow::Titled));
          return c;
        }()};
    return d;
  }

 private:
  static void Ended(const std::string& how) {
    std::printf("%s", how.c_str());
    std::fflush(stdout);
    ++gEnded;
  }
};

}  // namespace

int main(int argc, char** argv) {
  RuntimeInit(argc, argv);
  HTMLViewer& page = Implicit<ProbeWindow>().Find<HTMLViewer>("page");
  for (int i = 1; i < argc && std::string(argv[i]) != "--webEngineArgs"; ++i) {
    const int before = gEnded;
    ProbeWindow::title.clear();
    page.LoadURL(argv[i]);
    if (!WaitFor([&] { return gEnded > before; }, 20000)) std::printf("no end");
    // A script of the page, or its title, may still be on the way; a page whose title says it
    // is pending is waited for until it says otherwise.
    WaitFor([] { return false; }, 300);
    WaitFor([] { return ProbeWindow::title.find("pending") == std::string::npos; }, 20000);
    std::printf(" | %s\n", ProbeWindow::title.c_str());
  }
  QProcess child;
  child.start("/bin/sh", {"-c", "printf '%s' \"${QTWEBENGINE_CHROMIUM_FLAGS-(unset)}\""});
  child.waitForFinished();
  std::printf("child's engine flags: %s\n", child.readAllStandardOutput().constData());
  ReleaseImplicitWindows();
  return RuntimeExit();
}
