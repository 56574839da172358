#include "HttpExchange.h"

#include <QHostAddress>
#include <QMetaObject>
#include <QNetworkProxy>
#include <QNetworkProxyFactory>
#include <QNetworkProxyQuery>
#include <algorithm>

namespace {

// Bytes the socket may hold unread: the caps count what we hold, this keeps Qt's buffer small too.
constexpr qint64 kReadBufferBytes = 256 * 1024;
constexpr qsizetype kMaxBody = static_cast<qsizetype>(HTTPSocket::kMaxBodyBytes);

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// "HTTP/" digits "." digits, blanks, three digits, then the end or a blank and the reason.
bool parseStatusLine(QByteArray line, int* status) {
  if (line.endsWith('\r')) line.chop(1);
  if (!line.startsWith("HTTP/")) return false;
  qsizetype i = 5;
  const auto digits = [&] {
    const qsizetype from = i;
    while (i < line.size() && isDigit(line.at(i))) ++i;
    return i > from;
  };
  if (!digits() || i >= line.size() || line.at(i) != '.') return false;
  ++i;
  if (!digits() || i >= line.size() || line.at(i) != ' ') return false;
  while (i < line.size() && line.at(i) == ' ') ++i;
  const qsizetype code = i;
  if (!digits() || i - code != 3) return false;
  if (i < line.size() && line.at(i) != ' ') return false;
  if (status != nullptr) *status = line.mid(code, 3).toInt();
  return true;
}

// Could `partial`, the start of an answer, still become a status line?
bool mayBeStatusLine(const QByteArray& partial) {
  const qsizetype lineEnd = partial.indexOf('\n');
  if (lineEnd >= 0) return parseStatusLine(partial.left(lineEnd), nullptr);
  const QByteArray prefix = "HTTP/";
  const qsizetype n = std::min(partial.size(), prefix.size());
  return partial.left(n) == prefix.left(n);
}

// The end of the header block (just past its blank line), or -1. Scans from `from`.
qsizetype headEnd(const QByteArray& data, qsizetype from) {
  for (qsizetype i = std::max<qsizetype>(from, 0); i < data.size(); ++i) {
    if (data.at(i) != '\n') continue;
    if (i + 1 < data.size() && data.at(i + 1) == '\n') return i + 2;
    if (i + 2 < data.size() && data.at(i + 1) == '\r' && data.at(i + 2) == '\n') return i + 3;
  }
  return -1;
}

}  // namespace

HttpExchange::HttpExchange(QObject* parent) : QObject(parent) {
  // The proxy, if any, is chosen in PlanFor; a proxy on the socket would tunnel with CONNECT.
  socket_.setProxy(QNetworkProxy::NoProxy);
  socket_.setReadBufferSize(kReadBufferBytes);
  connect(&socket_, &QTcpSocket::connected, this, &HttpExchange::onConnected);
  connect(&socket_, &QTcpSocket::readyRead, this, &HttpExchange::onReadyRead);
  connect(&socket_, &QTcpSocket::disconnected, this, &HttpExchange::onClosed);
  connect(&socket_, &QTcpSocket::errorOccurred, this, &HttpExchange::onError);
}

HttpExchange::~HttpExchange() {
  // The socket outlives this body and would report its own abort to a half-destroyed object.
  ended_ = true;
  socket_.disconnect(this);
  socket_.abort();
}

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
  const QByteArray authority = rest.left(authorityEnd);

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
    if (QHostAddress(QString::fromLatin1(host)).protocol() != QAbstractSocket::IPv6Protocol) {
      return {};
    }
  } else {
    const qsizetype colon = authority.indexOf(':');
    if (colon >= 0) {
      host = authority.left(colon);
      portText = authority.mid(colon + 1);
      hasPort = true;
    }
    const bool hostChars = std::all_of(host.begin(), host.end(), [](char c) {
      return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' ||
             c == '.' || c == '_';
    });
    if (!hostChars) return {};
  }
  if (host.isEmpty()) return {};
  int port = 80;
  if (hasPort) {
    if (portText.isEmpty() || portText.size() > 5 ||
        !std::all_of(portText.begin(), portText.end(), isDigit)) {
      return {};
    }
    port = portText.toInt();
    if (port < 1 || port > 65535) return {};
  }

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
  QUrl where;
  where.setScheme("http");
  where.setHost(plan.connectHost);
  if (hasPort) where.setPort(port);
  const QList<QNetworkProxy> proxies =
      QNetworkProxyFactory::proxyForQuery(QNetworkProxyQuery(where));
  if (!proxies.isEmpty() && (proxies.first().type() == QNetworkProxy::HttpProxy ||
                             proxies.first().type() == QNetworkProxy::HttpCachingProxy)) {
    // An HTTP/1.0 proxy takes the absolute URL in the request line.
    plan.connectHost = proxies.first().hostName();
    plan.connectPort = proxies.first().port();
    line = "http://" + authority + line;
  }
  plan.request = "GET " + line + " HTTP/1.0\r\nHost: " + authority +
                 "\r\nAccept: */*\r\nAccept-Language: en\r\n\r\n";
  return plan;
}

void HttpExchange::start(const QByteArray& url) {
  if (started_) return;
  started_ = true;
  const Plan plan = PlanFor(url);
  request_ = plan.request;
  connectHost_ = plan.connectHost;
  connectPort_ = plan.connectPort;
  // Even a malformed URL is reported later: the caller's Get returns before any event.
  QMetaObject::invokeMethod(this, &HttpExchange::begin, Qt::QueuedConnection);
}

void HttpExchange::begin() {
  if (ended_) return;
  if (request_.isEmpty()) {
    fail(HTTPSocket::kErrorBadUrl);
    return;
  }
  socket_.connectToHost(connectHost_, connectPort_);
}

