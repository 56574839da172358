// The one reading of the proxy setting. The HTTP client asks it for every request, and the web
// view module hands the same reading to the engine before the engine starts, so that the engine
// never reads the environment itself: two readers that must agree are two readers that don't.
// A setting that names no proxy we can use stops a request, never sends it direct: a user who
// set a proxy for privacy would otherwise leak every address they visit. Header only: the
// client is linked into the program, the web views live in a module loaded later, and both
// must come to the same answer.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QHostAddress>
#include <QList>
#include <QNetworkProxy>
#include <QNetworkProxyFactory>
#include <QNetworkProxyQuery>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <algorithm>
#include <initializer_list>
#include <optional>

// Pieces of an authority, read alike for a request's URL and for a proxy setting.
namespace http_authority {

// A host name as it may stand in a Host line: letters, digits, '-', '.' and '_', at least one.
inline bool IsHostName(const QByteArray& text) {
  return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' ||
           c == '.' || c == '_';
  });
}

// The port that `text` names, 1 to 65535 in at most five digits; 0 for anything else.
inline int PortNumber(const QByteArray& text) {
  const bool digits =
      !text.isEmpty() && text.size() <= 5 &&
      std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  const int number = digits ? text.toInt() : 0;
  return number <= 65535 ? number : 0;
}

// An IPv6 address as it may stand between brackets: no zone, which would need escaping in a
// Host line and which no proxy setting can carry to the engine.
inline bool IsIpv6Literal(const QByteArray& text) {
  return text.contains(':') && !text.contains('%') &&
         QHostAddress(QString::fromLatin1(text)).protocol() == QAbstractSocket::IPv6Protocol;
}

// "host", "host:port", "[v6]" or "[v6]:port", taken apart; nothing for an unclosed bracket,
// anything but a colon after it, or brackets round anything but an IPv6 address. The host is
// not checked otherwise, nor the port's text.
struct Authority {
  QByteArray host;
  QByteArray port;
  bool hasPort = false;
  bool bracketed = false;
};

inline std::optional<Authority> Split(const QByteArray& text) {
  Authority parts;
  if (text.startsWith('[')) {
    const qsizetype close = text.indexOf(']');
    if (close < 0) return std::nullopt;
    parts.host = text.mid(1, close - 1);
    const QByteArray after = text.mid(close + 1);
    if ((!after.isEmpty() && !after.startsWith(':')) || !IsIpv6Literal(parts.host)) {
      return std::nullopt;
    }
    parts.bracketed = true;
    parts.hasPort = !after.isEmpty();
    parts.port = after.mid(1);
    return parts;
  }
  const qsizetype colon = text.indexOf(':');
  parts.hasPort = colon >= 0;
  parts.host = parts.hasPort ? text.left(colon) : text;
  if (parts.hasPort) parts.port = text.mid(colon + 1);
  return parts;
}

}  // namespace http_authority

struct ProxyRoute {
  enum class Kind {
    Direct,    // straight to the destination
    Http,      // through the HTTP proxy at host:port, the absolute URL in the request line
    Socks5,    // through the SOCKS5 proxy at host:port, which also looks the name up
    Unusable,  // the setting names a proxy we cannot use: nothing may be sent
  };
  Kind kind = Kind::Direct;
  QString host;
  quint16 port = 0;
  bool operator==(const ProxyRoute&) const = default;
};

