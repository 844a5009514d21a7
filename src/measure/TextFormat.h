#pragma once
// printf-style text for the decoders' lines (the line formats are printf formats).
#include <string>

namespace measure {

std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void appendFormat(std::string& out, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

}  // namespace measure
