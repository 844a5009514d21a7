#include "ident/KennungText.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "card/ByteImage.h"

namespace ident {
namespace {

// A presets file is a few hundred bytes; anything far larger is not one.
constexpr uintmax_t kMaxFileBytes = 1 << 20;

constexpr Field kFields[kFieldCount] = {
    {1, "Karte", "", offsetof(KennungRecord, szKarte), Kind::Text, 20, false},
    {2, "Aufsteckfilter", "", offsetof(KennungRecord, szAufsteckfilter), Kind::Text, 20, false},
    {3, "PCI EEPROM", "", offsetof(KennungRecord, szPciEeprom), Kind::Text, 20, false},
    {4, "LCA-Version", "", offsetof(KennungRecord, szLcaVersion), Kind::Text, 10, false},
    {5, "Programmversion", "", offsetof(KennungRecord, szProgrammversion), Kind::Text, 10, false},
    {16, "Bandgrenze unten", "MHz", offsetof(KennungRecord, fBandgrenzeUnten), Kind::F32, 1, false},
    {16, "Bandgrenze oben", "MHz", offsetof(KennungRecord, fBandgrenzeOben), Kind::F32, 1, false},
    {17, "ADC", "Bit", offsetof(KennungRecord, nAdcBits), Kind::U8, 1, false},
    {18, "Aufnahme-FIFO", "kByte", offsetof(KennungRecord, nAufnahmeFifo), Kind::U8, 1, false},
    {19, "Daten-FIFO", "kByte", offsetof(KennungRecord, nDatenFifo), Kind::U8, 1, false},
    {20, "Dynamik", "dB", offsetof(KennungRecord, nDynamik), Kind::U8, 1, false},
    {32, "Dämpfung Eingang", "Ohm", offsetof(KennungRecord, wDaempfungEingang), Kind::U16, 4, true},
    {33, "Dämpfung Sender", "Ohm", offsetof(KennungRecord, wDaempfungSender), Kind::U16, 4, true},
    {34, "Energie Sender", "V", offsetof(KennungRecord, wEnergieSender), Kind::U16, 8, true},
    {35, "Samplerrate", "MHz", offsetof(KennungRecord, bySamplerate), Kind::U8, 8, true},
    {36, "max. SAP-Folge", "kSamples/s", offsetof(KennungRecord, nMaxSapFolge), Kind::U8, 1, false},
    {37, "Filter Mittenfrequenz", "MHz", offsetof(KennungRecord, fFilterMitte), Kind::F32, 8, true},
    {38, "Filter Bandgrenze", "MHz", offsetof(KennungRecord, fFilterBandgrenze), Kind::F32, 16, true},
    {39, "Grunddämpfung", "dB", offsetof(KennungRecord, byGrunddaempfung), Kind::U8, 8, true},
};

int TypeCode(Kind kind) {
  switch (kind) {
    case Kind::Text: return 1;
    case Kind::U8: return 2;
    case Kind::U16: return 3;
    case Kind::F32: return 5;
  }
  return 0;
}

size_t EntryBytes(Kind kind) { return kind == Kind::U16 ? 2 : kind == Kind::F32 ? 4 : 1; }

ByteView View(const KennungRecord& r) { return ByteView(reinterpret_cast<const uint8_t*>(&r), sizeof r); }
ByteWriter Writer(KennungRecord& r) { return ByteWriter(reinterpret_cast<uint8_t*>(&r), sizeof r); }

size_t At(const Field& f, size_t i) { return f.offset + i * EntryBytes(f.kind); }

float FloatAt(const KennungRecord& r, const Field& f, size_t i) { return std::bit_cast<float>(View(r).u32(At(f, i))); }
uint32_t IntAt(const KennungRecord& r, const Field& f, size_t i) {
  return f.kind == Kind::U16 ? View(r).u16(At(f, i)) : View(r).u8(At(f, i));
}
// A float that is NaN is no 0 and so counts as a used entry.
bool IsZero(const KennungRecord& r, const Field& f, size_t i) {
  return f.kind == Kind::F32 ? FloatAt(r, f, i) == 0.0f : IntAt(r, f, i) == 0;
}

void StoreInt(KennungRecord& r, const Field& f, size_t i, uint64_t bits) {
  if (f.kind == Kind::U16)
    Writer(r).u16(At(f, i), static_cast<uint32_t>(bits));
  else
    Writer(r).u8(At(f, i), static_cast<uint32_t>(bits));
}
void StoreFloat(KennungRecord& r, const Field& f, size_t i, float v) { Writer(r).u32(At(f, i), std::bit_cast<uint32_t>(v)); }

// "%.2f" without the locale: the file always has a decimal point.
std::string Fixed2(float v) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, static_cast<double>(v), std::chars_format::fixed, 2);
  return ec == std::errc() ? std::string(buf, end) : std::string("0.00");
}

