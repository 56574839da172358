// Event handlers: every event name has one fixed handler signature.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

class Graphics;

// The header lines of an HTTP answer, in the order received.
class InternetHeaders {
 public:
  void Append(std::string name, std::string value) {
    lines_.emplace_back(std::move(name), std::move(value));
  }
  // The value of the first header of that name (case-insensitive), or "".
  std::string Value(const std::string& name) const;
  std::size_t Count() const { return lines_.size(); }

 private:
  std::vector<std::pair<std::string, std::string>> lines_;
};

// Action, Change, Connected; window Open and Close.
using PlainHandler = std::function<void()>;
// MouseDown (x, y); returns True to take the click.
using MouseDownHandler = std::function<bool(int, int)>;
// CellBackgroundPaint (g, row, column); returns True when it painted.
using CellPaintHandler = std::function<bool(Graphics&, int, int)>;
// PageReceived (url, HTTP status, headers, content). The content is the handler's own: it may
// keep it by moving it, so a large body is never copied on its way to a control.
using PageReceivedHandler =
    std::function<void(const std::string&, int, const InternetHeaders&, std::string)>;
// HTTPSocket Error (code).
using SocketErrorHandler = std::function<void(int)>;
// DocumentComplete (url), TitleChanged (new title).
using TextHandler = std::function<void(const std::string&)>;
// DocumentProgressChanged (url, percent).
using ProgressHandler = std::function<void(const std::string&, int)>;
// HTMLViewer Error (error number, message).
using ViewerErrorHandler = std::function<void(int, const std::string&)>;

using EventHandler =
    std::variant<PlainHandler, MouseDownHandler, CellPaintHandler, PageReceivedHandler,
                 SocketErrorHandler, TextHandler, ProgressHandler, ViewerErrorHandler>;

// The position of a handler type among the EventHandler alternatives.
template <class Handler, class Variant = EventHandler>
struct SignatureIndex;
template <class Handler, class... Alternatives>
struct SignatureIndex<Handler, std::variant<Alternatives...>> {
  static constexpr std::size_t value = [] {
    std::size_t index = 0;
    ((std::is_same_v<Handler, Alternatives> ? false : (++index, true)) && ...);
    return index;
  }();
  static_assert(value < sizeof...(Alternatives), "not an event handler type");
};
template <class Handler>
inline constexpr std::size_t kSignature = SignatureIndex<Handler>::value;
