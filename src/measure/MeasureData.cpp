#include "measure/MeasureData.h"

#include <bit>
#include <cstring>

#include "measure/TextFormat.h"

namespace measure {

bool isAscanType(uint8_t type) {
  return type == kTypePacked12 || type == kTypeAscan14 || type == kTypeAscan60;
}

BlockHeader readBlockHeader(ByteView v, size_t offset) {
  BlockHeader h;
  uint32_t w = v.u32(offset);
  h.type = static_cast<uint8_t>(w);
  h.length = w >> 8;
  h.kennung = static_cast<int16_t>(v.u16(offset + 4));
  return h;
}

bool startsWithTimeStamp(ByteView v, size_t offset) {
  return v.has(offset, 1) && v.u8(offset) == kTypeTimeStamp;
}

TimeStampPrefix readTimeStampPrefix(ByteView v, size_t offset) {
  return TimeStampPrefix{v.u32(offset + 4)};
}

GateSlot readGateSlot(ByteView v, size_t offset) {
  GateSlot s;
  s.amplitudeRaw = v.u16(offset);
  s.time = v.u16(offset + 4);
  s.flags = v.u16(offset + 6);
  return s;
}

GateRecord readGateRecord(ByteView v, size_t offset) {
  GateRecord r;
  r.header = readBlockHeader(v, offset);
  for (size_t k = 0; k < 5; ++k)
    r.slot[k] = readGateSlot(v, offset + GateRecord::kSlotOffset + GateSlot::kSize * k);
  return r;
}

CompactGateRecord readCompactGateRecord(ByteView v, size_t offset) {
  CompactGateRecord r;
  r.d = v.u16(offset) | (static_cast<uint32_t>(v.u16(offset + 2) & 0xF) << 16);
  for (size_t k = 0; k < 5; ++k) {
    uint16_t lo = v.u16(offset + 4 + 4 * k);
    uint16_t hi = v.u16(offset + 6 + 4 * k);
    CompactGate& g = r.gate[k];
    g.time = lo | (static_cast<uint32_t>(hi & 0xF) << 16);
    g.marker = (hi & 0x10) != 0;
    g.present = (hi & 0x20) != 0;
    g.value = hi >> 6;
  }
  return r;
}

ControlCode ControlWord::code() const {
  switch (value) {
    case 0xFFFFEFFDu: return ControlCode::EndTest;
    case 0xFFFFEFFEu: return ControlCode::EndTrack;
    case 0xFFFFEFFFu: return ControlCode::EndCycle;
    default: return ControlCode::Other;
  }
}

bool isControlWordAt(ByteView v, size_t offset) {
  return v.has(offset, ControlWord::kSize) && v.u16(offset + 2) == 0xFFFF;
}

std::string controlWordText(ControlWord w) {
  switch (w.code()) {
    case ControlCode::EndTest: return "Ende Prüfung";
    case ControlCode::EndTrack: return "Ende Prüfspur";
    case ControlCode::EndCycle: return "Ende Prüfzyklus";
    case ControlCode::Other: break;
  }
  return format("Steuerzeichen %X-%X", static_cast<unsigned>(w.high()),
                static_cast<unsigned>(w.low()));
}

GateReadout readGateReadout(ByteView v) {
  GateReadout r{};
  r.d = static_cast<int32_t>(v.u32(0));
  r.unused = v.u32(4);
  for (size_t k = 0; k < 5; ++k) {
    size_t o = 8 + 12 * k;
    r.gate[k].t = static_cast<int32_t>(v.u32(o));
    r.gate[k].amplitudeRaw = v.u16(o + 4);
    r.gate[k].unused = v.u16(o + 6);
    r.gate[k].marker = v.u32(o + 8);
  }
  return r;
}

double sampleTimeMicroseconds(uint8_t samplerate) {
  static constexpr double kTable[8] = {0.0125, 0.025, 0.05, 0.1,
                                       0.00625, 0.00625, 0.00625, 0.00625};
  return kTable[samplerate & 7];
}

size_t packedSampleCount(size_t words) { return words / 3 * 4 + words % 3; }

namespace {

// The three words of a group form one 48-bit little-endian number holding four 12-bit
// fields; sample k is field k moved to the top of 16 bits.
inline void unpackGroup(uint64_t x, int16_t* out) {
  out[0] = static_cast<int16_t>((x << 4) & 0xFFF0);
  out[1] = static_cast<int16_t>((x >> 8) & 0xFFF0);
  out[2] = static_cast<int16_t>((x >> 20) & 0xFFF0);
  out[3] = static_cast<int16_t>((x >> 32) & 0xFFF0);
}

inline uint64_t load64le(const uint8_t* p) {
  uint64_t x;
  std::memcpy(&x, p, sizeof x);
  if constexpr (std::endian::native == std::endian::big) x = __builtin_bswap64(x);
  return x;
}

}  // namespace

size_t unpackPacked12(const uint8_t* packed, size_t words, int16_t* out, size_t maxSamples) {
  size_t samples = packedSampleCount(words);
  if (samples > maxSamples) samples = maxSamples;
  size_t groups = samples / 4;
  size_t bytes = words * 2;
  size_t g = 0;
  // Whole groups with two spare bytes behind them take one 8-byte load each.
  for (; g < groups && g * 6 + 8 <= bytes; ++g) unpackGroup(load64le(packed + g * 6), out + g * 4);
  ByteView v(packed, bytes);
  for (size_t i = g * 4; i < samples; i += 4) {
    size_t o = i / 4 * 6;
    uint64_t x = v.u16(o) | (static_cast<uint64_t>(v.u16(o + 2)) << 16) |
                 (static_cast<uint64_t>(v.u16(o + 4)) << 32);
    int16_t tmp[4];
    unpackGroup(x, tmp);
    for (size_t k = 0; k < 4 && i + k < samples; ++k) out[i + k] = tmp[k];
  }
  return samples;
}

}  // namespace measure
