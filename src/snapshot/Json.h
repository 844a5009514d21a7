#pragma once
// A small JSON reader and writer in plain C++, so that the snapshot reader runs (and is fuzzed)
// without Qt. Numbers are kept as doubles; objects keep their members in file order.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace json {

class Value {
 public:
  enum class Type { Null, Bool, Number, String, Array, Object };

  Value() = default;
  static Value Boolean(bool b);
  static Value Number(double d);
  static Value String(std::string s);
  static Value Array();
  static Value Object();

  Type type() const { return m_type; }
  bool IsObject() const { return m_type == Type::Object; }
  bool IsArray() const { return m_type == Type::Array; }

  // Members and elements; empty for other types.
  const std::vector<std::pair<std::string, Value>>& Members() const { return m_members; }
  const std::vector<Value>& Elements() const { return m_elements; }
  // The first member of that name, nullptr when there is none or this is no object.
  const Value* Find(std::string_view name) const;
  std::optional<std::string> StringOf(std::string_view name) const;
  // An integral number in [lo, hi], nullopt otherwise.
  std::optional<long long> IntegerOf(std::string_view name, long long lo, long long hi) const;

  const std::string& Text() const { return m_string; }
  double NumberValue() const { return m_number; }
  bool BoolValue() const { return m_bool; }

  Value& Add(std::string name, Value v);  // to an object
  Value& Push(Value v);                   // to an array

 private:
  Type m_type = Type::Null;
  bool m_bool = false;
  double m_number = 0;
  std::string m_string;
  std::vector<std::pair<std::string, Value>> m_members;
  std::vector<Value> m_elements;
};

// nullopt and a reason ("Zeile 3: ...") for text that is no single JSON value.
std::optional<Value> Parse(std::string_view text, std::string& error);
// Indented text, members in their order, strings escaped (UTF-8 passed through).
std::string Write(const Value& value);

}  // namespace json
