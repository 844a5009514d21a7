#pragma once
// Trimming, integer, float and hexadecimal parsing and hex formatting: one copy for the dialogs,
// the presets files, the bench files and the configuration. Locale-independent and free of
// undefined behaviour for any input.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace text {
// Blanks, tabs, CR and LF at both ends.
std::string_view Trim(std::string_view s);

// Decimal integer with an optional sign; nullopt for anything else or a value that does not
// fit [lo, hi].
std::optional<long long> ParseInteger(std::string_view s, long long lo, long long hi);
std::optional<unsigned long long> ParseUnsigned(std::string_view s, unsigned long long hi);
// Decimal float ("20.5", "-1e3"); nullopt for text that is no finite number.
std::optional<double> ParseFloat(std::string_view s);

// Hexadecimal as typed: upper or lower case, with or without "0x"; nullopt when the text is no
// hexadecimal number or exceeds 32 bits.
std::optional<uint32_t> ParseHex(std::string_view s);
// Presets read as on Windows: text that is no number counts as 0.
uint32_t HexOrZero(std::string_view s);

// Upper case with a fixed number of digits ("%0*X"); values wider than digits keep all digits.
std::string FormatHex(uint32_t value, int digits);
}  // namespace text
