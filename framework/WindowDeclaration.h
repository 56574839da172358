// A window's declaration as data: its own properties, then its controls in creation order, each
// with class, name, geometry, declared properties, the picture code sets on it and its event
// bindings.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "Control.h"
#include "RectControl.h"

class MenuBar;
class Picture;

using PropertyList = std::vector<std::pair<std::string, PropertyValue>>;

class ControlDeclaration {
 public:
  using Factory = std::unique_ptr<Control> (*)(::Window&, const std::string&);
  using PictureAccessor = Picture* (*)();
  using Binder = std::function<EventHandler(::Window&)>;

  ControlDeclaration(Factory factory, std::string name, std::optional<Geometry> geometry,
                     PropertyList properties);

  // Binds `event` to a member of the window class. The member's type must be the event's
  // signature exactly (see Events.h).
  template <class W, class R, class... A>
  ControlDeclaration&& On(std::string event, R (W::*handler)(A...)) &&;
  ControlDeclaration&& WithPicture(PictureAccessor accessor) &&;
  // The same control with another property list in place of the geometry and properties.
  ControlDeclaration WithProperties(PropertyList properties) const;

  const std::string& Name() const { return name_; }
  Factory MakeControl() const { return factory_; }
  // The declared properties with the geometry first, as they are applied.
  PropertyList AllProperties() const;
  PictureAccessor PictureSource() const { return picture_; }
  const std::vector<std::pair<std::string, Binder>>& Events() const { return events_; }

 private:
  Factory factory_;
  std::string name_;
  std::optional<Geometry> geometry_;
  PropertyList properties_;
  PictureAccessor picture_ = nullptr;
  std::vector<std::pair<std::string, Binder>> events_;
};

template <class C>
ControlDeclaration Declare(std::string name, Geometry geometry, PropertyList properties = {}) {
  return ControlDeclaration(
      [](::Window& w, const std::string& n) -> std::unique_ptr<Control> {
        return std::make_unique<C>(w, n);
      },
      std::move(name), geometry, std::move(properties));
}

// Controls without geometry: toolbar items, sockets, timers.
template <class C>
ControlDeclaration Declare(std::string name, PropertyList properties = {}) {
  return ControlDeclaration(
      [](::Window& w, const std::string& n) -> std::unique_ptr<Control> {
        return std::make_unique<C>(w, n);
      },
      std::move(name), std::nullopt, std::move(properties));
}

struct WindowDeclaration {
  // The menu bar the window shows, set by Layout before the properties (main window only).
  ::MenuBar* (*menuBar)() = nullptr;
  PropertyList properties;
  std::vector<ControlDeclaration> controls;
};

namespace detail {
template <class Handler, class W, class R, class... A>
EventHandler BindMember(::Window& window, R (W::*member)(A...)) {
  W* typed = dynamic_cast<W*>(&window);
  if (typed == nullptr) throw std::invalid_argument("event bound to a member of another window");
  return EventHandler(Handler(
      [typed, member](A... args) -> R { return (typed->*member)(std::forward<A>(args)...); }));
}
}  // namespace detail

template <class W, class R, class... A>
ControlDeclaration&& ControlDeclaration::On(std::string event, R (W::*handler)(A...)) && {
  using Handler = std::function<R(A...)>;
  static_assert(std::is_constructible_v<EventHandler, std::in_place_type_t<Handler>, Handler>,
                "a handler's signature must be one of the event signatures of Events.h");
  events_.emplace_back(std::move(event), [handler](::Window& window) {
    return detail::BindMember<Handler>(window, handler);
  });
  return std::move(*this);
}
