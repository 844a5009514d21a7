#include "measure/DataListText.h"

#include <charconv>
#include <cstdio>
#include <cstring>

#include "measure/AscanCsv.h"
#include "measure/MeasureData.h"
#include "measure/TextFormat.h"

namespace measure {

namespace {

// A listing has up to 65536 lines, so the 16-bit line is assembled with to_chars (same
// digits as printf for fixed precision) instead of a full printf per line.
class LineWriter {
 public:
  void text(const char* s, size_t n) {
    std::memcpy(m_p, s, n);
    m_p += n;
  }
  template <size_t N>
  void text(const char (&s)[N]) { text(s, N - 1); }
  void right(int value, int width) {
    char tmp[16];
    pad(tmp, std::to_chars(tmp, tmp + sizeof tmp, value).ptr, width);
  }
  void right(double value, int width, int precision) {
    char tmp[40];
    pad(tmp, std::to_chars(tmp, tmp + sizeof tmp, value, std::chars_format::fixed, precision).ptr,
        width);
  }
  void hex4(uint16_t v) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (int shift = 12; shift >= 0; shift -= 4) *m_p++ = kDigits[(v >> shift) & 0xF];
  }
  void pad(const char* s, const char* end, int width) {
    size_t n = static_cast<size_t>(end - s);
    for (size_t k = n; k < static_cast<size_t>(width); ++k) *m_p++ = ' ';
    text(s, n);
  }
  std::string str() const { return std::string(m_buf, static_cast<size_t>(m_p - m_buf)); }

 private:
  char m_buf[128];
  char* m_p = m_buf;
};

// "%8.3fµs  %6.1f%% | %4i %6d (%4d) 0x%04X"
void addSample16(std::vector<std::string>& lines, size_t i, double dt, int16_t s, int value) {
  LineWriter w;
  w.right(static_cast<double>(i) * dt, 8, 3);
  w.text("µs  ");
  w.right(percentOfFullScale(s), 6, 1);
  w.text("% | ");
  w.right(static_cast<int>(i), 4);
  w.text(" ");
  w.right(value, 6);
  w.text(" (");
  w.right(static_cast<int16_t>(s & 0xFF80) / 64, 4);
  w.text(") 0x");
  w.hex4(static_cast<uint16_t>(s));
  lines.push_back(w.str());
}

void addSample8(std::vector<std::string>& lines, size_t i, double dt, int8_t b) {
  char buf[96];
  // The hex column shows the byte as a signed int, so negative bytes print eight digits.
  int n = std::snprintf(buf, sizeof buf, "%8.3fµs  %6.1f%% | %4i %6d 0x%04X", i * dt,
                        percentOfFullScale8(b), static_cast<int>(i), static_cast<int>(b),
                        static_cast<unsigned>(static_cast<int>(b)));
  lines.emplace_back(buf, static_cast<size_t>(n));
}

void headedLines(std::vector<std::string>& lines, ByteView v, double dt) {
  size_t base = 0;
  size_t count = v.size();
  BlockHeader h = readBlockHeader(v);
  if (h.type == kTypeTimeStamp) {
    TimeStampPrefix p = readTimeStampPrefix(v);
    base = TimeStampPrefix::kSize;
    count = count >= base ? count - base : 0;
    h = readBlockHeader(v, base);
    lines.push_back(format("Zeitpunkt %d:", static_cast<int>(p.time)));
  }
  lines.push_back(format("%d Bytes", static_cast<int>(h.length)));
  lines.push_back(format("Datentyp 0x%X", static_cast<unsigned>(h.type)));
  lines.push_back(format("Kennung %d", static_cast<int>(static_cast<uint16_t>(h.kennung))));

  ByteView block = v.from(base);
  // Words beyond the block's own length mean a control word closes the data.
  if (count / 4 > (static_cast<size_t>(h.length) + 3) / 4) {
    ControlWord w{block.u32((count / 4 - 1) * 4)};
    if (w.code() == ControlCode::Other)
      lines.push_back(lines.back() + ", Unbekanntes Steuerzeichen");
    else
      lines.push_back(controlWordText(w));
  }

  const std::vector<int16_t> samples = listedSamples(v.data(), v.size(), true, false).values;
  lines.reserve(lines.size() + samples.size());
  for (size_t i = 0; i < samples.size(); ++i) addSample16(lines, i, dt, samples[i], adcCount(samples[i]));
}

}  // namespace

std::string sampleLine16(size_t index, double dt, int16_t s, int value) {
  std::vector<std::string> one;
  addSample16(one, index, dt, s, value);
  return one.front();
}

std::string sampleLine8(size_t index, double dt, int8_t b) {
  std::vector<std::string> one;
  addSample8(one, index, dt, b);
  return one.front();
}

std::vector<std::string> dataListLines(const uint8_t* data, size_t size, bool headed,
                                       bool eightBit, uint8_t samplerate) {
  ByteView v(data, size);
  double dt = sampleTimeMicroseconds(samplerate);
  std::vector<std::string> lines;
  if (headed) {
    headedLines(lines, v, dt);
    return lines;
  }
  lines.push_back(format("%d Bytes", static_cast<int>(v.size())));
  if (eightBit) {
    lines.reserve(1 + v.size());
    for (size_t i = 0; i < v.size(); ++i) addSample8(lines, i, dt, static_cast<int8_t>(v.u8(i)));
  } else {
    size_t n = v.size() / 2;
    lines.reserve(1 + n);
    for (size_t i = 0; i < n; ++i) {
      int16_t s = static_cast<int16_t>(v.u16(2 * i));
      addSample16(lines, i, dt, s, s);
    }
  }
  return lines;
}

}  // namespace measure
