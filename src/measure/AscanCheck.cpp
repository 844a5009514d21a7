#include "measure/AscanCheck.h"

#include <algorithm>

#include "measure/MeasureData.h"
#include "measure/TextFormat.h"

namespace measure {

AscanHeaderCheck checkAscanHeader(const uint8_t* data, size_t size, unsigned sequence) {
  ByteView v(data, size);
  AscanHeaderCheck c;
  const uint32_t total = static_cast<uint32_t>(v.size());
  BlockHeader h = readBlockHeader(v);
  if (h.type == kTypeTimeStamp) {
    c.timeStamped = true;
    c.timeStamp = readTimeStampPrefix(v).time;
    c.blockOffset = TimeStampPrefix::kSize;
    h = readBlockHeader(v, c.blockOffset);
  }
  c.type = h.type;
  c.kennung = h.kennung;
  c.blockLength = h.length;
  if (c.timeStamped) {
    if (h.length != total - 8) {
      c.error = format("Datenlänge bei ext. Trigger soll: %u - ist: %u", total - 8, h.length);
      return c;
    }
  } else if (h.length != total) {
    c.error = format("Datenlänge soll: %u - ist: %u", total, h.length);
    return c;
  }
  if (!isAscanType(h.type)) {
    c.error = format("Datentyp 0x%X unbekannt", static_cast<unsigned>(h.type));
    return c;
  }
  c.ok = true;
  c.caption = format("%u: (%u) %u Bytes 0x%X, Kennung %d", sequence, total, h.length,
                     static_cast<unsigned>(h.type), static_cast<int>(h.kennung));
  if (c.timeStamped && c.timeStamp != 0) c.timeLine = format("Zeit %u", c.timeStamp);

  size_t drawn = h.length < kDataBufferBytes ? h.length : kDataBufferBytes;
  c.sampleOffset = c.blockOffset + BlockHeader::kSize;
  if (drawn > BlockHeader::kSize && v.has(c.sampleOffset, 0)) {
    c.sampleBytes = drawn - BlockHeader::kSize;
    if (c.sampleBytes > v.size() - c.sampleOffset) c.sampleBytes = v.size() - c.sampleOffset;
  }
  return c;
}

std::string plainAscanCaption(unsigned sequence, size_t size) {
  return format("%u: %u Bytes", sequence, static_cast<unsigned>(size));
}

AscanSamples plainAscanSamples(const uint8_t* data, size_t size, bool eightBit) {
  ByteView v(data, size);
  AscanSamples out;
  out.eightBit = eightBit;
  if (eightBit) {
    out.values.resize(v.size());
    for (size_t i = 0; i < v.size(); ++i) out.values[i] = static_cast<int8_t>(v.u8(i));
  } else {
    out.values.resize(v.size() / 2);
    for (size_t i = 0; i < out.values.size(); ++i)
      out.values[i] = static_cast<int16_t>(v.u16(2 * i));
  }
  return out;
}

AscanSamples headedAscanSamples(const uint8_t* data, size_t size, const AscanHeaderCheck& check) {
  AscanSamples out;
  if (!check.ok || check.sampleBytes == 0) return out;
  ByteView v(data, size);
  if (!v.has(check.sampleOffset, check.sampleBytes)) return out;
  const uint8_t* p = v.data() + check.sampleOffset;
  size_t words = check.sampleBytes / 2;
  if (check.type == kTypePacked12) {
    out.values.resize(std::min(packedSampleCount(words), kMaxSamples));
    out.values.resize(unpackPacked12(p, words, out.values.data(), out.values.size()));
  } else {
    out.values.resize(words);
    ByteView sv(p, check.sampleBytes);
    for (size_t i = 0; i < words; ++i) out.values[i] = static_cast<int16_t>(sv.u16(2 * i));
  }
  return out;
}

}  // namespace measure
