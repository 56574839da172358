// The menu bar as built, the framework's menu dispatch, and the Window menu's commands.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>

#include "Framework.h"
#include "TestSupport.h"
#include "app/BrindlecotApp.h"
#include "app/MenuBar1.h"
#include "directory/MainWindow.h"
#include "resources/Pictures.h"
#include "tools/MacConnectVent.h"

class MenusTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    Host().setNeverAnswer("/files/brindlecot/ventList.txt");
    Host().setNeverAnswer("/files/sparkle/1.0.9.txt");
    StartProgram();
  }
  void cleanup() { StopProgram(); }

  // One menu bar: the application's, shown by the main window.
  void oneSharedInstance() {
    QCOMPARE(MenuBar1Instance(), MenuBar1Instance());
    QCOMPARE(App().MenuBar(), MenuBar1Instance());
    QCOMPARE(Implicit<MainWindow>().MenuBar(), MenuBar1Instance());
    const QList<QAction*> shown = Implicit<MainWindow>().Widget()->menuBar()->actions();
    QCOMPARE(shown.size(), 6);
    for (int i = 0; i < 6; ++i) QCOMPARE(shown[i], MenuBar1Instance()->Item(i).Action());
  }

  // Every menu and item, in order: name, class, caption, shortcut as declared and as the
  // toolkit understood it, enabling.
  void structure() {
    QStringList lines;
    MenuBar& bar = *MenuBar1Instance();
    for (std::size_t m = 0; m < bar.Count(); ++m) {
      MenuItem& menu = bar.Item(m);
      lines << QString("%1 %2").arg(QString::fromStdString(menu.Name()),
                                    QString::fromStdString(menu.Text()));
      for (std::size_t i = 0; i < menu.Count(); ++i) {
        MenuItem& item = menu.Item(i);
        const char* kind = dynamic_cast<QuitMenuItem*>(&item)    ? "Quit"
                           : dynamic_cast<AppleMenuItem*>(&item) ? "Apple"
                                                                 : "Item";
        // A separator keeps its "-" as its text but shows a plain line, with nothing beside it.
        if (item.Text() == "-") {
          QVERIFY(item.Action()->isSeparator());
          QCOMPARE(item.Action()->text(), QString());
        }
        lines << QString("  %1 %2 [%3] %4 -> %5 %6")
                     .arg(QString::fromStdString(item.Name()), kind,
                          QString::fromStdString(item.Text()),
                          QString::fromStdString(item.KeyboardShortcut()),
                          item.Action()->shortcut().toString(QKeySequence::PortableText),
                          item.Enabled() ? "enabled" : "disabled");
      }
    }
    const QStringList expected{
        "FileMenu &File",
        "  connectListBox1 Item [Connect] Cmd+C -> Ctrl+C disabled",
        "  UntitledSeparator2 Item [-]  ->  enabled",
        "  FileClose Item [Close Window] Cmd+W -> Ctrl+W enabled",
        "  FileQuit Quit [&Quit] Cmd+Q -> Ctrl+Q enabled",
        "EditMenu &Edit",
        "  EditUndo Item [&Undo] Cmd+Z -> Ctrl+Z enabled",
        "  UntitledMenu1 Item [-]  ->  enabled",
        "  EditCut Item [Cu&t] Cmd+X -> Ctrl+X enabled",
        "  EditCopy Item [&Copy] Cmd+C -> Ctrl+C enabled",
        "  EditPaste Item [&Paste] Cmd+V -> Ctrl+V enabled",
        "  EditClear Item [&Delete]  ->  enabled",
        "  UntitledMenu0 Item [-]  ->  enabled",
        "  EditSelectAll Item [Select &All] Cmd+A -> Ctrl+A enabled",
        "DATABASEDATA Ventrilo Database",
        "  addvent Item [Add a Ventrilo Server to Database]  ->  enabled",
        "ServersListsMenuItem Servers",
        "  refreshList Item [Refresh Server List] Cmd+R -> Ctrl+R enabled",
        "  UntitledSeparator1 Item [-]  ->  enabled",
        "  advancedMenuItem Item [Detailed Server Browser]  ->  enabled",
        "windowMenuItem Window",
        "  minimizeMenuItem Item [Minimize] Cmd+M -> Ctrl+M enabled",
        "  zoomMenuItem Item [Zoom] Cmd+Control+Z -> Meta+Ctrl+Z enabled",
        "Help Help",
        "  helpSystem Item [Brindlecot Help]  ->  enabled",
        "  UntitledSeparator Item [-]  ->  enabled",
        "  aboutWindowAdd Apple [About Brindlecot]  ->  enabled",
        "  UntitledSeparator0 Item [-]  ->  enabled",
        "  checkUpdates Apple [Check for Updates] Cmd+U -> Ctrl+U enabled",
    };
    QCOMPARE(lines, expected);
    QVERIFY(bar.FindItem("UntitledSeparator2")->Action()->isSeparator());
    QCOMPARE(bar.FindItem("addvent")->Icon(), PlusSign());
    // The application-menu items stay in Help where the platform has no application menu.
    QCOMPARE(bar.FindItem("aboutWindowAdd")->Action()->menuRole(),
             QAction::ApplicationSpecificRole);
    QVERIFY(bar.Child("Help")->Action()->menu()->actions().contains(
        bar.FindItem("checkUpdates")->Action()));
  }

  // Only the nine commands are bound: Quit, Undo, Connect and the Edit items have no
  // application handler.
  void boundCommands() {
    for (const char* name :
         {"aboutWindowAdd", "checkUpdates", "FileClose", "addvent", "advancedMenuItem",
          "refreshList", "helpSystem", "minimizeMenuItem", "zoomMenuItem"}) {
      QVERIFY2(App().MenuHandler(name) != nullptr, name);
    }
    for (const char* name : {"FileQuit", "EditUndo", "connectListBox1", "EditCopy", "EditCut",
                             "EditPaste", "EditClear", "EditSelectAll"}) {
      QVERIFY2(App().MenuHandler(name) == nullptr, name);
    }
  }

  // Choosing an item runs its command; a command's exception goes to the report, not through
  // the toolkit.
  void dispatch() {
    int runs = 0;
    App().AddMenuHandler("EditUndo", [&] {
      ++runs;
      return false;
    });
    MenuBar1Instance()->FindItem("EditUndo")->Action()->trigger();
    QCOMPARE(runs, 1);

    QStringList reported;
    SetUnhandledExceptionReporter([&](const std::string& m) { reported << m.c_str(); });
    App().AddMenuHandler("EditUndo", []() -> bool { throw NilObjectException("gone"); });
    MenuBar1Instance()->FindItem("EditUndo")->Action()->trigger();
    SetUnhandledExceptionReporter(nullptr);
    QCOMPARE(reported, QStringList{"NilObjectException: gone"});
  }

  // "Connect" and "&Copy" share Cmd+C; the disabled Connect never takes it.
  void sharedShortcutGoesToCopy() {
    int copies = 0;
    App().AddMenuHandler("EditCopy", [&] {
      ++copies;
      return false;
    });
    QMainWindow* main = Implicit<MainWindow>().Widget();
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main));
    QTest::keyClick(main, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(copies, 1);
  }

  // The Edit commands, chosen from the menu, act on the focused text field; a read-only field
  // takes only Copy and Select All.
  void editCommandsReachTheFocusedField_data() {
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("clipboard");
    // The field holds "alpha beta" with "beta" selected; the clipboard holds "pasted".
    QTest::newRow("copy") << false << "EditCopy"
                          << "alpha beta"
                          << "beta";
    QTest::newRow("cut") << false << "EditCut"
                         << "alpha "
                         << "beta";
    QTest::newRow("paste") << false << "EditPaste"
                           << "alpha pasted"
                           << "pasted";
    QTest::newRow("delete") << false << "EditClear"
                            << "alpha "
                            << "pasted";
    QTest::newRow("read-only copy") << true << "EditCopy"
                                    << "alpha beta"
                                    << "beta";
    QTest::newRow("read-only cut does nothing") << true << "EditCut"
                                                << "alpha beta"
                                                << "pasted";
    QTest::newRow("read-only paste does nothing") << true << "EditPaste"
                                                  << "alpha beta"
                                                  << "pasted";
    QTest::newRow("read-only delete does nothing") << true << "EditClear"
                                                   << "alpha beta"
                                                   << "pasted";
  }

  void editCommandsReachTheFocusedField() {
    QFETCH(bool, readOnly);
    QFETCH(QString, item);
    QFETCH(QString, text);
    QFETCH(QString, clipboard);
    // The description field is read-only and many-lined; the sheet's name field is neither.
    EditField& field = readOnly ? Implicit<MainWindow>().Find<EditField>("ventDetails")
                                : Implicit<MacConnectVent>().Find<EditField>("EditField1");
    field.SetText("alpha beta");
    QWidget* window = field.Widget()->window();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QWidget* editor = field.Widget()->focusProxy() ? field.Widget()->focusProxy() : field.Widget();
    editor->setFocus();
    QTRY_VERIFY(editor->hasFocus());
    QGuiApplication::clipboard()->setText("pasted");
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
      line->setSelection(6, 4);
    } else {
      auto* area = qobject_cast<QPlainTextEdit*>(editor);
      QVERIFY(area != nullptr);
      QTextCursor cursor = area->textCursor();
      cursor.setPosition(6);
      cursor.setPosition(10, QTextCursor::KeepAnchor);
      area->setTextCursor(cursor);
    }
    MenuBar1Instance()->FindItem(item.toStdString())->Action()->trigger();
    QCOMPARE(QString::fromStdString(field.Text()), text);
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
    // Select All from the menu, then Copy: the whole text.
    MenuBar1Instance()->FindItem("EditSelectAll")->Action()->trigger();
    MenuBar1Instance()->FindItem("EditCopy")->Action()->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), text);
  }

  // The item's text is the command's state: it flips on each use and the accessor finds the
  // item anew each time.
  void minimizeAndZoomFollowTheirText_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("declared");
    QTest::newRow("minimize") << "minimizeMenuItem"
                              << "Minimize";
    QTest::newRow("zoom") << "zoomMenuItem"
                          << "Zoom";
  }

  void minimizeAndZoomFollowTheirText() {
    QFETCH(QString, item);
    QFETCH(QString, declared);
    const auto text = [&] {
      MenuItem* found = item == "zoomMenuItem" ? zoomMenuItem() : minimizeMenuItem();
      return QString::fromStdString(found->Text());
    };
    QCOMPARE(text(), declared);
    QAction* action = MenuBar1Instance()->FindItem(item.toStdString())->Action();
    const QString shortcut = action->shortcut().toString();
    action->trigger();
    QCOMPARE(text(), QString("Restore"));
    QCOMPARE(action->shortcut().toString(), shortcut);
    action->trigger();
    QCOMPARE(text(), declared);
    // Text set elsewhere decides the next command.
    MenuBar1Instance()->FindItem(item.toStdString())->SetText("Restore");
    action->trigger();
    QCOMPARE(text(), declared);
  }
};

QTEST_MAIN(MenusTest)
#include "test_menus.moc"
