// The main window against the loopback host: start-up, the server list, a server's details and
// address, the server actions' enabling, the status texts and the update check.
#include <QMainWindow>
#include <QTest>

#include "Framework.h"
#include "Hosts.h"
#include "ListView.h"
#include "TestSupport.h"
#include "app/BrindlecotApp.h"
#include "app/MenuBar1.h"
#include "directory/MainWindow.h"
#include "tools/MacConnectVent.h"

namespace {

const QString kList = "/files/brindlecot/ventList.txt";
const QString kUpdate = "/files/sparkle/1.0.9.txt";

MainWindow& Main() {
  return Implicit<MainWindow>();
}
Listbox& List() {
  return Main().Find<Listbox>("ventList");
}
std::string Status() {
  return Main().Find<StaticText>("ventListStatus").Text();
}
std::string Label(const char* name) {
  return Main().Find<StaticText>(name).Text();
}

// The enabled state of the six server action controls, in their order.
QList<bool> ServerActions() {
  QList<bool> states;
  for (const char* name : {"PushButton1", "PushButtonBroken", "PushButtonScan"}) {
    states << Main().Find<BevelButton>(name).Enabled();
  }
  for (const char* name : {"Toolbar_ConnectServer", "Toolbar_ReportBroken", "Toolbar_ScanServer"}) {
    states << Main().Find<ToolbarItem>(name).Enabled();
  }
  return states;
}
const QList<bool> kAllOn(6, true);
const QList<bool> kAllOff(6, false);

// The request lines (first line of each raw request) received for paths under `prefix`.
QStringList RequestLines(const QString& prefix) {
  QStringList lines;
  for (const QByteArray& raw : Host().requests()) {
    const QString line = QString::fromUtf8(raw.left(raw.indexOf("\r\n")));
    if (line.contains(prefix)) lines << line;
  }
  return lines;
}

QString ServerUrl(const QString& pathName, const char* file) {
  return QString("GET http://%1/files/brindlecot/Servers/%2/%3 HTTP/1.0")
      .arg(kDirectoryHost, pathName, file);
}

}  // namespace

class DirectoryTest : public QObject {
  Q_OBJECT

 private:
  // Starts the program and waits for the sample list (or the answer set up before).
  static void StartAndWaitForList() {
    StartProgram();
    QVERIFY(WaitFor([] { return Status().rfind("Received", 0) == 0; }));
  }

  // The start-up's update check may reach the host after the list has come: once it has, every
  // request the host receives is the test's own.
  static void WaitForStartUpRequests() {
    QVERIFY(WaitFor([] { return Host().requestsFor(kUpdate).size() == 1; }));
  }

 private slots:
  void init() { Host().clearRequests(); }
  void cleanup() { StopProgram(); }

  // Before any answer arrives.
  void rightAfterStartUp() {
    Host().setNeverAnswer(kList);
    Host().setNeverAnswer(kUpdate);
    StartProgram();
    QCOMPARE(Main().Title(), std::string("Brindlecot Mac Beta"));
    QCOMPARE(Main().BackColor(), RGB(214, 221, 229));
    QCOMPARE(List().ListCount(), 0);
    QCOMPARE(List().Heading(0), std::string("Name"));
    QCOMPARE(List().Heading(1), std::string("Slots"));
    QCOMPARE(Status(), std::string("Be Patient..."));
    QVERIFY(Main()
                .Find<EditField>("ventDetails")
                .Text()
                .rfind("You must choose a server to the left FIRST\r\rIf you know", 0) == 0);
    QCOMPARE(ServerActions(), kAllOff);
    QVERIFY(Main().Find<ToolbarItem>("Toolbar_AddAVent").Enabled());
    QVERIFY(Main().Find<ToolbarItem>("Toolbar_about").Enabled());
    QCOMPARE(Label("ventURL"), std::string("ventDirectory"));
    QCOMPARE(Label("updateDetails"), std::string("wait"));
    QCOMPARE(List().ColumnAlignmentOffset(0), 20);
    // Both requests are under way at once, the update file named after versiontext.
    QVERIFY(WaitFor([] {
      return Host().openConnectionsFor(kList) == 1 && Host().openConnectionsFor(kUpdate) == 1;
    }));
    QCOMPARE(Host().requests().size(), 2);
  }