void HttpExchange::abort() {
  stop();
}

void HttpExchange::stop() {
  ended_ = true;
  socket_.abort();
  head_ = QByteArray();
  body_ = QByteArray();
  headers_.clear();
}

void HttpExchange::onConnected() {
  if (ended_) return;
  socket_.write(request_);
  emit connected();
}

void HttpExchange::onReadyRead() {
  if (ended_) return;
  consume();
}

bool HttpExchange::consume() {
  while (!ended_) {
    if (headDone_ && contentLength_ >= 0 && body_.size() >= contentLength_) {
      body_.truncate(contentLength_);
      succeed();
      break;
    }
    if (socket_.bytesAvailable() <= 0) break;
    if (!(headDone_ ? readBody() : readHead())) break;
  }
  return !ended_;
}

bool HttpExchange::readHead() {
  const qint64 room = kMaxHeaderBytes + 1 - head_.size();
  const qsizetype had = head_.size();
  head_ += socket_.read(std::min(socket_.bytesAvailable(), room));
  // Garbage fails as soon as it shows, not at the cap; only new bytes are scanned.
  if (!statusLineSeen_) {
    const qsizetype lineEnd = head_.indexOf('\n', had);
    if (!mayBeStatusLine(lineEnd < 0 ? head_ : head_.left(lineEnd + 1))) {
      fail(HTTPSocket::kErrorBadAnswer);
      return false;
    }
    statusLineSeen_ = lineEnd >= 0;
  }
  const qsizetype scanFrom = had - 2;
  const qsizetype end = headEnd(head_, scanFrom);
  if (end < 0) {
    if (head_.size() > kMaxHeaderBytes) {
      fail(HTTPSocket::kErrorTooLarge);
      return false;
    }
    return true;
  }
  const QByteArray rest = head_.mid(end);
  head_.truncate(end);
  if (!parseHead(head_)) return false;
  head_ = QByteArray();
  headDone_ = true;
  body_ = rest;
  if (contentLength_ < 0 && body_.size() > kMaxBody) {
    fail(HTTPSocket::kErrorTooLarge);
    return false;
  }
  return true;
}

bool HttpExchange::readBody() {
  const qint64 want =
      contentLength_ >= 0 ? contentLength_ - body_.size() : kMaxBody + 1 - body_.size();
  const qint64 count = std::min(socket_.bytesAvailable(), want);
  const qsizetype had = body_.size();
  body_.resize(had + count);
  const qint64 got = socket_.read(body_.data() + had, count);
  body_.resize(had + std::max<qint64>(got, 0));
  if (contentLength_ < 0 && body_.size() > kMaxBody) {
    fail(HTTPSocket::kErrorTooLarge);
    return false;
  }
  return got > 0;
}

bool HttpExchange::parseHead(const QByteArray& head) {
  QList<QByteArray> lines = head.split('\n');
  for (QByteArray& line : lines) {
    if (line.endsWith('\r')) line.chop(1);
  }
  if (!parseStatusLine(lines.value(0), &status_)) {
    fail(HTTPSocket::kErrorBadAnswer);
    return false;
  }
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QByteArray& line = lines.at(i);
    if (line.isEmpty()) continue;
    if ((line.at(0) == ' ' || line.at(0) == '\t') && !headers_.isEmpty()) {
      headers_.last().second += ' ' + line.trimmed();  // folded continuation
      continue;
    }
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0) continue;  // not a header; a lenient reader skips it
    headers_.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
  }

  for (const auto& [name, value] : headers_) {
    if (name.compare("Content-Length", Qt::CaseInsensitive) != 0) continue;
    // Without a trustworthy length we could not tell a whole body from a cut one.
    const bool digitsOnly =
        !value.isEmpty() && value.size() <= 18 && std::all_of(value.begin(), value.end(), isDigit);
    const qint64 length = digitsOnly ? value.toLongLong() : -1;
    if (length < 0 || (contentLength_ >= 0 && contentLength_ != length)) {
      fail(HTTPSocket::kErrorBadAnswer);
      return false;
    }
    contentLength_ = length;
  }
  if (contentLength_ > kMaxBody) {
    fail(HTTPSocket::kErrorTooLarge);
    return false;
  }
  if ((status_ >= 100 && status_ < 200) || status_ == 204 || status_ == 304) contentLength_ = 0;
  return true;
}

void HttpExchange::onClosed() {
  if (ended_ || !started_) return;
  if (!consume()) return;
  if (!headDone_) {
    if (head_.isEmpty()) {
      fail(HTTPSocket::kErrorNoAnswer);
    } else {
      fail(mayBeStatusLine(head_) ? HTTPSocket::kErrorCutShort : HTTPSocket::kErrorBadAnswer);
    }
  } else if (contentLength_ >= 0) {
    fail(HTTPSocket::kErrorCutShort);  // consume() would have finished a whole body
  } else {
    succeed();
  }
}

void HttpExchange::onError(QAbstractSocket::SocketError error) {
  if (ended_) return;
  switch (error) {
    case QAbstractSocket::RemoteHostClosedError:
      onClosed();
      break;
    case QAbstractSocket::HostNotFoundError:
      fail(HTTPSocket::kErrorHostNotFound);
      break;
    case QAbstractSocket::ConnectionRefusedError:
      fail(HTTPSocket::kErrorRefused);
      break;
    default:
      fail(HTTPSocket::kErrorNetwork);
      break;
  }
}

void HttpExchange::succeed() {
  ended_ = true;
  socket_.abort();
  head_ = QByteArray();
  emit finished(status_, headers_, body_);
}

void HttpExchange::fail(int code) {
  stop();
  emit failed(code);
}
