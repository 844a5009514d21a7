#include "measure/MeasureData.h"

#include <bit>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZORIX7_MEASURE_AVX2 1
#endif

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

#ifdef ZORIX7_MEASURE_AVX2
// Four groups (24 bytes in, 16 samples out) per step: each 128-bit lane takes two groups
// and spreads every sample's 12 bits into a 16-bit lane; even samples then still need
// the shift by 4 that odd ones do not. Reads 28 bytes from `packed` per step.
__attribute__((target("avx2"))) size_t unpackGroupsAvx2(const uint8_t* packed, size_t groups,
                                                        size_t bytes, int16_t* out) {
  const __m256i spread = _mm256_setr_epi8(0, 1, 1, 2, 3, 4, 4, 5, 6, 7, 7, 8, 9, 10, 10, 11,  //
                                          0, 1, 1, 2, 3, 4, 4, 5, 6, 7, 7, 8, 9, 10, 10, 11);
  const __m256i mask = _mm256_set1_epi16(static_cast<short>(0xFFF0));
  size_t g = 0;
  for (; g + 4 <= groups && g * 6 + 28 <= bytes; g += 4) {
    const uint8_t* p = packed + g * 6;
    __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 12));
    __m256i v = _mm256_inserti128_si256(_mm256_castsi128_si256(lo), hi, 1);
    v = _mm256_shuffle_epi8(v, spread);
    v = _mm256_blend_epi16(_mm256_slli_epi16(v, 4), v, 0xAA);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + g * 4), _mm256_and_si256(v, mask));
  }
  return g;
}

bool haveAvx2() {
  static const bool have = __builtin_cpu_supports("avx2");
  return have;
}
#endif

}  // namespace

size_t unpackPacked12(const uint8_t* packed, size_t words, int16_t* out, size_t maxSamples) {
  size_t samples = packedSampleCount(words);
  if (samples > maxSamples) samples = maxSamples;
  if (samples == 0) return 0;
  const size_t groups = samples / 4;
  const size_t bytes = words * 2;
  size_t g = 0;
#ifdef ZORIX7_MEASURE_AVX2
  if (haveAvx2()) g = unpackGroupsAvx2(packed, groups, bytes, out);
#endif
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
