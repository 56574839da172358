#include "HTTPSocket.h"

#include <QCoreApplication>
#include <algorithm>
#include <cctype>

#include "HttpExchange.h"

std::string InternetHeaders::Value(const std::string& name) const {
  const auto sameName = [&name](const std::pair<std::string, std::string>& line) {
    return std::equal(
        line.first.begin(), line.first.end(), name.begin(), name.end(),
        [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
  };
  auto found = std::find_if(lines_.begin(), lines_.end(), sameName);
  return found == lines_.end() ? std::string() : found->second;
}

namespace {

// Ends an exchange so that nothing of it ever reaches us again. It may be in the middle of
// emitting the signal that brought us here, so it goes through the event loop; its parent
// makes sure it goes even when no event loop runs again.
void Discard(std::unique_ptr<HttpExchange>& exchange) {
  HttpExchange* old = exchange.release();
  if (old == nullptr) return;
  old->disconnect();
  old->abort();
  if (QCoreApplication::instance() == nullptr) {
    delete old;
    return;
  }
  old->setParent(QCoreApplication::instance());
  old->deleteLater();
}

}  // namespace

HTTPSocket::HTTPSocket(::Window& owner, std::string name) : Control(owner, std::move(name)) {}

HTTPSocket::~HTTPSocket() {
  Discard(exchange_);
}

void HTTPSocket::Get(const std::string& url) {
  Discard(exchange_);
  exchange_ = std::make_unique<HttpExchange>();
  HttpExchange* exchange = exchange_.get();
  // Each handler raises last: it may close the window and so delete this socket.
  QObject::connect(exchange, &HttpExchange::connected, exchange,
                   [this] { Raise<PlainHandler>("Connected"); });
  QObject::connect(exchange, &HttpExchange::finished, exchange,
                   [this, url, exchange](int status, const HttpExchange::HeaderList& headerList,
                                         const std::string&) {
                     InternetHeaders headers;
                     for (const auto& [name, value] : headerList) {
                       headers.Append(name.toStdString(), value.toStdString());
                     }
                     std::string content = exchange->takeBody();
                     const std::string requested = url;
                     Discard(exchange_);
                     Raise<PageReceivedHandler>("PageReceived", requested, status, headers,
                                                std::move(content));
                   });
  QObject::connect(exchange, &HttpExchange::failed, exchange, [this](int code) {
    Discard(exchange_);
    Raise<SocketErrorHandler>("Error", code);
  });
  exchange->start(QByteArray::fromStdString(url));
}

void HTTPSocket::Shutdown() {
  Discard(exchange_);
}

bool HTTPSocket::ApplyProperty(const std::string& name, const PropertyValue& value) {
  // Every request names its host and port in the URL given to Get, and events always come from
  // the event loop: a socket's own address, port and yielding have nothing to set here.
  if (name == "Address") {
    RequireUsual(name, value, "");
  } else if (name == "Port") {
    RequireUsual(name, value, 0);
  } else if (name == "yield") {
    RequireUsual(name, value, false);
  } else {
    return Control::ApplyProperty(name, value);
  }
  return true;
}

std::optional<std::size_t> HTTPSocket::EventSignature(const std::string& event) const {
  if (event == "Connected") return kSignature<PlainHandler>;
  if (event == "PageReceived") return kSignature<PageReceivedHandler>;
  if (event == "Error") return kSignature<SocketErrorHandler>;
  return Control::EventSignature(event);
}
