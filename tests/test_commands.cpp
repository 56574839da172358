// What the main window's toolbar, buttons and links open, and the application's menu commands,
// chosen by click or shortcut as a user would.
#include <QAction>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>

#include "Framework.h"
#include "Hosts.h"
#include "TestSupport.h"
#include "app/BrindlecotApp.h"
#include "app/MenuBar1.h"
#include "directory/MainWindow.h"
#include "tools/AddAVent.h"
#include "tools/AdvancedScanner.h"
#include "tools/CustomScan.h"
#include "tools/MacConnectVent.h"
#include "tools/Report.h"
#include "tools/VentConnect.h"
#include "tools/scanAVent.h"
#include "update/Sparkle.h"
#include "update/aboutWindow.h"
#include "update/brindlecotHelp.h"

namespace {

const QString kList = "/files/brindlecot/ventList.txt";
const QString kUpdate = "/files/sparkle/1.0.9.txt";

MainWindow& Main() {
  return Implicit<MainWindow>();
}

QAction* Item(const char* name) {
  return MenuBar1Instance()->FindItem(name)->Action();
}

void Press(QKeySequence keys) {
  QWidget* front = QApplication::activeWindow() ? QApplication::activeWindow() : Main().Widget();
  QTest::keySequence(front, keys);
}

void FrontMain() {
  QVERIFY(BringToFront(Main().Widget()));
}

// Claims Ctrl+U for the field it watches, as the toolkit's own fields do under X11 key bindings
// (where it deletes the line); the headless platform has no such binding.
class LineKeyClaimer : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::ShortcutOverride) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_U || key->modifiers() != Qt::ControlModifier) return false;
    key->accept();
    return true;
  }
};

// The order in which windows go out of sight: a window that closes hides first.
class HideOrder : public QObject {
 public:
  void Watch(Window& window, const char* name) {
    window.Widget()->installEventFilter(this);
    window.Widget()->setProperty("watchedName", name);
  }
  QStringList names;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Hide) names << watched->property("watchedName").toString();
    return false;
  }
};

template <class W>
bool IsOpen() {
  return ImplicitIfOpen<W>() != nullptr;
}

}  // namespace

class CommandsTest : public QObject {
  Q_OBJECT

 private:
  // Starts, waits for the list, chooses the first server and waits for its address.
  static void StartWithServer() {
    StartProgram();
    QVERIFY(WaitFor([] { return Main().Find<Listbox>("ventList").ListCount() > 2; }));
    QVERIFY(ClickServerRow(2));
    QVERIFY(WaitFor([] { return Main().Find<BevelButton>("PushButton1").Enabled(); }));
  }

 private slots:
  void cleanup() { StopProgram(); }

  // Each control opens its window; a second use brings the same window forward.
  void mainWindowActions_data() {
    QTest::addColumn<QString>("control");
    QTest::newRow("Report Broken toolbar item") << "Toolbar_ReportBroken";
    QTest::newRow("Report Broken Server button") << "PushButtonBroken";
    QTest::newRow("Add A Vent") << "Toolbar_AddAVent";
    QTest::newRow("About Brindlecot") << "Toolbar_about";
    QTest::newRow("custom scan link") << "StaticText2";
  }

  void mainWindowActions() {
    QFETCH(QString, control);
    StartWithServer();
    const auto use = [&] {
      FrontMain();
      if (control.startsWith("Toolbar_")) {
        ClickToolbarItem(control.toUtf8().constData());
      } else {
        QTest::mouseClick(Main().Find<RectControl>(control.toStdString()).Widget(), Qt::LeftButton);
      }
    };
    const auto opened = [&]() -> Window* {
      if (control.contains("Report") || control.contains("Broken")) return ImplicitIfOpen<Report>();
      if (control == "Toolbar_AddAVent") return ImplicitIfOpen<AddAVent>();
      if (control == "Toolbar_about") return ImplicitIfOpen<aboutWindow>();
      return ImplicitIfOpen<CustomScan>();
    };
    use();
    QTRY_VERIFY(opened() != nullptr);
    Window* first = opened();
    QVERIFY(first->Widget()->isVisible());
    const std::size_t windows = OpenWindows().size();
    use();
    QTRY_VERIFY(first->Widget()->isActiveWindow());
    QCOMPARE(opened(), first);
    QCOMPARE(OpenWindows().size(), windows);
  }