std::string FormatEntry(const KennungRecord& r, const Field& f, size_t i, int width) {
  std::string s = f.kind == Kind::F32 ? Fixed2(FloatAt(r, f, i)) : std::to_string(IntAt(r, f, i));
  if (s.size() < static_cast<size_t>(width)) s.insert(0, static_cast<size_t>(width) - s.size(), ' ');
  return s;
}

size_t UsedCount(const KennungRecord& r, const Field& f) {
  size_t n = 0;
  while (n < f.count && !IsZero(r, f, n)) ++n;
  return n;
}

std::string_view TextOf(const KennungRecord& r, const Field& f) {
  const char* p = reinterpret_cast<const char*>(&r) + f.offset;
  size_t n = 0;
  while (n < f.count && p[n] != '\0') ++n;
  return {p, n};
}

// ---- reading as sscanf's "%d" and "%f" do, without its undefined overflow ----

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
void SkipSpace(std::string_view s, size_t& pos) {
  while (pos < s.size() && IsSpace(s[pos])) ++pos;
}

struct ScannedInt {
  uint64_t bits;  // the number modulo 2^64: its low bits are what a narrow entry keeps
  bool fitsInt;
};
std::optional<ScannedInt> ScanInt(std::string_view s, size_t& pos) {
  size_t i = pos;
  SkipSpace(s, i);
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  const size_t digits = i;
  uint64_t magnitude = 0;
  bool big = false;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + static_cast<uint64_t>(s[i] - '0');
    big = big || magnitude > INT_MAX;
  }
  if (i == digits) return std::nullopt;
  pos = i;
  return ScannedInt{negative ? 0 - magnitude : magnitude, !big};
}

// Values a float cannot hold (infinite, not a number, out of range) count as no number.
std::optional<float> ScanFloat(std::string_view s, size_t& pos) {
  size_t i = pos;
  SkipSpace(s, i);
  if (i < s.size() && s[i] == '+') {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) return std::nullopt;
  }
  float v = 0;
  auto [end, ec] = std::from_chars(s.data() + i, s.data() + s.size(), v, std::chars_format::general);
  if (ec != std::errc() || !std::isfinite(v)) return std::nullopt;
  pos = static_cast<size_t>(end - s.data());
  return v;
}

bool Expect(std::string_view s, size_t& pos, char c) {
  if (pos >= s.size() || s[pos] != c) return false;
  ++pos;
  return true;
}

// The fields of one item: one, except item 16 with its two floats.
std::span<const Field> FieldsOf(int item) {
  size_t first = 0;
  while (first < kFieldCount && kFields[first].item != item) ++first;
  size_t last = first;
  while (last < kFieldCount && kFields[last].item == item) ++last;
  return {kFields + first, last - first};
}

// Single values in a row, as "%d" or "%f,%f": each after a "," right behind the previous
// one; the first that does not parse ends the row and leaves its field unchanged.
void ParseSingles(std::string_view text, KennungRecord& r, std::span<const Field> fields) {
  size_t pos = 0;
  for (size_t k = 0; k < fields.size(); ++k) {
    if (k > 0 && !Expect(text, pos, ',')) return;
    const Field& f = fields[k];
    if (f.kind == Kind::F32) {
      auto v = ScanFloat(text, pos);
      if (!v) return;
      StoreFloat(r, f, 0, *v);
    } else {
      auto v = ScanInt(text, pos);
      if (!v) return;
      StoreInt(r, f, 0, v->bits);
    }
  }
}

void StoreText(std::string_view text, KennungRecord& r, const Field& f) {
  char* p = reinterpret_cast<char*>(&r) + f.offset;
  std::fill(p, p + f.count, '\0');
  text = text.substr(0, f.count);
  std::copy(text.begin(), text.end(), p);
}

