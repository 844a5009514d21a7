#include "snapshot/Json.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace json {

Value Value::Boolean(bool b) {
  Value v;
  v.m_type = Type::Bool;
  v.m_bool = b;
  return v;
}
Value Value::Number(double d) {
  Value v;
  v.m_type = Type::Number;
  v.m_number = d;
  return v;
}
Value Value::String(std::string s) {
  Value v;
  v.m_type = Type::String;
  v.m_string = std::move(s);
  return v;
}
Value Value::Array() {
  Value v;
  v.m_type = Type::Array;
  return v;
}
Value Value::Object() {
  Value v;
  v.m_type = Type::Object;
  return v;
}

const Value* Value::Find(std::string_view name) const {
  for (const auto& [key, value] : m_members)
    if (key == name) return &value;
  return nullptr;
}

std::optional<std::string> Value::StringOf(std::string_view name) const {
  const Value* v = Find(name);
  if (!v || v->m_type != Type::String) return std::nullopt;
  return v->m_string;
}

std::optional<long long> Value::IntegerOf(std::string_view name, long long lo, long long hi) const {
  const Value* v = Find(name);
  if (!v || v->m_type != Type::Number) return std::nullopt;
  const double d = v->m_number;
  if (!(d >= static_cast<double>(lo) && d <= static_cast<double>(hi)) || std::floor(d) != d) return std::nullopt;
  return static_cast<long long>(d);
}

Value& Value::Add(std::string name, Value v) {
  m_members.emplace_back(std::move(name), std::move(v));
  return m_members.back().second;
}

Value& Value::Push(Value v) {
  m_elements.push_back(std::move(v));
  return m_elements.back();
}

namespace {
const Value& ValueOf(const Value& v) { return v; }
const Value& ValueOf(const std::pair<std::string, Value>& member) { return member.second; }

// Deep enough for any snapshot, shallow enough that hostile input cannot exhaust the stack.
constexpr int kMaxDepth = 32;

class Parser {
 public:
  explicit Parser(std::string_view text) : m_text(text) {}

  std::optional<Value> Document(std::string& error) {
    Value v;
    if (ParseValue(v, 0)) {
      SkipBlanks();
      if (m_pos == m_text.size()) return v;
      Fail("Text nach dem Ende");
    }
    size_t line = 1;
    for (size_t i = 0; i < m_failAt && i < m_text.size(); ++i) line += m_text[i] == '\n';
    error = "Zeile " + std::to_string(line) + ": " + m_why;
    return std::nullopt;
  }

