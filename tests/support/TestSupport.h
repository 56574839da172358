// What the suites share: the loopback host, the program brought up without its event loop,
// message boxes answered as a user would, and URLs handed to the system caught.
#pragma once

#include <QByteArrayList>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>
#include <functional>

#include "FixtureHost.h"

// The loopback host, started on first use; http_proxy then points at it.
FixtureHost& Host();

// Start-up as the program does it, without the event loop: application object, menu bar, menu
// commands, main window.
void StartProgram();
// Everything the program made, released as at shutdown, so the next test starts afresh; the
// host's overrides and the sockets' silence limit are back to their usual values.
void StopProgram();

// Answers the next modal message box: its text lands in `seen`, then OK is pressed. A box that
// never shows is reported by WaitForMessageBox. With `holdMs` each box stays up that long first,
// as a user reads it, so that whatever arrives meanwhile arrives while it is up.
class MessageBoxAnswerer : public QObject {
  Q_OBJECT
 public:
  explicit MessageBoxAnswerer(int holdMs = 0);
  // Watches for boxes until the answerer goes.
  QStringList seen;
  // True once a box has been answered within `ms`.
  bool WaitForBox(int ms = 5000);

 private:
  void Poll();
  int holdMs_;
  QPointer<QMessageBox> box_;
  QElapsedTimer shown_;
};

// Catches every URL handed to the system for the given schemes while it lives.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  explicit UrlCatcher(QStringList schemes = {"ventrilo", "http", "https"});
  ~UrlCatcher() override;
  QList<QUrl> urls;
 public slots:
  void Open(const QUrl& url);

 private:
  QStringList schemes_;
};

// Clicks a data row (0 = first below the heading) of the main window's server list; false (and
// no click) when the list does not show that row. Use it as QVERIFY(ClickServerRow(n)), so a
// test stops there instead of going on without its selection.
[[nodiscard]] bool ClickServerRow(int row);

// A loopback port nobody listens on: taken from the system, then let go.
quint16 ClosedPort();
// A file of the sample directory, by its path from the directory's root ("/files/..."); empty
// when there is none.
QByteArray SampleFile(const QString& path);

// The main window's menu bar and toolbar, used with the mouse: opens the item's menu and clicks
// the item; clicks the toolbar item's button.
void ChooseFromMenu(const char* menuName, const char* itemName);
void ClickToolbarItem(const char* name);
// Brings a window in front and waits until it is the active one; false when it never is.
[[nodiscard]] bool BringToFront(QWidget* window);

// Clears every proxy variable the program reads, then sets each "NAME=value" of `settings`,
// each placeholder (first of a pair) in the value replaced by its text (second).
void SetProxyVariables(const QByteArrayList& settings,
                       const QList<QPair<QByteArray, QByteArray>>& placeholders);
// The proxy variables as the suites start: the loopback host at `proxyUrl` for both spellings
// of http_proxy, nothing else.
void RestoreProxyVariables(const QString& proxyUrl);

// Waits until `condition` holds, running the event loop; false after `ms`.
bool WaitFor(const std::function<bool()>& condition, int ms = 10000);