namespace proxy_setting {

// A name whose last label is a number reads as an IPv4 address to a browser ("127.1",
// "10.0.0.300" among them), and each reader makes something else of the odd ones. We take only
// the plain dotted form, four numbers 0-255 without leading zeros, and refuse the rest.
inline bool LooksNumeric(const QByteArray& name) {
  QByteArray last = name.endsWith('.') ? name.chopped(1) : name;
  last = last.mid(last.lastIndexOf('.') + 1);
  const bool hex = last.size() > 2 && last.at(0) == '0' && (last.at(1) | 0x20) == 'x';
  return !last.isEmpty() && (hex || std::all_of(last.begin(), last.end(),
                                                [](char c) { return c >= '0' && c <= '9'; }));
}

inline bool IsDottedQuad(const QByteArray& text) {
  const QList<QByteArray> parts = text.split('.');
  return parts.size() == 4 && std::all_of(parts.begin(), parts.end(), [](const QByteArray& part) {
           return part.size() >= 1 && part.size() <= 3 && (part.size() == 1 || part.at(0) != '0') &&
                  std::all_of(part.begin(), part.end(),
                              [](char c) { return c >= '0' && c <= '9'; }) &&
                  part.toInt() <= 255;
         });
}

using http_authority::IsIpv6Literal;

// A proxy's host out of brackets: a dotted-quad address or a name that does not look like an
// address.
inline bool IsUsableHost(const QByteArray& host) {
  return http_authority::IsHostName(host) && (!LooksNumeric(host) || IsDottedQuad(host));
}

// As the engine's own rule, less link-local addresses: localhost and the names under it, and
// loopback addresses, never go through a proxy.
inline bool IsLoopback(const QString& host) {
  if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 ||
      host.endsWith(QLatin1String(".localhost"), Qt::CaseInsensitive)) {
    return true;
  }
  const QHostAddress address(host);
  return !address.isNull() && address.isLoopback();
}

// One entry of no_proxy, read as curl reads it, with the suffix and subnet forms it has always
// had here.
struct Exemption {
  enum class Kind {
    Domain,   // "example.com" or ".example.com": that name and every name under it
    Suffix,   // "*example.com": every name ending so
    Address,  // "10.1.2.3", "[::1]", "::1": that address
    Subnet,   // "10.0.0.0/8": every address in it
  };
  Kind kind = Kind::Domain;
  QString name;  // lower case; Domain: without a leading '.', Suffix: without the '*'
  QHostAddress address;
  int prefix = -1;  // Subnet
  int port = 0;     // 0: any port
};

// The entries we can read; an entry we cannot read is left out here and so by the engine too.
inline std::optional<Exemption> ParseExemption(QByteArray entry) {
  Exemption exemption;
  if (const qsizetype slash = entry.indexOf('/'); slash >= 0) {
    const QByteArray address = entry.left(slash);
    const QByteArray bits = entry.mid(slash + 1);
    const bool digits =
        !bits.isEmpty() && bits.size() <= 3 &&
        std::all_of(bits.begin(), bits.end(), [](char c) { return c >= '0' && c <= '9'; });
    const bool ipv6 = IsIpv6Literal(address);
    if (!digits || !(ipv6 || IsDottedQuad(address)) || bits.toInt() > (ipv6 ? 128 : 32)) {
      return std::nullopt;
    }
    const auto subnet = QHostAddress::parseSubnet(QString::fromLatin1(entry));
    if (subnet.first.isNull()) return std::nullopt;
    exemption.kind = Exemption::Kind::Subnet;
    exemption.address = subnet.first;
    exemption.prefix = subnet.second;
    return exemption;
  }
  if (IsIpv6Literal(entry)) {
    exemption.kind = Exemption::Kind::Address;
    exemption.address = QHostAddress(QString::fromLatin1(entry));
    return exemption;
  }
  const auto parts = http_authority::Split(entry);
  if (!parts) return std::nullopt;
  if (parts->hasPort && (exemption.port = http_authority::PortNumber(parts->port)) == 0) {
    return std::nullopt;
  }
  QByteArray host = parts->host;
  if (parts->bracketed || IsDottedQuad(host)) {
    exemption.kind = Exemption::Kind::Address;
    exemption.address = QHostAddress(QString::fromLatin1(host));
    return exemption;
  }
  if (host.startsWith('*')) {
    exemption.kind = Exemption::Kind::Suffix;
    host = host.mid(1);
  } else if (host.startsWith('.')) {
    host = host.mid(1);
  }
  // A name that looks like an address but is none is read differently by every reader.
  if (!http_authority::IsHostName(host) || LooksNumeric(host)) return std::nullopt;
  exemption.name = QString::fromLatin1(host).toLower();
  return exemption;
}

