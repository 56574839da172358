#include "Basics.h"

namespace {
[[noreturn]] void WrongType(const std::string& name, const char* expected) {
  throw std::invalid_argument("property " + name + " takes a value of type " + expected);
}
}  // namespace

bool PropertyValue::AsBoolean(const std::string& name) const {
  if (const bool* v = std::get_if<bool>(&value_)) return *v;
  WrongType(name, "Boolean");
}

int PropertyValue::AsInteger(const std::string& name) const {
  if (const int* v = std::get_if<int>(&value_)) return *v;
  WrongType(name, "Integer");
}

Color PropertyValue::AsColor(const std::string& name) const {
  if (const Color* v = std::get_if<Color>(&value_)) return *v;
  WrongType(name, "Color");
}

const std::string& PropertyValue::AsString(const std::string& name) const {
  if (const std::string* v = std::get_if<std::string>(&value_)) return *v;
  WrongType(name, "String");
}

int PropertyValue::CodeValue(const std::string& name, const char* set) const {
  const Code* v = std::get_if<Code>(&value_);
  if (v == nullptr || std::string(v->set) != set) WrongType(name, set);
  return v->value;
}

void RequireUsual(const std::string& name, const PropertyValue& value, const PropertyValue& usual) {
  if (!(value == usual)) {
    throw std::invalid_argument("property " + name + " is supported at its usual value only");
  }
}

std::string Str(std::int64_t value) {
  return std::to_string(value);
}

std::string ReplaceAll(const std::string& source, const std::string& find,
                       const std::string& replacement) {
  if (find.empty()) return source;
  std::string out;
  out.reserve(source.size());
  std::size_t from = 0;
  for (std::size_t at = source.find(find); at != std::string::npos; at = source.find(find, from)) {
    out.append(source, from, at - from).append(replacement);
    from = at + find.size();
  }
  out.append(source, from, std::string::npos);
  return out;
}

std::string EndOfLine() {
  return "\n";
}
