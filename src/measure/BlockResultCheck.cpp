#include "measure/BlockResultCheck.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "measure/MeasureData.h"
#include "measure/TextFormat.h"

namespace measure {

namespace {

inline uint16_t load16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// Records rotate through the sets, so a searching loop would mispredict on nearly every
// record: compare against all seven identifications at once instead.
class SetFinder {
 public:
  explicit SetFinder(const int16_t ident[8]) {
    for (int s = 0; s < 8; ++s) m_ident[s] = ident[s];
#if defined(__SSE2__)
    m_all = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m_ident));
#endif
  }
  // Set 1..7 whose identification equals kennung (the lowest), or -1.
  int find(int16_t kennung) const {
#if defined(__SSE2__)
    unsigned hits = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_cmpeq_epi16(m_all, _mm_set1_epi16(kennung))));
    hits &= ~3u;  // set 0 does not take part
    return hits ? __builtin_ctz(hits) / 2 : -1;
#else
    for (int s = 1; s <= 7; ++s)
      if (m_ident[s] == kennung) return s;
    return -1;
#endif
  }

 private:
  int16_t m_ident[8];
#if defined(__SSE2__)
  __m128i m_all;
#endif
};

// The walk's position depends on these two tests only; as branches (predicted from the
// buffer's regular layout) rather than conditional moves the next record's loads need
// not wait for them.
inline bool likelyTrue(bool c) { return __builtin_expect_with_probability(c, 1, 0.995); }
inline bool likelyFalse(bool c) { return __builtin_expect_with_probability(c, 0, 0.995); }

// First slot of 0..3 whose present time lies outside its gate, or -1.
int failingSlot(const uint8_t* rec, const GateLimits& limits, uint32_t* time) {
  for (int k = 0; k < 4; ++k) {
    const uint8_t* slot = rec + GateRecord::kSlotOffset + GateSlot::kSize * k;
    uint32_t t = load16(slot + 4) / 2u;
    if ((load16(slot + 6) & 0x8000) && (t < limits.start[k + 1] || t > limits.end[k + 1])) {
      *time = t;
      return k;
    }
  }
  return -1;
}

#if defined(__SSE2__)
// The limits of gates B1..B4 of every set, four slots checked at once. Times are below
// 0x8000 after halving, so limits cut to 0x10000 compare the same as signed 32-bit.
class SlotChecker {
 public:
  explicit SlotChecker(const GateLimits limits[8]) {
    auto cut = [](uint32_t v) { return static_cast<int>(v < 0x10000u ? v : 0x10000u); };
    for (int s = 0; s < 8; ++s) {
      const GateLimits& l = limits[s];
      m_start[s] = _mm_setr_epi32(cut(l.start[1]), cut(l.start[2]), cut(l.start[3]), cut(l.start[4]));
      m_end[s] = _mm_setr_epi32(cut(l.end[1]), cut(l.end[2]), cut(l.end[3]), cut(l.end[4]));
    }
  }
  bool allInside(const uint8_t* rec, int set) const {
    __m128 a = _mm_castsi128_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(rec + 8)));
    __m128 b = _mm_castsi128_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(rec + 24)));
    // 32-bit lane k: time of slot k in the low half, its flags in the high half.
    __m128i tf = _mm_castps_si128(_mm_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1)));
    __m128i t = _mm_srli_epi32(_mm_slli_epi32(tf, 16), 17);
    __m128i present = _mm_srai_epi32(tf, 31);
    __m128i outside = _mm_or_si128(_mm_cmpgt_epi32(m_start[set], t), _mm_cmpgt_epi32(t, m_end[set]));
    return _mm_movemask_ps(_mm_castsi128_ps(_mm_and_si128(present, outside))) == 0;
  }

 private:
  __m128i m_start[8];
  __m128i m_end[8];
};
#else
class SlotChecker {
 public:
  explicit SlotChecker(const GateLimits limits[8]) : m_limits(limits) {}
  bool allInside(const uint8_t* rec, int set) const {
    uint32_t t;
    return failingSlot(rec, m_limits[set], &t) < 0;
  }

 private:
  const GateLimits* m_limits;
};
#endif

}  // namespace

BlockCheckResult checkBlockResults(const uint8_t* data, size_t size, int cycle,
                                   const int16_t ident[8], const GateLimits limits[8]) {
  ByteView v(data, size);
  data = v.data();
  size = v.size();
  BlockCheckResult r;
  // A buffer with no bytes reads as type 0, which is "no gate results" too.
  size_t first = startsWithTimeStamp(v, 0) ? TimeStampPrefix::kSize : 0;
  uint8_t type = v.u8(first);
  if (type != kTypeGates) {
    r.status = BlockCheckStatus::NoGates;
    r.text = format("Keine Blenden! Kennung %X", static_cast<unsigned>(type));
    return r;
  }
  const SetFinder sets(ident);
  const SlotChecker slots(limits);
  int records = 0;
  size_t pos = 0;
  while (pos < size) {
    size_t rec = pos;
    if (likelyFalse(data[pos] == kTypeTimeStamp)) rec += TimeStampPrefix::kSize;
    if (!v.has(rec, GateRecord::kSize)) break;
    ++records;
    const uint8_t* p = data + rec;
    int16_t kennung = static_cast<int16_t>(load16(p + 4));
    int s = sets.find(kennung);
    if (s < 0) {
      r.records = records;
      r.status = BlockCheckStatus::WrongKennung;
      r.text = format("Falsche Kennung %d", static_cast<int>(static_cast<uint16_t>(kennung)));
      r.bytesWalked = pos;
      return r;
    }
    if (likelyFalse(!slots.allInside(p, s))) {
      uint32_t t = 0;
      int k = failingSlot(p, limits[s], &t);
      r.records = records;
      r.status = BlockCheckStatus::GateFailed;
      r.text = format("Block %d Satz %d B%d %d - %d - %d ", cycle + 1, r.records, k + 1,
                      static_cast<int>(limits[s].start[k + 1]), static_cast<int>(t),
                      static_cast<int>(limits[s].end[k + 1]));
      r.bytesWalked = pos;
      return r;
    }
    pos = rec + GateRecord::kSize;
    if (likelyTrue(pos + ControlWord::kSize <= size && load16(data + pos + 2) == 0xFFFF))
      pos += ControlWord::kSize;
  }
  r.records = records;
  r.bytesWalked = pos;
  return r;
}

}  // namespace measure
