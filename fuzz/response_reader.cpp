// The response reader, fed through a real loopback connection: the input is the whole answer
// of a host that then closes. It is sent once in one piece and again cut into pieces that the
// reader sees one at a time (one byte at a time for short inputs); every delivery must end
// alike, within the caps.
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
QByteArray gUrl;

struct Outcome {
  bool ended = false;
  bool finished = false;
  int status = 0;
  int code = 0;
  HttpExchange::HeaderList headers;
  std::string body;
  bool operator==(const Outcome&) const = default;
};

void Spin() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// One exchange against the listener; `pieces` are written one by one, each read before the
// next goes, then the host closes in an orderly way.
Outcome Deliver(const QByteArray& answer, const std::vector<std::size_t>& pieces) {
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
  exchange.start(gUrl);

  int peer = -1;
  for (int i = 0; i < 100000 && peer < 0; ++i) {
    Spin();
    peer = ::accept4(gListener, nullptr, nullptr, SOCK_NONBLOCK);
  }
  if (peer < 0) std::abort();
  // The request is read first: closing with it unread would reset the connection.
  std::string request;
  for (int i = 0; i < 100000 && request.find("\r\n\r\n") == std::string::npos; ++i) {
    Spin();
    char buffer[1024];
    const auto got = ::recv(peer, buffer, sizeof buffer, 0);
    if (got > 0) request.append(buffer, static_cast<std::size_t>(got));
  }
  if (request.find("\r\n\r\n") == std::string::npos) std::abort();

  std::size_t at = 0;
  for (std::size_t piece : pieces) {
    if (outcome.ended) break;
    piece = std::min(piece, static_cast<std::size_t>(answer.size()) - at);
    if (piece == 0) continue;
    if (::send(peer, answer.constData() + at, piece, MSG_NOSIGNAL) != static_cast<ssize_t>(piece)) {
      break;  // the reader has stopped and dropped the connection
    }
    at += piece;
    for (int i = 0; i < 4; ++i) Spin();
  }
  ::shutdown(peer, SHUT_WR);
  for (int i = 0; i < 100000 && !outcome.ended; ++i) Spin();
  ::close(peer);
  if (!outcome.ended) std::abort();
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static QCoreApplication app(*argc, *argv);
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
  gUrl = "http://127.0.0.1:" + QByteArray::number(ntohs(address.sin_port)) + "/x";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray answer(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const Outcome whole = Deliver(answer, {size});
  if (whole.finished) {
    if (whole.body.size() > HTTPSocket::kMaxBodyBytes) std::abort();
    // Any three digits are a status, except the interim ones, which are skipped.
    if (whole.status < 0 || whole.status > 999 || whole.status / 100 == 1) std::abort();
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
  if (!(Deliver(answer, pieces) == whole)) std::abort();
  return 0;
}
