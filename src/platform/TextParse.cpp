#include "platform/TextParse.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace text {

std::string_view Trim(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

namespace {
// Digits only, no sign; nothing for a value beyond 64 bits (never wrapped).
std::optional<unsigned long long> Magnitude(std::string_view s, int base) {
  if (s.empty()) return std::nullopt;
  unsigned long long v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
  if (end != s.data() + s.size() || ec != std::errc()) return std::nullopt;
  return v;
}
}  // namespace

std::optional<unsigned long long> ParseUnsigned(std::string_view s, unsigned long long hi) {
  s = Trim(s);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  auto m = Magnitude(s, 10);
  if (!m || *m > hi) return std::nullopt;
  return m;
}

std::optional<long long> ParseInteger(std::string_view s, long long lo, long long hi) {
  s = Trim(s);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  auto m = Magnitude(s, 10);
  if (!m) return std::nullopt;
  constexpr unsigned long long kMinMagnitude = 1ULL << 63;
  if (negative) {
    if (*m > kMinMagnitude) return std::nullopt;
    long long v = *m == kMinMagnitude ? INT64_MIN : -static_cast<long long>(*m);
    if (v < lo || v > hi) return std::nullopt;
    return v;
  }
  if (*m > static_cast<unsigned long long>(INT64_MAX) || static_cast<long long>(*m) > hi ||
      static_cast<long long>(*m) < lo)
    return std::nullopt;
  return static_cast<long long>(*m);
}

std::optional<double> ParseFloat(std::string_view s) {
  s = Trim(s);
  if (s.size() > 1 && s.front() == '+' && s[1] != '-') s.remove_prefix(1);
  if (s.empty()) return std::nullopt;
  double v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<uint32_t> ParseHex(std::string_view s) {
  s = Trim(s);
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.remove_prefix(2);
  auto m = Magnitude(s, 16);
  if (!m || *m > 0xFFFFFFFFULL) return std::nullopt;
  return static_cast<uint32_t>(*m);
}

uint32_t HexOrZero(std::string_view s) { return ParseHex(s).value_or(0); }

std::string FormatHex(uint32_t value, int digits) {
  char buf[16];
  int n = std::snprintf(buf, sizeof buf, "%0*X", digits < 0 ? 0 : digits > 8 ? 8 : digits, value);
  return std::string(buf, static_cast<size_t>(n));
}

}  // namespace text