  // The credit label answers ":)", also while it carries the update notice.
  void creditLabel_data() {
    QTest::addColumn<QByteArray>("update");
    QTest::newRow("no update") << QByteArray("noupdate");
    QTest::newRow("update notice") << QByteArray("updateavailable");
  }

  void creditLabel() {
    QFETCH(QByteArray, update);
    Host().setAnswer(kUpdate, 200, update);
    StartProgram();
    QVERIFY(WaitFor([] { return Main().UpdateState() != "wait"; }));
    MessageBoxAnswerer answerer;
    QTest::mouseClick(Main().Find<StaticText>("StaticText1").Widget(), Qt::LeftButton);
    QVERIFY(WaitFor([&] { return !answerer.seen.isEmpty(); }));
    QCOMPARE(answerer.seen, QStringList{":)"});
  }

  // The four commands that only show a window, chosen from their menus.
  void windowCommands_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("item");
    QTest::newRow("About Brindlecot") << "Help"
                                      << "aboutWindowAdd";
    QTest::newRow("Add a Ventrilo Server to Database") << "DATABASEDATA"
                                                       << "addvent";
    QTest::newRow("Detailed Server Browser") << "ServersListsMenuItem"
                                             << "advancedMenuItem";
    QTest::newRow("Brindlecot Help") << "Help"
                                     << "helpSystem";
  }

  void windowCommands() {
    QFETCH(QString, menu);
    QFETCH(QString, item);
    MessageBoxAnswerer answerer;  // the help window greets with a message
    Host().setNeverAnswer(kList);
    StartProgram();
    FrontMain();
    ChooseFromMenu(menu.toUtf8().constData(), item.toUtf8().constData());
    const auto opened = [&]() -> Window* {
      if (item == "aboutWindowAdd") return ImplicitIfOpen<aboutWindow>();
      if (item == "addvent") return ImplicitIfOpen<AddAVent>();
      if (item == "advancedMenuItem") return ImplicitIfOpen<AdvancedScanner>();
      return ImplicitIfOpen<brindlecotHelp>();
    };
    QTRY_VERIFY(opened() != nullptr);
    QVERIFY(opened()->Visible());
  }

  // Check for Updates (Cmd+U) in each state the update check can leave.
  void checkForUpdates_data() {
    QTest::addColumn<QString>("answer");  // "never", "close", or the body
    QTest::addColumn<QString>("message");
    QTest::newRow("still waiting") << "never"
                                   << "You must wait... Brindlecot is still trying to check for "
                                      "updates";
    QTest::newRow("failed") << "close"
                            << "Unable to check for updates";
    QTest::newRow("no update") << "noupdate"
                               << "Brindlecot 1.0.9 is currently the newest version available.";
    QTest::newRow("no update and a line end")
        << "noupdate\r\n"
        << QString(
               "Some weird unknown error has popped up when checking for updates. You may "
               "want to visit ") +
               kProductHost;
    QTest::newRow("update available") << "updateavailable"
                                      << "";
  }

  void checkForUpdates() {
    QFETCH(QString, answer);
    QFETCH(QString, message);
    if (answer == "never") {
      Host().setNeverAnswer(kUpdate);
    } else if (answer == "close") {
      Host().setCloseWithoutAnswer(kUpdate);
    } else {
      Host().setAnswer(kUpdate, 200, answer.toUtf8());
    }
    StartProgram();
    if (answer != "never") QVERIFY(WaitFor([] { return Main().UpdateState() != "wait"; }));
    FrontMain();
    MessageBoxAnswerer answerer;
    Press(QKeySequence("Ctrl+U"));
    if (message.isEmpty()) {
      QTRY_VERIFY(IsOpen<Sparkle>());
      Window* update = ImplicitIfOpen<Sparkle>();
      // Chosen again while it is open: the same window, brought forward.
      FrontMain();
      Press(QKeySequence("Ctrl+U"));
      QTRY_VERIFY(update->Widget()->isActiveWindow());
      QCOMPARE(ImplicitIfOpen<Sparkle>(), update);
      QVERIFY(answerer.seen.isEmpty());
    } else {
      QVERIFY(WaitFor([&] { return !answerer.seen.isEmpty(); }));
      QCOMPARE(answerer.seen, QStringList{message});
      QVERIFY(!IsOpen<Sparkle>());
    }
  }

  // A command's shortcut wins over a text field's own key: Cmd+U in a field of a window without
  // a menu bar (where the toolkit would delete the line) checks for updates and keeps the text.
  void shortcutsOverTextFields_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("field");
    QTest::newRow("the sheet's name field") << "MacConnectVent"
                                            << "EditField1";
    QTest::newRow("the custom scan's host field") << "CustomScan"
                                                  << "Javahostname";
    QTest::newRow("the report's many-lined field") << "Report"
                                                   << "EditField1";
  }

  void shortcutsOverTextFields() {
    QFETCH(QString, window);
    QFETCH(QString, field);
    MessageBoxAnswerer answerer;
    Host().setNeverAnswer(kUpdate);
    StartProgram();
    Window& front = window == "MacConnectVent" ? static_cast<Window&>(Implicit<MacConnectVent>())
                    : window == "CustomScan"   ? static_cast<Window&>(Implicit<CustomScan>())
                                               : static_cast<Window&>(Implicit<Report>());
    EditField& typed = front.Find<EditField>(field.toStdString());
    typed.SetText("typed text");
    QWidget* editor = typed.Widget()->focusProxy() ? typed.Widget()->focusProxy() : typed.Widget();
    editor->window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(editor->window()));
    editor->setFocus();
    QTRY_VERIFY(editor->hasFocus());
    LineKeyClaimer claimer;
    if (QKeySequence::keyBindings(QKeySequence::DeleteCompleteLine).isEmpty()) {
      editor->installEventFilter(&claimer);
    }
    QTest::keySequence(editor, QKeySequence("Ctrl+U"));
    QVERIFY(WaitFor([&] { return !answerer.seen.isEmpty(); }));
    QCOMPARE(answerer.seen,
             QStringList{"You must wait... Brindlecot is still trying to check for updates"});
    QCOMPARE(typed.Text(), std::string("typed text"));
  }

  // Close Window (Cmd+W) closes the open and visible ones of its six windows, in any window's
  // front, and makes none.
  void closeWindow() {
    MessageBoxAnswerer answerer;
    Host().setNeverAnswer(kList);
    Host().setNeverAnswer("/");
    StartProgram();
    Press(QKeySequence("Ctrl+W"));
    QTest::qWait(50);
    QCOMPARE(OpenWindows().size(), std::size_t{1});

    // All six open: each closes, in its order, the about window first.
    HideOrder order;
    order.Watch(Implicit<aboutWindow>(), "aboutWindow");
    order.Watch(Implicit<VentConnect>(), "VentConnect");
    order.Watch(Implicit<scanAVent>(), "scanAVent");
    order.Watch(Implicit<AddAVent>(), "AddAVent");
    order.Watch(Implicit<Report>(), "Report");
    order.Watch(Implicit<AdvancedScanner>(), "AdvancedScanner");
    Implicit<CustomScan>();
    Implicit<brindlecotHelp>();
    QVERIFY(WaitFor([&] { return !answerer.seen.isEmpty(); }));
    Implicit<aboutWindow>().Widget()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Implicit<aboutWindow>().Widget()));
    Press(QKeySequence("Ctrl+W"));
    QTRY_VERIFY(!IsOpen<aboutWindow>());
    QCOMPARE(order.names, QStringList({"aboutWindow", "VentConnect", "scanAVent", "AddAVent",
                                       "Report", "AdvancedScanner"}));
    QVERIFY(!IsOpen<VentConnect>() && !IsOpen<scanAVent>() && !IsOpen<AddAVent>());
    QVERIFY(!IsOpen<Report>() && !IsOpen<AdvancedScanner>());
    QVERIFY(IsOpen<CustomScan>());
    QVERIFY(IsOpen<brindlecotHelp>());
    QVERIFY(IsOpen<MainWindow>());

    // Open but hidden: left alone.
    Implicit<AdvancedScanner>().SetVisible(false);
    Press(QKeySequence("Ctrl+W"));
    QTest::qWait(50);
    QVERIFY(IsOpen<AdvancedScanner>());

    // The sheet is never closed by it.
    Implicit<MacConnectVent>();
    Press(QKeySequence("Ctrl+W"));
    QTest::qWait(50);
    QVERIFY(IsOpen<MacConnectVent>());
  }

  // Refresh Server List (Cmd+R): the list empties, the six actions go off even with a server
  // chosen, and the list is asked for again.
  void refreshList() {
    StartWithServer();
    const qsizetype before = Host().requestsFor(kList).size();
    Host().setNeverAnswer(kList);
    FrontMain();
    Press(QKeySequence("Ctrl+R"));
    QCOMPARE(Main().Find<Listbox>("ventList").ListCount(), 0);
    QCOMPARE(Main().Find<StaticText>("ventListStatus").Text(), std::string("Refreshing list..."));
    QCOMPARE(Main().Find<EditField>("ventDetails").Text(),
             std::string("Make your selection to the left!"));
    for (const char* name : {"PushButton1", "PushButtonBroken", "PushButtonScan"}) {
      QVERIFY(!Main().Find<BevelButton>(name).Enabled());
    }
    for (const char* name :
         {"Toolbar_ConnectServer", "Toolbar_ReportBroken", "Toolbar_ScanServer"}) {
      QVERIFY(!Main().Find<ToolbarItem>(name).Enabled());
    }
    QVERIFY(WaitFor([&] { return Host().requestsFor(kList).size() == before + 1; }));
  }

  // Minimize (Cmd+M) and Zoom (Cmd+Control+Z) act on the main window whichever window is in
  // front, and their items flip to "Restore" and back.
  void minimizeAndZoom() {
    Host().setNeverAnswer(kList);
    StartProgram();
    QWidget* main = Main().Widget();
    Implicit<aboutWindow>().Widget()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Implicit<aboutWindow>().Widget()));
    Press(QKeySequence("Ctrl+Meta+Z"));
    QTRY_VERIFY(main->windowState().testFlag(Qt::WindowMaximized));
    QCOMPARE(Item("zoomMenuItem")->text(), QString("Restore"));
    Item("zoomMenuItem")->trigger();
    QTRY_VERIFY(!main->windowState().testFlag(Qt::WindowMaximized));
    QCOMPARE(Item("zoomMenuItem")->text(), QString("Zoom"));
    Item("minimizeMenuItem")->trigger();
    QTRY_VERIFY(main->windowState().testFlag(Qt::WindowMinimized));
    QCOMPARE(Item("minimizeMenuItem")->text(), QString("Restore"));
    Item("minimizeMenuItem")->trigger();
    QTRY_VERIFY(!main->windowState().testFlag(Qt::WindowMinimized));
    QCOMPARE(Item("minimizeMenuItem")->text(), QString("Minimize"));

    // A zoomed window minimized and restored is zoomed still; Zoom's own Restore unzooms it.
    Item("zoomMenuItem")->trigger();
    QTRY_VERIFY(main->windowState().testFlag(Qt::WindowMaximized));
    Item("minimizeMenuItem")->trigger();
    QTRY_VERIFY(main->windowState().testFlag(Qt::WindowMinimized));
    Item("minimizeMenuItem")->trigger();
    QTRY_VERIFY(!main->windowState().testFlag(Qt::WindowMinimized));
    QVERIFY(main->windowState().testFlag(Qt::WindowMaximized));
    Item("zoomMenuItem")->trigger();
    QTRY_VERIFY(!main->windowState().testFlag(Qt::WindowMaximized));
    QCOMPARE(Item("zoomMenuItem")->text(), QString("Zoom"));
  }
};

QTEST_MAIN(CommandsTest)
#include "test_commands.moc"
