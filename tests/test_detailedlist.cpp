// The detailed server list against the loopback host: its own download of the list, the rows a
// selection remembers, and GO handing the chosen server to the main window.
#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QTest>
#include <chrono>

#include "Framework.h"
#include "Hosts.h"
#include "ListView.h"
#include "TestPaths.h"
#include "TestSupport.h"
#include "common/Directory.h"
#include "directory/MainWindow.h"
#include "tools/AdvancedScanner.h"
#include "tools/MacConnectVent.h"
#include "tools/Report.h"

namespace {

const QString kAdvancedList = "/files/brindlecot/advancedList.txt";

MainWindow& Main() {
  return Implicit<MainWindow>();
}
AdvancedScanner* Detailed() {
  return ImplicitIfOpen<AdvancedScanner>();
}
Listbox& List() {
  return Detailed()->Find<Listbox>("ventList");
}
std::string PathName() {
  return Detailed()->Find<StaticText>("urlDataText").Text();
}
bool GoEnabled() {
  return Detailed()->Find<PushButton>("PushButton1").Enabled();
}

// Clicks a data row of the detailed list as a user would; -1 clears the selection.
void ClickRow(int row) {
  if (row < 0) {
    List().SetListIndex(-1);
    return;
  }
  ListView* view = List().View();
  const QRect cell = view->visualRect(view->model()->index(row, 0));
  QVERIFY2(cell.isValid(), "the row is not shown");
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}

int RowNamed(const std::string& name) {
  for (int row = 0; row < List().ListCount(); ++row) {
    if (List().Cell(row, 0) == name) return row;
  }
  return -1;
}

// The request lines the host received for paths under the server folder `pathPart`.
QStringList RequestLines(const QString& pathPart) {
  QStringList lines;
  for (const QByteArray& raw : Host().requests()) {
    const QString line = QString::fromUtf8(raw.left(raw.indexOf("\r\n")));
    if (line.contains(pathPart)) lines << line;
  }
  return lines;
}

}  // namespace

class DetailedListTest : public QObject {
  Q_OBJECT

 private:
  // The program with its main list in, then the detailed list with its rows in.
  static void OpenWithRows() {
    StartProgram();
    QVERIFY(WaitFor([] { return Main().Find<Listbox>("ventList").ListCount() > 2; }));
    Implicit<AdvancedScanner>();
    QVERIFY(WaitFor([] { return RowNamed("Squad #7") >= 0; }));
  }

 private slots:
  void init() { Host().clearRequests(); }
  void cleanup() { StopProgram(); }

  // The declared rows stand until the download's first event; each opening downloads afresh,
  // and closing drops the request under way.
  void declaredRowsUntilTheFirstEvent() {
    Host().setNeverAnswer(kAdvancedList);
    StartProgram();
    AdvancedScanner& window = Implicit<AdvancedScanner>();
    QCOMPARE(
        QStringList(
            {QString::fromStdString(List().Heading(0)), QString::fromStdString(List().Heading(1)),
             QString::fromStdString(List().Heading(2)), QString::fromStdString(List().Heading(3))}),
        QStringList({"Name", "Slots", "Owner", "Purpose"}));
    QCOMPARE(List().ListCount(), 3);
    QCOMPARE(List().Cell(0, 0), std::string("GETTING SERVERS"));
    QCOMPARE(List().Cell(1, 0), std::string());
    QCOMPARE(List().Cell(2, 0) + "/" + List().Cell(2, 1), std::string("PLEASE/WAIT"));
    QVERIFY(!GoEnabled());
    QCOMPARE(PathName(), std::string("Untitled"));
    // The label holding the path name lies above the window: never seen.
    QVERIFY(window.Find<StaticText>("urlDataText").Widget()->geometry().bottom() < 0);

    QVERIFY(WaitFor([] { return List().Heading(0) == "Downloading updated list..."; }));
    QCOMPARE(List().ListCount(), 0);
    // The host holds the list's request; the main window's own downloads come and go meanwhile,
    // so only the connection that carries the list tells whether it was dropped.
    QVERIFY(WaitFor([] { return Host().openConnectionsFor(kAdvancedList) == 1; }));
    window.Close();
    QVERIFY(WaitFor([] { return Host().droppedConnectionsFor(kAdvancedList) == 1; }));
    QCOMPARE(Host().openConnectionsFor(kAdvancedList), 0);
    Implicit<AdvancedScanner>();
    QVERIFY(WaitFor([] { return Host().requestsFor(kAdvancedList).size() == 2; }));
  }

  // Whatever the download ends in replaces the whole list and nothing else.
  void downloadOutcome_data() {
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("lastName");
    QTest::newRow("the sample list") << "sample"
                                     << "Name" << 17 << "Squad #7";
    QTest::newRow("an error page is taken as the list") << "404"
                                                        << "Not Found" << 2 << "No such file";
    QTest::newRow("the host drops the connection") << "drop"
                                                   << "Error:Could not connect" << 0 << "";
    QTest::newRow("the host refuses") << "refuse"
                                      << "Error:Could not connect" << 0 << "";
    QTest::newRow("the host stays silent") << "silent"
                                           << "Error:Could not connect" << 0 << "";
  }

