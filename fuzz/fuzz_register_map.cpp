// The register views' decoding of any register contents, for the control and the data LCA:
// each register the map reads takes the next two input bytes. Whatever the card holds, a
// choice shows one of its buttons or none, and a field that is written and read back the same
// way reads back from the written registers as it was shown.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "card/ByteImage.h"
#include "card/ControlLca.h"
#include "card/DataLca.h"

namespace {
void Require(bool ok) {
  if (!ok) std::abort();
}

bool ShowsButton(const regmap::Field& f, uint32_t value) {
  for (const auto& c : f.choices)
    if (c.value == value) return true;
  return false;
}

// Written with the bits it is read from, unscaled and unclamped: the value survives a write.
bool RoundTrips(const regmap::Field& f, uint32_t shown) {
  return f.written && f.readBack && f.scale == 1 && f.WriteBits() == f.bitCount &&
         !(f.writeMax && shown > f.writeMax) && f.kind != regmap::Kind::Choice;
}

void Check(std::span<const regmap::Field> fields, ByteView input, size_t& at) {
  regmap::Registers regs;
  for (uint16_t reg : regmap::ReadOrder(fields)) {
    regs[reg] = input.u16(at);  // zero behind the input
    at += 2;
  }
  const std::vector<uint32_t> shown = regmap::Decode(fields, regs);
  for (size_t i = 0; i < fields.size(); ++i) {
    const regmap::Field& f = fields[i];
    if (f.kind == regmap::Kind::Flag) Require(shown[i] <= 1);
    if (f.kind == regmap::Kind::Choice) Require(shown[i] == regmap::kNoChoice || ShowsButton(f, shown[i]));
  }
  const regmap::Registers written = regmap::Encode(fields, shown);
  const std::vector<uint16_t> order = regmap::WriteOrder(fields);
  Require(written.size() == order.size());
  for (const auto& [reg, value] : written) Require(std::find(order.begin(), order.end(), reg) != order.end());
  const std::vector<uint32_t> again = regmap::Decode(fields, written);
  for (size_t i = 0; i < fields.size(); ++i)
    if (RoundTrips(fields[i], shown[i])) Require(again[i] == shown[i]);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const ByteView input(data, size);
  size_t at = 0;
  Check(lca::ControlLcaFields(), input, at);
  Check(datalca::DataLcaFields(), input, at);
  return 0;
}
