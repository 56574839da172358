// Windows made from their declarations: the accessor, the creation steps and their order,
// declared values, hidden labels, locks, containers and pages.
#include <QLabel>
#include <QMainWindow>
#include <QSignalSpy>
#include <QTest>

#include "Framework.h"
#include "TestSupport.h"
#include "app/MenuBar1.h"
#include "directory/MainWindow.h"
#include "resources/Pictures.h"
#include "tools/MacConnectVent.h"

namespace {

std::vector<std::string>& StepLog() {
  static std::vector<std::string> log;
  return log;
}

// A control that writes down each creation step as the framework runs it.
class StepRecorder : public Control {
 public:
  StepRecorder(::Window& owner, std::string name) : Control(owner, std::move(name)) {
    StepLog().push_back("constructor");
  }
  const char* ClassName() const override { return "StepRecorder"; }
  void SetPicture(Picture*) override { StepLog().push_back("picture"); }
  void AddEditMenuHandlers() override { StepLog().push_back("edit menu"); }

 protected:
  bool ApplyProperty(const std::string& name, const PropertyValue& value) override {
    if (name == "First" || name == "Second") {
      StepLog().push_back("property " + name);
      return true;
    }
    return Control::ApplyProperty(name, value);
  }
  std::optional<std::size_t> EventSignature(const std::string& event) const override {
    StepLog().push_back("event " + event);
    return kSignature<PlainHandler>;
  }
};

Picture* RecordedPicture() {
  StepLog().push_back("picture accessor");
  return nullptr;
}

bool enabledWhenPictured = false;

class ProbeWindow : public Window {
 public:
  static constexpr const char* kClassName = "ProbeWindow";
  static int opens;
  static int closes;
  void Tick() {}
  void Other() {}

 protected:
  const WindowDeclaration& Declaration() const override {
    static const WindowDeclaration d{
        .properties = {{"Title", "Probe"}, {"Width", 300}, {"Height", 200}}, .controls = [] {
          std::vector<ControlDeclaration> c;
          c.push_back(Declare<StepRecorder>("recorder", {{"First", 1}, {"Second", 2}})
                          .WithPicture(&RecordedPicture)
                          .On("One", &ProbeWindow::Tick)
                          .On("Two", &ProbeWindow::Other));
          c.push_back(Declare<ToolbarItem>("item", {{"Caption", "Item"}, {"Enabled", false}})
                          .WithPicture([]() -> Picture* {
                            auto* self = ImplicitIfOpen<ProbeWindow>();
                            enabledWhenPictured = self->Find<ToolbarItem>("item").Enabled();
                            return PlusSign();
                          }));
          c.push_back(Declare<StaticText>("label", {10, 10, 100, 20}, {{"Text", "declared"}}));
          c.push_back(Declare<StaticText>("hidden", {10, -50, 100, 20}, {{"Text", "kept"}}));
          c.push_back(
              Declare<PagePanel>("pages", {0, 40, 300, 100}, {{"PanelCount", 2}, {"Value", 0}}));
          // Numbered as the connect dialog declares them: 1 the first page, 2 the second, 0 none.
          c.push_back(Declare<StaticText>("first page", {10, 50, 100, 20},
                                          {{"InitialParent", "pages"}, {"TabPanelIndex", 1}}));
          c.push_back(Declare<StaticText>("second page", {10, 50, 100, 20},
                                          {{"InitialParent", "pages"}, {"TabPanelIndex", 2}}));
          c.push_back(Declare<StaticText>("no page", {10, 50, 100, 20},
                                          {{"InitialParent", "pages"}, {"TabPanelIndex", 0}}));
          c.push_back(Declare<RoundRectangle>("box", {0, 150, 300, 50}));
          c.push_back(
              Declare<StaticText>("in box", {10, 160, 100, 20}, {{"InitialParent", "box"}}));
          return c;
        }()};
    return d;
  }
  void Event_Open() override { ++opens; }
  void Event_Close() override { ++closes; }
};
int ProbeWindow::opens = 0;
int ProbeWindow::closes = 0;

// A window whose declaration is broken in one of several ways, chosen before it is built.
PropertyList brokenWindowProperties;
std::vector<ControlDeclaration> brokenControls;

class BrokenWindow : public Window {
 public:
  static constexpr const char* kClassName = "BrokenWindow";
  void Clicked() {}

 protected:
  const WindowDeclaration& Declaration() const override {
    declaration_ =
        WindowDeclaration{.properties = brokenWindowProperties, .controls = brokenControls};
    return declaration_;
  }

