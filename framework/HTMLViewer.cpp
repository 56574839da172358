#include "HTMLViewer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <QUrl>
#include <QWidget>
#include <iostream>

#include "WebViewModule.h"
#include "Window.h"

// Exported by Qt GUI for the modules that share GL resources, the web engine among them.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

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

// Where the module lies: beside the installed program (the install layout, relative to the
// program's folder), or, for a program run from the build tree, where the build put it.
QStringList ModuleCandidates() {
  const QString programDir = QCoreApplication::applicationDirPath();
  QStringList candidates{QDir::cleanPath(programDir + "/" BRINDLECOT_WEBVIEW_FROM_BINDIR "/" +
                                         QFileInfo(BRINDLECOT_WEBVIEW_BUILD_PATH).fileName())};
  if ((QDir::cleanPath(programDir) + "/").startsWith(BRINDLECOT_BUILD_DIR "/")) {
    candidates << BRINDLECOT_WEBVIEW_BUILD_PATH;
  }
  return candidates;
}

// The engine renders through a GL context shared with the application's, which the application
// object makes at start only when told to (Qt::AA_ShareOpenGLContexts) and then for every run.
// Made here instead, before the engine is loaded, as the application would have made it. It
// lives until the process ends: views of any window may use it.
void EnsureShareContext() {
  if (QOpenGLContext::globalShareContext() != nullptr) return;
  auto* context = new QOpenGLContext;
  context->setFormat(QSurfaceFormat::defaultFormat());
  context->create();
  qt_gl_set_global_share_context(context);
}

// Loaded once, on the first web view, and kept for the rest of the run.
MakeWebViewFunction WebViewMaker() {
  static const MakeWebViewFunction maker = [] {
    EnsureShareContext();
    QString errors;
    for (const QString& path : ModuleCandidates()) {
      if (!QFileInfo::exists(path)) continue;
      QLibrary module(path);
      if (auto make = reinterpret_cast<MakeWebViewFunction>(module.resolve(kMakeWebViewSymbol))) {
        return make;
      }
      errors += " " + module.errorString();
    }
    std::cerr << "Brindlecot: the web view module could not be loaded:"
              << (errors.isEmpty() ? std::string(" not installed") : errors.toStdString())
              << std::endl;
    return MakeWebViewFunction{};
  }();
  return maker;
}

}  // namespace

HTMLViewer::HTMLViewer(::Window& owner, std::string name) : RectControl(owner, std::move(name)) {
  WebViewEvents events;
  events.progress = [this](int percent) {
    Raise<ProgressHandler>("DocumentProgressChanged", UrlText(view_->Url()), percent);
  };
  events.titleChanged = [this](const QString& title) {
    if (IsPlaceholderTitle(title, view_->Url())) return;
    lastTitle_ = title.toStdString();
    Raise<TextHandler>("TitleChanged", lastTitle_);
  };
  events.loadEnded = [this](const WebLoadEnd& end) {
    if (end.noPage) {
      Raise<ViewerErrorHandler>("Error", end.errorCode, end.errorString.toStdString());
    } else {
      // An answer with an error status is still a page, shown as it came.
      DocumentLoaded(UrlText(end.url));
    }
  };
  if (const MakeWebViewFunction make = WebViewMaker()) {
    view_ = make(owner.Content(), std::move(events));
    AttachWidget(view_->Widget());
  } else {
    // Without the engine the window still opens; every load fails as "no page".
    AttachWidget(new QWidget(owner.Content()));
  }
}

HTMLViewer::~HTMLViewer() = default;

void HTMLViewer::DocumentLoaded(const std::string& url) {
  // A document without a title of its own: its title is the empty text.
  if (view_->DocumentTitle().isEmpty() && !lastTitle_.empty()) {
    lastTitle_.clear();
    Raise<TextHandler>("TitleChanged", lastTitle_);
  }
  Raise<TextHandler>("DocumentComplete", url);
}

void HTMLViewer::LoadURL(const std::string& url) {
  if (view_ == nullptr) {
    Raise<ViewerErrorHandler>("Error", kErrorNoEngine, "The web view is not installed.");
    return;
  }
  view_->Load(QUrl(QString::fromStdString(url), QUrl::TolerantMode));
}

bool HTMLViewer::Edit(WebEdit command) {
  if (view_ != nullptr) view_->Edit(command);
  return true;
}

bool HTMLViewer::EditCut() {
  return Edit(WebEdit::Cut);
}

bool HTMLViewer::EditCopy() {
  return Edit(WebEdit::Copy);
}

bool HTMLViewer::EditPaste() {
  return Edit(WebEdit::Paste);
}

bool HTMLViewer::EditClear() {
  return Edit(WebEdit::Delete);
}

bool HTMLViewer::EditSelectAll() {
  return Edit(WebEdit::SelectAll);
}

void HTMLViewer::Shutdown() {
  if (view_ != nullptr) view_->Stop();
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
