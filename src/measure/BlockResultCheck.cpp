#include "measure/BlockResultCheck.h"

#include "measure/MeasureData.h"
#include "measure/TextFormat.h"

namespace measure {

namespace {

int findSet(int16_t kennung, const int16_t ident[8]) {
  for (int s = 1; s <= 7; ++s)
    if (ident[s] == kennung) return s;
  return -1;
}

}  // namespace

BlockCheckResult checkBlockResults(const uint8_t* data, size_t size, int cycle,
                                   const int16_t ident[8], const GateLimits limits[8]) {
  ByteView v(data, size);
  BlockCheckResult r;
  // A buffer with no bytes reads as type 0, which is "no gate results" too.
  size_t first = startsWithTimeStamp(v, 0) ? TimeStampPrefix::kSize : 0;
  uint8_t type = v.u8(first);
  if (type != kTypeGates) {
    r.status = BlockCheckStatus::NoGates;
    r.text = format("Keine Blenden! Kennung %X", static_cast<unsigned>(type));
    return r;
  }
  size_t pos = 0;
  while (pos < v.size()) {
    size_t rec = startsWithTimeStamp(v, pos) ? pos + TimeStampPrefix::kSize : pos;
    if (!v.has(rec, GateRecord::kSize)) break;
    ++r.records;
    int16_t kennung = static_cast<int16_t>(v.u16(rec + 4));
    int s = findSet(kennung, ident);
    if (s < 0) {
      r.status = BlockCheckStatus::WrongKennung;
      r.text = format("Falsche Kennung %d", static_cast<int>(static_cast<uint16_t>(kennung)));
      r.bytesWalked = pos;
      return r;
    }
    for (int k = 0; k < 4; ++k) {
      GateSlot slot = readGateSlot(v, rec + GateRecord::kSlotOffset + GateSlot::kSize * k);
      if (!slot.present()) continue;
      uint32_t t = slot.time / 2u;
      uint32_t lo = limits[s].start[k + 1];
      uint32_t hi = limits[s].end[k + 1];
      if (t < lo || t > hi) {
        r.status = BlockCheckStatus::GateFailed;
        r.text = format("Block %d Satz %d B%d %d - %d - %d ", cycle + 1, r.records, k + 1,
                        static_cast<int>(lo), static_cast<int>(t), static_cast<int>(hi));
        r.bytesWalked = pos;
        return r;
      }
    }
    pos = rec + GateRecord::kSize;
    if (isControlWordAt(v, pos)) pos += ControlWord::kSize;
  }
  r.bytesWalked = pos < v.size() ? pos : v.size();
  return r;
}

}  // namespace measure