  void downloadOutcome() {
    QFETCH(QString, outcome);
    QFETCH(QString, heading);
    QFETCH(int, rows);
    QFETCH(QString, lastName);
    Host().setNeverAnswer("/files/brindlecot/ventList.txt");
    StartProgram();
    const QByteArray proxy = qgetenv("http_proxy");
    if (outcome == "404") {
      Host().setAnswer(kAdvancedList, 404, "Not Found\r\rNo such file\tat all");
    } else if (outcome == "drop") {
      Host().setCloseWithoutAnswer(kAdvancedList);
    } else if (outcome == "silent") {
      // A shortened silence limit: the program gives up after a minute without a byte.
      HTTPSocket::SetSilenceLimit(std::chrono::milliseconds(1000));
      Host().setNeverAnswer(kAdvancedList);
    } else if (outcome == "refuse") {
      const QByteArray nobody = "http://127.0.0.1:" + QByteArray::number(ClosedPort());
      qputenv("http_proxy", nobody);
      qputenv("HTTP_PROXY", nobody);
    }
    Implicit<AdvancedScanner>();
    qputenv("http_proxy", proxy);
    qputenv("HTTP_PROXY", proxy);
    QVERIFY(WaitFor(
        [&] { return List().Heading(0) == heading.toStdString() && List().ListCount() == rows; }));
    if (rows > 0) QCOMPARE(List().Cell(rows - 1, 0), lastName.toStdString());
    QVERIFY(!GoEnabled());
    QCOMPARE(PathName(), std::string("Untitled"));
  }

  // The rows of the main window's list keep their four columns here, painted by the same
  // painter.
  void sampleRowsArePainted() {
    OpenWithRows();
    const int row = RowNamed("Salt & Pepper Crew");
    QVERIFY(row >= 0);
    QCOMPARE(List().Cell(row, 1), std::string("5/20"));
    QCOMPARE(List().Cell(row, 2), std::string("Rosa Lind"));
    QCOMPARE(List().Cell(row, 3), std::string("Cooking streams & raids"));
    ListView* view = List().View();
    QVERIFY(QTest::qWaitForWindowExposed(Detailed()->Widget()));
    const QRect cell = view->visualRect(view->model()->index(0, 3));
    const QImage shot = view->viewport()->grab().toImage();
    QCOMPARE(QColor(shot.pixel(cell.left() + 1, cell.bottom() - 1)), QColor(214, 221, 229));
  }

  // Each selection change enables GO for good; only server rows are remembered, blanks as %20.
  void selectionRemembersServerRows_data() {
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<QString>("pathName");
    // Rows of the list below: 0 notice, 1 rule, 2 server, 3 notice, 4 empty, 5 server.
    QTest::newRow("a server row") << QList<int>{2} << "Alpha%20Team%20Base";
    QTest::newRow("leading and trailing blanks") << QList<int>{5} << "%20Two%20%20Blanks%20";
    QTest::newRow("the notice rows") << QList<int>{0, 1, 3} << "Untitled";
    QTest::newRow("an empty row") << QList<int>{4} << "Untitled";
    QTest::newRow("a server, then a notice row") << QList<int>{2, 0} << "Alpha%20Team%20Base";
    QTest::newRow("a server, then no row") << QList<int>{2, -1} << "Alpha%20Team%20Base";
    QTest::newRow("a notice row, then a server") << QList<int>{1, 5} << "%20Two%20%20Blanks%20";
  }

  void selectionRemembersServerRows() {
    QFETCH(QList<int>, clicks);
    QFETCH(QString, pathName);
    Host().setNeverAnswer("/files/brindlecot/ventList.txt");
    Host().setAnswer(kAdvancedList, 200,
                     "Name\tSlots\tOwner\tPurpose\r"
                     "Please choose a server:\r"
                     "-----------------------\r"
                     "Alpha Team Base\t1/8\tAl\tTesting\r"
                     "Downloading Public Vents...\r"
                     "\r"
                     " Two  Blanks \t2/8\tBo\tSpacing");
    StartProgram();
    Implicit<AdvancedScanner>();
    QVERIFY(WaitFor([] { return List().ListCount() == 6; }));
    QVERIFY(QTest::qWaitForWindowExposed(Detailed()->Widget()));
    for (int row : clicks) ClickRow(row);
    QVERIFY(GoEnabled());
    QCOMPARE(PathName(), pathName.toStdString());
    // The declared rows work alike: "GETTING SERVERS" is a server name to this list.
    Detailed()->Close();
    Host().setNeverAnswer(kAdvancedList);
    Implicit<AdvancedScanner>();
    QVERIFY(QTest::qWaitForWindowExposed(Detailed()->Widget()));
    ClickRow(0);
    QCOMPARE(PathName(), std::string("GETTING%20SERVERS"));
  }

