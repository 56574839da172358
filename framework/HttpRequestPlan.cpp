// The request planner: what an exchange sends for a URL, and where it connects.
#include <QHostAddress>
#include <algorithm>

#include "HttpExchange.h"
#include "ProxySetting.h"

namespace {

// The SOCKS5 CONNECT request (RFC 1928) for host and port; empty for a name longer than the
// protocol can carry.
QByteArray Socks5Connect(const QByteArray& host, bool ipv6, int port) {
  QByteArray request("\x05\x01\x00", 3);
  if (ipv6) {
    const Q_IPV6ADDR address = QHostAddress(QString::fromLatin1(host)).toIPv6Address();
    request += '\x04';
    request.append(reinterpret_cast<const char*>(address.c), 16);
  } else if (proxy_setting::IsDottedQuad(host)) {
    const quint32 address = QHostAddress(QString::fromLatin1(host)).toIPv4Address();
    request += '\x01';
    for (int shift : {24, 16, 8, 0}) request += static_cast<char>((address >> shift) & 0xff);
  } else {
    if (host.size() > 255) return {};
    request += '\x03';
    request += static_cast<char>(host.size());
    request += host;
  }
  request += static_cast<char>((port >> 8) & 0xff);
  request += static_cast<char>(port & 0xff);
  return request;
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

  const auto parts = http_authority::Split(authority);
  if (!parts || (!parts->bracketed && !http_authority::IsHostName(parts->host))) return {};
  const int port = parts->hasPort ? http_authority::PortNumber(parts->port) : 80;
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
  plan.connectHost = QString::fromLatin1(parts->host);
  plan.connectPort = static_cast<quint16>(port);
  const ProxyRoute route = RouteFor(false, plan.connectHost, port);
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
      // The proxy is handed the host's name, and looks it up; an address goes as an address.
      plan.socksHost = route.host;
      plan.socksPort = route.port;
      plan.socksConnect = Socks5Connect(parts->host, parts->bracketed, port);
      if (plan.socksConnect.isEmpty()) return {};
      break;
    case ProxyRoute::Kind::Direct:
      break;
  }
  plan.request = "GET " + line + " HTTP/1.0\r\nHost: " + authority +
                 "\r\nAccept: */*\r\nAccept-Language: en\r\n\r\n";
  return plan;
}
