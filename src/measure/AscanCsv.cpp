#include "measure/AscanCsv.h"

#include <algorithm>
#include <charconv>

#include "measure/MeasureData.h"
#include "measure/TextFormat.h"

namespace measure {

namespace {

// to_chars never looks at the locale: a German desktop still gets decimal points.
void appendFixed(std::string& out, double value, int precision) {
  char buf[48];
  out.append(buf, std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, precision).ptr);
}

void appendShortest(std::string& out, double value) {
  char buf[48];
  out.append(buf, std::to_chars(buf, buf + sizeof buf, value).ptr);
}

void appendRow(std::string& out, size_t index, double dt, double percent, int adc) {
  appendFormat(out, "%zu;", index);
  appendFixed(out, static_cast<double>(index) * dt, 5);
  out += ';';
  appendFixed(out, percent, 3);
  appendFormat(out, ";%d\n", adc);
}

void appendHeadedHeader(std::string& out, ByteView v) {
  size_t base = 0;
  BlockHeader h = readBlockHeader(v);
  if (h.type == kTypeTimeStamp) {
    appendFormat(out, "# Zeit: %u\n", readTimeStampPrefix(v).time);
    base = TimeStampPrefix::kSize;
    h = readBlockHeader(v, base);
  }
  appendFormat(out, "# Datentyp: 0x%X\n", static_cast<unsigned>(h.type));
  appendFormat(out, "# Blocklänge: %u\n", h.length);
  appendFormat(out, "# Kennung: %d\n", static_cast<int>(h.kennung));
}

}  // namespace

AscanSamples listedSamples(const uint8_t* data, size_t size, bool headed, bool eightBit) {
  if (!headed) return plainAscanSamples(data, size, eightBit);
  ByteView v(data, size);
  const size_t base = readBlockHeader(v).type == kTypeTimeStamp ? TimeStampPrefix::kSize : 0;
  const BlockHeader h = readBlockHeader(v, base);
  ByteView block = v.from(base);
  size_t words = h.length > BlockHeader::kSize ? (h.length - BlockHeader::kSize) / 2 : 0;
  const size_t present = block.size() > BlockHeader::kSize ? (block.size() - BlockHeader::kSize) / 2 : 0;
  words = std::min(words, present);
  AscanSamples out;
  if (words == 0) return out;
  const uint8_t* p = block.data() + BlockHeader::kSize;
  if (h.type == kTypePacked12) {
    out.values.resize(std::min(packedSampleCount(words), kMaxSamples));
    out.values.resize(unpackPacked12(p, words, out.values.data(), out.values.size()));
  } else {
    out.values.resize(words);
    ByteView sv(p, words * 2);
    for (size_t i = 0; i < words; ++i) out.values[i] = static_cast<int16_t>(sv.u16(2 * i));
  }
  return out;
}

std::string ascanCsv(const AscanSource& src) {
  const size_t size = src.data ? src.size : 0;
  const bool eightBit = src.eightBit && !src.headed;
  const AscanSamples samples = listedSamples(src.data, size, src.headed, eightBit);
  const double dt = sampleTimeMicroseconds(src.samplerate);

  std::string out = "# ZORIX7Check A-Scan\n";
  appendFormat(out, "# Rahmen: %s\n", src.headed ? "mit Kopf (ZORIX9)" : "ohne Kopf");
  appendFormat(out, "# Bytes: %zu\n", size);
  appendFormat(out, "# 8Bit: %d\n", eightBit ? 1 : 0);
  appendFormat(out, "# Samplerate: %u\n", static_cast<unsigned>(src.samplerate));
  out += "# Abtastzeit_us: ";
  appendShortest(out, dt);
  out += '\n';
  if (src.headed) appendHeadedHeader(out, ByteView(src.data, size));
  appendFormat(out, "# Proben: %zu\n", samples.values.size());
  out += eightBit ? "# adc: 8-Bit-Wert (-128..127)\n" : "# adc: Probe / 64 (-512..511)\n";
  out += "index;time_us;percent;adc\n";
  out.reserve(out.size() + samples.values.size() * 32);
  for (size_t i = 0; i < samples.values.size(); ++i) {
    const int16_t s = samples.values[i];
    if (eightBit)
      appendRow(out, i, dt, percentOfFullScale8(static_cast<int8_t>(s)), s);
    else
      appendRow(out, i, dt, percentOfFullScale(s), adcCount(s));
  }
  return out;
}

}  // namespace measure