 private:
  mutable WindowDeclaration declaration_;
};

// The main window with every control's property list applied back to front.
// It takes the main window's place: its Open handler reaches it through the MainWindow accessor.
class ReversedMainWindow : public MainWindow {
 public:
  static constexpr const char* kClassName = "MainWindow";

 protected:
  const WindowDeclaration& Declaration() const override {
    static const WindowDeclaration d = [this] {
      WindowDeclaration reversed = MainWindow::Declaration();
      std::reverse(reversed.properties.begin(), reversed.properties.end());
      for (ControlDeclaration& control : reversed.controls) {
        PropertyList all = control.AllProperties();
        std::reverse(all.begin(), all.end());
        control = control.WithProperties(all);
      }
      return reversed;
    }();
    return d;
  }
};

// Everything a user could see of a window's controls, as text.
QStringList Snapshot(const Window& window) {
  QStringList lines;
  for (const auto& control : window.Controls()) {
    QString line = QString::fromStdString(control->Name()) + " " + control->ClassName();
    if (auto* rect = dynamic_cast<RectControl*>(control.get())) {
      const QWidget* w = rect->Widget();
      line += QString(" %1,%2,%3,%4 enabled=%5 shown=%6 font=%7/%8/%9%10%11")
                  .arg(w->x())
                  .arg(w->y())
                  .arg(w->width())
                  .arg(w->height())
                  .arg(w->isEnabled())
                  .arg(rect->EffectivelyShown())
                  .arg(w->font().family())
                  .arg(w->font().pixelSize())
                  .arg(w->font().bold())
                  .arg(w->font().italic())
                  .arg(w->font().underline());
    }
    if (auto* text = dynamic_cast<StaticText*>(control.get())) {
      line += QString(" text=%1 colour=%2,%3,%4 align=%5")
                  .arg(QString::fromStdString(text->Text()))
                  .arg(text->TextColor().red)
                  .arg(text->TextColor().green)
                  .arg(text->TextColor().blue)
                  .arg(static_cast<int>(text->TextAlign()));
    }
    if (auto* field = dynamic_cast<EditField*>(control.get())) {
      line += QString(" text=%1 readonly=%2 multiline=%3")
                  .arg(QString::fromStdString(field->Text()))
                  .arg(field->ReadOnly())
                  .arg(field->Multiline());
    }
    if (auto* list = dynamic_cast<Listbox*>(control.get())) {
      line += QString(" rows=%1 heading=%2|%3 columns=%4")
                  .arg(list->ListCount())
                  .arg(QString::fromStdString(list->Heading(0)))
                  .arg(QString::fromStdString(list->Heading(1)))
                  .arg(list->ColumnCount());
    }
    if (auto* button = dynamic_cast<ButtonBase*>(control.get())) {
      line += " caption=" + QString::fromStdString(button->Caption());
    }
    if (auto* item = dynamic_cast<ToolbarItem*>(control.get())) {
      line += QString(" caption=%1 enabled=%2 image=%3")
                  .arg(QString::fromStdString(item->Caption()))
                  .arg(item->Enabled())
                  .arg(item->Image() != nullptr);
    }
    lines << line;
  }
  return lines;
}

}  // namespace

class WindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    StepLog().clear();
    Host().setNeverAnswer("/files/brindlecot/ventList.txt");
    Host().setNeverAnswer("/files/sparkle/1.0.9.txt");
  }
  void cleanup() { StopProgram(); }

  // Reading Visible through the accessor makes and shows the window first.
  void accessorMakesAndShows() {
    QVERIFY(ImplicitIfOpen<ProbeWindow>() == nullptr);
    const int opens = ProbeWindow::opens;
    QVERIFY(Implicit<ProbeWindow>().Visible());
    QVERIFY(Implicit<ProbeWindow>().Widget()->isVisible());
    QCOMPARE(ProbeWindow::opens, opens + 1);
    QCOMPARE(&Implicit<ProbeWindow>(), ImplicitIfOpen<ProbeWindow>());
  }

  void creationStepsInOrder() {
    Implicit<ProbeWindow>();
    const std::vector<std::string> expected{"constructor",    "picture accessor", "picture",
                                            "property First", "property Second",  "edit menu",
                                            "event One",      "event Two"};
    QCOMPARE(StepLog(), expected);
  }

  // A toolbar item gets its picture while still enabled, and is disabled by its properties.
  void pictureBeforeProperties() {
    enabledWhenPictured = false;
    ToolbarItem& item = Implicit<ProbeWindow>().Find<ToolbarItem>("item");
    QVERIFY(enabledWhenPictured);
    QVERIFY(!item.Enabled());
    QCOMPARE(item.Image(), PlusSign());
  }

  // A closed window is gone; the next reference makes a fresh one from its declaration.
  void closedWindowComesBackFresh() {
    Implicit<ProbeWindow>().Find<StaticText>("label").SetText("changed");
    const int closes = ProbeWindow::closes;
    Implicit<ProbeWindow>().Close();
    QCOMPARE(ProbeWindow::closes, closes + 1);
    QVERIFY(ImplicitIfOpen<ProbeWindow>() == nullptr);
    QCOMPARE(Implicit<ProbeWindow>().Find<StaticText>("label").Text(), std::string("declared"));
  }

  void controlsByName() {
    ProbeWindow& w = Implicit<ProbeWindow>();
    QVERIFY(w.ControlByName("no such control") == nullptr);
    QVERIFY_THROWS_EXCEPTION(NilObjectException, w.Find<StaticText>("no such control"));
    // The right name with the wrong class is no control either.
    QVERIFY_THROWS_EXCEPTION(NilObjectException, w.Find<EditField>("label"));
    QCOMPARE(w.Widget()->findChild<QLabel*>("label")->text(), QString("declared"));
  }

  // A label above the window is never seen but keeps its text byte for byte.
  void hiddenLabelKeepsText() {
    StaticText& hidden = Implicit<ProbeWindow>().Find<StaticText>("hidden");
    QVERIFY(hidden.Visible());
    QVERIFY(!hidden.Widget()->geometry().intersects(Implicit<ProbeWindow>().Content()->rect()));
    QCOMPARE(hidden.Text(), std::string("kept"));
    const std::string bytes("a\r\nb \t\xff\x01", 8);
    hidden.SetText(bytes);
    QCOMPARE(hidden.Text(), bytes);
  }

  // A label given megabytes (a hostile host's answer) lays out only its start, at once, and
  // still gives back every byte.
  void hugeLabelTextIsKeptWhole() {
    StaticText& label = Implicit<ProbeWindow>().Find<StaticText>("label");
    const std::string huge(8 * 1024 * 1024, 'w');
    label.SetText(huge);
    QCOMPARE(label.Text(), huge);
    QCOMPARE(static_cast<std::size_t>(qobject_cast<QLabel*>(label.Widget())->text().size()),
             StaticText::kLongestShown);
  }

  void pagesAndContainers() {
    ProbeWindow& w = Implicit<ProbeWindow>();
    auto shown = [&](const char* name) { return w.Find<StaticText>(name).Widget()->isVisible(); };
    QVERIFY(shown("first page"));
    QVERIFY(!shown("second page"));
    QVERIFY(!shown("no page"));
    w.Find<PagePanel>("pages").SetValue(1);
    QVERIFY(!shown("first page"));
    QVERIFY(shown("second page"));
    QVERIFY(!shown("no page"));
    QVERIFY(shown("in box"));
    w.Find<RoundRectangle>("box").SetVisible(false);
    QVERIFY(!shown("in box"));
    QVERIFY(w.Find<StaticText>("in box").Visible());
  }

  void brokenDeclarationsFailLoudly_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("property the class lacks") << 0;
    QTest::newRow("value of the wrong type") << 1;
    QTest::newRow("event the class does not raise") << 2;
    QTest::newRow("window property that does not exist") << 3;
    QTest::newRow("two controls of one name") << 4;
    QTest::newRow("a window kind given as a bare number") << 5;
    QTest::newRow("a label given a field's alignment") << 6;
    QTest::newRow("a setting this platform lacks, not at its usual value") << 7;
  }

  void brokenDeclarationsFailLoudly() {
    QFETCH(int, kind);
    brokenWindowProperties = {{"Title", "Broken"}, {"Width", 100}, {"Height", 100}};
    brokenControls.clear();
    switch (kind) {
      case 0:
        brokenControls.push_back(Declare<StaticText>("t", {0, 0, 10, 10}, {{"Caption", "x"}}));
        break;
      case 1:
        brokenControls.push_back(Declare<StaticText>("t", {0, 0, 10, 10}, {{"Text", 5}}));
        break;
      case 2:
        brokenControls.push_back(
            Declare<StaticText>("t", {0, 0, 10, 10}).On("Action", &BrokenWindow::Clicked));
        break;
      case 3:
        brokenWindowProperties.emplace_back("Colour", RGB(1, 2, 3));
        break;
      case 4:
        brokenControls.push_back(Declare<StaticText>("t", {0, 0, 10, 10}));
        brokenControls.push_back(Declare<EditField>("t", {0, 0, 10, 10}));
        break;
      case 5:
        brokenWindowProperties.emplace_back("Frame", 8);
        break;
      case 6:
        brokenControls.push_back(
            Declare<StaticText>("t", {0, 0, 10, 10}, {{"TextAlign", FieldAlign::Center}}));
        break;
      case 7:
        brokenWindowProperties.emplace_back("FullScreen", true);
        break;
    }
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, Implicit<BrokenWindow>());
    // Nothing half-made stays behind.
    QVERIFY(ImplicitIfOpen<BrokenWindow>() == nullptr);
    QCOMPARE(OpenWindows().size(), std::size_t{0});
  }

  // Every window of the program builds from its declaration (the status view, which needs the
  // web engine, is built by its own suite).
  void programWindowsBuild() {
    StartProgram();
    QVERIFY(ImplicitIfOpen<MainWindow>() != nullptr);
    QCOMPARE(Implicit<MainWindow>().Controls().size(), std::size_t{22});
    QCOMPARE(Implicit<MacConnectVent>().Controls().size(), std::size_t{5});
  }

  // The main window's Open handler reaches the window being opened through its accessor.
  void openHandlerSeesItsOwnWindow() {
    StartProgram();
    QCOMPARE(OpenWindows().size(), std::size_t{1});
    MainWindow& main = Implicit<MainWindow>();
    QCOMPARE(main.Title(), std::string("Brindlecot Mac Beta"));
    QCOMPARE(main.Widget()->windowTitle(), QString("Brindlecot Mac Beta"));
    QCOMPARE(main.BackColor(), RGB(214, 221, 229));
  }

  void propertyOrderDoesNotMatter() {
    StartProgram();
    const QStringList usual = Snapshot(Implicit<MainWindow>());
    Implicit<MainWindow>().Close();
    const QStringList reversed = Snapshot(Implicit<ReversedMainWindow>());
    QCOMPARE(reversed, usual);
  }

  void locksFollowResize() {
    StartProgram();
    MainWindow& main = Implicit<MainWindow>();
    auto geometry = [&](const char* name) {
      return main.Find<RectControl>(name).Widget()->geometry();
    };
    const QRect list = geometry("ventList"), link = geometry("StaticText2"),
                button = geometry("PushButton1"), panel = geometry("RoundRectangle1"),
                label = geometry("versiontext");
    main.Widget()->resize(main.Widget()->size() + QSize(100, 50));
    QTRY_COMPARE(main.Content()->size(), QSize(803, 448));
    QCOMPARE(geometry("ventList"), list.adjusted(0, 0, 0, 50));
    QCOMPARE(geometry("StaticText2"), link.translated(100, 50));
    QCOMPARE(geometry("PushButton1"), button.adjusted(0, 50, 100, 50));
    QCOMPARE(geometry("RoundRectangle1"), panel.adjusted(0, 0, 100, 50));
    QCOMPARE(geometry("versiontext"), label);
  }

  // Hidden and shown again (as the detailed list does with the main window), a window comes
  // back where the user left it, not where it was first placed.
  void shownAgainWhereItWas() {
    StartProgram();
    QMainWindow* widget = Implicit<MainWindow>().Widget();
    widget->move(20, 30);
    QTRY_COMPARE(widget->pos(), QPoint(20, 30));
    Implicit<MainWindow>().SetVisible(false);
    QVERIFY(!widget->isVisible());
    Implicit<MainWindow>().SetVisible(true);
    QVERIFY(widget->isVisible());
    QCOMPARE(widget->pos(), QPoint(20, 30));
  }

  void mainWindowNeverShrinksBelowItsSize() {
    StartProgram();
    MainWindow& main = Implicit<MainWindow>();
    QCOMPARE(main.Content()->size(), QSize(703, 398));
    main.Widget()->resize(300, 200);
    QTest::qWait(20);
    QVERIFY(main.Content()->width() >= 703);
    QVERIFY(main.Content()->height() >= 398);
  }
};

QTEST_MAIN(WindowsTest)
#include "test_windows.moc"