inline bool Exempts(const Exemption& exemption, const QString& host, int port) {
  if (exemption.port != 0 && exemption.port != port) return false;
  const QHostAddress address(host);
  switch (exemption.kind) {
    case Exemption::Kind::Address:
      return !address.isNull() && address.isEqual(exemption.address);
    case Exemption::Kind::Subnet:
      return !address.isNull() && address.isInSubnet(exemption.address, exemption.prefix);
    case Exemption::Kind::Domain:
      return !host.contains(':') &&
             (host.compare(exemption.name, Qt::CaseInsensitive) == 0 ||
              host.endsWith(QLatin1Char('.') + exemption.name, Qt::CaseInsensitive));
    case Exemption::Kind::Suffix:
      return !host.contains(':') && host.endsWith(exemption.name, Qt::CaseInsensitive);
  }
  return false;
}

// One scheme's proxy: the variable that names it, its value, and the route it names.
struct Proxy {
  const char* name = nullptr;  // nullptr: no variable names one
  QByteArray value;            // for the one line that refuses it
  ProxyRoute route;            // Direct: no proxy
};

// The whole setting at one moment. http:// (and ws://) take http_proxy, else HTTP_PROXY, else
// all_proxy, else ALL_PROXY; https:// (and wss://) take https_proxy, else HTTPS_PROXY, else the
// same. A variable set but empty names no proxy. The exemptions are no_proxy, else NO_PROXY.
// When none of the proxy variables is set, Qt's system configuration decides.
struct Setting {
  bool system = false;
  Proxy http;
  Proxy https;
  bool exemptAll = false;  // no_proxy is "*"
  QList<Exemption> exemptions;
  const Proxy& For(bool secure) const { return secure ? https : http; }
};

// A proxy as curl reads one: "http://", "socks5://", "socks5h://" or no scheme (HTTP), then
// host and port, perhaps a user (whose password we never send) and a closing "/". Every other
// scheme, a host that is no address or name, and a port missing or outside 1-65535 are
// refused: Qt would make a missing port 0, on which nothing can be reached, and we keep that
// rather than guess one.
inline std::optional<ProxyRoute> ParseProxy(QByteArray value) {
  ProxyRoute::Kind kind = ProxyRoute::Kind::Http;
  if (const qsizetype schemeEnd = value.indexOf("://"); schemeEnd >= 0) {
    const QByteArray scheme = value.left(schemeEnd).toLower();
    if (scheme == "socks5" || scheme == "socks5h") {
      kind = ProxyRoute::Kind::Socks5;
    } else if (scheme != "http") {
      return std::nullopt;
    }
    value = value.mid(schemeEnd + 3);
  }
  if (value.endsWith('/')) value.chop(1);
  if (const qsizetype at = value.lastIndexOf('@'); at >= 0) value = value.mid(at + 1);
  const auto parts = http_authority::Split(value);
  if (!parts || !parts->hasPort || (!parts->bracketed && !IsUsableHost(parts->host))) {
    return std::nullopt;
  }
  const int number = http_authority::PortNumber(parts->port);
  if (number == 0) return std::nullopt;
  return ProxyRoute{kind, QString::fromLatin1(parts->host), static_cast<quint16>(number)};
}

inline Proxy ReadProxy(std::initializer_list<const char*> names) {
  Proxy proxy;
  for (const char* name : names) {
    if (qEnvironmentVariableIsSet(name)) {
      proxy.name = name;
      break;
    }
  }
  if (proxy.name == nullptr) return proxy;
  proxy.value = qgetenv(proxy.name).trimmed();
  if (!proxy.value.isEmpty()) {
    proxy.route = ParseProxy(proxy.value).value_or(ProxyRoute{ProxyRoute::Kind::Unusable, {}, 0});
  }
  return proxy;
}

