#include "platform/Cp1252.h"

#include <cstdint>

namespace {
// 0x80..0x9F. The five unassigned bytes map to the C1 controls of the same value, as
// Windows does, so that every byte survives a round trip through UTF-8.
constexpr char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes one UTF-8 sequence at i; returns its length, 0 when invalid.
size_t DecodeOne(std::string_view s, size_t i, char32_t& c) {
  auto b = static_cast<uint8_t>(s[i]);
  size_t len;
  if (b < 0x80) {
    c = b;
    return 1;
  } else if ((b & 0xE0) == 0xC0) {
    len = 2;
    c = b & 0x1F;
  } else if ((b & 0xF0) == 0xE0) {
    len = 3;
    c = b & 0x0F;
  } else if ((b & 0xF8) == 0xF0) {
    len = 4;
    c = b & 0x07;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    auto cb = static_cast<uint8_t>(s[i + k]);
    if ((cb & 0xC0) != 0x80) return 0;
    c = (c << 6) | (cb & 0x3F);
  }
  static constexpr char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kMin[len] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return len;
}
// The Windows-1252 byte of a character, -1 when it has none.
int ByteFor(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (int k = 0; k < 32; ++k)
    if (kHigh[k] == c) return 0x80 + k;
  return -1;
}

// Walks UTF-8 text: valid sequences go to onChar(code point, bytes), others byte by byte
// to onInvalid(byte).
template <class OnChar, class OnInvalid>
void WalkUtf8(std::string_view s, OnChar onChar, OnInvalid onInvalid) {
  for (size_t i = 0; i < s.size();) {
    char32_t c;
    size_t len = DecodeOne(s, i, c);
    if (len == 0) {
      onInvalid(s[i++]);
      continue;
    }
    onChar(c, s.substr(i, len));
    i += len;
  }
}
}  // namespace

namespace cp1252 {
std::string ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
  const size_t n = bytes.size();
  for (size_t i = 0; i < n;) {
    // Runs of ASCII, nearly all of an INI file, are copied in one go.
    size_t j = i;
    while (j < n && p[j] < 0x80) ++j;
    if (j > i) {
      out.append(bytes.data() + i, j - i);
      i = j;
      continue;
    }
    auto b = p[i++];
    if (b < 0xA0)
      AppendUtf8(out, kHigh[b - 0x80]);
    else
      AppendUtf8(out, b);
  }
  return out;
}

std::string FromUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  WalkUtf8(
      s,
      [&out](char32_t c, std::string_view) {
        int b = ByteFor(c);
        out += b < 0 ? '?' : static_cast<char>(b);
      },
      [&out](char byte) { out += byte; });
  return out;
}

std::optional<char32_t> FromUtf8Strict(std::string_view s, std::string& out) {
  out.clear();
  out.reserve(s.size());
  const auto* p = reinterpret_cast<const uint8_t*>(s.data());
  for (size_t i = 0; i < s.size();) {
    // Runs of ASCII, nearly all of an INI file, are copied in one go.
    size_t j = i;
    while (j < s.size() && p[j] < 0x80) ++j;
    if (j > i) {
      out.append(s.data() + i, j - i);
      i = j;
      continue;
    }
    char32_t c;
    size_t len = DecodeOne(s, i, c);
    if (len == 0) {
      out += s[i++];
      continue;
    }
    int b = ByteFor(c);
    if (b < 0) return c;
    out += static_cast<char>(b);
    i += len;
  }
  return std::nullopt;
}
}  // namespace cp1252

namespace utf16 {
std::string ToUtf8(std::string_view bytes, bool& broken) {
  std::string out;
  out.reserve(bytes.size() / 2 + bytes.size() / 16);
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
  const size_t n = bytes.size() / 2;
  auto unit = [p](size_t k) { return static_cast<char32_t>(p[2 * k] | (p[2 * k + 1] << 8)); };
  for (size_t k = 0; k < n; ++k) {
    char32_t c = unit(k);
    if (c >= 0xD800 && c <= 0xDBFF && k + 1 < n && unit(k + 1) >= 0xDC00 && unit(k + 1) <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(k + 1) - 0xDC00);
      ++k;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
      broken = true;
    }
    AppendUtf8(out, c);
  }
  if (bytes.size() % 2 != 0) {
    AppendUtf8(out, 0xFFFD);
    broken = true;
  }
  return out;
}

std::string FromUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size() * 2);
  auto put = [&out](char32_t u) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
  };
  auto putChar = [&put](char32_t c) {
    if (c < 0x10000) {
      put(c);
    } else {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  };
  WalkUtf8(
      s, [&putChar](char32_t c, std::string_view) { putChar(c); },
      [&putChar](char byte) {
        auto b = static_cast<uint8_t>(byte);
        putChar(b < 0xA0 ? kHigh[b - 0x80] : b);
      });
  return out;
}
}  // namespace utf16

namespace utf8 {
std::string FromCodePoint(char32_t c) {
  std::string out;
  AppendUtf8(out, c);
  return out;
}

std::string Repair(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  WalkUtf8(
      s, [&out](char32_t, std::string_view bytes) { out.append(bytes); },
      [&out](char byte) { out += cp1252::ToUtf8(std::string_view(&byte, 1)); });
  return out;
}

bool IsValid(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    char32_t c;
    size_t len = DecodeOne(s, i, c);
    if (len == 0) return false;
    i += len;
  }
  return true;
}
}  // namespace utf8
