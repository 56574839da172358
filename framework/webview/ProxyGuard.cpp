// The web views' side of the proxy rule. The engine is started with the program's own reading
// of the setting, as switches that stand in for its reading of the environment; the guard
// stops whatever request would still go another way, before the engine resolves or connects
// anything: a setting we cannot use, or one that changed after the engine started.
#include "ProxyGuard.h"

#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>

#include "ProxySetting.h"

namespace {

constexpr const char* kGuardName = "brindlecotProxyGuard";
constexpr const char* kEngineFlags = "QTWEBENGINE_CHROMIUM_FLAGS";

const proxy_setting::Setting& EngineProxySetting() {
  static const proxy_setting::Setting setting = proxy_setting::EngineSetting();
  return setting;
}

// The engine splits its flags at blanks, and a stretch between double quotes is one argument.
QStringList SplitFlags(const QString& flags) {
  QStringList arguments;
  QString argument;
  bool quoted = false;
  bool any = false;
  for (const QChar c : flags) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if (c == ' ' && !quoted) {
      if (any) arguments << argument;
      argument.clear();
      any = false;
    } else {
      argument += c;
      any = true;
    }
  }
  if (any) arguments << argument;
  return arguments;
}

// A proxy switch of the user's own would take precedence over ours (a PAC script, say).
bool IsProxySwitch(QString argument) {
  if (!argument.startsWith('-')) return false;
  while (argument.startsWith('-')) argument.remove(0, 1);
  const QString name = argument.section('=', 0, 0);
  return name == "proxy-server" || name == "proxy-bypass-list" || name == "no-proxy-server" ||
         name == "proxy-pac-url" || name == "proxy-auto-detect";
}

class ProxyGuard final : public QWebEngineUrlRequestInterceptor {
 public:
  explicit ProxyGuard(QObject* parent) : QWebEngineUrlRequestInterceptor(parent) {
    setObjectName(kGuardName);
  }

  void interceptRequest(QWebEngineUrlRequestInfo& info) override {
    const QUrl& url = info.requestUrl();
    const QString scheme = url.scheme();
    int port = 0;
    if (scheme == QLatin1String("http") || scheme == QLatin1String("ws")) {
      port = url.port(80);
    } else if (scheme == QLatin1String("https") || scheme == QLatin1String("wss")) {
      port = url.port(443);
    } else {
      return;  // nothing that reaches the network
    }
    const ProxyRoute engine = proxy_setting::RouteFor(EngineProxySetting(), url.host(), port);
    if (engine.kind == ProxyRoute::Kind::Unusable || engine != RouteFor(url.host(), port)) {
      info.block(true);
    }
  }
};

}  // namespace

void GiveEngineTheProxySetting() {
  static const bool given = [] {
    QStringList flags;
    for (const QString& argument : SplitFlags(qEnvironmentVariable(kEngineFlags))) {
      if (!IsProxySwitch(argument)) flags << argument;
    }
    flags << proxy_setting::EngineSwitches(EngineProxySetting());
    for (QString& flag : flags) {
      if (flag.contains(' ')) flag = '"' + flag + '"';
    }
    // Set even when it was not: the engine then also leaves the program's arguments alone.
    qputenv(kEngineFlags, flags.join(' ').toLocal8Bit());
    return true;
  }();
  (void)given;
}

void GuardProxySetting(QWebEngineProfile* profile) {
  if (profile->findChild<QObject*>(kGuardName, Qt::FindDirectChildrenOnly) != nullptr) return;
  profile->setUrlRequestInterceptor(new ProxyGuard(profile));
}
