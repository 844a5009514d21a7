#pragma once
// What the identification dialogs show of a record, the record they build from what was
// typed, and the automatic check's comparison with the presets.
#include <array>
#include <optional>

#include "ident/KennungText.h"
#include "platform/CString.h"
#include "platform/WinTypes.h"

namespace ident {

// One shown value: texts and lists as UTF-8 text, floats and numbers as numbers.
struct FieldValue {
  CString text;
  float real = 0;
  UINT number = 0;
};
// In the order of Fields().
using KennungFields = std::array<FieldValue, kFieldCount>;

// Texts up to their first NUL, the numbers, lists of their nonzero entries ("%d,"; floats
// "%.2f," padded to floatListWidth; "Grunddämpfung" "%3d,").
KennungFields FieldsFromRecord(const KennungRecord& record, int floatListWidth);

enum class Destination { Card, PresetsFile };
// A record from all zeros: texts cut to their field, the low 8 bits of the numbers, lists by
// the list rule. A text the destination cannot hold gives the message to show instead.
std::optional<CString> RecordFromFields(const KennungFields& fields, Destination to, KennungRecord& record);

// The first field, in file order, whose values as the presets file holds them differ. The
// "Karte" text also fits when the preset is the card's text up to a blank (no serial number).
struct Difference {
  CString label;
  CString soll;
  CString ist;
};
std::optional<Difference> FirstDifference(const KennungRecord& soll, const KennungRecord& ist);

}  // namespace ident
