// The response reader, fed through a real loopback connection. The input's first byte picks
// the route: even, the rest is the whole answer of a host that then closes; odd, the rest is
// everything a SOCKS5 proxy sends once it has the client's greeting (its method reply, its
// reply to CONNECT, then the host's answer), after which it closes. The input is sent once in
// one piece and again cut into pieces that the reader sees one at a time (one byte at a time
// for short inputs); every delivery must end alike, within the caps. Through the proxy, the
// client must send its CONNECT request only after a good method reply and its request only
// after a good CONNECT reply, and an answer behind good replies must read as it does direct.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "HttpExchange.h"

namespace {

int gListener = -1;
QByteArray gDirectUrl;
// Through the proxy the URL names no loopback host, which would never be proxied; the proxy
// is the listener itself.
const QByteArray kProxiedUrl = "http://fuzz.example/x";
QByteArray gProxy;
HttpExchange::Plan gProxied;  // what the client sends the proxy

struct Outcome {
  bool ended = false;
  bool finished = false;
  int status = 0;
  int code = 0;
  HttpExchange::HeaderList headers;
  std::string body;
  QByteArray sent;  // through the proxy: what the client sent after its greeting
  bool operator==(const Outcome&) const = default;
};

void Spin() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// Everything the client has sent so far, appended to `into`.
void Drain(int peer, QByteArray* into) {
  char buffer[1024];
  for (;;) {
    const auto got = ::recv(peer, buffer, sizeof buffer, MSG_DONTWAIT);
    if (got <= 0) return;
    into->append(buffer, got);
  }
}

// One exchange against the listener, as the host or, with `socks`, as the proxy; `pieces` of
// `stream` are written one by one, each read before the next goes, then the listener closes
// its side in an orderly way.
Outcome Deliver(bool socks, const QByteArray& stream, const std::vector<std::size_t>& pieces) {
  if (socks) {
    qputenv("all_proxy", gProxy);
  } else {
    qunsetenv("all_proxy");
  }
  Outcome outcome;
  HttpExchange exchange;
  QObject::connect(&exchange, &HttpExchange::finished,
                   [&](int status, const HttpExchange::HeaderList& headers, const std::string&) {
                     outcome.ended = outcome.finished = true;
                     outcome.status = status;
                     outcome.headers = headers;
                     outcome.body = exchange.takeBody();
                   });
  QObject::connect(&exchange, &HttpExchange::failed, [&](int code) {
    outcome.ended = true;
    outcome.code = code;
  });
  exchange.start(socks ? kProxiedUrl : gDirectUrl);

  int peer = -1;
  for (int i = 0; i < 100000 && peer < 0; ++i) {
    Spin();
    peer = ::accept4(gListener, nullptr, nullptr, SOCK_NONBLOCK);
  }
  if (peer < 0) std::abort();
  // The request, or the greeting, is read first: closing with it unread would reset the
  // connection.
  const QByteArray greeting("\x05\x01\x00", 3);
  QByteArray first;
  const auto complete = [&] {
    return socks ? first.size() >= greeting.size() : first.contains("\r\n\r\n");
  };
  for (int i = 0; i < 100000 && !complete(); ++i) {
    Spin();
    Drain(peer, &first);
  }
  if (!complete()) std::abort();
  // The one method offered is "no authentication": credentials are never sent.
  if (socks && !first.startsWith(greeting)) std::abort();
  outcome.sent = first.mid(socks ? greeting.size() : first.size());

  std::size_t at = 0;
  for (std::size_t piece : pieces) {
    if (outcome.ended) break;
    piece = std::min(piece, static_cast<std::size_t>(stream.size()) - at);
    if (piece == 0) continue;
    if (::send(peer, stream.constData() + at, piece, MSG_NOSIGNAL) != static_cast<ssize_t>(piece)) {
      break;  // the reader has stopped and dropped the connection
    }
    at += piece;
    for (int i = 0; i < 4; ++i) Spin();
    Drain(peer, &outcome.sent);
  }
  ::shutdown(peer, SHUT_WR);
  for (int i = 0; i < 100000 && !outcome.ended; ++i) Spin();
  // The client has stopped: all it sent has arrived.
  Drain(peer, &outcome.sent);
  ::close(peer);
  if (!outcome.ended) std::abort();
  if (!socks) outcome.sent.clear();
  return outcome;
}

// How far a proxy's bytes hold good replies, as RFC 1928 has them (the reserved byte is not
// looked at, as the exchange does not): whether the method reply is "version 5, no
// authentication", and where the answer starts behind a successful CONNECT reply of known
// address type, or -1.
struct Replies {
  bool methodTaken = false;
  qsizetype answerAt = -1;
};

Replies ReadReplies(const QByteArray& stream) {
  Replies replies;
  if (stream.size() < 2 || stream.at(0) != 5 || stream.at(1) != 0) return replies;
  replies.methodTaken = true;
  const QByteArray reply = stream.mid(2);
  if (reply.size() < 5 || reply.at(0) != 5 || reply.at(1) != 0) return replies;
  qsizetype length = 0;
  switch (reply.at(3)) {
    case 1:
      length = 4 + 4 + 2;
      break;
    case 3:
      length = 4 + 1 + static_cast<unsigned char>(reply.at(4)) + 2;
      break;
    case 4:
      length = 4 + 16 + 2;
      break;
    default:
      return replies;
  }
  if (reply.size() >= length) replies.answerAt = 2 + length;
  return replies;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static QCoreApplication app(*argc, *argv);
  // The proxy setting is the harness's own: all_proxy alone, set for the proxied route only.
  for (const char* name :
       {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY", "no_proxy", "NO_PROXY"}) {
    qunsetenv(name);
  }
  gListener = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(gListener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      ::listen(gListener, 16) != 0 ||
      ::getsockname(gListener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    std::abort();
  }
  const QByteArray port = QByteArray::number(ntohs(address.sin_port));
  gDirectUrl = "http://127.0.0.1:" + port + "/x";
  gProxy = "socks5://127.0.0.1:" + port;
  qputenv("all_proxy", gProxy);
  gProxied = HttpExchange::PlanFor(kProxiedUrl);
  qunsetenv("all_proxy");
  if (gProxied.socksConnect.isEmpty()) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool socks = (data[0] & 1) != 0;
  ++data;
  --size;
  const QByteArray stream(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const Outcome whole = Deliver(socks, stream, {size});
  if (whole.finished) {
    if (whole.body.size() > HTTPSocket::kMaxBodyBytes) std::abort();
    // Any three digits are a status, except the interim ones, which are skipped.
    if (whole.status < 0 || whole.status > 999 || whole.status / 100 == 1) std::abort();
  }

  if (socks) {
    const Replies replies = ReadReplies(stream);
    const QByteArray expected = (replies.methodTaken ? gProxied.socksConnect : QByteArray()) +
                                (replies.answerAt >= 0 ? gProxied.request : QByteArray());
    if (whole.sent != expected) std::abort();
    if (replies.answerAt < 0) {
      if (whole.finished) std::abort();
    } else {
      const QByteArray answer = stream.mid(replies.answerAt);
      const Outcome direct = Deliver(false, answer, {static_cast<std::size_t>(answer.size())});
      Outcome through = whole;
      through.sent.clear();
      if (!(through == direct)) std::abort();
    }
  }

  std::vector<std::size_t> pieces;
  if (size <= 512) {
    pieces.assign(size, 1);
  } else {
    // Cuts that depend only on the input, so a finding replays.
    std::uint32_t state = static_cast<std::uint32_t>(size) * 2654435761u;
    for (std::size_t left = size; left > 0;) {
      state = state * 1664525u + 1013904223u + data[left - 1];
      const std::size_t piece = std::min<std::size_t>(left, 1 + (state >> 8) % 700);
      pieces.push_back(piece);
      left -= piece;
    }
  }
  if (!(Deliver(socks, stream, pieces) == whole)) std::abort();
  return 0;
}