inline Setting Read() {
  Setting setting;
  setting.http = ReadProxy({"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"});
  setting.https = ReadProxy({"https_proxy", "HTTPS_PROXY"});
  if (setting.https.name == nullptr) setting.https = setting.http;
  if (setting.http.name == nullptr && setting.https.name == nullptr) {
    setting.system = true;
    return setting;
  }
  const QByteArray exemptions =
      qEnvironmentVariableIsSet("no_proxy") ? qgetenv("no_proxy") : qgetenv("NO_PROXY");
  for (const QByteArray& raw : exemptions.split(',')) {
    const QByteArray entry = raw.trimmed();
    if (entry == "*") setting.exemptAll = true;
    if (auto exemption = ParseExemption(entry)) setting.exemptions << *exemption;
  }
  return setting;
}

// One line per run, however many requests meet the setting. The program and its web view
// module each hold a copy of this code; the note that the line was written lives on the
// application object, which they share.
inline void WarnUnusable(const char* name, const QByteArray& value) {
  QByteArray shown = value;
  // A password stays out of the log.
  if (const qsizetype at = shown.lastIndexOf('@'); at >= 0) {
    const qsizetype scheme = shown.indexOf("://");
    const qsizetype from = scheme >= 0 && scheme < at ? scheme + 3 : 0;
    shown.replace(from, at - from, "...");
  }
  const QByteArray line = QByteArray(name) + "=" + shown;
  static QByteArrayList written;
  constexpr const char* kWritten = "brindlecotUnusableProxyNoted";
  QCoreApplication* app = QCoreApplication::instance();
  QByteArrayList noted = app != nullptr ? app->property(kWritten).value<QByteArrayList>() : written;
  if (noted.contains(line)) return;
  noted << line;
  if (app != nullptr) {
    app->setProperty(kWritten, QVariant::fromValue(noted));
  } else {
    written = noted;
  }
  qWarning(
      "Brindlecot: not using %s=\"%s\": it names no HTTP or SOCKS5 proxy (http://host:port, "
      "socks5://host:port) that the program can use; its requests fail instead",
      name, shown.toPercentEncoding("!$&'()*+,;=:/?#[]@~<>").constData());
}

// What Qt's system configuration names for one URL.
inline ProxyRoute SystemRoute(bool secure, const QString& host, int port) {
  QUrl where;
  where.setScheme(secure ? "https" : "http");
  where.setHost(host);
  where.setPort(port);
  const QList<QNetworkProxy> proxies =
      QNetworkProxyFactory::proxyForQuery(QNetworkProxyQuery(where));
  const QNetworkProxy proxy =
      proxies.isEmpty() ? QNetworkProxy(QNetworkProxy::NoProxy) : proxies.first();
  switch (proxy.type()) {
    case QNetworkProxy::NoProxy:
    case QNetworkProxy::DefaultProxy:
      return {};
    case QNetworkProxy::HttpProxy:
    case QNetworkProxy::HttpCachingProxy:
      return {ProxyRoute::Kind::Http, proxy.hostName(), proxy.port()};
    case QNetworkProxy::Socks5Proxy:
      return {ProxyRoute::Kind::Socks5, proxy.hostName(), proxy.port()};
    default:
      return {ProxyRoute::Kind::Unusable, {}, 0};
  }
}

