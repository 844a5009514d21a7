#pragma once
// Windows-1252 and UTF-16LE at the boundary to files of the Windows version and to 8-bit card
// texts; UTF-8 inside.
#include <optional>
#include <string>
#include <string_view>

namespace cp1252 {
// Every byte maps to a character (the five unassigned bytes to the C1 controls U+0081,
// U+008D, U+008F, U+0090, U+009D, as on Windows), so FromUtf8(ToUtf8(b)) == b.
std::string ToUtf8(std::string_view bytes);
// Characters without a Windows-1252 byte become '?'; invalid UTF-8 bytes are taken as they are.
std::string FromUtf8(std::string_view utf8);
// As FromUtf8, but stops at the first character without a Windows-1252 byte and returns it.
std::optional<char32_t> FromUtf8Strict(std::string_view utf8, std::string& out);
}  // namespace cp1252

namespace utf16 {
// Little-endian code units without a byte order mark. A lone surrogate or a last odd byte
// reads as U+FFFD and sets broken.
std::string ToUtf8(std::string_view bytes, bool& broken);
// Invalid UTF-8 bytes are taken as Windows-1252 characters, as utf8::Repair does.
std::string FromUtf8(std::string_view utf8);
}  // namespace utf16

namespace utf8 {
bool IsValid(std::string_view bytes);
// Valid sequences unchanged; each invalid byte read as a Windows-1252 character.
std::string Repair(std::string_view bytes);
std::string FromCodePoint(char32_t c);
}  // namespace utf8