// The text after the first ":" up to the first ";" behind it; empty without either.
std::string_view ValueOf(std::string_view line) {
  size_t colon = line.find(':');
  if (colon == std::string_view::npos) return {};
  size_t semicolon = line.find(';', colon + 1);
  if (semicolon == std::string_view::npos) return {};
  return line.substr(colon + 1, semicolon - colon - 1);
}

void ParseLine(std::string_view line, KennungRecord& r) {
  size_t pos = 0;
  auto item = ScanInt(line, pos);
  // Type and count must be there but do not matter: the item number alone decides.
  if (!item || !Expect(line, pos, ',') || !ScanInt(line, pos) || !Expect(line, pos, ',') || !ScanInt(line, pos))
    return;
  if (!item->fitsInt || item->bits == 0) return;
  std::span<const Field> fields = FieldsOf(static_cast<int>(item->bits));
  if (fields.empty()) return;
  std::string_view value = ValueOf(line);
  const Field& f = fields.front();
  if (f.kind == Kind::Text)
    StoreText(value, r, f);
  else if (f.list)
    ParseList(value, r, f);
  else
    ParseSingles(value, r, fields);
}

}  // namespace

std::span<const Field, kFieldCount> Fields() { return std::span<const Field, kFieldCount>(kFields); }

std::string ValueText(const KennungRecord& r, const Field& f) {
  if (f.kind == Kind::Text) return std::string(TextOf(r, f));
  if (!f.list) return FormatEntry(r, f, 0, 0);
  std::string out;
  for (size_t i = 0, n = UsedCount(r, f); i < n; ++i) out += (i ? "," : "") + FormatEntry(r, f, i, 0);
  return out;
}

std::string ShowList(const KennungRecord& r, const Field& f, int width) {
  std::string out;
  for (size_t i = 0; i < f.count; ++i)
    if (!IsZero(r, f, i)) out += FormatEntry(r, f, i, width) + ",";
  if (!out.empty()) out.pop_back();
  return out;
}

void ParseList(std::string_view text, KennungRecord& r, const Field& f) {
  ByteWriter w = Writer(r);
  for (size_t b = f.offset; b < At(f, f.count); ++b) w.u8(b, 0);
  size_t pos = 0;
  for (size_t i = 0; i < f.count; ++i) {
    size_t at = pos;
    if (f.kind == Kind::F32) {
      StoreFloat(r, f, i, ScanFloat(text, at).value_or(0.0f));
    } else {
      auto v = ScanInt(text, at);
      StoreInt(r, f, i, v ? v->bits : 0);
    }
    size_t comma = text.find(',', pos);
    if (comma == std::string_view::npos) return;
    pos = comma + 1;
  }
}

std::string KennungText(const KennungRecord& r) {
  std::string out;
  for (size_t i = 0; i < kFieldCount;) {
    std::span<const Field> fields = FieldsOf(kFields[i].item);
    const Field& f = fields.front();
    size_t count = f.kind == Kind::Text ? TextOf(r, f).size() : f.list ? UsedCount(r, f) : fields.size();
    std::string values;
    for (const Field& each : fields) values += (values.empty() ? "" : ",") + ValueText(r, each);
    out += std::to_string(f.item) + "," + std::to_string(TypeCode(f.kind)) + "," + std::to_string(count);
    // An empty list keeps only its header, its ":" turned into ";".
    out += f.kind == Kind::Text || count > 0 ? ":" + values + ";\n" : ";\n";
    i += fields.size();
  }
  return out + "0";
}

KennungRecord ParseKennungText(std::string_view text) {
  KennungRecord r{};
  size_t start = 0;
  // Every character below 0x20 ends a line and is dropped; 0x80-0xFF are ordinary.
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && static_cast<unsigned char>(text[i]) >= 0x20) continue;
    ParseLine(text.substr(start, i - start), r);
    start = i + 1;
  }
  return r;
}

std::optional<KennungRecord> ReadKennungFile(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec) || ec) return std::nullopt;
  const uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec || size > kMaxFileBytes) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  std::string data(static_cast<size_t>(size), '\0');
  if (!in.read(data.data(), static_cast<std::streamsize>(size))) return std::nullopt;
  return ParseKennungText(data);
}

}  // namespace ident
