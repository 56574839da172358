// Plain values and helpers of the framework: colours, property values, strings, the nil error.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <variant>

#include "Codes.h"

struct Color {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Color&, const Color&) = default;
};

constexpr Color RGB(int red, int green, int blue) {
  return Color{static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
               static_cast<std::uint8_t>(blue)};
}

// Raised whenever code uses a reference the framework could not give: a control that is not on
// its window, a menu item that does not exist, a picture that could not be loaded.
class NilObjectException : public std::runtime_error {
 public:
  explicit NilObjectException(const std::string& what) : std::runtime_error(what) {}
};

// A declared property value: Boolean, Integer, Color or String. Built implicitly from literals
// so that declarations read like tables ({"Bold", true}, {"Width", 703}, {"Text", "Hello"}).
class PropertyValue {
 public:
  PropertyValue(bool v) : value_(v) {}                      // NOLINT(google-explicit-constructor)
  PropertyValue(int v) : value_(v) {}                       // NOLINT(google-explicit-constructor)
  PropertyValue(Color v) : value_(v) {}                     // NOLINT(google-explicit-constructor)
  PropertyValue(const char* v) : value_(std::string(v)) {}  // NOLINT(google-explicit-constructor)
  PropertyValue(std::string v) : value_(std::move(v)) {}    // NOLINT(google-explicit-constructor)
  template <NamedCode E>
  PropertyValue(E v)  // NOLINT(google-explicit-constructor)
      : value_(Code{CodeSet<E>::kName, static_cast<int>(v)}) {}

  bool AsBoolean(const std::string& name) const;
  int AsInteger(const std::string& name) const;
  Color AsColor(const std::string& name) const;
  const std::string& AsString(const std::string& name) const;
  // A value of code set E; a bare number or a code of another set is refused.
  template <NamedCode E>
  E AsCode(const std::string& name) const {
    return static_cast<E>(CodeValue(name, CodeSet<E>::kName));
  }

  friend bool operator==(const PropertyValue&, const PropertyValue&) = default;

 private:
  struct Code {
    const char* set;
    int value;
    friend bool operator==(const Code&, const Code&) = default;
  };
  int CodeValue(const std::string& name, const char* set) const;

  std::variant<bool, int, Color, std::string, Code> value_;
};

// For a declared property that has no effect on this platform: accepted at its usual value
// only, so a declaration that relies on another value fails the first time it is built.
void RequireUsual(const std::string& name, const PropertyValue& value, const PropertyValue& usual);

// Decimal text of an integer, with a leading "-" when negative.
std::string Str(std::int64_t value);

// Every occurrence of `find` in `source`, left to right, replaced by `replacement`.
std::string ReplaceAll(const std::string& source, const std::string& find,
                       const std::string& replacement);

// The platform's line end.
std::string EndOfLine();
