// The web views' side of the proxy rule. The engine reads http_proxy itself and, where it
// cannot parse it ("http://[::1", a port past 65535), goes direct: the guard stops each request
// the setting should have carried before the engine resolves or connects anything.
#include "ProxyGuard.h"

#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>

#include "ProxySetting.h"

namespace {

constexpr const char* kGuardName = "brindlecotProxyGuard";

class ProxyGuard final : public QWebEngineUrlRequestInterceptor {
 public:
  explicit ProxyGuard(QObject* parent) : QWebEngineUrlRequestInterceptor(parent) {
    setObjectName(kGuardName);
  }

  void interceptRequest(QWebEngineUrlRequestInfo& info) override {
    // http_proxy governs plain HTTP and its WebSockets; other schemes never use it.
    const QUrl& url = info.requestUrl();
    const QString scheme = url.scheme();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("ws")) return;
    if (RouteFor(url.host(), url.port(80)).kind == ProxyRoute::Kind::Unusable) info.block(true);
  }
};

}  // namespace

void GuardProxySetting(QWebEngineProfile* profile) {
  if (profile->findChild<QObject*>(kGuardName, Qt::FindDirectChildrenOnly) != nullptr) return;
  profile->setUrlRequestInterceptor(new ProxyGuard(profile));
}
