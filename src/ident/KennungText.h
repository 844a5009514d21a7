#pragma once
// The card's identification record and its text form, the identification presets file: one
// numbered item a line. Texts stay 8-bit Windows-1252 here; the dialogs convert at their edge.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "card/zorix7dll.h"

namespace ident {

enum class Kind { Text, U8, U16, F32 };

// One value the dialogs show. Item 16 holds two of them ("Bandgrenze unten", "Bandgrenze oben").
struct Field {
  int item;
  const char* label;
  const char* unit;
  size_t offset;  // in the record
  Kind kind;
  size_t count;   // characters of a text, entries of a list, 1 for a single value
  bool list;
};

inline constexpr size_t kFieldCount = 19;
// In the order of the file's lines.
std::span<const Field, kFieldCount> Fields();

// The record as the presets file holds it: lines ended by a line feed, the last line "0"
// without one.
std::string KennungText(const KennungRecord& record);
// Reads a text of that form into a record that starts as all zeros; lines it cannot use are
// dropped, a later line of an item replaces an earlier one.
KennungRecord ParseKennungText(std::string_view text);
// nullopt when the file is missing, no regular file, unreadable or implausibly large.
std::optional<KennungRecord> ReadKennungFile(const std::string& path);

// The values of a field as the file holds them: the text up to its first NUL; a number;
// a float with two decimals; a list's entries before its first 0, joined by ",".
std::string ValueText(const KennungRecord& record, const Field& field);
// The list rule of the file and the dialogs: numbers one after the other, each read from the
// start of what follows the previous ","; text that is no number gives 0; surplus values are
// dropped and entries not given are 0.
void ParseList(std::string_view text, KennungRecord& record, const Field& field);
// The dialogs' view of a list: every entry that is not 0, each followed by ",", the last ","
// removed. Numbers and floats (two decimals) are padded with blanks to width.
std::string ShowList(const KennungRecord& record, const Field& field, int width);

}  // namespace ident
