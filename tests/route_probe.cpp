// Loads each URL of its command line in turn in a web view, made as the program makes one, and
// prints how each load ended: the engine's routes for a proxy setting, in a process of its own
// (the engine takes the setting once, as it starts).
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "Framework.h"
#include "TestSupport.h"

namespace {

int gEnded = 0;

class ProbeWindow : public Window {
 public:
  static constexpr const char* kClassName = "ProbeWindow";
  void Complete(const std::string& url) { Ended("complete " + url); }
  void Failed(int code, const std::string&) { Ended("error " + std::to_string(code)); }

 protected:
  const WindowDeclaration& Declaration() const override {
    static const WindowDeclaration d{
        .properties = {{"Title", "Probe"}, {"Width", 300}, {"Height", 200}}, .controls = [] {
          std::vector<ControlDeclaration> c;
          c.push_back(Declare<HTMLViewer>("page", {0, 0, 300, 200})
                          .On("DocumentComplete", &ProbeWindow::Complete)
                          .On("Error", &ProbeWindow::Failed));
          return c;
        }()};
    return d;
  }

 private:
  static void Ended(const std::string& how) {
    std::printf("%s\n", how.c_str());
    std::fflush(stdout);
    ++gEnded;
  }
};

}  // namespace

int main(int argc, char** argv) {
  RuntimeInit(argc, argv);
  HTMLViewer& page = Implicit<ProbeWindow>().Find<HTMLViewer>("page");
  for (int i = 1; i < argc; ++i) {
    const int before = gEnded;
    page.LoadURL(argv[i]);
    if (!WaitFor([&] { return gEnded > before; }, 20000)) std::printf("no end\n");
    // A script of the page may still be at work.
    WaitFor([] { return false; }, 300);
  }
  ReleaseImplicitWindows();
  return RuntimeExit();
}
