#include "HTMLViewer.h"

#include <QUrl>
#include <QWebEngineHistory>
#include <QWebEngineHistoryItem>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "Window.h"

class WebView : public QWebEngineView {
 public:
  using QWebEngineView::QWebEngineView;
};

namespace {

std::string UrlText(const QUrl& url) {
  return url.toString().toStdString();
}

// While a document has no title yet the engine reports its URL without the scheme in its place.
bool IsPlaceholderTitle(const QString& title, const QUrl& url) {
  QString bare = url.toString(QUrl::RemoveScheme);
  if (bare.startsWith("//")) bare.remove(0, 2);
  return title == bare || title == url.toString();
}

}  // namespace

HTMLViewer::HTMLViewer(::Window& owner, std::string name) : RectControl(owner, std::move(name)) {
  view_ = new WebView(owner.Content());
  AttachWidget(view_);
  QWebEnginePage* page = view_->page();
  QObject::connect(view_, &QWebEngineView::loadProgress, view_, [this](int percent) {
    Raise<ProgressHandler>("DocumentProgressChanged", UrlText(view_->url()), percent);
  });
  QObject::connect(view_, &QWebEngineView::titleChanged, view_, [this](const QString& title) {
    if (IsPlaceholderTitle(title, view_->url())) return;
    lastTitle_ = title.toStdString();
    Raise<TextHandler>("TitleChanged", lastTitle_);
  });
  QObject::connect(page, &QWebEnginePage::loadingChanged, view_,
                   [this](const QWebEngineLoadingInfo& info) {
                     switch (info.status()) {
                       case QWebEngineLoadingInfo::LoadSucceededStatus:
                         DocumentLoaded(UrlText(info.url()));
                         break;
                       case QWebEngineLoadingInfo::LoadFailedStatus:
                         if (info.isErrorPage()) {
                           Raise<ViewerErrorHandler>("Error", info.errorCode(),
                                                     info.errorString().toStdString());
                         } else {
                           // An answer with an error status is still a page, shown as it came.
                           DocumentLoaded(UrlText(info.url()));
                         }
                         break;
                       default:
                         break;
                     }
                   });
}

HTMLViewer::~HTMLViewer() = default;

void HTMLViewer::DocumentLoaded(const std::string& url) {
  // A document without a title of its own: its title is the empty text.
  const QString title = view_->page()->history()->currentItem().title();
  if (title.isEmpty() && !lastTitle_.empty()) {
    lastTitle_.clear();
    Raise<TextHandler>("TitleChanged", lastTitle_);
  }
  Raise<TextHandler>("DocumentComplete", url);
}

void HTMLViewer::LoadURL(const std::string& url) {
  view_->load(QUrl(QString::fromStdString(url), QUrl::TolerantMode));
}

bool HTMLViewer::EditCut() {
  view_->triggerPageAction(QWebEnginePage::Cut);
  return true;
}

bool HTMLViewer::EditCopy() {
  view_->triggerPageAction(QWebEnginePage::Copy);
  return true;
}

bool HTMLViewer::EditPaste() {
  view_->triggerPageAction(QWebEnginePage::Paste);
  return true;
}

bool HTMLViewer::EditClear() {
  view_->page()->runJavaScript("document.execCommand('delete')");
  return true;
}

bool HTMLViewer::EditSelectAll() {
  view_->triggerPageAction(QWebEnginePage::SelectAll);
  return true;
}

void HTMLViewer::Shutdown() {
  view_->stop();
}

void HTMLViewer::AddEditMenuHandlers() {
  AddMenuHandler("EditCopy", [this] { return EditCopy(); });
  AddMenuHandler("EditPaste", [this] { return EditPaste(); });
  AddMenuHandler("EditSelectAll", [this] { return EditSelectAll(); });
  AddMenuHandler("EditCut", [this] { return EditCut(); });
  AddMenuHandler("EditClear", [this] { return EditClear(); });
}

std::optional<std::size_t> HTMLViewer::EventSignature(const std::string& event) const {
  if (event == "DocumentComplete" || event == "TitleChanged") return kSignature<TextHandler>;
  if (event == "DocumentProgressChanged") return kSignature<ProgressHandler>;
  if (event == "Error") return kSignature<ViewerErrorHandler>;
  return std::nullopt;
}
