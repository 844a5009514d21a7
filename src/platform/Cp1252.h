#pragma once
// Windows-1252 at the boundary to files of the original tool and to 8-bit card texts.
#include <string>
#include <string_view>

namespace cp1252 {
// Every byte maps to a character (the five unassigned bytes to the C1 controls U+0081,
// U+008D, U+008F, U+0090, U+009D, as on Windows), so FromUtf8(ToUtf8(b)) == b.
std::string ToUtf8(std::string_view bytes);
// Characters without a Windows-1252 byte become '?'; invalid UTF-8 bytes are taken as they are.
std::string FromUtf8(std::string_view utf8);
}  // namespace cp1252

namespace utf8 {
bool IsValid(std::string_view bytes);
// Valid sequences unchanged; each invalid byte read as a Windows-1252 character.
std::string Repair(std::string_view bytes);
}  // namespace utf8
