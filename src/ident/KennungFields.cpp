#include "ident/KennungFields.h"

#include <algorithm>
#include <bit>

#include "card/ByteImage.h"
#include "platform/Cp1252.h"

namespace ident {
namespace {

int ListWidth(const Field& f, int floatListWidth) {
  if (f.kind == Kind::F32) return floatListWidth;
  return f.item == 39 ? 3 : 0;  // "Grunddämpfung" is shown "%3d,"
}

// Windows-1252 bytes of a typed text, cut to its field; or why they cannot be stored.
std::optional<CString> TextBytes(const FieldValue& v, const Field& f, Destination to, std::string& bytes) {
  std::optional<char32_t> missing = cp1252::FromUtf8Strict(v.text.str(), bytes);
  // A character that would be cut off anyway does not matter.
  if (missing && bytes.size() < f.count)
    return CString::Formatted("%s: Das Zeichen \"%s\" ist in Windows-1252 nicht darstellbar.", f.label,
                              utf8::FromCodePoint(*missing).c_str());
  bytes.resize(std::min(bytes.size(), f.count));
  if (to != Destination::PresetsFile) return std::nullopt;
  // The file's lines end at control characters and its values at ";".
  for (char c : bytes) {
    if (c == ';')
      return CString::Formatted("%s: Das Zeichen \";\" kann in der Vorgabendatei nicht gespeichert werden.", f.label);
    if (static_cast<unsigned char>(c) < 0x20)
      return CString::Formatted("%s: Steuerzeichen (0x%02X) können in der Vorgabendatei nicht gespeichert werden.",
                                f.label, static_cast<unsigned>(static_cast<unsigned char>(c)));
  }
  return std::nullopt;
}

}  // namespace

KennungFields FieldsFromRecord(const KennungRecord& record, int floatListWidth) {
  const ByteView view(reinterpret_cast<const uint8_t*>(&record), sizeof record);
  KennungFields fields;
  for (size_t i = 0; i < kFieldCount; ++i) {
    const Field& f = Fields()[i];
    FieldValue& v = fields[i];
    if (f.kind == Kind::Text)
      v.text = cp1252::ToUtf8(ValueText(record, f));
    else if (f.list)
      v.text = ShowList(record, f, ListWidth(f, floatListWidth));
    else if (f.kind == Kind::F32)
      v.real = std::bit_cast<float>(view.u32(f.offset));
    else
      v.number = view.u8(f.offset);
  }
  return fields;
}

std::optional<CString> RecordFromFields(const KennungFields& fields, Destination to, KennungRecord& record) {
  KennungRecord built{};
  ByteWriter w(reinterpret_cast<uint8_t*>(&built), sizeof built);
  for (size_t i = 0; i < kFieldCount; ++i) {
    const Field& f = Fields()[i];
    const FieldValue& v = fields[i];
    if (f.kind == Kind::Text) {
      std::string bytes;
      if (auto problem = TextBytes(v, f, to, bytes)) return problem;
      for (size_t k = 0; k < bytes.size(); ++k) w.u8(f.offset + k, static_cast<unsigned char>(bytes[k]));
    } else if (f.list) {
      ParseList(v.text.str(), built, f);
    } else if (f.kind == Kind::F32) {
      w.u32(f.offset, std::bit_cast<uint32_t>(v.real));
    } else {
      w.u8(f.offset, v.number & 0xFF);
    }
  }
  record = built;
  return std::nullopt;
}

std::optional<Difference> FirstDifference(const KennungRecord& soll, const KennungRecord& ist) {
  for (const Field& f : Fields()) {
    std::string a = ValueText(soll, f);
    std::string b = ValueText(ist, f);
    // One presets file serves a card type: a "Karte" preset "ZORIX7F" fits "ZORIX7F 1234",
    // whose serial number no presets file can know.
    bool fits = f.item == 1 && !a.empty() && b.compare(0, a.size(), a) == 0 &&
                (b.size() == a.size() || b[a.size()] == ' ');
    if (a != b && !fits) return Difference{f.label, cp1252::ToUtf8(a), cp1252::ToUtf8(b)};
  }
  return std::nullopt;
}

}  // namespace ident
