// The number parsers behind the dialogs' fields and the presets: each is checked against a
// plain digit-by-digit reading of the same text. The first byte picks the field's range and
// the hex width; the rest is the typed text.
#include <cinttypes>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/TextParse.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

struct Range {
  long long lo, hi;
};
// Ranges the dialogs use: bytes, words, signed words, card numbers, 32 and 64 bits, empty.
constexpr Range kRanges[] = {{0, 255},          {0, 65535},         {-32768, 32767},     {1, 16},
                             {INT32_MIN, INT32_MAX}, {LLONG_MIN, LLONG_MAX}, {0, LLONG_MAX}, {5, 4}};

bool Digits(std::string_view s, int base) {
  if (s.empty()) return false;
  for (char c : s) {
    const bool dec = c >= '0' && c <= '9';
    const bool hex = (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (!dec && !(base == 16 && hex)) return false;
  }
  return true;
}

// The digits' value, or nothing beyond max.
std::optional<unsigned long long> Value(std::string_view digits, int base, unsigned long long max) {
  unsigned __int128 v = 0;
  for (char c : digits) {
    unsigned d = c <= '9' ? unsigned(c - '0') : unsigned((c | 0x20) - 'a' + 10);
    v = v * static_cast<unsigned>(base) + d;
    if (v > max) return std::nullopt;
  }
  return static_cast<unsigned long long>(v);
}

std::optional<long long> ReferenceInteger(std::string_view t, Range r) {
  bool negative = false;
  if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
    negative = t[0] == '-';
    t.remove_prefix(1);
  }
  if (!Digits(t, 10)) return std::nullopt;
  auto m = Value(t, 10, negative ? 1ULL << 63 : static_cast<unsigned long long>(LLONG_MAX));
  if (!m) return std::nullopt;
  long long v = negative ? static_cast<long long>(0ULL - *m) : static_cast<long long>(*m);
  if (v < r.lo || v > r.hi) return std::nullopt;
  return v;
}

std::optional<unsigned long long> ReferenceUnsigned(std::string_view t, unsigned long long hi) {
  if (!t.empty() && t[0] == '+') t.remove_prefix(1);
  if (!Digits(t, 10)) return std::nullopt;
  return Value(t, 10, hi);
}

std::optional<uint32_t> ReferenceHex(std::string_view t) {
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) t.remove_prefix(2);
  if (!Digits(t, 16)) return std::nullopt;
  auto v = Value(t, 16, 0xFFFFFFFFu);
  if (!v) return std::nullopt;
  return static_cast<uint32_t>(*v);
}

void CheckFloat(std::string_view t, const std::string& typed) {
  auto v = text::ParseFloat(typed);
  if (v) {
    // Only decimal notation: no hex floats, no "inf" or "nan".
    Check(t.find_first_not_of("+-.0123456789eE") == std::string_view::npos);
    char again[40];
    std::snprintf(again, sizeof again, "%.17g", *v);
    Check(text::ParseFloat(again) == v);
  }
  // Plain decimals "[-]digits[.digits]" of a few digits always read, as strtod reads them.
  std::string_view body = t;
  if (!body.empty() && body[0] == '-') body.remove_prefix(1);
  const size_t dot = body.find('.');
  const bool plain = body.size() <= 15 && Digits(body.substr(0, dot), 10) &&
                     (dot == std::string_view::npos || Digits(body.substr(dot + 1), 10));
  if (plain) {
    Check(v.has_value());
    Check(*v == std::strtod(std::string(t).c_str(), nullptr));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const Range range = kRanges[data[0] % std::size(kRanges)];
  const int digits = data[0] >> 4;
  const std::string typed(reinterpret_cast<const char*>(data + 1), size - 1);

  const std::string_view t = text::Trim(typed);
  Check(typed.find(t) != std::string::npos);
  constexpr std::string_view kBlanks = " \t\r\n";
  Check(t.empty() || (kBlanks.find(t.front()) == kBlanks.npos && kBlanks.find(t.back()) == kBlanks.npos));

  auto i = text::ParseInteger(typed, range.lo, range.hi);
  Check(i == ReferenceInteger(t, range));
  const unsigned long long uhi = range.hi < 0 ? 0 : static_cast<unsigned long long>(range.hi);
  Check(text::ParseUnsigned(typed, uhi) == ReferenceUnsigned(t, uhi));
  Check(text::ParseUnsigned(typed, ULLONG_MAX) == ReferenceUnsigned(t, ULLONG_MAX));

  auto h = text::ParseHex(typed);
  Check(h == ReferenceHex(t));
  Check(text::HexOrZero(typed) == h.value_or(0));
  if (h) {
    const std::string shown = text::FormatHex(*h, digits);
    int needed = 1;
    while (needed < 8 && (*h >> (4 * needed))) ++needed;
    Check(shown.size() == static_cast<size_t>(std::max(needed, std::min(digits, 8))));
    Check(shown.find_first_not_of("0123456789ABCDEF") == std::string::npos);
    Check(text::ParseHex(shown) == h);
  }

  CheckFloat(t, typed);
  return 0;
}
