// The request planner: whatever the URL, a planned request is one request line and the three
// headers, nothing injected; an authority with a control byte, a blank or a stray bracket is
// refused.
#include <QCoreApplication>
#include <QHostAddress>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "HttpExchange.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // Hosts other than loopback go through this proxy, so both forms of request line are planned.
  qputenv("http_proxy", "http://127.0.0.1:9");
  static QCoreApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray url(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const HttpExchange::Plan plan = HttpExchange::PlanFor(url);
  const QByteArray& request = plan.request;

  const bool http = url.left(7).toLower() == "http://";
  qsizetype authorityEnd = url.size();
  for (char mark : {'/', '?', '#'}) {
    const qsizetype at = url.indexOf(mark, 7);
    if (at >= 0) authorityEnd = std::min(authorityEnd, at);
  }
  const QByteArray authority = http ? url.mid(7, authorityEnd - 7) : QByteArray();
  for (char c : authority) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte <= 0x20 || byte == 0x7f) && !request.isEmpty()) std::abort();
  }
  if (request.isEmpty()) return 0;
  if (!http) std::abort();
  // A bracket only ever closes an IPv6 address at the start of the authority.
  if (authority.contains('[') || authority.contains(']')) {
    if (!authority.startsWith('[')) std::abort();
    const qsizetype close = authority.indexOf(']');
    const QString host = QString::fromLatin1(authority.mid(1, close - 1));
    if (close < 0 || QHostAddress(host).protocol() != QAbstractSocket::IPv6Protocol) std::abort();
    const QByteArray after = authority.mid(close + 1);
    if (after.contains('[') || after.contains(']')) std::abort();
  }

  // Exactly five line ends, each CR LF, the last two closing the head; no other CR or LF.
  if (request.count('\n') != 5 || request.count('\r') != 5) std::abort();
  if (!request.endsWith("\r\n\r\n")) std::abort();
  const QList<QByteArray> lines = request.split('\n');
  for (qsizetype i = 0; i < 5; ++i) {
    if (!lines.at(i).endsWith('\r')) std::abort();
  }
  const QByteArray requestLine = lines.at(0).chopped(1);
  if (!requestLine.startsWith("GET ") || !requestLine.endsWith(" HTTP/1.0")) std::abort();
  if (requestLine.count(' ') != 2) std::abort();
  for (char c : requestLine) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) std::abort();
  }
  if (lines.at(1) != "Host: " + authority + "\r") std::abort();
  if (lines.at(2) != "Accept: */*\r" || lines.at(3) != "Accept-Language: en\r") std::abort();
  if (plan.connectPort == 0 || plan.connectHost.isEmpty()) std::abort();
  return 0;
}
