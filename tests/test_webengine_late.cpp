// The web engine is loaded with the first web view, not at start; and a view never hands a
// foreign URL (ventrilo://) to the system: the program does that itself, once.
#include <QApplication>
#include <QFile>
#include <QTest>
#include <QWidget>

#include "Framework.h"
#include "Hosts.h"
#include "TestSupport.h"

namespace {

bool EngineMapped() {
  QFile maps("/proc/self/maps");
  if (!maps.open(QIODevice::ReadOnly)) qFatal("no /proc/self/maps");
  return maps.readAll().contains("libQt6WebEngineCore");
}

// A window with nothing but a web view whose events are counted.
class PageWindow : public Window {
 public:
  static constexpr const char* kClassName = "PageWindow";
  static inline int completed = 0;
  void Complete(const std::string&) { ++completed; }

 protected:
  const WindowDeclaration& Declaration() const override {
    static const WindowDeclaration d{
        .properties = {{"Title", "Page"}, {"Width", 400}, {"Height", 300}}, .controls = [] {
          std::vector<ControlDeclaration> c;
          c.push_back(Declare<HTMLViewer>("page", {0, 0, 400, 300})
                          .On("DocumentComplete", &PageWindow::Complete));
          return c;
        }()};
    return d;
  }
};

HTMLViewer& Page() {
  return Implicit<PageWindow>().Find<HTMLViewer>("page");
}

const std::string kVentriloUrl = "ventrilo://vent.ironlantern.example:3784/?servername=Lobby";

}  // namespace

class WebEngineLateTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() {
    if (PageWindow* window = ImplicitIfOpen<PageWindow>()) window->Close();
    StopProgram();
  }

  // First, before any other test has made a view.
  void engineMappedWithTheFirstView() {
    QVERIFY(!EngineMapped());
    StartProgram();
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window->isVisible()) QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    QVERIFY(WaitFor([] { return Host().requests().size() >= 1; }));
    QVERIFY2(!EngineMapped(), "the main window has no web view");
    LoadAndWait(std::string("http://") + kStatusHost + "/ventrilo/elsewhere.html");
    QVERIFY(EngineMapped());
  }

  void foreignSchemeStaysInTheView_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("loaded") << "load";
    QTest::newRow("a script leads there") << "script";
    QTest::newRow("a link clicked") << "click";
  }

  void foreignSchemeStaysInTheView() {
    QFETCH(QString, how);
    UrlCatcher catcher({"ventrilo"});
    const QByteArray link = "<a id='go' href='" + QByteArray(kVentriloUrl.c_str()) +
                            "' style='display:block;height:300px'>Connect</a>";
    Host().setAnswer("/ventrilo/link.html", 200, "<html><body style='margin:0'>" + link,
                     {{"Content-Type", "text/html"}});
    Host().setAnswer("/ventrilo/script.html", 200,
                     "<html><body onload=\"setTimeout(() => location.href = '" +
                         QByteArray(kVentriloUrl.c_str()) + "', 0)\">" + link,
                     {{"Content-Type", "text/html"}});
    const std::string pages = std::string("http://") + kStatusHost + "/ventrilo/";
    if (how == "load") {
      Page().LoadURL(kVentriloUrl);
    } else if (how == "script") {
      LoadAndWait(pages + "script.html");
    } else {
      LoadAndWait(pages + "link.html");
      QWidget* view = Page().Widget();
      QVERIFY(QTest::qWaitForWindowExposed(view->window()));
      QVERIFY(WaitFor([&] { return view->focusProxy() != nullptr; }));
      QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {}, QPoint(40, 40));
    }
    // The engine decides on a navigation as it starts: once a later page has loaded, it is long
    // decided.
    QTest::qWait(500);
    LoadAndWait(pages + "elsewhere.html");
    QVERIFY2(catcher.urls.isEmpty(), qPrintable(catcher.urls.value(0).toString()));
  }

 private:
  static void LoadAndWait(const std::string& url) {
    const int before = PageWindow::completed;
    Page().LoadURL(url);
    QVERIFY2(EngineMapped(), "the web view module was not found");
    QVERIFY(WaitFor([&] { return PageWindow::completed > before; }, 30000));
  }
};

QTEST_MAIN(WebEngineLateTest)
#include "test_webengine_late.moc"
