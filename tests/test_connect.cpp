// The road to the voice-chat client: choose a server, Connect, name it in the sheet, and the
// launch URL goes to the system.
#include <QLineEdit>
#include <QMainWindow>
#include <QTest>

#include "Framework.h"
#include "ListView.h"
#include "TestSupport.h"
#include "directory/MainWindow.h"
#include "tools/MacConnectVent.h"

namespace {

MainWindow& Main() {
  return Implicit<MainWindow>();
}

bool SheetOpen() {
  return ImplicitIfOpen<MacConnectVent>() != nullptr;
}

}  // namespace

class ConnectTest : public QObject {
  Q_OBJECT

 private:
  // Starts, selects the given sample row and waits until its address has enabled Connect.
  static void ChooseServer(int row) {
    StartProgram();
    QVERIFY(WaitFor([] { return Main().Find<Listbox>("ventList").ListCount() > 2; }));
    QVERIFY(ClickServerRow(row));
    QVERIFY(WaitFor([] { return Main().Find<BevelButton>("PushButton1").Enabled(); }));
  }

 private slots:
  void cleanup() { StopProgram(); }

  // Clicking as a user would: row, Connect, the name in the sheet, Return.
  void connectEndToEnd_data() {
    QTest::addColumn<bool>("toolbar");
    QTest::newRow("button") << false;
    QTest::newRow("toolbar item") << true;
  }