// How a request to `host` (an IPv6 address without brackets) and `port` goes out under
// `setting`: `secure` for https:// and wss://.
inline ProxyRoute RouteFor(const Setting& setting, bool secure, const QString& host, int port) {
  if (IsLoopback(host)) return {};
  if (setting.system) return SystemRoute(secure, host, port);
  const Proxy& proxy = setting.For(secure);
  if (proxy.route.kind == ProxyRoute::Kind::Direct || setting.exemptAll) return {};
  for (const Exemption& exemption : setting.exemptions) {
    if (Exempts(exemption, host, port)) return {};
  }
  if (proxy.route.kind == ProxyRoute::Kind::Unusable && proxy.name != nullptr) {
    WarnUnusable(proxy.name, proxy.value);
  }
  return proxy.route;
}

// The engine's switches for `setting`, which it reads in place of the environment. A setting
// left to the system's configuration is fixed first (EngineSetting). Names and addresses are
// exactly those the setting can hold, so none of them can split a switch or a rule.
inline QStringList EngineSwitches(const Setting& setting) {
  const ProxyRoute& http = setting.http.route;
  const ProxyRoute& https = setting.https.route;
  if (setting.exemptAll ||
      (http.kind == ProxyRoute::Kind::Direct && https.kind == ProxyRoute::Kind::Direct)) {
    return {"--no-proxy-server"};
  }
  const auto authority = [](const QString& host, int port) {
    const QString shown = host.contains(':') ? '[' + host + ']' : host;
    return port == 0 ? shown : shown + ':' + QString::number(port);
  };
  const auto server = [&authority](const ProxyRoute& route) -> QString {
    switch (route.kind) {
      case ProxyRoute::Kind::Direct:
        return "direct://";
      case ProxyRoute::Kind::Http:
        return "http://" + authority(route.host, route.port);
      case ProxyRoute::Kind::Socks5:
        return "socks5://" + authority(route.host, route.port);
      case ProxyRoute::Kind::Unusable:
        break;
    }
    // Nothing listens on port 0: every request the engine sends through it fails.
    return "http://127.0.0.1:0";
  };
  // One rule for every scheme where both agree. The engine sends ws:// and wss:// alike by its
  // socks= rule, else https=, else http=: given no socks=, ws:// takes the https route, which
  // the web views' guard refuses where it is not the http route.
  const QString servers =
      http == https ? server(http) : "http=" + server(http) + ";https=" + server(https);
  // The engine's own loopback rule also spares link-local addresses; ours does not.
  QStringList bypass{"<-loopback>", "localhost", "*.localhost", "127.0.0.0/8", "[::1]"};
  for (const Exemption& exemption : setting.exemptions) {
    switch (exemption.kind) {
      case Exemption::Kind::Domain:
        bypass << authority(exemption.name, exemption.port)
               << authority("*." + exemption.name, exemption.port);
        break;
      case Exemption::Kind::Suffix:
        bypass << authority('*' + exemption.name, exemption.port);
        break;
      case Exemption::Kind::Address:
        bypass << authority(exemption.address.toString(), exemption.port);
        break;
      case Exemption::Kind::Subnet:
        bypass << exemption.address.toString() + '/' + QString::number(exemption.prefix);
        break;
    }
  }
  return {"--proxy-server=" + servers, "--proxy-bypass-list=" + bypass.join(';')};
}

// The setting the engine is started with: the environment's, or, where the system's
// configuration decides, the proxy it names for a host no exemption lists, for every host.
// Hosts it exempts then meet a different route in the engine than in the program, and the
// web views refuse them rather than send them a way the user did not choose.
inline Setting EngineSetting() {
  Setting setting = Read();
  if (setting.system) {
    setting.system = false;
    setting.http.route = SystemRoute(false, QStringLiteral("brindlecot.invalid"), 80);
    setting.https.route = SystemRoute(true, QStringLiteral("brindlecot.invalid"), 443);
  }
  return setting;
}

}  // namespace proxy_setting

// How a request to `host` (an IPv6 address without brackets) and `port` goes out, by the
// setting as it stands now: `secure` for https:// and wss://.
inline ProxyRoute RouteFor(bool secure, const QString& host, int port) {
  return proxy_setting::RouteFor(proxy_setting::Read(), secure, host, port);
}