  void listArrives() {
    StartAndWaitForList();
    QCOMPARE(List().ListCount(), 19);
    QCOMPARE(Status(), std::string("Received 17 servers"));
    QCOMPARE(List().Cell(2, 0), std::string("Iron Lantern Guild"));
  }

  // Clicking a server sends exactly its two requests: blanks become %20, nothing else changes.
  void serverRequests_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("pathName");
    QTest::newRow("blanks") << "Iron Lantern Guild"
                            << "Iron%20Lantern%20Guild";
    QTest::newRow("leading and trailing blanks") << " Edge "
                                                 << "%20Edge%20";
    // What a path segment cannot hold is encoded; what it allows goes as it is.
    QTest::newRow("'#', '?', '/' and '%' encoded, '&' kept") << "A#B&C?D/E%F"
                                                             << "A%23B&C%3FD%2FE%25F";
    QTest::newRow("letters outside ASCII") << "Café Ñu"
                                           << "Caf%C3%A9%20%C3%91u";
    QTest::newRow("what a segment allows") << "a!$&'()*+,;=:@-._~z"
                                           << "a!$&'()*+,;=:@-._~z";
    QTest::newRow("22 hyphens are a server") << QString(22, '-') << QString(22, '-');
    QTest::newRow("24 hyphens are a server") << QString(24, '-') << QString(24, '-');
    QTest::newRow("trailing blank after a non-server text") << "Please choose a server: "
                                                            << "Please%20choose%20a%20server:%20";
  }

  void serverRequests() {
    QFETCH(QString, name);
    QFETCH(QString, pathName);
    Host().setAnswer(kList, 200, ("Name\tSlots\r" + name + "\t1/2\r").toUtf8());
    StartAndWaitForList();
    WaitForStartUpRequests();
    Host().clearRequests();
    QVERIFY(ClickServerRow(0));
    QVERIFY(WaitFor([] { return RequestLines("/Servers/").size() == 2; }));
    QTest::qWait(50);
    QStringList lines = RequestLines("/Servers/");
    lines.sort();
    QCOMPARE(lines, QStringList({ServerUrl(pathName, "serverDetails.txt"),
                                 ServerUrl(pathName, "serverLink.txt")}));
    QCOMPARE(Host().requests().size(), 2);
    QCOMPARE(Status(), std::string("Selected 1 of -1 servers"));
  }

  // The details fill the description; the address fills ventURL as received and enables the
  // six server actions.
  void serverAnswers() {
    StartAndWaitForList();
    QVERIFY(ClickServerRow(2));
    QVERIFY(WaitFor([] { return ServerActions() == kAllOn; }));
    QVERIFY(WaitFor([] {
      return Main().Find<EditField>("ventDetails").Text().find("Iron Lantern") != std::string::npos;
    }));
    QCOMPARE(Label("ventURL"), std::string("vent.ironlantern.example:3784\r\n"));
    QCOMPARE(Status(), std::string("Selected 1 of 17 servers"));
  }

  // While a newly chosen server's address is under way the actions stay off: Connect can never
  // hand over the previous server's address. They go off with the click itself, before the
  // event loop turns once: on a slow link the new connection may take long to come up.
  void actionsOffWhileTheNextAddressIsUnderWay() {
    StartAndWaitForList();
    QVERIFY(ClickServerRow(2));
    QVERIFY(WaitFor([] { return ServerActions() == kAllOn; }));
    Host().setDelay("/files/brindlecot/Servers/The Quiet Harbor/serverLink.txt", 700);
    QVERIFY(ClickServerRow(3));
    QCOMPARE(ServerActions(), kAllOff);
    QTest::mouseClick(Main().Find<BevelButton>("PushButton1").Widget(), Qt::LeftButton);
    QVERIFY(!HasImplicit<MacConnectVent>());
    QVERIFY(WaitFor([] { return RequestLines("Quiet%20Harbor/serverLink").size() == 1; }));
    QVERIFY(WaitFor([] { return ServerActions() == kAllOff; }));
    QTest::qWait(300);
    QCOMPARE(ServerActions(), kAllOff);
    QVERIFY(WaitFor([] { return ServerActions() == kAllOn; }));
    QCOMPARE(Label("ventURL"), std::string("harbor.quietwater.example:4100\r\n"));
  }

  // Rows that are not servers, and an empty selection, only change the status text.
  void nonServerRows_data() {
    QTest::addColumn<int>("row");
    QTest::newRow("Please choose a server:") << 0;
    QTest::newRow("23 hyphens") << 1;
    QTest::newRow("Downloading Public Vents...") << 2;
    QTest::newRow("empty first cell") << 3;
    QTest::newRow("no selection") << -1;
  }

  void nonServerRows() {
    QFETCH(int, row);
    Host().setAnswer(kList, 200,
                     "Name\tSlots\rPlease choose a server:\t\r-----------------------\t\r"
                     "Downloading Public Vents...\t\r\t5\rReal One\t1/2\r");
    StartAndWaitForList();
    QVERIFY(ClickServerRow(4));
    QVERIFY(WaitFor([] { return ServerActions() == kAllOn; }));
    const std::string details = Main().Find<EditField>("ventDetails").Text();
    const std::string address = Label("ventURL");
    WaitForStartUpRequests();
    Host().clearRequests();
    Main().Find<StaticText>("ventListStatus").SetText("");
    if (row >= 0) {
      QVERIFY(ClickServerRow(row));
    } else {
      List().SetListIndex(-1);
    }
    QCOMPARE(Status(), std::string("Selected 1 of 3 servers"));
    QTest::qWait(100);
    QCOMPARE(Host().requests().size(), 0);
    QCOMPARE(Main().Find<EditField>("ventDetails").Text(), details);
    QCOMPARE(Label("ventURL"), address);
    QCOMPARE(ServerActions(), kAllOn);
  }

  // Any answer is the file, whatever its status; a body of fewer than two rows gives a
  // negative count.
  void errorPagesAreContent() {
    Host().setAnswer(kList, 404, "Not Found");
    StartAndWaitForList();
    QCOMPARE(List().ListCount(), 0);
    QCOMPARE(List().Heading(0), std::string("Not Found"));
    QCOMPARE(Status(), std::string("Received -2 servers"));

    Host().setAnswer(kList, 200, "Name\tSlots\rSolo\t1\r");
    MenuBar1Instance()->FindItem("refreshList")->Action()->trigger();
    QVERIFY(WaitFor([] { return Status() == "Received -1 servers"; }));
    const QString base = "/files/brindlecot/Servers/Solo/";
    Host().setAnswer(base + "serverDetails.txt", 500, "oops");
    Host().setAnswer(base + "serverLink.txt", 404, "missing");
    QVERIFY(ClickServerRow(0));
    QVERIFY(WaitFor([] { return Label("ventURL") == "missing"; }));
    QCOMPARE(ServerActions(), kAllOn);
    QVERIFY(WaitFor([] { return Main().Find<EditField>("ventDetails").Text() == "oops"; }));
  }

  // Failures: the list's status turns red for the rest of the run; the details say so; the
  // address request disables the server actions and keeps the earlier address.
  void failures() {
    Host().setCloseWithoutAnswer(kList);
    StartProgram();
    QVERIFY(WaitFor([] { return Status() == "Unable to get Vent list"; }));
    QCOMPARE(Main().Find<StaticText>("ventListStatus").TextColor(), RGB(255, 0, 5));
    QCOMPARE(List().ListCount(), 0);

    Host().clearOverrides();
    MenuBar1Instance()->FindItem("refreshList")->Action()->trigger();
    QVERIFY(WaitFor([] { return Status() == "Received 17 servers"; }));
    QCOMPARE(Main().Find<StaticText>("ventListStatus").TextColor(), RGB(255, 0, 5));

    QVERIFY(ClickServerRow(2));
    QVERIFY(WaitFor([] { return ServerActions() == kAllOn; }));
    const std::string address = Label("ventURL");
    const QString base = "/files/brindlecot/Servers/The%20Quiet%20Harbor/";
    Host().setCloseWithoutAnswer(base + "serverDetails.txt");
    Host().setCloseWithoutAnswer(base + "serverLink.txt");
    QVERIFY(ClickServerRow(3));
    QVERIFY(WaitFor([] {
      return Main().Find<EditField>("ventDetails").Text() ==
             "Error - Unable to retrieve server information... Check connection?";
    }));
    QVERIFY(WaitFor([] { return ServerActions() == kAllOff; }));
    QCOMPARE(Label("ventURL"), address);
  }

  // Refresh empties the list and disables the actions; an address answer still under way
  // enables them again when it lands.
  void refreshList() {
    StartAndWaitForList();
    Host().setDelay("/files/brindlecot/Servers/Iron%20Lantern%20Guild/serverLink.txt", 300);
    QVERIFY(ClickServerRow(2));
    Host().setNeverAnswer(kList);
    MenuBar1Instance()->FindItem("refreshList")->Action()->trigger();
    QCOMPARE(List().ListCount(), 0);
    QCOMPARE(List().Heading(0), std::string());
    QCOMPARE(Status(), std::string("Refreshing list..."));
    QCOMPARE(Main().Find<EditField>("ventDetails").Text(),
             std::string("Make your selection to the left!"));
    QCOMPARE(ServerActions(), kAllOff);
    QVERIFY(WaitFor([] { return ServerActions() == kAllOn; }));
    QCOMPARE(Status(), std::string("Downloading updated server list"));
    QCOMPARE(List().ListCount(), 0);
  }

  // The update answer is kept exactly as received; only the exact word shows the notice.
  void updateCheck_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("credit");
    const QString plain = "Written by Quennelby";
    const QString notice = "Written by Quennelby   --- Update available!";
    QTest::newRow("noupdate") << 0 << QByteArray("noupdate") << "noupdate" << plain;
    QTest::newRow("updateavailable")
        << 0 << QByteArray("updateavailable") << "updateavailable" << notice;
    QTest::newRow("with a line end") << 0 << QByteArray("updateavailable\n") << "updateavailable\n"
                                     << plain;
    QTest::newRow("with a blank before")
        << 0 << QByteArray(" updateavailable") << " updateavailable" << plain;
    QTest::newRow("failed") << 1 << QByteArray() << "error" << plain;
    QTest::newRow("no answer yet") << 2 << QByteArray() << "wait" << plain;
  }

  void updateCheck() {
    QFETCH(int, kind);
    QFETCH(QByteArray, body);
    QFETCH(QString, state);
    QFETCH(QString, credit);
    if (kind == 0) Host().setAnswer(kUpdate, 200, body);
    if (kind == 1) Host().setCloseWithoutAnswer(kUpdate);
    if (kind == 2) Host().setNeverAnswer(kUpdate);
    StartProgram();
    if (kind != 2) {
      QVERIFY(WaitFor([] { return Label("updateDetails") != "wait"; }));
    } else {
      QVERIFY(WaitFor([] { return Host().requestsFor(kUpdate).size() == 1; }));
    }
    QCOMPARE(QString::fromStdString(Label("updateDetails")), state);
    QCOMPARE(QString::fromStdString(Label("StaticText1")), credit);
  }

  // The credit label answers a click with ":)", notice or not.
  void creditLabel() {
    Host().setAnswer(kUpdate, 200, "updateavailable");
    StartProgram();
    QVERIFY(WaitFor([] { return Label("updateDetails") == "updateavailable"; }));
    MessageBoxAnswerer answerer;
    QTest::mouseClick(Main().Find<StaticText>("StaticText1").Widget(), Qt::LeftButton);
    QCOMPARE(answerer.seen, QStringList{":)"});
  }

  // A long list fills quickly and the list still answers clicks.
  void hundredThousandRows() {
    QByteArray body = "Name\tSlots\rPlease choose a server:\t\r-----------------------\t\r";
    for (int i = 0; i < 100000; ++i) body += "Server " + QByteArray::number(i) + "\t1/8\r";
    Host().setAnswer(kList, 200, body);
    StartProgram();
    QVERIFY(WaitFor([] { return Status() == "Received 100000 servers"; }, 30000));
    List().View()->scrollToBottom();
    QTest::qWait(20);
    const QModelIndex last =
        List().View()->indexAt(List().View()->viewport()->rect().bottomLeft() - QPoint(-5, 5));
    QVERIFY(last.isValid());
    QTest::mouseClick(List().View()->viewport(), Qt::LeftButton, {},
                      List().View()->visualRect(last).center());
    QCOMPARE(List().ListIndex(), last.row());
    QCOMPARE(Status(), std::string("Selected 1 of 100000 servers"));
  }
};

QTEST_MAIN(DirectoryTest)
#include "test_directory.moc"
