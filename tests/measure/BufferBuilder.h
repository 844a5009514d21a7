#pragma once
// Builds card buffers byte by byte, little-endian, for the decoder tests.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace measure::test {

class Buf {
 public:
  Buf& u8(uint8_t v) { b.push_back(v); return *this; }
  Buf& u16(uint16_t v) { return u8(static_cast<uint8_t>(v)).u8(static_cast<uint8_t>(v >> 8)); }
  Buf& u32(uint32_t v) { return u16(static_cast<uint16_t>(v)).u16(static_cast<uint16_t>(v >> 16)); }
  Buf& words(std::initializer_list<uint16_t> ws) { for (uint16_t w : ws) u16(w); return *this; }
  Buf& zeros(size_t n) { b.insert(b.end(), n, 0); return *this; }
  Buf& header(uint8_t type, uint32_t length, int16_t kennung) {
    return u32(type | (length << 8)).u16(static_cast<uint16_t>(kennung));
  }
  Buf& stamp(uint32_t time) { return u32(0xFF).u32(time); }
  // A GateRecord; slots give (time, flags, amplitude raw), unused slots stay empty.
  struct Slot { uint16_t t = 0, flags = 0, raw = 0; };
  Buf& gateRecord(int16_t kennung, std::initializer_list<Slot> gateSlots = {}) {
    header(0x40, 56, kennung).u16(0);
    size_t k = 0;
    for (const Slot& s : gateSlots) { u16(s.raw).u16(0).u16(s.t).u16(s.flags); ++k; }
    zeros((5 - k) * 8 + 8);
    return *this;
  }

  const uint8_t* data() const { return b.data(); }
  size_t size() const { return b.size(); }
  std::vector<uint8_t> b;
};

}  // namespace measure::test
