#include "measure/ResultText.h"

#include "measure/TextFormat.h"

namespace measure {

namespace {

void appendSlot(std::string& line, const GateSlot& s) {
  if (!s.present()) {
    line += "             | ";
    return;
  }
  appendFormat(line, "t=%4d v=%3d ", static_cast<int>(s.time), s.value());
  line += s.marker() ? "^| " : " | ";
}

void appendCompactGate(std::string& line, const CompactGate& g) {
  if (!g.present) {
    line += "              | ";
    return;
  }
  appendFormat(line, "t=%4d v=%3d ", static_cast<int>(g.time), g.value);
  line += g.marker ? "^| " : " | ";
}

}  // namespace

std::vector<std::string> headedResultLines(const uint8_t* data, size_t size) {
  ByteView v(data, size);
  std::vector<std::string> lines;
  lines.reserve(1 + v.size() / GateRecord::kSize * 3);
  lines.push_back(format("%d Bytes", static_cast<int>(v.size())));
  int cycles = 0;
  size_t pos = 0;
  // Every record is listed. Taking "reduce the byte count by 8 per time stamp" literally would
  // shrink the end while the position walks on, silently dropping the last records of a
  // buffer with many stamps (the 18th and later of 64-byte records).
  while (pos < v.size()) {
    bool stamped = startsWithTimeStamp(v, pos);
    TimeStampPrefix prefix;
    if (stamped) {
      prefix = readTimeStampPrefix(v, pos);
      pos += TimeStampPrefix::kSize;
    }
    if (!v.has(pos, GateRecord::kSize)) break;
    GateRecord r = readGateRecord(v, pos);
    if (stamped)
      lines.push_back(format("%d Bytes, Datentyp 0x%X, Kennung %d Zeit %d",
                             static_cast<int>(r.header.length), r.header.type, r.header.kennung,
                             static_cast<int>(prefix.time)));
    else
      lines.push_back(format("%d Bytes, Datentyp 0x%X, Kennung %d",
                             static_cast<int>(r.header.length), r.header.type, r.header.kennung));
    std::string slots;
    slots.reserve(5 * 16);
    for (const GateSlot& s : r.slot) appendSlot(slots, s);
    lines.push_back(std::move(slots));
    pos += GateRecord::kSize;
    if (isControlWordAt(v, pos)) {
      ControlWord w{v.u32(pos)};
      if (w.code() == ControlCode::EndCycle)
        lines.push_back(format("Ende Prüfzyklus %d", ++cycles));
      else
        lines.push_back(controlWordText(w));
      pos += ControlWord::kSize;
    }
  }
  return lines;
}

std::vector<std::string> plainResultLines(const uint8_t* data, size_t size,
                                          const ActiveSetFlags& active) {
  ByteView v(data, size);
  std::vector<std::string> lines;
  lines.push_back(format("%d Bytes", static_cast<int>(v.size())));
  int sets[6];
  int setCount = 0;
  for (int n = 1; n <= 6; ++n)
    if (active.flag[n]) sets[setCount++] = n;
  if (setCount == 0) return lines;
  lines.reserve(1 + v.size() / CompactGateRecord::kSize * 2);
  int number = 0;
  size_t pos = 0;
  while (v.has(pos, CompactGateRecord::kSize)) {
    for (int i = 0; i < setCount && v.has(pos, CompactGateRecord::kSize); ++i) {
      lines.push_back(format("Parametersatz %d", sets[i]));
      CompactGateRecord r = readCompactGateRecord(v, pos);
      std::string line = format("%4i: d=%4d | ", ++number, static_cast<int>(r.d));
      for (const CompactGate& g : r.gate) appendCompactGate(line, g);
      lines.push_back(std::move(line));
      pos += CompactGateRecord::kSize;
    }
  }
  return lines;
}

std::vector<std::string> resultLines(const uint8_t* data, size_t size, bool headed,
                                     const ActiveSetFlags& active) {
  return headed ? headedResultLines(data, size) : plainResultLines(data, size, active);
}

}  // namespace measure
