// A window outlives every handler of its own that is running: closed from inside a handler, or
// while a handler waits in a message box, it is deleted only once those handlers have returned.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "Framework.h"
#include "TestSupport.h"

namespace {

int windowsDeleted = 0;
std::string refusedUrl;

std::string RefusedUrl() {
  const quint16 port = ClosedPort();
  return "http://127.0.0.1:" + std::to_string(port) + "/page";
}

// The help window's shape: Open starts a load and shows a message; a failed load closes the
// window, here while the message is still up. Which moment closes it is chosen per test.
enum class CloseFrom { LoadError, OpenHandler, ButtonThenTouch };
CloseFrom closeFrom = CloseFrom::LoadError;

class LoadingWindow : public Window {
 public:
  static constexpr const char* kClassName = "LoadingWindow";
  ~LoadingWindow() override { ++windowsDeleted; }

  void load_Error(int) { Close(); }
  void button_Action() {
    Close();
    Find<StaticText>("label").SetText("touched after closing");
    lastLabel = Find<StaticText>("label").Text();
  }
  static std::string lastLabel;

 protected:
  const WindowDeclaration& Declaration() const override {
    static const WindowDeclaration d{
        .properties = {{"Title", "Loading"}, {"Width", 200}, {"Height", 100}}, .controls = [] {
          std::vector<ControlDeclaration> c;
          c.push_back(Declare<HTTPSocket>("load").On("Error", &LoadingWindow::load_Error));
          c.push_back(Declare<StaticText>("label", {10, 10, 180, 20}, {{"Text", "declared"}}));
          c.push_back(Declare<PushButton>("button", {10, 40, 80, 20}, {{"Caption", "Close"}})
                          .On("Action", &LoadingWindow::button_Action));
          return c;
        }()};
    return d;
  }
  void Event_Open() override {
    if (closeFrom == CloseFrom::ButtonThenTouch) return;
    Find<HTTPSocket>("load").Get(refusedUrl);
    if (closeFrom == CloseFrom::OpenHandler) Close();
    MsgBox("Loading...");
    // Still this window's own control, after the box has returned.
    Find<StaticText>("label").SetText("after the message");
    lastLabel = Find<StaticText>("label").Text();
  }
};
std::string LoadingWindow::lastLabel;

// Presses OK on the box only once the window has been closed, and after the event loop has had
// every chance to delete it.
class LateAnswerer : public QObject {
 public:
  LateAnswerer() {
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || ImplicitIfOpen<LoadingWindow>() != nullptr) return;
      if (++idleTicks < 10) return;
      answered = true;
      box->button(QMessageBox::Ok)->click();
    });
    timer->start(10);
  }
  bool answered = false;

 private:
  int idleTicks = 0;
};

}  // namespace

class WindowLifetimeTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    Host();
    refusedUrl = RefusedUrl();
  }

  void init() {
    windowsDeleted = 0;
    LoadingWindow::lastLabel.clear();
  }

  void cleanup() { StopProgram(); }

  void closedWhileItsHandlerWaitsInAMessageBox_data() {
    QTest::addColumn<int>("from");
    QTest::newRow("by a failed load, during the message") << int(CloseFrom::LoadError);
    QTest::newRow("by the Open handler itself, before the message") << int(CloseFrom::OpenHandler);
  }

  void closedWhileItsHandlerWaitsInAMessageBox() {
    QFETCH(int, from);
    closeFrom = static_cast<CloseFrom>(from);
    LateAnswerer answerer;
    Implicit<LoadingWindow>();
    QVERIFY(answerer.answered);
    QCOMPARE(LoadingWindow::lastLabel, std::string("after the message"));
    QVERIFY(ImplicitIfOpen<LoadingWindow>() == nullptr);
    // Deleted once the handler has returned, and only once.
    QTRY_COMPARE(windowsDeleted, 1);
    QTest::qWait(20);
    QCOMPARE(windowsDeleted, 1);
  }

  void closedByItsOwnHandlerWhichThenTouchesAControl() {
    closeFrom = CloseFrom::ButtonThenTouch;
    LoadingWindow& window = Implicit<LoadingWindow>();
    QTest::mouseClick(window.Find<PushButton>("button").Widget(), Qt::LeftButton);
    QCOMPARE(LoadingWindow::lastLabel, std::string("touched after closing"));
    QVERIFY(ImplicitIfOpen<LoadingWindow>() == nullptr);
    QTRY_COMPARE(windowsDeleted, 1);
    // The next reference makes a fresh window from its declaration.
    QCOMPARE(Implicit<LoadingWindow>().Find<StaticText>("label").Text(), std::string("declared"));
  }
};

QTEST_MAIN(WindowLifetimeTest)
#include "test_window_lifetime.moc"
