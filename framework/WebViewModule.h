// Framework-private: what the web view module offers HTMLViewer. The module is the one library
// that links the web engine; HTMLViewer loads it when the first web view is made, so a run that
// never shows a page never maps the engine.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

// The Edit menu's commands on a page.
enum class WebEdit { Cut, Copy, Paste, Delete, SelectAll };

// How a load ended. `noPage` is a failure with nothing to show (refused, unknown host, a scheme
// the view does not load); an answer of any HTTP status is a page.
struct WebLoadEnd {
  QUrl url;
  bool succeeded = false;
  bool noPage = false;
  int errorCode = 0;
  QString errorString;
};

struct WebViewEvents {
  std::function<void(int percent)> progress;
  std::function<void(const QString& title)> titleChanged;
  std::function<void(const WebLoadEnd& end)> loadEnded;
};

// One web view. Widget() is the view itself: it belongs to its parent's widget tree, which
// deletes it together with this object.
class WebViewBackend {
 public:
  virtual ~WebViewBackend() = default;
  virtual QWidget* Widget() = 0;
  virtual QUrl Url() const = 0;
  // The shown document's own title: empty for a document without one.
  virtual QString DocumentTitle() const = 0;
  virtual void Load(const QUrl& url) = 0;
  virtual void Stop() = 0;
  virtual void Edit(WebEdit command) = 0;
};

// The module's one entry point, looked up by this name.
using MakeWebViewFunction = WebViewBackend* (*)(QWidget* parent, WebViewEvents events);
inline constexpr const char* kMakeWebViewSymbol = "BrindlecotMakeWebView";