  void connectEndToEnd() {
    QFETCH(bool, toolbar);
    UrlCatcher catcher;
    ChooseServer(2);
    // The address text is kept exactly as the host sent it, line end and all.
    QCOMPARE(Main().Find<StaticText>("ventURL").Text(),
             std::string("vent.ironlantern.example:3784\r\n"));
    if (toolbar) {
      Main().Find<ToolbarItem>("Toolbar_ConnectServer").Action()->trigger();
    } else {
      QTest::mouseClick(Main().Find<BevelButton>("PushButton1").Widget(), Qt::LeftButton);
    }
    QVERIFY(SheetOpen());
    MacConnectVent& sheet = Implicit<MacConnectVent>();
    QCOMPARE(sheet.Find<EditField>("EditField1").Text(), std::string("Iron Lantern Guild"));
    QCOMPARE(sheet.Widget()->windowModality(), Qt::WindowModal);
    QCOMPARE(sheet.Widget()->parentWidget(), Main().Widget());
    QWidget* field = sheet.Find<EditField>("EditField1").Widget();
    sheet.Widget()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(sheet.Widget()));
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(catcher.urls.size(), 1);
    QCOMPARE(
        catcher.urls[0].toEncoded(),
        QByteArray("ventrilo://vent.ironlantern.example:3784/servername=Iron%20Lantern%20Guild"));
    QVERIFY(!SheetOpen());
  }

  // The address is trimmed and read when Connect is pressed; the name arrives whole, whatever it
  // holds: the exact bytes handed over decode back to the typed name.
  void launchUrl_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("url");
    QTest::newRow("line end after the address")
        << "vent.example:3784\r\n"
        << "My Server" << QByteArray("ventrilo://vent.example:3784/servername=My%20Server");
    QTest::newRow("white space around")
        << " \tvent.example:1\n"
        << "x" << QByteArray("ventrilo://vent.example:1/servername=x");
    QTest::newRow("empty name") << "vent.example:2"
                                << "" << QByteArray("ventrilo://vent.example:2/servername=");
    QTest::newRow("'#', '%' and non-ASCII")
        << "vent.example:3" << QString::fromUtf8("100% Fun #1 \u00dcn\u00ef")
        << QByteArray("ventrilo://vent.example:3/servername=100%25%20Fun%20%231%20%C3%9Cn%C3%AF");
    QTest::newRow("'?', '&', '/', quotes")
        << "vent.example:4"
        << "Q&A? a/b \"x\""
        << QByteArray("ventrilo://vent.example:4/servername=Q%26A%3F%20a%2Fb%20%22x%22");
    QTest::newRow("what a form field splits or changes at")
        << "vent.example:5"
        << "Salt & Pepper+1=2; 50% #1?"
        << QByteArray(
               "ventrilo://vent.example:5/servername="
               "Salt%20%26%20Pepper%2B1%3D2%3B%2050%25%20%231%3F");
    QTest::newRow("IPv6 address") << "[::1]:3784"
                                  << "v6" << QByteArray("ventrilo://[::1]:3784/servername=v6");
  }

  void launchUrl() {
    QFETCH(QString, address);
    QFETCH(QString, name);
    QFETCH(QByteArray, url);
    UrlCatcher catcher;
    Host().setNeverAnswer("/files/brindlecot/ventList.txt");
    StartProgram();
    Main().Find<StaticText>("ventURL").SetText("stale");
    Implicit<MacConnectVent>().Find<EditField>("EditField1").SetText(name.toStdString());
    // An address that lands while the sheet is up is the one used.
    Main().Find<StaticText>("ventURL").SetText(address.toStdString());
    QTest::mouseClick(Implicit<MacConnectVent>().Find<PushButton>("PushButton2").Widget(),
                      Qt::LeftButton);
    QCOMPARE(catcher.urls.size(), 1);
    QCOMPARE(catcher.urls[0].toEncoded(), url);
    // The name decodes whole read as a path, and read as a form field cut at '&' or ';'.
    const QByteArray encodedName = url.mid(url.indexOf("/servername=") + 12);
    QCOMPARE(QString::fromUtf8(QByteArray::fromPercentEncoding(encodedName)), name);
    QByteArray field = encodedName.split('&').first().split(';').first();
    QCOMPARE(QString::fromUtf8(QByteArray::fromPercentEncoding(field.replace('+', ' '))), name);
    QCOMPARE(Main().Find<StaticText>("ventURL").Text(), address.toStdString());
    QVERIFY(!SheetOpen());
  }

  // A sheet shows no title bar, hangs from the top of the main window's content and moves with
  // that window.
  void sheetHangsFromItsWindow() {
    Host().setNeverAnswer("/files/brindlecot/ventList.txt");
    StartProgram();
    QWidget* sheet = Implicit<MacConnectVent>().Widget();
    QWidget* main = Main().Widget();
    QVERIFY(sheet->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(sheet->windowModality(), Qt::WindowModal);
    // Centred under the top edge of the window's content, after a move and a resize too.
    const auto centredUnderTop = [sheet, main] {
      const QPoint top =
          main->mapToGlobal(QPoint(0, static_cast<QMainWindow*>(main)->centralWidget()->y()));
      return sheet->y() == top.y() &&
             qAbs(2 * (sheet->x() - top.x()) + sheet->width() - main->width()) <= 1;
    };
    QVERIFY(centredUnderTop());
    const QPoint offset = sheet->pos() - main->pos();
    main->move(main->pos() + QPoint(40, 30));
    QTRY_COMPARE(sheet->pos() - main->pos(), offset);
    QVERIFY(centredUnderTop());
    main->resize(main->width() + 120, main->height() + 40);
    QTRY_VERIFY(centredUnderTop());
  }

  // Escape is no Cancel here: only a click on Cancel ends the sheet.
  void cancelHandsNothingOver() {
    UrlCatcher catcher;
    Host().setNeverAnswer("/files/brindlecot/ventList.txt");
    StartProgram();
    QWidget* field = Implicit<MacConnectVent>().Find<EditField>("EditField1").Widget();
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Escape);
    QVERIFY(SheetOpen());
    QTest::mouseClick(Implicit<MacConnectVent>().Find<PushButton>("PushButton1").Widget(),
                      Qt::LeftButton);
    QVERIFY(!SheetOpen());
    QVERIFY(catcher.urls.isEmpty());
    // The next Connect gets a fresh sheet with an empty name.
    QCOMPARE(Implicit<MacConnectVent>().Find<EditField>("EditField1").Text(), std::string());
  }

  // The watchdog closes the sheet on exactly three names, typed or pre-filled.
  void watchdog_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("closes");
    QTest::newRow("13 hyphens") << QString(13, '-') << true;
    QTest::newRow("-NEWS-") << "-NEWS-" << true;
    QTest::newRow("IMPORTANT MESSAGE") << "IMPORTANT MESSAGE" << true;
    QTest::newRow("12 hyphens") << QString(12, '-') << false;
    QTest::newRow("14 hyphens") << QString(14, '-') << false;
    QTest::newRow("the 23-hyphen row") << QString(23, '-') << false;
    QTest::newRow("-NEWS- and a blank") << "-NEWS- " << false;
    QTest::newRow("containing it") << "Latest -NEWS-" << false;
  }

  void watchdog() {
    QFETCH(QString, name);
    QFETCH(bool, closes);
    UrlCatcher catcher;
    Host().setNeverAnswer("/files/brindlecot/ventList.txt");
    StartProgram();
    Implicit<MacConnectVent>().Find<EditField>("EditField1").SetText(name.toStdString());
    if (closes) {
      QVERIFY(WaitFor([] { return !SheetOpen(); }));
    } else {
      // Past the first ticks of the watchdog, the sheet is still there.
      QTest::qWait(600);
      QVERIFY(SheetOpen());
    }
    QVERIFY(catcher.urls.isEmpty());
    if (!closes) {
      // Typed by hand, the closing texts work as well.
      auto* field = qobject_cast<QLineEdit*>(
          Implicit<MacConnectVent>().Find<EditField>("EditField1").Widget());
      field->clear();
      QTest::keyClicks(field, "-NEWS-");
      QVERIFY(WaitFor([] { return !SheetOpen(); }, 1000));
    }
  }
};

QTEST_MAIN(ConnectTest)
#include "test_connect.moc"
