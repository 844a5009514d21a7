#include "measure/TextFormat.h"

#include <cstdarg>
#include <cstdio>

namespace measure {

namespace {

void appendV(std::string& out, const char* fmt, va_list args) {
  char small[256];
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(small, sizeof small, fmt, copy);
  va_end(copy);
  if (n < 0) return;
  if (static_cast<size_t>(n) < sizeof small) {
    out.append(small, static_cast<size_t>(n));
    return;
  }
  size_t old = out.size();
  out.resize(old + static_cast<size_t>(n) + 1);
  std::vsnprintf(out.data() + old, static_cast<size_t>(n) + 1, fmt, args);
  out.resize(old + static_cast<size_t>(n));
}

}  // namespace

std::string format(const char* fmt, ...) {
  std::string s;
  va_list args;
  va_start(args, fmt);
  appendV(s, fmt, args);
  va_end(args);
  return s;
}

void appendFormat(std::string& out, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  appendV(out, fmt, args);
  va_end(args);
}

}  // namespace measure
