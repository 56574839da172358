// The about window: the texts its Open handler writes, the credits as declared, and a window
// that cannot be resized, minimized or maximized.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QTest>

#include "Framework.h"
#include "TestSupport.h"
#include "directory/MainWindow.h"
#include "update/aboutWindow.h"

namespace {

aboutWindow* About() {
  return ImplicitIfOpen<aboutWindow>();
}

QString Shown(const char* label) {
  return About()->Widget()->findChild<QLabel*>(label)->text();
}

// What the two labels show at the moment the window first appears.
class ShowWatcher : public QObject {
 public:
  QStringList atShow;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->objectName() == "StaticText1" &&
        About() != nullptr) {
      atShow = QStringList{Shown("StaticText1"), Shown("StaticText2")};
    }
    return false;
  }
};

const QStringList kCredits{
    "Brindlecot is the free software for use by anybody that requires a Ventrilo server "
    "short-term. ",
    "",
    "Send your Ventrilo server to vents@example.com",
    "",
    "In some cases, your server may be submitted by somebody else without your permission, "
    "please email me at the adress above to request removal.",
    "",
    "Please email me if a vent server is no longer working or is now password protected.",
    "",
    "This Brindlecot database is maintained by Mollivan but is powered by the gamer community. "
    "For more information, please send me an email.",
    "",
    "-----",
    "Icons by IconFactory",
    "",
    "Ventrilo by Flagship Industries",
    "",
    "ZavovaruVuzozed by Ferrowin"};

}  // namespace

class AboutTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { StartProgram(); }
  void cleanup() { StopProgram(); }

  // The version comes from the main window each time a window is made; the declared texts are
  // never what the window shows.
  void textsAtOpen_data() {
    QTest::addColumn<QString>("version");
    QTest::newRow("the main window's declared version") << "";
    QTest::newRow("whatever the main window holds") << "2.3.4b";
  }

  void textsAtOpen() {
    QFETCH(QString, version);
    if (!version.isEmpty()) {
      Implicit<MainWindow>().Find<StaticText>("versiontext").SetText(version.toStdString());
    } else {
      version = "1.0.9";
    }
    ShowWatcher watcher;
    qApp->installEventFilter(&watcher);
    Implicit<aboutWindow>();
    qApp->removeEventFilter(&watcher);
    const QString second = "Version " + version + "\nBy: Quennelby";
    QCOMPARE(watcher.atShow, QStringList({"Brindlecot for Mac", second}));
    QCOMPARE(About()->Find<StaticText>("StaticText2").Text(),
             "Version " + version.toStdString() + EndOfLine() + "By: Quennelby");
    QVERIFY(About()->Widget()->findChild<QLabel*>("StaticText1")->font().bold());
    QCOMPARE(About()->Title(), std::string("About Brindlecot"));

    // A second About while it is open keeps the window; after closing, a new one says the same.
    aboutWindow* first = About();
    Implicit<aboutWindow>().SetVisible(true);
    QCOMPARE(About(), first);
    About()->Close();
    QVERIFY(About() == nullptr);
    Implicit<aboutWindow>();
    QCOMPARE(Shown("StaticText1"), QString("Brindlecot for Mac"));
    QCOMPARE(Shown("StaticText2"), second);
  }

  // The credits read as declared and cannot be edited.
  void credits() {
    Implicit<aboutWindow>();
    EditField& field = About()->Find<EditField>("EditField1");
    QCOMPARE(QString::fromStdString(field.Text()), kCredits.join('\r'));
    auto* shown = About()->Widget()->findChild<QPlainTextEdit*>("EditField1");
    QVERIFY(shown != nullptr);
    QCOMPARE(shown->toPlainText(), kCredits.join('\n'));
    QTest::keyClicks(shown, "typed");
    QTest::keyClick(shown, Qt::Key_Backspace);
    QCOMPARE(QString::fromStdString(field.Text()), kCredits.join('\r'));
  }

  void cannotBeResized() {
    Implicit<aboutWindow>();
    QMainWindow* window = About()->Widget();
    const Qt::WindowFlags flags = window->windowFlags();
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    const QSize before = window->size();
    window->resize(600, 700);
    QTest::qWait(50);
    QCOMPARE(window->size(), before);
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QCOMPARE(About()->Content()->size(), QSize(300, 348));
  }
};

QTEST_MAIN(AboutTest)
#include "test_about.moc"
