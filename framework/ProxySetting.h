// The one reading of the proxy setting, shared by the HTTP client and the web views' guard. A
// setting that names no HTTP proxy we can use must stop a request, never send it direct: a user
// who set a proxy for privacy would otherwise leak every address they visit. Header only: the
// client is linked into the program, the web views live in a module loaded later, and both must
// come to the same answer.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QHostAddress>
#include <QString>
#include <QVariant>
#include <algorithm>
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

}  // namespace http_authority

struct ProxyRoute {
  enum class Kind {
    System,    // neither variable is set: Qt's system configuration decides
    Direct,    // straight to the destination
    Http,      // through the HTTP proxy at host:port
    Unusable,  // the setting names a proxy we cannot use: nothing may be sent
  };
  Kind kind = Kind::Direct;
  QString host;
  quint16 port = 0;
};

namespace proxy_setting {

// As Qt's own proxy lookup: localhost and loopback addresses never go through a proxy.
inline bool IsLoopback(const QString& host) {
  if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 ||
      host.startsWith(QLatin1String("localhost."), Qt::CaseInsensitive)) {
    return true;
  }
  const QHostAddress address(host);
  return !address.isNull() && address.isLoopback();
}

// no_proxy much as libproxy read it for the program so far: comma-separated entries, each an
// exact host, a suffix (".example.com", "*example.com"; "*" alone, every host), either with
// ":port", or an address or subnet ("10.0.0.0/8"). Names compare without regard to case.
inline bool Bypassed(const QString& host, int port) {
  const QHostAddress address(host);
  for (const QByteArray& raw : qgetenv("no_proxy").split(',')) {
    QByteArray entry = raw.trimmed();
    if (entry.isEmpty()) continue;
    if (entry.contains('/')) {
      const auto subnet = QHostAddress::parseSubnet(QString::fromLatin1(entry));
      if (!subnet.first.isNull() && !address.isNull() && address.isInSubnet(subnet)) return true;
      continue;
    }
    if (const QHostAddress literal(QString::fromLatin1(entry)); !literal.isNull()) {
      if (literal.isEqual(address)) return true;
      continue;
    }
    const qsizetype colon = entry.indexOf(':');
    if (colon >= 0) {
      bool ok = false;
      if (entry.mid(colon + 1).toInt(&ok) != port || !ok) continue;
      entry.truncate(colon);
    }
    const QString pattern = QString::fromLatin1(entry);
    if (pattern.startsWith('*')) {
      if (host.endsWith(pattern.mid(1), Qt::CaseInsensitive)) return true;
    } else if (pattern.startsWith('.')) {
      if (host.endsWith(pattern, Qt::CaseInsensitive)) return true;
    } else if (host.compare(pattern, Qt::CaseInsensitive) == 0) {
      return true;
    }
  }
  return false;
}

// An HTTP proxy as curl reads one: "http://" or no scheme, then host and port, perhaps a user
// (whose password we never send) and a closing "/". Every other scheme, an address that does
// not parse and a port outside 1-65535 are refused. So is a setting without a port: Qt gives
// such a proxy port 0, on which nothing can be reached, and we keep that rather than guess one.
inline std::optional<ProxyRoute> ParseHttpProxy(QByteArray value) {
  const qsizetype schemeEnd = value.indexOf("://");
  if (schemeEnd >= 0) {
    if (value.left(schemeEnd).toLower() != "http") return std::nullopt;
    value = value.mid(schemeEnd + 3);
  }
  if (value.endsWith('/')) value.chop(1);
  if (const qsizetype at = value.lastIndexOf('@'); at >= 0) value = value.mid(at + 1);
  QByteArray host;
  QByteArray port;
  if (value.startsWith('[')) {
    const qsizetype close = value.indexOf(']');
    if (close < 0 || value.mid(close + 1, 1) != ":") return std::nullopt;
    host = value.mid(1, close - 1);
    port = value.mid(close + 2);
    if (QHostAddress(QString::fromLatin1(host)).protocol() != QAbstractSocket::IPv6Protocol) {
      return std::nullopt;
    }
  } else {
    const qsizetype colon = value.indexOf(':');
    if (colon < 0) return std::nullopt;
    host = value.left(colon);
    port = value.mid(colon + 1);
    if (!http_authority::IsHostName(host)) return std::nullopt;
  }
  const int number = http_authority::PortNumber(port);
  if (number == 0) return std::nullopt;
  return ProxyRoute{ProxyRoute::Kind::Http, QString::fromLatin1(host),
                    static_cast<quint16>(number)};
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
  static QByteArray written;
  constexpr const char* kWritten = "brindlecotUnusableProxyNoted";
  if (QCoreApplication* app = QCoreApplication::instance()) {
    if (app->property(kWritten).toByteArray() == line) return;
    app->setProperty(kWritten, line);
  } else {
    if (written == line) return;
    written = line;
  }
  qWarning(
      "Brindlecot: not using %s=\"%s\": it names no HTTP proxy (http://host:port) that "
      "the program can use; its requests fail instead",
      name, shown.toPercentEncoding("!$&'()*+,;=:/?#[]@~<>").constData());
}

}  // namespace proxy_setting

// How a request to `host` (an IPv6 address without brackets) and `port` goes out. The setting is
// http_proxy, else HTTP_PROXY (empty: no proxy), read afresh for each request; when neither is
// set, the answer is Qt's system configuration, which the caller asks itself.
inline ProxyRoute RouteFor(const QString& host, int port) {
  if (proxy_setting::IsLoopback(host)) return {};
  const char* name = qEnvironmentVariableIsSet("http_proxy")   ? "http_proxy"
                     : qEnvironmentVariableIsSet("HTTP_PROXY") ? "HTTP_PROXY"
                                                               : nullptr;
  if (name == nullptr) return {ProxyRoute::Kind::System, {}, 0};
  const QByteArray value = qgetenv(name).trimmed();
  if (value.isEmpty() || proxy_setting::Bypassed(host, port)) return {};
  if (auto proxy = proxy_setting::ParseHttpProxy(value)) return *proxy;
  proxy_setting::WarnUnusable(name, value);
  return {ProxyRoute::Kind::Unusable, {}, 0};
}
