#include "sim/Shots.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "card/ByteImage.h"

namespace zorix7sim {
namespace {

constexpr size_t kNoiseTable = 1 << 16;

void Put16(std::vector<BYTE>& out, size_t at, uint32_t v) { ByteWriter(out).u16(at, v); }
void Put32(std::vector<BYTE>& out, size_t at, uint32_t v) { ByteWriter(out).u32(at, v); }

size_t PackedWords(size_t samples) {
  static const size_t kTail[4] = {0, 1, 2, 3};  // three samples need the whole group
  return samples / 4 * 3 + kTail[samples % 4];
}

size_t Grow(std::vector<BYTE>& out, size_t bytes) {
  size_t at = out.size();
  out.resize(at + bytes, 0);
  return at;
}

size_t PutTimeStamp(std::vector<BYTE>& out, DWORD time) {
  size_t at = Grow(out, kTimeStampBytes);
  out[at] = 0xFF;
  Put32(out, at + 4, time);
  return at + kTimeStampBytes;
}

void PutHeader(std::vector<BYTE>& out, size_t at, BYTE type, size_t length, int16_t kennung) {
  Put32(out, at, static_cast<uint32_t>(type) | static_cast<uint32_t>(length & 0xFFFFFF) << 8);
  Put16(out, at + 4, static_cast<uint16_t>(kennung));
}

uint32_t Clamp(int64_t v, uint32_t max) { return static_cast<uint32_t>(std::clamp<int64_t>(v, 0, max)); }

}  // namespace

uint64_t NoiseSource::Next() {
  // splitmix64: small state, good enough spread for a noise floor.
  uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

namespace {
// Response plus noise, clipped and rectified; the mode is a template argument so that the
// loop vectorises. The response stays within +-1e9 and the noise's rms within 16 bits (more
// saturates the converter all the same), so the sum fits 32 bits. Framed: written as the
// card sends 16-bit samples, at ADC resolution (10 bits), little-endian.
template <BYTE Rect, bool Framed>
void AddNoise(const int32_t* clean, const int16_t* noise, size_t n, int16_t rms, void* out) {
  for (size_t i = 0; i < n; ++i) {
    const auto s = static_cast<int16_t>(RectifiedSample(clean[i] + ((noise[i] * rms) >> 10), Rect));
    if constexpr (!Framed) {
      static_cast<int16_t*>(out)[i] = s;
    } else {
      const auto v = static_cast<uint16_t>(s & ~63);
      BYTE* to = static_cast<BYTE*>(out) + 2 * i;
      if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(to, &v, 2);
      } else {
        to[0] = static_cast<BYTE>(v);
        to[1] = static_cast<BYTE>(v >> 8);
      }
    }
  }
}

// Where the processor has wider vectors, the loop gets a version for them.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_ADDRESS__)
#define ZORIX7_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define ZORIX7_WIDE_VECTORS
#endif

template <bool Framed>
ZORIX7_WIDE_VECTORS void AddNoise(BYTE rect, const int32_t* clean, const int16_t* noise, size_t n, int16_t rms,
                                  void* out) {
  switch (rect & 3) {
    case 1: return AddNoise<1, Framed>(clean, noise, n, rms, out);
    case 2: return AddNoise<2, Framed>(clean, noise, n, rms, out);
    case 3: return AddNoise<3, Framed>(clean, noise, n, rms, out);
    default: return AddNoise<0, Framed>(clean, noise, n, rms, out);
  }
}
}  // namespace

void NoiseSource::Shot(const SetResponse& r, std::vector<int16_t>& out) {
  out.resize(r.clean.size());
  Noisy(r, out.data(), false);
}

void NoiseSource::Shot16(const SetResponse& r, BYTE* to) { Noisy(r, to, true); }

void NoiseSource::Noisy(const SetResponse& r, void* out, bool framed) {
  if (m_table.empty()) {
    m_table.resize(kNoiseTable);
    for (size_t i = 0; i < kNoiseTable; i += 2) {
      double u1 = (static_cast<double>(Next() >> 11) + 1) / 9007199254740993.0;
      double u2 = static_cast<double>(Next() >> 11) / 9007199254740992.0;
      double radius = 1024 * std::sqrt(-2 * std::log(u1));
      m_table[i] = static_cast<int16_t>(std::clamp(radius * std::cos(6.283185307179586 * u2), -32000.0, 32000.0));
      m_table[i + 1] = static_cast<int16_t>(std::clamp(radius * std::sin(6.283185307179586 * u2), -32000.0, 32000.0));
    }
  }
  // A run of the table from a random place, wrapping at its end.
  size_t at = Next() & (kNoiseTable - 1);
  const size_t n = r.clean.size();
  const auto rms = static_cast<int16_t>(std::min<int32_t>(r.noiseRms, 32767));
  const size_t width = framed ? 2 : sizeof(int16_t);
  for (size_t done = 0; done < n; at = 0) {
    const size_t run = std::min(n - done, kNoiseTable - at);
    void* to = static_cast<BYTE*>(out) + done * width;
    if (framed)
      AddNoise<true>(r.block.Gleichrichtung, r.clean.data() + done, m_table.data() + at, run, rms, to);
    else
      AddNoise<false>(r.block.Gleichrichtung, r.clean.data() + done, m_table.data() + at, run, rms, to);
    done += run;
  }
}

size_t AscanBytes(size_t samples, const AscanFraming& f) {
  if (!f.headed) return f.eightBit ? samples : samples * 2;
  size_t body = f.type == kTypePacked12 ? PackedWords(samples) * 2 : samples * 2;
  return (f.timeStamped ? kTimeStampBytes : 0) + kHeaderBytes + body;
}

size_t AppendAscanFrame(std::vector<BYTE>& out, size_t samples, const AscanFraming& f) {
  if (!f.headed) return Grow(out, AscanBytes(samples, f));
  if (f.timeStamped) PutTimeStamp(out, f.time);
  const size_t length = AscanBytes(samples, AscanFraming{true, f.type, false, 0, false, 0});
  const size_t header = Grow(out, length);
  PutHeader(out, header, f.type, length, f.kennung);
  return header + kHeaderBytes;
}

void AppendAscan(std::vector<BYTE>& out, const std::vector<int16_t>& samples, const AscanFraming& f) {
  const size_t n = samples.size();
  const size_t at = AppendAscanFrame(out, n, f);
  if (!f.headed && f.eightBit) {
    for (size_t i = 0; i < n; ++i) out[at + i] = static_cast<BYTE>(samples[i] >> 8);
    return;
  }
  if (Samples16(f)) {
    for (size_t i = 0; i < n; ++i) Put16(out, at + 2 * i, static_cast<uint16_t>(samples[i] & ~63));
    return;
  }
  // Four 12-bit samples in three words, the first sample in the low bits.
  const size_t words = PackedWords(n);
  for (size_t g = 0; g * 3 < words; ++g) {
    uint64_t x = 0;
    for (size_t k = 0; k < 4; ++k) {
      size_t i = g * 4 + k;
      uint64_t s12 = i < n ? (static_cast<uint16_t>(samples[i]) >> 4) : 0;
      x |= s12 << (12 * k);
    }
    for (size_t w = 0; w < 3 && g * 3 + w < words; ++w) Put16(out, at + 2 * (g * 3 + w), static_cast<uint16_t>(x >> (16 * w)));
  }
}

void AppendGateRecord(std::vector<BYTE>& out, const SetResponse& r, int16_t kennung, bool timeStamped,
                      DWORD time, DWORD shot) {
  if (timeStamped) PutTimeStamp(out, time);
  const size_t at = Grow(out, kGateRecordBytes);
  PutHeader(out, at, kTypeGates, kGateRecordBytes, kennung);
  for (int k = 0; k < 5; ++k) {
    const GateResult& g = r.gate[k == 4 ? 0 : k + 1];
    const size_t slot = at + 8 + 8 * static_cast<size_t>(k);
    uint16_t flags = static_cast<uint16_t>((g.crossed ? 0x8000 : 0) | (g.marker ? 0x4000 : 0));
    Put16(out, slot, static_cast<uint16_t>(g.value << 2));
    // Times count in half samples, the unit the gate limits are halved from.
    Put16(out, slot + 4, g.crossed ? Clamp(2 * g.position, 0xFFFF) : 0);
    Put16(out, slot + 6, flags);
  }
  Put32(out, at + 48, Clamp(EchoStartOnRecord(r), 0xFFFFFFFF));
  Put32(out, at + 52, shot);
}

void AppendCompactRecord(std::vector<BYTE>& out, const SetResponse& r) {
  const size_t at = Grow(out, kCompactRecordBytes);
  const uint32_t d = Clamp(EchoStartOnRecord(r), 0xFFFFF);
  Put16(out, at, d & 0xFFFF);
  Put16(out, at + 2, d >> 16);
  for (int k = 0; k < 5; ++k) {
    const GateResult& g = r.gate[k];
    const uint32_t t = g.crossed ? Clamp(g.position, 0xFFFFF) : 0;
    Put16(out, at + 4 + 4 * static_cast<size_t>(k), t & 0xFFFF);
    Put16(out, at + 6 + 4 * static_cast<size_t>(k),
          (t >> 16) | (g.marker ? 0x10u : 0) | (g.crossed ? 0x20u : 0) | static_cast<uint32_t>(g.value) << 6);
  }
}

void AppendWord(std::vector<BYTE>& out, DWORD w) { Put32(out, Grow(out, 4), w); }

int64_t EchoStartOnRecord(const SetResponse& r) {
  return r.esPosition < 0 ? 0 : r.esPosition - r.recordStart;
}

GateReadout MakeReadout(const SetResponse& r) {
  GateReadout out{};
  out.d = static_cast<int32_t>(std::clamp<int64_t>(EchoStartOnRecord(r), INT32_MIN, INT32_MAX));
  for (int k = 0; k < 5; ++k) {
    const GateResult& g = r.gate[k];
    out.gate[k].t = g.crossed ? static_cast<int32_t>(std::clamp<int64_t>(g.position, INT32_MIN, INT32_MAX)) : 0;
    out.gate[k].amplitudeRaw = static_cast<WORD>(g.value << 2);
    out.gate[k].marker = g.marker ? 1 : 0;
  }
  return out;
}

}  // namespace zorix7sim
