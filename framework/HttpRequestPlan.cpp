// The request planner: what an exchange sends for a URL, and where it connects.
#include <QHostAddress>
#include <algorithm>

#include "HttpExchange.h"
#include "ProxySetting.h"

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

bool isHexDigit(char c) {
  return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// An IPv6 address as it may stand between brackets: hex digits, colons and a dotted tail, no
// zone (a '%' would need escaping in the Host line).
bool isBracketedIpv6(const QByteArray& host) {
  const bool chars = std::all_of(host.begin(), host.end(),
                                 [](char c) { return isHexDigit(c) || c == ':' || c == '.'; });
  return chars && !host.isEmpty() &&
         QHostAddress(QString::fromLatin1(host)).protocol() == QAbstractSocket::IPv6Protocol;
}

}  // namespace

HttpExchange::Plan HttpExchange::PlanFor(const QByteArray& url) {
  // Read textually, not through QUrl: the path goes out as the caller wrote it ("#", "?", "%"
  // and UTF-8 bytes included), which is what the directory host's folder names need.
  if (url.left(7).toLower() != "http://") return {};
  const QByteArray rest = url.mid(7);
  qsizetype authorityEnd = rest.size();
  for (char mark : {'/', '?', '#'}) {
    const qsizetype at = rest.indexOf(mark);
    if (at >= 0) authorityEnd = std::min(authorityEnd, at);
  }
  // The authority goes into the Host line as it stands, so it may hold nothing but a host name
  // or a bracketed IPv6 address and a port: no byte of it can end or split a header line.
  const QByteArray authority = rest.left(authorityEnd);
  const bool printable = std::all_of(authority.begin(), authority.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte > 0x20 && byte < 0x7f;
  });
  if (!printable) return {};

  QByteArray host = authority;
  QByteArray portText;
  bool hasPort = false;
  if (authority.startsWith('[')) {
    const qsizetype close = authority.indexOf(']');
    if (close < 0) return {};
    host = authority.mid(1, close - 1);
    const QByteArray after = authority.mid(close + 1);
    if (!after.isEmpty() && !after.startsWith(':')) return {};
    hasPort = !after.isEmpty();
    portText = after.mid(1);
    if (!isBracketedIpv6(host)) return {};
  } else {
    const qsizetype colon = authority.indexOf(':');
    if (colon >= 0) {
      host = authority.left(colon);
      portText = authority.mid(colon + 1);
      hasPort = true;
    }
    if (!http_authority::IsHostName(host)) return {};
  }
  const int port = hasPort ? http_authority::PortNumber(portText) : 80;
  if (port == 0) return {};

  // Bytes that would end the request line or split it are the only ones escaped.
  QByteArray target = rest.mid(authorityEnd);
  if (!target.startsWith('/')) target.prepend('/');
  QByteArray line;
  line.reserve(target.size());
  for (char c : target) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7f) {
      line += '%' + QByteArray::number(byte, 16).rightJustified(2, '0').toUpper();
    } else {
      line += c;
    }
  }

  Plan plan;
  plan.connectHost = QString::fromLatin1(host);
  plan.connectPort = static_cast<quint16>(port);
  const ProxyRoute route = RouteFor(plan.connectHost, port);
  switch (route.kind) {
    case ProxyRoute::Kind::Unusable: {
      // Nothing goes out, not even a lookup of the host's name.
      Plan refused;
      refused.proxyUnusable = true;
      return refused;
    }
    case ProxyRoute::Kind::Http:
      // An HTTP/1.0 proxy takes the absolute URL in the request line.
      plan.connectHost = route.host;
      plan.connectPort = route.port;
      line = "http://" + authority + line;
      break;
    case ProxyRoute::Kind::Socks5:
      // The socket hands the host's name to the proxy, which looks it up.
      plan.socksHost = route.host;
      plan.socksPort = route.port;
      break;
    case ProxyRoute::Kind::Direct:
      break;
  }
  plan.request = "GET " + line + " HTTP/1.0\r\nHost: " + authority +
                 "\r\nAccept: */*\r\nAccept-Language: en\r\n\r\n";
  return plan;
}
