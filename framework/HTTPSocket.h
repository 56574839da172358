// An HTTP/1.0 client control: one GET at a time, answered through events on the event loop.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

#include "Control.h"

class HttpExchange;

class HTTPSocket : public Control {
 public:
  // An answer whose body grows past this is dropped and reported as an Error.
  static constexpr std::size_t kMaxBodyBytes = 32u * 1024u * 1024u;

  // Codes of the Error event.
  static constexpr int kErrorBadUrl = -1;        // not http://host[:port]/path
  static constexpr int kErrorHostNotFound = -2;  // the host's name did not resolve
  static constexpr int kErrorRefused = -3;       // nobody listens there
  static constexpr int kErrorNoAnswer = -4;      // closed before any answer came
  static constexpr int kErrorBadAnswer = -5;     // no "HTTP/x.y NNN" status line, bad header
  static constexpr int kErrorCutShort = -6;      // closed before the whole answer came
  static constexpr int kErrorTooLarge = -7;      // headers or body past the caps
  static constexpr int kErrorNetwork = -8;       // a reset, any other failure of the connection
  static constexpr int kErrorSilent = -9;        // no byte came for the silence limit
  static constexpr int kErrorProxy = -10;        // the proxy setting names no proxy we can use

  // A connection on which no byte arrives for this long is given up; one that keeps sending,
  // however slowly, is never cut.
  static constexpr std::chrono::milliseconds kSilenceLimit{60000};
  static std::chrono::milliseconds SilenceLimit();
  // Tests shorten the limit; the program keeps kSilenceLimit.
  static void SetSilenceLimit(std::chrono::milliseconds limit);

  HTTPSocket(::Window& owner, std::string name);
  ~HTTPSocket() override;
  const char* ClassName() const override { return "HTTPSocket"; }

  // Starts a GET of `url` ("http://" host [":" port] path) and returns at once. Any request
  // still under way is dropped with what it had received. Events: Connected once the
  // connection is up (the request is then sent), then PageReceived with the whole answer, or
  // Error when no whole answer came. The content is handed over as received, never copied.
  void Get(const std::string& url);
  void Shutdown() override;

 protected:
  bool ApplyProperty(const std::string& name, const PropertyValue& value) override;
  std::optional<std::size_t> EventSignature(const std::string& event) const override;

 private:
  std::unique_ptr<HttpExchange> exchange_;
};
