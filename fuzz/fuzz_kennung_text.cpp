// The identification text reader on any input, and the write-then-read round trip: texts,
// numbers and lists survive it, and from the second round on the text reads back to the same
// record (floats keep two decimals: one written "0.00" reads back as 0 and ends its list in
// the next round). The first 240 bytes also go in as a card's record, as the dialogs take it.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "ident/KennungFields.h"

namespace {
void Require(bool ok) {
  if (!ok) std::abort();
}

void RoundTrip(const KennungRecord& first) {
  const std::string text = ident::KennungText(first);
  Require(text.size() >= 2 && text.compare(text.size() - 2, 2, "\n0") == 0);
  const KennungRecord second = ident::ParseKennungText(text);
  for (const ident::Field& f : ident::Fields())
    if (f.kind != ident::Kind::F32) Require(ident::ValueText(first, f) == ident::ValueText(second, f));
  const std::string settled = ident::KennungText(second);
  const KennungRecord third = ident::ParseKennungText(settled);
  Require(ident::KennungText(third) == settled);
  const KennungRecord fourth = ident::ParseKennungText(ident::KennungText(third));
  Require(std::memcmp(&third, &fourth, sizeof third) == 0);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  RoundTrip(ident::ParseKennungText(input));

  KennungRecord card{};
  std::memcpy(&card, data, std::min(size, sizeof card));
  // A card's texts may hold ";" or line ends: after one reading the text is a reader's.
  RoundTrip(ident::ParseKennungText(ident::KennungText(card)));
  KennungRecord built{};
  ident::RecordFromFields(ident::FieldsFromRecord(card, 5), ident::Destination::Card, built);
  if (!ident::RecordFromFields(ident::FieldsFromRecord(card, 0), ident::Destination::PresetsFile, built))
    RoundTrip(built);
  return 0;
}
