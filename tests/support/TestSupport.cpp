#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "Framework.h"
#include "ListView.h"
#include "TestPaths.h"
#include "app/MenuBar1.h"
#include "app/Startup.h"
#include "directory/MainWindow.h"
#include "resources/Pictures.h"

FixtureHost& Host() {
  static FixtureHost* host = [] {
    auto* h = new FixtureHost(QString::fromUtf8(kSampleDirectory));
    if (!h->start()) qFatal("the loopback host could not listen");
    qputenv("http_proxy", h->proxyUrl().toUtf8());
    qputenv("HTTP_PROXY", h->proxyUrl().toUtf8());
    return h;
  }();
  return *host;
}

void StartProgram() {
  Host();
  NewAppInstance();
  ApplicationAddMenuHandlers();
  MakeDefaultView();
}

void StopProgram() {
  Finalize();
  // Let the toolkit finish deleting what the windows left behind.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
  // The next test meets the host and the sockets as they start.
  Host().clearOverrides();
  HTTPSocket::SetSilenceLimit(HTTPSocket::kSilenceLimit);
}

MessageBoxAnswerer::MessageBoxAnswerer(int holdMs) : holdMs_(holdMs) {
  auto* timer = new QTimer(this);
  connect(timer, &QTimer::timeout, this, &MessageBoxAnswerer::Poll);
  timer->start(10);
}

void MessageBoxAnswerer::Poll() {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (box == nullptr || !box->isVisible()) return;
  if (box != box_) {
    box_ = box;
    shown_.start();
  }
  if (shown_.elapsed() < holdMs_) return;
  seen << box->text();
  box->button(QMessageBox::Ok) != nullptr ? box->button(QMessageBox::Ok)->click() : box->accept();
}

bool MessageBoxAnswerer::WaitForBox(int ms) {
  const qsizetype before = seen.size();
  return WaitFor([&] { return seen.size() > before; }, ms);
}

UrlCatcher::UrlCatcher(QStringList schemes) : schemes_(std::move(schemes)) {
  for (const QString& scheme : schemes_) QDesktopServices::setUrlHandler(scheme, this, "Open");
}

UrlCatcher::~UrlCatcher() {
  for (const QString& scheme : schemes_) QDesktopServices::unsetUrlHandler(scheme);
}

void UrlCatcher::Open(const QUrl& url) {
  urls << url;
}

bool WaitFor(const std::function<bool()>& condition, int ms) {
  QElapsedTimer clock;
  clock.start();
  while (!condition()) {
    if (clock.elapsed() > ms) return false;
    QTest::qWait(5);
  }
  return true;
}

quint16 ClosedPort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost);
  return probe.serverPort();
}

QByteArray SampleFile(const QString& path) {
  QFile file(QString::fromUtf8(kSampleDirectory) + path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void ChooseFromMenu(const char* menuName, const char* itemName) {
  QMenuBar* bar = Implicit<MainWindow>().Widget()->menuBar();
  QAction* menuAction = MenuBar1Instance()->FindItem(menuName)->Action();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menuAction).center());
  QMenu* menu = menuAction->menu();
  if (!WaitFor([menu] { return menu->isVisible(); }, 5000))
    qWarning("menu %s never opened", menuName);
  QAction* item = MenuBar1Instance()->FindItem(itemName)->Action();
  QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
}

void ClickToolbarItem(const char* name) {
  MainWindow& main = Implicit<MainWindow>();
  QToolBar* toolbar = main.Widget()->findChild<QToolBar*>("toolbar");
  QTest::mouseClick(toolbar->widgetForAction(main.Find<ToolbarItem>(name).Action()),
                    Qt::LeftButton);
}

bool BringToFront(QWidget* window) {
  window->activateWindow();
  return QTest::qWaitForWindowActive(window);
}

bool ClickServerRow(int row) {
  ListView* view = Implicit<MainWindow>().Find<Listbox>("ventList").View();
  const QRect cell = view->visualRect(view->model()->index(row, 0));
  if (!cell.isValid()) {
    qWarning("row %d is not shown", row);
    return false;
  }
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
  return true;
}

namespace {

constexpr const char* kProxyVariables[] = {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY",
                                           "all_proxy",  "ALL_PROXY",  "no_proxy",    "NO_PROXY"};

}  // namespace

void SetProxyVariables(const QByteArrayList& settings,
                       const QList<QPair<QByteArray, QByteArray>>& placeholders) {
  for (const char* variable : kProxyVariables) qunsetenv(variable);
  for (const QByteArray& setting : settings) {
    const qsizetype equals = setting.indexOf('=');
    QByteArray value = setting.mid(equals + 1);
    for (const auto& [placeholder, replacement] : placeholders)
      value.replace(placeholder, replacement);
    qputenv(setting.left(equals).constData(), value);
  }
}

void RestoreProxyVariables(const QString& proxyUrl) {
  for (const char* variable : kProxyVariables) qunsetenv(variable);
  qputenv("http_proxy", proxyUrl.toLatin1());
  qputenv("HTTP_PROXY", proxyUrl.toLatin1());
}
