#include "Control.h"

#include <stdexcept>

#include "Window.h"

Control::Control(::Window& owner, std::string name) : owner_(owner), name_(std::move(name)) {}

Control::~Control() = default;

void Control::SetProperty(const std::string& name, const PropertyValue& value) {
  if (!ApplyProperty(name, value)) {
    throw std::invalid_argument(std::string(ClassName()) + " " + name_ + " has no property " +
                                name);
  }
}

bool Control::ApplyProperty(const std::string& name, const PropertyValue& value) {
  if (name == "Name") {
    if (value.AsString(name) != name_) {
      throw std::invalid_argument("control " + name_ + " declared with Name " +
                                  value.AsString(name));
    }
    return true;
  }
  if (name == "Index") {
    index_ = value.AsInteger(name);
    return true;
  }
  return false;
}

std::optional<std::size_t> Control::EventSignature(const std::string&) const {
  return std::nullopt;
}

void Control::InstallEventHandler(const std::string& event, EventHandler handler) {
  const std::optional<std::size_t> expected = EventSignature(event);
  if (!expected) {
    throw std::invalid_argument(std::string(ClassName()) + " " + name_ + " raises no event " +
                                event);
  }
  if (*expected != handler.index()) {
    throw std::invalid_argument("handler for " + name_ + "." + event +
                                " does not have the event's signature");
  }
  handlers_[event] = std::make_shared<const EventHandler>(std::move(handler));
  HandlerInstalled(event);
}

void Control::SetPicture(Picture*) {
  throw std::invalid_argument(std::string(ClassName()) + " " + name_ + " shows no picture");
}

void Control::AddMenuHandler(const std::string& itemName, std::function<bool()> handler) {
  menuHandlers_[itemName] = std::move(handler);
}

const std::function<bool()>* Control::MenuHandler(const std::string& itemName) const {
  auto found = menuHandlers_.find(itemName);
  return found == menuHandlers_.end() ? nullptr : &found->second;
}

bool Control::OwnerClosed() const {
  return owner_.IsClosed();
}
