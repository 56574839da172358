// The web view module: HTMLViewer's view on the web engine. Built as a library of its own and
// loaded on demand, so that the engine (its libraries, its GL share context, its threads) costs
// nothing until a window with a web view is made.
#include <QWebEngineHistory>
#include <QWebEngineHistoryItem>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "ProxyGuard.h"
#include "WebViewModule.h"

namespace {

class WebEngineView final : public QWebEngineView, public WebViewBackend {
 public:
  WebEngineView(QWidget* parent, WebViewEvents events)
      : QWebEngineView(parent), events_(std::move(events)) {
    GuardProxySetting(page()->profile());
    // The program hands ventrilo:// and other foreign URLs to the system itself, once; the
    // engine must not hand them on as well, not even for a link the user clicks.
    page()->settings()->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
    connect(this, &QWebEngineView::loadProgress, this, [this](int percent) {
      if (events_.progress) events_.progress(percent);
    });
    connect(this, &QWebEngineView::titleChanged, this, [this](const QString& title) {
      if (events_.titleChanged) events_.titleChanged(title);
    });
    connect(page(), &QWebEnginePage::loadingChanged, this,
            [this](const QWebEngineLoadingInfo& info) {
              if (!events_.loadEnded) return;
              if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus) {
                events_.loadEnded({info.url(), true, false, 0, {}});
              } else if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus) {
                events_.loadEnded(
                    {info.url(), false, info.isErrorPage(), info.errorCode(), info.errorString()});
              } else if (info.status() == QWebEngineLoadingInfo::LoadStoppedStatus) {
                // A stopped load (a link to a scheme the view does not open, say) leaves the
                // page that was shown: that page is complete, so no progress display stays up.
                events_.loadEnded({url(), true, false, 0, {}});
              }
            });
  }

  QWidget* Widget() override { return this; }
  QUrl Url() const override { return url(); }
  QString DocumentTitle() const override { return page()->history()->currentItem().title(); }
  void Load(const QUrl& url) override { load(url); }
  void Stop() override { stop(); }

  void Edit(WebEdit command) override {
    switch (command) {
      case WebEdit::Cut:
        triggerPageAction(QWebEnginePage::Cut);
        break;
      case WebEdit::Copy:
        triggerPageAction(QWebEnginePage::Copy);
        break;
      case WebEdit::Paste:
        triggerPageAction(QWebEnginePage::Paste);
        break;
      case WebEdit::Delete:
        // The engine has no Delete action of its own.
        page()->runJavaScript("document.execCommand('delete')");
        break;
      case WebEdit::SelectAll:
        triggerPageAction(QWebEnginePage::SelectAll);
        break;
    }
  }

 private:
  WebViewEvents events_;
};

}  // namespace

extern "C" Q_DECL_EXPORT WebViewBackend* BrindlecotMakeWebView(QWidget* parent,
                                                               WebViewEvents events) {
  static_assert(std::is_same_v<decltype(&BrindlecotMakeWebView), MakeWebViewFunction>);
  // The first view starts the engine: it reads its flags then, and never again.
  static bool started = false;
  if (started) return new WebEngineView(parent, std::move(events));
  GiveEngineTheProxySetting();
  auto* view = new WebEngineView(parent, std::move(events));
  GiveBackTheEngineFlags();
  started = true;
  return view;
}