 private:
  bool Fail(const char* why) {
    if (m_why.empty()) {
      m_why = why;
      m_failAt = m_pos;
    }
    return false;
  }
  void SkipBlanks() {
    while (m_pos < m_text.size() &&
           (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\n' || m_text[m_pos] == '\r'))
      ++m_pos;
  }
  bool Take(char c) {
    SkipBlanks();
    if (m_pos < m_text.size() && m_text[m_pos] == c) {
      ++m_pos;
      return true;
    }
    return false;
  }
  bool Word(std::string_view word) {
    if (m_text.substr(m_pos, word.size()) != word) return Fail("unbekanntes Wort");
    m_pos += word.size();
    return true;
  }

  bool ParseValue(Value& out, int depth) {
    if (depth > kMaxDepth) return Fail("zu tief verschachtelt");
    SkipBlanks();
    if (m_pos >= m_text.size()) return Fail("Wert fehlt");
    switch (m_text[m_pos]) {
      case '{':
        return ParseObject(out, depth);
      case '[':
        return ParseArray(out, depth);
      case '"': {
        std::string s;
        if (!ParseString(s)) return false;
        out = Value::String(std::move(s));
        return true;
      }
      case 't':
        out = Value::Boolean(true);
        return Word("true");
      case 'f':
        out = Value::Boolean(false);
        return Word("false");
      case 'n':
        out = Value();
        return Word("null");
      default:
        if (m_text[m_pos] != '-' && (m_text[m_pos] < '0' || m_text[m_pos] > '9')) return Fail("Wert erwartet");
        return ParseNumber(out);
    }
  }

  bool ParseObject(Value& out, int depth) {
    ++m_pos;
    out = Value::Object();
    if (Take('}')) return true;
    do {
      SkipBlanks();
      std::string name;
      if (m_pos >= m_text.size() || m_text[m_pos] != '"') return Fail("Name erwartet");
      if (!ParseString(name)) return false;
      if (!Take(':')) return Fail("':' erwartet");
      Value member;
      if (!ParseValue(member, depth + 1)) return false;
      out.Add(std::move(name), std::move(member));
    } while (Take(','));
    return Take('}') || Fail("'}' erwartet");
  }

  bool ParseArray(Value& out, int depth) {
    ++m_pos;
    out = Value::Array();
    if (Take(']')) return true;
    do {
      Value element;
      if (!ParseValue(element, depth + 1)) return false;
      out.Push(std::move(element));
    } while (Take(','));
    return Take(']') || Fail("']' erwartet");
  }

  bool ParseNumber(Value& out) {
    const size_t start = m_pos;
    auto digits = [&] {
      size_t from = m_pos;
      while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9') ++m_pos;
      return m_pos > from;
    };
    if (m_pos < m_text.size() && m_text[m_pos] == '-') ++m_pos;
    if (!digits()) return Fail("Zahl erwartet");
    if (m_pos < m_text.size() && m_text[m_pos] == '.' && (++m_pos, !digits())) return Fail("Ziffer erwartet");
    if (m_pos < m_text.size() && (m_text[m_pos] == 'e' || m_text[m_pos] == 'E')) {
      ++m_pos;
      if (m_pos < m_text.size() && (m_text[m_pos] == '+' || m_text[m_pos] == '-')) ++m_pos;
      if (!digits()) return Fail("Ziffer erwartet");
    }
    const std::string number(m_text.substr(start, m_pos - start));
    const double value = std::strtod(number.c_str(), nullptr);
    if (!std::isfinite(value)) return Fail("Zahl zu groß");
    out = Value::Number(value);
    return true;
  }

  bool Hex4(unsigned& code) {
    if (m_text.size() - m_pos < 4) return Fail("\\u braucht vier Ziffern");
    code = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = m_text[m_pos++];
      const int d = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
      if (d < 0) return Fail("\\u braucht vier Ziffern");
      code = code * 16 + static_cast<unsigned>(d);
    }
    return true;
  }

  static void AppendUtf8(std::string& s, unsigned code) {
    if (code < 0x80) {
      s += static_cast<char>(code);
    } else if (code < 0x800) {
      s += static_cast<char>(0xC0 | (code >> 6));
      s += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      s += static_cast<char>(0xE0 | (code >> 12));
      s += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      s += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      s += static_cast<char>(0xF0 | (code >> 18));
      s += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      s += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      s += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  bool Escape(std::string& s) {
    if (m_pos >= m_text.size()) return Fail("Text nicht beendet");
    const char c = m_text[m_pos++];
    switch (c) {
      case '"':
      case '\\':
      case '/':
        s += c;
        return true;
      case 'b':
        s += '\b';
        return true;
      case 'f':
        s += '\f';
        return true;
      case 'n':
        s += '\n';
        return true;
      case 'r':
        s += '\r';
        return true;
      case 't':
        s += '\t';
        return true;
      case 'u':
        break;
      default:
        return Fail("unbekanntes Escape");
    }
    unsigned code = 0;
    if (!Hex4(code)) return false;
    if (code >= 0xD800 && code < 0xDC00) {
      unsigned low = 0;
      if (m_text.substr(m_pos, 2) != "\\u" || (m_pos += 2, !Hex4(low)) || low < 0xDC00 || low > 0xDFFF)
        return Fail("halbes Ersatzzeichenpaar");
      code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
    } else if (code >= 0xDC00 && code < 0xE000) {
      return Fail("halbes Ersatzzeichenpaar");
    }
    AppendUtf8(s, code);
    return true;
  }

  bool ParseString(std::string& s) {
    ++m_pos;
    while (m_pos < m_text.size()) {
      const char c = m_text[m_pos++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return Fail("Steuerzeichen im Text");
      if (c != '\\') {
        s += c;
      } else if (!Escape(s)) {
        return false;
      }
    }
    return Fail("Text nicht beendet");
  }

  std::string_view m_text;
  size_t m_pos = 0;
  std::string m_why;
  size_t m_failAt = 0;
};

void WriteString(std::string& out, const std::string& s) {
  out += '"';
  size_t run = 0;  // start of the characters that need no escape
  for (size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c != '"' && c != '\\' && c >= 0x20) continue;
    out.append(s, run, i - run);
    run = i + 1;
    if (c >= 0x20) {
      out += '\\';
      out += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04X", c);
      out += buf;
    }
  }
  out.append(s, run, std::string::npos);
  out += '"';
}

bool IsScalar(const Value& v) { return !v.IsArray() && !v.IsObject(); }

void WriteValue(std::string& out, const Value& v, size_t indent);

// One line for a container of scalars (a field of a snapshot), one line per member otherwise.
template <typename Items, typename WriteItem>
void WriteContainer(std::string& out, const Items& items, size_t indent, char open, char close, WriteItem writeItem) {
  const bool flat = std::all_of(items.begin(), items.end(), [](const auto& item) { return IsScalar(ValueOf(item)); });
  out += open;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i) out += ',';
    if (flat) {
      if (i) out += ' ';
    } else {
      out += '\n';
      out.append(indent + 2, ' ');
    }
    writeItem(items[i], indent + 2);
  }
  if (!flat && !items.empty()) {
    out += '\n';
    out.append(indent, ' ');
  }
  out += close;
}

void WriteValue(std::string& out, const Value& v, size_t indent) {
  switch (v.type()) {
    case Value::Type::Null:
      out += "null";
      break;
    case Value::Type::Bool:
      out += v.BoolValue() ? "true" : "false";
      break;
    case Value::Type::Number: {
      char buf[32];
      std::snprintf(buf, sizeof buf, "%.17g", v.NumberValue());
      out += buf;
      break;
    }
    case Value::Type::String:
      WriteString(out, v.Text());
      break;
    case Value::Type::Array:
      WriteContainer(out, v.Elements(), indent, '[', ']',
                     [&out](const Value& e, size_t in) { WriteValue(out, e, in); });
      break;
    case Value::Type::Object:
      WriteContainer(out, v.Members(), indent, '{', '}', [&out](const auto& member, size_t in) {
        WriteString(out, member.first);
        out += ": ";
        WriteValue(out, member.second, in);
      });
      break;
  }
}
}  // namespace

std::optional<Value> Parse(std::string_view text, std::string& error) { return Parser(text).Document(error); }

std::string Write(const Value& value) {
  std::string out;
  WriteValue(out, value, 0);
  return out + "\n";
}

}  // namespace json
