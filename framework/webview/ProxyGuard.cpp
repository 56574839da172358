// The web views' side of the proxy rule. The engine is started with the program's own reading
// of the setting, as switches that stand in for its reading of the environment; the guard
// stops whatever request would still go another way, before the engine resolves or connects
// anything: a setting we cannot use, or one that changed after the engine started.
#include "ProxyGuard.h"

#include <QCoreApplication>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <optional>

#include "ProxySetting.h"

namespace {

constexpr const char* kGuardName = "brindlecotProxyGuard";
constexpr const char* kEngineFlags = "QTWEBENGINE_CHROMIUM_FLAGS";

// The engine's flags are split at blanks; a stretch between double quotes belongs to one
// argument, and the quotes themselves to none. No argument is empty.
QStringList SplitFlags(const QString& flags) {
  QStringList arguments;
  QString argument;
  bool quoted = false;
  for (const QChar c : flags) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ' ' && !quoted) {
      if (!argument.isEmpty()) arguments << argument;
      argument.clear();
    } else {
      argument += c;
    }
  }
  if (!argument.isEmpty()) arguments << argument;
  return arguments;
}

// The name of an engine switch that decides the route itself, or nothing.
QString ProxySwitch(QString argument) {
  if (!argument.startsWith('-')) return {};
  const QString written = argument.section('=', 0, 0);
  while (argument.startsWith('-')) argument.remove(0, 1);
  const QString name = argument.section('=', 0, 0);
  const bool proxy = name == "proxy-server" || name == "proxy-bypass-list" ||
                     name == "no-proxy-server" || name == "proxy-pac-url" ||
                     name == "proxy-auto-detect";
  return proxy ? written : QString();
}

// How the engine is started, fixed once, just before it starts.
struct EngineStart {
  std::optional<QByteArray> userFlags;  // the variable as the user set it
  proxy_setting::Setting setting;       // the route the engine takes
  QByteArray flags;                     // the variable the engine reads
};

const EngineStart& Start() {
  static const EngineStart start = [] {
    EngineStart made;
    if (qEnvironmentVariableIsSet(kEngineFlags)) made.userFlags = qgetenv(kEngineFlags);
    // The user's own engine arguments, taken as the engine would take them: the variable,
    // else the program's arguments after --webEngineArgs, which the engine drops once the
    // variable is set.
    QStringList user;
    const char* from = kEngineFlags;
    if (made.userFlags) {
      user = SplitFlags(QString::fromLocal8Bit(*made.userFlags));
    } else {
      const QStringList arguments = QCoreApplication::arguments();
      const qsizetype at = arguments.indexOf("--webEngineArgs");
      if (at >= 0) user = arguments.mid(at + 1);
      from = "--webEngineArgs";
    }
    made.setting = proxy_setting::EngineSetting();
    QStringList flags;
    QStringList refused;
    for (const QString& argument : user) {
      if (const QString name = ProxySwitch(argument); !name.isEmpty()) {
        refused << name;
      } else if (argument.contains('"')) {
        // The variable has no way to carry a double quote.
        qWarning("Brindlecot: the web engine argument %s is left out: it holds a double quote",
                 qPrintable(argument.section('=', 0, 0)));
      } else {
        flags << (argument.contains(' ') ? '"' + argument + '"' : argument);
      }
    }
    if (!refused.isEmpty()) {
      // A route of the engine's own would be one the program does not take: every request
      // that would leave this machine fails instead, until the switch is gone.
      qWarning(
          "Brindlecot: not using the web engine's proxy switch %s (from %s): set http_proxy, "
          "https_proxy, all_proxy or no_proxy instead; the web views' requests fail until then",
          qPrintable(refused.join(", ")), from);
      const ProxyRoute closed{ProxyRoute::Kind::Unusable, {}, 0};
      made.setting.http = {nullptr, {}, closed};
      made.setting.https = {nullptr, {}, closed};
      made.setting.exemptAll = false;
      made.setting.exemptions.clear();
    }
    flags << proxy_setting::EngineSwitches(made.setting);
    made.flags = flags.join(' ').toLocal8Bit();
    return made;
  }();
  return start;
}

class ProxyGuard final : public QWebEngineUrlRequestInterceptor {
 public:
  explicit ProxyGuard(QObject* parent) : QWebEngineUrlRequestInterceptor(parent) {
    setObjectName(kGuardName);
  }

  void interceptRequest(QWebEngineUrlRequestInfo& info) override {
    const QUrl& url = info.requestUrl();
    const QString scheme = url.scheme();
    bool secure = false;
    int port = 0;
    if (scheme == QLatin1String("http") || scheme == QLatin1String("ws")) {
      port = url.port(80);
    } else if (scheme == QLatin1String("https") || scheme == QLatin1String("wss")) {
      secure = true;
      port = url.port(443);
    } else {
      return;  // nothing that reaches the network
    }
    // The engine sends ws:// by its https rule, the program by its http rule: where the two
    // differ, the socket cannot go the program's way and goes nowhere.
    const bool engineSecure = secure || scheme == QLatin1String("ws");
    const ProxyRoute engine =
        proxy_setting::RouteFor(Start().setting, engineSecure, url.host(), port);
    if (engine.kind == ProxyRoute::Kind::Unusable || engine != RouteFor(secure, url.host(), port)) {
      info.block(true);
    }
  }
};

}  // namespace

void GiveEngineTheProxySetting() {
  // Set even when the user had not: the engine then also leaves the program's arguments alone.
  qputenv(kEngineFlags, Start().flags);
}

void GiveBackTheEngineFlags() {
  const EngineStart& start = Start();
  if (start.userFlags) {
    qputenv(kEngineFlags, *start.userFlags);
  } else {
    qunsetenv(kEngineFlags);
  }
}

void GuardProxySetting(QWebEngineProfile* profile) {
  if (profile->findChild<QObject*>(kGuardName, Qt::FindDirectChildrenOnly) != nullptr) return;
  profile->setUrlRequestInterceptor(new ProxyGuard(profile));
}