  // GO: the main window requests that server's two files with the path name its own list
  // would use, shows them, enables the server actions and comes to the front.
  void goShowsTheServerInTheMainWindow_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("blanks") << "Iron Lantern Guild";
    QTest::newRow("an ampersand") << "Salt & Pepper Crew";
    QTest::newRow("a number sign") << "Squad #7";
    QTest::newRow("'#', '&' and '?'") << "Hash#Tag & Co?";
    QTest::newRow("a percent sign") << "100% Fun";
    QTest::newRow("letters outside ASCII") << QString::fromUtf8("\u00dcn\u00efcode S\u00ebrver");
  }

  void goShowsTheServerInTheMainWindow() {
    QFETCH(QString, name);
    OpenWithRows();
    const int row = RowNamed(name.toStdString());
    QVERIFY(row >= 0);
    QVERIFY(QTest::qWaitForWindowExposed(Detailed()->Widget()));
    ClickRow(row);
    Host().clearRequests();
    // As when another server's address is in the main window: its actions go off with GO itself.
    Main().SetServerActionsEnabled(true);
    QTest::mouseClick(Detailed()->Find<PushButton>("PushButton1").Widget(), Qt::LeftButton);
    QVERIFY(!Main().Find<BevelButton>("PushButton1").Enabled());

    const QString folder = QString("/files/brindlecot/Servers/%1/")
                               .arg(QString::fromStdString(ServerPathName(name.toStdString())));
    QVERIFY(WaitFor([&] { return RequestLines(folder).size() == 2; }));
    QStringList lines = RequestLines(folder);
    lines.sort();
    QCOMPARE(lines,
             QStringList(
                 {QString("GET http://%1%2serverDetails.txt HTTP/1.0").arg(kDirectoryHost, folder),
                  QString("GET http://%1%2serverLink.txt HTTP/1.0").arg(kDirectoryHost, folder)}));
    // The answers came from the server's own folder.
    const QByteArray link = SampleFile("/files/brindlecot/Servers/" + name + "/serverLink.txt");
    QVERIFY(!link.isEmpty());
    QVERIFY(WaitFor([&] { return Main().ServerAddressText() == link.toStdString(); }));
    QCOMPARE(Main().Find<EditField>("ventDetails").Text(),
             SampleFile("/files/brindlecot/Servers/" + name + "/serverDetails.txt").toStdString());
    QVERIFY(WaitFor([] { return Main().Find<BevelButton>("PushButton1").Enabled(); }));
    QVERIFY(Main().Widget()->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(Main().Widget()));
    // The detailed list stays as it was; the main list's selection is not touched.
    QVERIFY(Detailed() != nullptr);
    QVERIFY(List().Selected(row));
    QVERIFY(GoEnabled());
    QCOMPARE(Main().Find<Listbox>("ventList").ListIndex(), -1);
  }

  // GO hides and shows the main window, which comes to the front as it was left: restored
  // when it was minimized, and with a sheet up on it in front of it, keyboard and all,
  // instead of that sheet staying hidden behind the window it blocks.
  void goBringsTheMainWindowToTheFront_data() {
    QTest::addColumn<QString>("before");
    QTest::newRow("the main window minimized") << "minimized";
    QTest::newRow("the name-and-connect sheet up") << "connect";
    QTest::newRow("the report sheet up") << "report";
  }

  void goBringsTheMainWindowToTheFront() {
    QFETCH(QString, before);
    OpenWithRows();
    QWidget* front = Main().Widget();
    if (before == "minimized") {
      front->showMinimized();
      QTRY_VERIFY(front->isMinimized());
    } else {
      front =
          before == "report" ? Implicit<Report>().Widget() : Implicit<MacConnectVent>().Widget();
      QVERIFY(QTest::qWaitForWindowActive(front));
    }
    Detailed()->Widget()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Detailed()->Widget()));
    ClickRow(RowNamed("Squad #7"));
    QTest::mouseClick(Detailed()->Find<PushButton>("PushButton1").Widget(), Qt::LeftButton);
    QVERIFY(front->isVisible());
    QVERIFY(!Main().Widget()->isMinimized());
    QTRY_COMPARE(QApplication::activeWindow(), front);
  }

  // GO before any server row was chosen asks for the server "Untitled", as the list says.
  void goBeforeAnyServerRow() {
    Host().setNeverAnswer(kAdvancedList);
    StartProgram();
    Implicit<AdvancedScanner>();
    QVERIFY(QTest::qWaitForWindowExposed(Detailed()->Widget()));
    ClickRow(1);
    QTest::mouseClick(Detailed()->Find<PushButton>("PushButton1").Widget(), Qt::LeftButton);
    QVERIFY(WaitFor([] { return RequestLines("/Servers/Untitled/").size() == 2; }));
  }
};

QTEST_MAIN(DetailedListTest)
#include "test_detailedlist.moc"
