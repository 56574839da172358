// The exchange's side of a SOCKS5 proxy (RFC 1928): the proxy's answers to the greeting and to
// CONNECT, read to their last byte so that the answer to the request starts where they end.
#include "HttpExchange.h"

qsizetype HttpExchange::socksReplyLength() const {
  // The method reply is two bytes; the CONNECT reply is four, the bound address (its length
  // told by its type and, for a name, its first byte) and two of port.
  if (socks_ == Socks::Method) return 2;
  if (socksReply_.size() < 5) return 5;
  switch (socksReply_.at(3)) {
    case 1:
      return 10;
    case 3:
      return 7 + static_cast<unsigned char>(socksReply_.at(4));
    case 4:
      return 22;
    default:
      return -1;
  }
}

bool HttpExchange::readSocks() {
  // Never -1 here: an address of unknown type fails as soon as its type byte has come.
  const qsizetype need = socksReplyLength();
  const qsizetype had = socksReply_.size();
  socksReply_.resize(need);
  qint64 got = 0;
  const Read result = readSome(socksReply_.data() + had, need - had, &got);
  socksReply_.resize(had + got);
  if (Ended(result) || got == 0) return false;
  if (socksReply_.size() < 2) return true;
  if (socksReply_.at(0) != 5) {
    fail(HTTPSocket::kErrorBadAnswer);
    return false;
  }
  const auto code = static_cast<unsigned char>(socksReply_.at(1));
  if (socks_ == Socks::Method) {
    // 0xff: the proxy takes none of the methods offered (it wants credentials).
    if (code != 0) {
      fail(code == 0xff ? HTTPSocket::kErrorProxy : HTTPSocket::kErrorBadAnswer);
      return false;
    }
    socks_ = Socks::Reply;
    socksReply_.clear();
    socket_.write(socksConnect_);
    return true;
  }
  if (code != 0) {
    // As the host's own refusal or unknown name would read on a direct connection.
    fail(code == 4   ? HTTPSocket::kErrorHostNotFound
         : code == 5 ? HTTPSocket::kErrorRefused
                     : HTTPSocket::kErrorNetwork);
    return false;
  }
  // The type byte may have come with this read: a reply whose length is unknown is no reply,
  // and nothing may follow it.
  const qsizetype whole = socksReplyLength();
  if (whole < 0) {
    fail(HTTPSocket::kErrorBadAnswer);
    return false;
  }
  if (socksReply_.size() < whole) return true;
  socks_ = Socks::Through;
  socksReply_ = QByteArray();
  sendRequest();
  return true;
}

void HttpExchange::onSilence() {
  if (ended_) return;
  fail(HTTPSocket::kErrorSilent);
}

// A read that met the end of the connection ends the exchange: an orderly close decides by
// what has arrived, a broken connection fails it.
bool HttpExchange::Ended(Read result) {
  if (result == Read::Closed) {
    closed();
    return true;
  }
  if (result == Read::Broken) {
    fail(HTTPSocket::kErrorNetwork);
    return true;
  }
  return false;
}
