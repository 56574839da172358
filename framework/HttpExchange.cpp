#include "HttpExchange.h"

#include <sys/mman.h>
#include <sys/socket.h>

#include <QHash>
#include <QHostAddress>
#include <QMetaObject>
#include <QNetworkProxy>
#include <algorithm>
#include <cerrno>

namespace {

std::chrono::milliseconds gSilenceLimit = HTTPSocket::kSilenceLimit;

QHash<QString, QHostAddress>& MappedHosts() {
  static QHash<QString, QHostAddress> mapped;
  return mapped;
}

// The most the body grows by in one read: small enough that a body without Content-Length
// never holds much unused room, large enough that a big body takes few reads.
constexpr qint64 kReadChunk = 256 * 1024;
constexpr qsizetype kMaxBody = static_cast<qsizetype>(HTTPSocket::kMaxBodyBytes);

// A large body's memory is asked for in huge pages where the system offers them on request:
// touching 30 MB a 4 KiB page at a time costs more than the transfer's own copying.
void AdviseLargePages(std::string& buffer) {
  constexpr std::uintptr_t kHuge = 2 * 1024 * 1024;
  const auto begin = reinterpret_cast<std::uintptr_t>(buffer.data());
  const std::uintptr_t first = (begin + kHuge - 1) & ~(kHuge - 1);
  const std::uintptr_t end = (begin + buffer.capacity()) & ~(kHuge - 1);
  if (end > first) ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

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

// Could `partial`, the start of an answer whose first line ends at `lineEnd` (-1: not yet),
// still become a status line?
bool mayBeStatusLine(const QByteArray& partial, qsizetype lineEnd) {
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

// Kept beside the exchange that uses it, so that the exchange stands alone (the fuzzers link it
// without the controls).
std::chrono::milliseconds HTTPSocket::SilenceLimit() {
  return gSilenceLimit;
}

void HTTPSocket::SetSilenceLimit(std::chrono::milliseconds limit) {
  gSilenceLimit = limit;
}

void HttpExchange::MapHostForTests(const QString& name, const QHostAddress& address) {
  if (address.isNull()) {
    MappedHosts().remove(name.toLower());
  } else {
    MappedHosts().insert(name.toLower(), address);
  }
}

HttpExchange::HttpExchange(QObject* parent) : QObject(parent) {
  // The proxy, if any, is chosen in PlanFor; an HTTP proxy on the socket would tunnel with
  // CONNECT, and Qt's own choice of proxy is not ours.
  socket_.setProxy(QNetworkProxy::NoProxy);
  silence_.setSingleShot(true);
  connect(&silence_, &QTimer::timeout, this, &HttpExchange::onSilence);
  connect(&socket_, &QTcpSocket::connected, this, &HttpExchange::onConnected);
  connect(&socket_, &QTcpSocket::readyRead, this, &HttpExchange::onReadyRead);
  connect(&socket_, &QTcpSocket::disconnected, this,
          [this] { onError(QAbstractSocket::RemoteHostClosedError); });
  connect(&socket_, &QTcpSocket::errorOccurred, this, &HttpExchange::onError);
}

HttpExchange::~HttpExchange() {
  // The socket outlives this body and would report its own abort to a half-destroyed object.
  ended_ = true;
  socket_.disconnect(this);
  socket_.abort();
}

void HttpExchange::start(const QByteArray& url) {
  if (started_) return;
  started_ = true;
  const Plan plan = PlanFor(url);
  request_ = plan.request;
  proxyUnusable_ = plan.proxyUnusable;
  connectHost_ = plan.connectHost;
  connectPort_ = plan.connectPort;
  socksHost_ = plan.socksHost;
  socksPort_ = plan.socksPort;
  socksConnect_ = plan.socksConnect;
  // Even a malformed URL is reported later: the caller's Get returns before any event.
  QMetaObject::invokeMethod(this, &HttpExchange::begin, Qt::QueuedConnection);
}

void HttpExchange::begin() {
  if (ended_) return;
  if (request_.isEmpty()) {
    fail(proxyUnusable_ ? HTTPSocket::kErrorProxy : HTTPSocket::kErrorBadUrl);
    return;
  }
  silence_.start(HTTPSocket::SilenceLimit());
  // Unbuffered: Qt then leaves every read to us, so the body goes from the socket straight
  // into the string that the handler gets, and the end of the connection reaches us before Qt
  // has read it (Qt's own read takes a reset for an orderly close). We speak SOCKS5 ourselves,
  // on a plain socket: the reads need the connection's own descriptor, which a socket carried
  // by Qt's SOCKS engine does not give.
  constexpr auto mode = QIODevice::ReadWrite | QIODevice::Unbuffered;
  if (!socksConnect_.isEmpty()) {
    socks_ = Socks::Method;
    socket_.connectToHost(socksHost_, socksPort_, mode);
    return;
  }
  const QHostAddress mapped = MappedHosts().value(connectHost_.toLower());
  socket_.connectToHost(mapped.isNull() ? connectHost_ : mapped.toString(), connectPort_, mode);
}

void HttpExchange::abort() {
  stop();
}

void HttpExchange::stop() {
  ended_ = true;
  silence_.stop();
  socket_.abort();
  head_ = QByteArray();
  body_ = std::string();
  bodyLength_ = 0;
  headers_.clear();
}

void HttpExchange::onConnected() {
  if (ended_) return;
  silence_.start();
  // A roomy receive buffer lets each wake-up of the event loop take more of a large body.
  socket_.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4 * 1024 * 1024);
  if (socks_ == Socks::Method) {
    // No authentication is the one method offered: credentials are never sent.
    socket_.write(QByteArray("\x05\x01\x00", 3));
    return;
  }
  sendRequest();
}

void HttpExchange::sendRequest() {
  socket_.write(request_);
  emit connected();
}

void HttpExchange::onReadyRead() {
  while (!ended_ && (socks_ != Socks::Through ? readSocks()
                     : headDone_              ? readBody()
                                              : readHead())) {
  }
}

HttpExchange::Read HttpExchange::readSome(char* into, qint64 max, qint64* count) {
  *count = 0;
  // A peek tells an orderly close (no byte, no error) from a reset (ECONNRESET), which Qt's
  // own read reports alike; it leaves any byte for the read below.
  char probe = 0;
  const auto peeked =
      ::recv(static_cast<int>(socket_.socketDescriptor()), &probe, 1, MSG_PEEK | MSG_DONTWAIT);
  if (peeked == 0) return Read::Closed;
  if (peeked < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
    return Read::Broken;
  }
  // Even with nothing to read this read is needed: it re-arms Qt's read notification.
  const qint64 got = socket_.read(into, max);
  if (got < 0) {
    return socket_.error() == QAbstractSocket::RemoteHostClosedError ? Read::Closed : Read::Broken;
  }
  *count = got;
  if (got == 0) return Read::Nothing;
  silence_.start();
  return Read::Data;
}

bool HttpExchange::readHead() {
  const qint64 room = kMaxHeaderBytes + 1 - headBytes_;
  const qsizetype had = head_.size();
  head_.resize(had + room);
  qint64 got = 0;
  const Read result = readSome(head_.data() + had, room, &got);
  head_.resize(had + got);
  headBytes_ += got;
  if (Ended(result)) return false;
  if (got == 0) return false;
  return takeHeads();
}

bool HttpExchange::takeHeads() {
  for (;;) {
    // Garbage fails as soon as it shows, not at the cap; only new bytes are scanned.
    if (!statusLineSeen_) {
      const qsizetype lineEnd = head_.indexOf('\n', scanned_);
      if (!mayBeStatusLine(head_, lineEnd)) {
        fail(HTTPSocket::kErrorBadAnswer);
        return false;
      }
      statusLineSeen_ = lineEnd >= 0;
    }
    const qsizetype end = headEnd(head_, scanned_ - 2);
    scanned_ = head_.size();
    // Where the head ends, counted from the first byte of the answer.
    const qsizetype endInAnswer = end < 0 ? headBytes_ : headBytes_ - (head_.size() - end);
    if (endInAnswer > kMaxHeaderBytes) {
      fail(HTTPSocket::kErrorTooLarge);
      return false;
    }
    if (end < 0) return true;
    if (!parseHead(head_.left(end))) return false;
    head_.remove(0, end);
    scanned_ = 0;
    if (status_ >= 100 && status_ < 200) {
      // An interim answer: the real one follows on the same connection.
      statusLineSeen_ = false;
      status_ = 0;
      if (head_.isEmpty()) return true;
      continue;
    }
    headDone_ = true;
    if (contentLength_ >= 0) {
      body_.reserve(static_cast<std::size_t>(contentLength_));
      AdviseLargePages(body_);
      head_.truncate(contentLength_);
    }
    body_.assign(head_.constData(), static_cast<std::size_t>(head_.size()));
    bodyLength_ = head_.size();
    head_ = QByteArray();
    return true;
  }
}

bool HttpExchange::bodyComplete() const {
  return contentLength_ >= 0 && bodyLength_ >= contentLength_;
}

bool HttpExchange::readBody() {
  if (bodyComplete()) {
    succeed();
    return false;
  }
  const qint64 want =
      contentLength_ >= 0 ? contentLength_ - bodyLength_ : kMaxBody + 1 - bodyLength_;
  const qint64 count = std::min(want, kReadChunk);
  // The buffer grows ahead of what has arrived (to the announced length at once, or by doubling)
  // so that each byte is cleared once, not once per read.
  const auto room = static_cast<qint64>(body_.size());
  if (room < bodyLength_ + count) {
    const qint64 grown = contentLength_ >= 0
                             ? contentLength_
                             : std::min(std::max(2 * room, bodyLength_ + count), kMaxBody + 1);
    body_.resize(static_cast<std::size_t>(grown));
  }
  qint64 got = 0;
  const Read result = readSome(body_.data() + bodyLength_, count, &got);
  bodyLength_ += got;
  if (Ended(result)) return false;
  if (contentLength_ < 0 && bodyLength_ > kMaxBody) {
    fail(HTTPSocket::kErrorTooLarge);
    return false;
  }
  if (bodyComplete()) {
    succeed();
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
  if (status_ >= 100 && status_ < 200) return true;  // its header lines say nothing of ours
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
    // We ask in HTTP/1.0, for no coding, and can undo none: a transfer coding's framing or a
    // content coding's compressed bytes would become the body.
    const bool coding = name.compare("Transfer-Encoding", Qt::CaseInsensitive) == 0 ||
                        name.compare("Content-Encoding", Qt::CaseInsensitive) == 0;
    if (coding && value.compare("identity", Qt::CaseInsensitive) != 0) {
      fail(HTTPSocket::kErrorBadAnswer);
      return false;
    }
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
  if (status_ == 204 || status_ == 304) contentLength_ = 0;
  return true;
}

void HttpExchange::closed() {
  if (ended_) return;
  if (!headDone_) {
    fail(headBytes_ == 0 ? HTTPSocket::kErrorNoAnswer : HTTPSocket::kErrorCutShort);
  } else if (contentLength_ >= 0) {
    fail(HTTPSocket::kErrorCutShort);  // a whole body would have finished already
  } else {
    succeed();
  }
}

void HttpExchange::onError(QAbstractSocket::SocketError error) {
  if (ended_ || !started_) return;
  switch (error) {
    case QAbstractSocket::RemoteHostClosedError:
      // Whatever is still unread, and how the connection ended, is read first.
      if (socket_.socketDescriptor() != -1) onReadyRead();
      closed();
      break;
    case QAbstractSocket::HostNotFoundError:
    case QAbstractSocket::ProxyNotFoundError:
      fail(HTTPSocket::kErrorHostNotFound);
      break;
    case QAbstractSocket::ConnectionRefusedError:
    case QAbstractSocket::ProxyConnectionRefusedError:
      fail(HTTPSocket::kErrorRefused);
      break;
    default:
      fail(HTTPSocket::kErrorNetwork);
      break;
  }
}

void HttpExchange::succeed() {
  ended_ = true;
  silence_.stop();
  socket_.abort();
  head_ = QByteArray();
  body_.resize(static_cast<std::size_t>(bodyLength_));
  emit finished(status_, headers_, body_);
}

void HttpExchange::fail(int code) {
  stop();
  emit failed(code);
}
