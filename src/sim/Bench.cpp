// Bench file format (INI; ';' starts a comment line; sections and keys ignore case).
//
// [Card <n>]                one section per card, n = 1..16, gaps allowed
//   Variant=ZORIX7F         ZORIX7 or ZORIX7F (default ZORIX7F); decides the defaults below
//   Bus=<n>  Slot=<n>       PCI position
//   ResetMs=<n>             ms from ResetCard until IsReseted reports the card ready (50),
//                           at most 20000 (longer than any caller waits)
//   Identification record (texts as 8-bit Windows-1252, at most the field size):
//   Karte= Aufsteckfilter= PciEeprom= (20 chars)  LcaVersion= Programmversion= (10 chars)
//   BandgrenzeUnten= BandgrenzeOben=              float
//   AdcBits= AufnahmeFifo= DatenFifo= Dynamik= MaxSapFolge=   0..255
//   DaempfungEingang= DaempfungSender= (4 x 16 bit)  EnergieSender= (8 x 16 bit)
//   Samplerate= Grunddaempfung= (8 x 8 bit)  FilterMitte= (8 floats)  FilterBandgrenze= (16)
//                           lists are comma-separated; missing entries are 0
//   Kennung[.<offset>]=<hex bytes>   raw record bytes from offset (default 0)
//   PciConfig[.<offset>]=<hex bytes> configuration space bytes from offset (default 0)
//   PciWritable[.<offset>]=<hex masks>  bits a configuration write may change, for the
//                           subsystem ids (0x2C-0x2F, default read-only) and the device's own
//                           registers 0x40-0xFF (default writable); other offsets follow PCI
//   BarSize0..BarSize5=<n>  size of a base address region, power of two, 0 = none
//   RomSize=<n>             expansion ROM size, power of two >= 0x800, 0 = none
//   EepromFill=<hex byte>   every EEPROM byte
//   Eeprom[.<offset>]=<hex bytes>    EEPROM bytes from offset
//   Reg<address>=<n>        register value, e.g. Reg0x42E=0x1234; control-LCA registers
//                           (0x400-0x43E) return to these values (unset: 0) on the DSP's
//                           "Reset" command
//                           operation registers 0x00-0x3C: out mailbox 1 holds 0x207 and is
//                           marked full in the mailbox status (0x34) unless set here
//                           ESB Delay (0x42E) of a ZORIX7F reports the echo start of the
//                           last shot unless set here
//   StuckKennung=<offsets>  identification bytes that keep their value on PutKonfig
//   StuckEeprom=<addresses> EEPROM bytes that ignore writes
//   EepromWriteProtect=1    the whole EEPROM ignores writes (write-protected part)
//                           (a blank part: EepromFill=FF)
//   Specimen and probe (amplitudes in % of full scale at 20 dB gain, Verstaerkung 200):
//   Velocity=5920           sound velocity, m/s
//   Thickness=47.5          plate thickness, mm (back wall at 2 x thickness / velocity)
//   FlawDepth=26            flaw depth, mm; 0, or not above the back wall, = no flaw
//   FlawAmplitude=55  BackWallAmplitude=80  TransmitPulse=200
//   Attenuation=0.04        dB per mm of further sound path, shapes the back-wall multiples
//   ProbeFrequency=4        MHz; echoes are three-cycle bursts of it
//   Noise=1                 rms noise of one shot, %; averaging divides it by sqrt(Average)
//   NoiseSeed=<n>           start of the card's noise sequence (default from the number)
//   AscanType=0x14          headed A-scans: 0x14 or 0x60 (16-bit) or 0x10 (packed 12-bit)
//   ExtraFifoWords=<n>      32-bit words 0x0BAD0000 + i appended behind every result buffer
//   ShotPeriodUs=<n>        time one shot and its transfer take on the clock, at most
//                           100000 (10 shots a second), so a cycle of seven sets stays
//                           below a second of real time; 0 (default) = the set's own time:
//                           pulse repetition (IFF in Hz, at most MaxSapFolge kHz), trigger
//                           delay and record (delay - pre-run + length) at the sample rate,
//                           times the averaged shots; data cross the bus at 133 MB/s with
//                           DMA, 33.25 MB/s without
//   Timing=realistic|instant  instant: shots and transfers take no time (benchmarks)
//   ExternalClockMHz=<f>    clock at the external clock input (SetExternalClock); 0 (default)
//                           = none: with it chosen no shot completes, fetches fail after
//                           the data time-out (10 s until SetDataTimeOut, 0 = none)
//   Cards that misbehave, for the callers' time-outs (0 = no, the default; 1 = yes):
//   NeverReset=1            IsReseted reports 0 for ever after ResetCard
//   NeverReady=1            a fetch started by StartGetData never completes:
//                           IsReadyGetDataIntReturn returns 1 with error word 0 until the
//                           data time-out (SetDataTimeOut; 10 s until set, 0 = none) has passed on the
//                           clock, then fails with 0xE0000008
//   NeverEmpty=1            the FIFO never runs empty: IsDataInFIFO always reports data,
//                           fetches deliver shots of the cycle even when stopped or cleared
//   (tests/sim/never-ready-bench.ini has one card of each)
//   DSP commands:
//   PoweredDown=1           the analogue part starts switched off, as after "Power Down"
//                           (0x1400); "Power Up" (0x1800) switches it on. While it is off,
//                           shots bring no echo and no noise (a flat A-scan, gates without
//                           results) and GetADC reads 0 V for analogue +5 V, -5 V and high voltage
//   Adc=38.5,5.02,4.97,148,5.01,2.5   what GetADC reads: temperature in °C, analogue +5 V,
//                           analogue -5 V, high voltage, digital -5 V, ADC reference (V)
//   ResetMs also sets how often a caller polling IsReseted every 10 ms sees the reset
//   (ResetMs=0: done at the first poll)
//   Bring-up and diagnostics:
//   SelfTestFail=<tests>    self-tests (0..12) whose command the DSP refuses, with error word
//                           0xE0000100 + test number
//   FifoWrongWords=<i>      words (0..7) of self-test 0's pattern that arrive with bit 16 flipped
//   FifoExtraWords=<n>      words 0x0BAD0000 + k left in the PCI-FIFO behind the pattern (0..4096)
//   FifoNeverEmpty=1        the PCI-FIFO never reports empty (register 0x3C bit 5 stays 0)
//   Reg0x400 / Reg0x600     the control / data LCA's ID (defaults 0x7031 / 0x7032; a ZORIX7
//                           card reads 0xFFFF); Reg0x610..0x61E, Reg0x430/0x432 the gate
//                           results until the first shot
//
// [Fault]                   one section per injected fault, repeatable
//   Call=<name>             e.g. GetData or ZORIX7GetData (required)
//   Card=<n>|all            one card, counting its calls; or all cards counted together
//   When=every|<n>          every call (default) or only the n-th matching call
//   Error=<n>               error word (default 0xE00000FF)
//   A failing IsReadyGetDataIntReturn returns nonzero (0 would read as "complete"), a
//   failing IsDataInFIFO reports no data; both write the error word (0xE00000FF for 0).
//
// Numbers are decimal or 0x hexadecimal. Hex bytes are pairs of hex digits, blanks and
// commas between them allowed. Unset card fields take plausible defaults; the EEPROM
// defaults to an image consistent with the final configuration space. Anything unknown
// or out of range stops the load with one message naming file and line.
#include "sim/Bench.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Cp1252.h"
#include "platform/IniDocument.h"

namespace zorix7sim {
namespace {

struct BenchError {
  size_t line;
  std::string text;
};

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::optional<uint64_t> ParseNumber(std::string_view s) {
  s = Trim(s);
  int base = 10;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    s.remove_prefix(2);
    base = 16;
  }
  uint64_t v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

// Real keys read as double, so that a limit such as 0.01 is itself in range.
template <typename Real = float>
std::optional<Real> ParseFloat(std::string_view s) {
  s = Trim(s);
  Real v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

std::vector<std::string_view> SplitList(std::string_view s) {
  std::vector<std::string_view> out;
  if (Trim(s).empty()) return out;
  size_t pos = 0;
  while (true) {
    size_t comma = s.find(',', pos);
    out.push_back(Trim(s.substr(pos, comma - pos)));
    if (comma == std::string_view::npos) return out;
    pos = comma + 1;
  }
}

std::optional<std::vector<BYTE>> ParseHexBytes(std::string_view s) {
  std::string digits;
  for (char c : s) {
    if (c == ' ' || c == '\t' || c == ',') continue;
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    digits += c;
  }
  if (digits.empty() || digits.size() % 2) return std::nullopt;
  std::vector<BYTE> out;
  for (size_t i = 0; i < digits.size(); i += 2)
    out.push_back(static_cast<BYTE>(std::stoul(digits.substr(i, 2), nullptr, 16)));
  return out;
}

std::string Real(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

bool IsPowerOfTwo(uint64_t v) { return v && !(v & (v - 1)); }

// Waits of the virtual cards run on the clock, in tests and at the bench alike: bounded so
// that no bench makes a real wait last minutes.
constexpr uint64_t kMaxResetMs = 20000;
constexpr uint64_t kMaxShotPeriodUs = 100000;
// A bench file is a few kilobytes of hand-written text.
constexpr off_t kMaxBenchBytes = 16 << 20;

// ---- card keys ----

enum class Kind { Text, U8, U16, F32 };
struct KennungField {
  const char* key;
  size_t offset;
  Kind kind;
  size_t count;  // characters for texts, entries otherwise
};
const KennungField kKennungFields[] = {
    {"karte", 0, Kind::Text, 20},           {"aufsteckfilter", 20, Kind::Text, 20},
    {"pcieeprom", 40, Kind::Text, 20},      {"lcaversion", 60, Kind::Text, 10},
    {"programmversion", 70, Kind::Text, 10}, {"bandgrenzeunten", 80, Kind::F32, 1},
    {"bandgrenzeoben", 84, Kind::F32, 1},   {"adcbits", 88, Kind::U8, 1},
    {"aufnahmefifo", 89, Kind::U8, 1},      {"datenfifo", 90, Kind::U8, 1},
    {"dynamik", 91, Kind::U8, 1},           {"daempfungeingang", 92, Kind::U16, 4},
    {"daempfungsender", 100, Kind::U16, 4}, {"energiesender", 108, Kind::U16, 8},
    {"samplerate", 124, Kind::U8, 8},       {"maxsapfolge", 132, Kind::U8, 1},
    {"filtermitte", 136, Kind::F32, 8},     {"filterbandgrenze", 168, Kind::F32, 16},
    {"grunddaempfung", 232, Kind::U8, 8},
};

std::string SetKennungField(KennungRecord& k, const KennungField& f, std::string_view value) {
  auto* bytes = reinterpret_cast<BYTE*>(&k) + f.offset;
  if (f.kind == Kind::Text) {
    std::string text = cp1252::FromUtf8(value);
    if (text.size() > f.count) return "text longer than " + std::to_string(f.count) + " characters";
    std::memset(bytes, 0, f.count);
    std::memcpy(bytes, text.data(), text.size());
    return {};
  }
  auto items = SplitList(value);
  if (items.size() > f.count) return "more than " + std::to_string(f.count) + " values";
  const size_t width = f.kind == Kind::U8 ? 1 : f.kind == Kind::U16 ? 2 : 4;
  std::memset(bytes, 0, width * f.count);
  for (size_t i = 0; i < items.size(); ++i) {
    BYTE* at = bytes + i * width;
    if (f.kind == Kind::F32) {
      auto v = ParseFloat(items[i]);
      if (!v) return "bad number \"" + std::string(items[i]) + "\"";
      std::memcpy(at, &*v, 4);
    } else {
      auto v = ParseNumber(items[i]);
      uint64_t max = f.kind == Kind::U8 ? 0xFF : 0xFFFF;
      if (!v || *v > max) return "bad number \"" + std::string(items[i]) + "\" (0.." + std::to_string(max) + ")";
      for (size_t b = 0; b < width; ++b) at[b] = static_cast<BYTE>(*v >> (8 * b));
    }
  }
  return {};
}

// "<name>" or "<name>.<offset>" with hex bytes that must fit into size.
std::string PatchBytes(BYTE* target, size_t size, std::string_view suffix, std::string_view value) {
  size_t offset = 0;
  if (!suffix.empty()) {
    auto o = ParseNumber(suffix);
    if (!o || *o >= size) return "bad offset \"" + std::string(suffix) + "\"";
    offset = static_cast<size_t>(*o);
  }
  auto bytes = ParseHexBytes(value);
  if (!bytes) return "bad hex bytes";
  if (bytes->size() > size - offset) return "bytes run past the end (" + std::to_string(size) + " bytes)";
  std::memcpy(target + offset, bytes->data(), bytes->size());
  return {};
}

std::string ParseOffsets(std::string_view value, size_t limit, std::set<unsigned>& out) {
  for (auto item : SplitList(value)) {
    auto v = ParseNumber(item);
    if (!v || *v >= limit) return "bad address \"" + std::string(item) + "\" (below " + std::to_string(limit) + ")";
    out.insert(static_cast<unsigned>(*v));
  }
  return {};
}

struct EepromOp {
  std::string suffix;  // fill when the op comes from EepromFill
  std::string value;
  bool fill = false;
  size_t line = 0;
};

std::optional<uint64_t> Number(std::string_view value, uint64_t max, std::string& problem) {
  auto v = ParseNumber(value);
  if (!v || *v > max) {
    problem = "bad number \"" + std::string(value) + "\" (0.." + std::to_string(max) + ")";
    return std::nullopt;
  }
  return v;
}

// Applies one key; returns the problem, empty when fine. EEPROM keys are deferred so that
// the default EEPROM can follow the configuration space whatever the key order.
std::string ApplyCardKey(CardSpec& c, const std::string& key, std::string_view value,
                         size_t line, std::vector<EepromOp>& eepromOps) {
  std::string problem;
  size_t dot = key.find('.');
  std::string base = key.substr(0, dot);
  std::string suffix = dot == std::string::npos ? "" : key.substr(dot + 1);

  if (base == "variant" && suffix.empty()) return {};  // taken before the other keys
  if (base == "kennung") return PatchBytes(reinterpret_cast<BYTE*>(&c.kennung), sizeof c.kennung, suffix, value);
  if (base == "pciconfig") return PatchBytes(c.config.data(), c.config.size(), suffix, value);
  if (base == "pciwritable") return PatchBytes(c.configWritable.data(), c.configWritable.size(), suffix, value);
  if (base == "eeprom") {
    eepromOps.push_back({suffix, std::string(value), false, line});
    return {};
  }
  if (!suffix.empty()) return "unknown key";
  if (key == "eepromfill") {
    eepromOps.push_back({{}, std::string(value), true, line});
    return {};
  }
  for (const auto& f : kKennungFields)
    if (key == f.key) return SetKennungField(c.kennung, f, value);
  if (key == "bus" || key == "slot" || key == "resetms") {
    auto v = Number(value, key == "resetms" ? kMaxResetMs : 255, problem);
    if (!v) return problem;
    (key == "bus" ? c.bus : key == "slot" ? c.slot : c.resetMs) = static_cast<DWORD>(*v);
    return {};
  }
  if (key.size() == 8 && key.rfind("barsize", 0) == 0 && key[7] >= '0' && key[7] <= '5') {
    auto v = Number(value, 0x80000000u, problem);
    if (!v) return problem;
    if (*v != 0 && (!IsPowerOfTwo(*v) || *v < 16)) return "size must be 0 or a power of two of at least 16";
    c.barSize[static_cast<size_t>(key[7] - '0')] = static_cast<DWORD>(*v);
    return {};
  }
  if (key == "romsize") {
    auto v = Number(value, 0x80000000u, problem);
    if (!v) return problem;
    if (*v != 0 && (!IsPowerOfTwo(*v) || *v < 0x800)) return "size must be 0 or a power of two of at least 0x800";
    c.romSize = static_cast<DWORD>(*v);
    return {};
  }
  if (key.rfind("reg", 0) == 0 && key.size() > 3) {
    auto address = ParseNumber(std::string_view(key).substr(3));
    if (!address || *address > 0xFFFFFFFFu) return "bad register address in key";
    auto v = Number(value, 0xFFFFFFFFu, problem);
    if (!v) return problem;
    c.registers[static_cast<DWORD>(*address)] = static_cast<DWORD>(*v);
    return {};
  }
  struct RealKey {
    const char* key;
    double SpecimenSpec::*field;
    double min, max;
  };
  static const RealKey kReal[] = {
      {"velocity", &SpecimenSpec::velocity, 100, 20000},
      {"thickness", &SpecimenSpec::thickness, 0.01, 10000},
      {"flawdepth", &SpecimenSpec::flawDepth, 0, 10000},
      {"flawamplitude", &SpecimenSpec::flawAmplitude, 0, 1000},
      {"backwallamplitude", &SpecimenSpec::backWallAmplitude, 0, 1000},
      {"transmitpulse", &SpecimenSpec::transmitPulse, 0, 1000},
      {"attenuation", &SpecimenSpec::attenuation, 0, 10},
      {"probefrequency", &SpecimenSpec::frequency, 0.1, 50},
      {"noise", &SpecimenSpec::noise, 0, 100},
  };
  for (const auto& r : kReal) {
    if (key != r.key) continue;
    auto v = ParseFloat<double>(value);
    if (!v || *v < r.min || *v > r.max)
      return "bad number \"" + std::string(value) + "\" (" + Real(r.min) + ".." + Real(r.max) + ")";
    c.specimen.*r.field = *v;
    return {};
  }
  if (key == "ascantype") {
    auto v = ParseNumber(value);
    if (!v || (*v != kTypeAscan14 && *v != kTypeAscan60 && *v != kTypePacked12))
      return "A-scan type must be 0x14, 0x60 or 0x10, not \"" + std::string(value) + "\"";
    c.ascanType = static_cast<BYTE>(*v);
    return {};
  }
  if (key == "timing") {
    std::string v = IniDocument::Fold(std::string(Trim(value)));
    if (v != "realistic" && v != "instant") return "timing must be realistic or instant, not \"" + std::string(value) + "\"";
    c.instant = v == "instant";
    return {};
  }
  if (key == "externalclockmhz") {
    auto v = ParseFloat<double>(value);
    if (!v || *v < 0 || *v > 1000) return "bad number \"" + std::string(value) + "\" (0..1000)";
    c.externalClockMHz = *v;
    return {};
  }
  if (key == "extrafifowords" || key == "shotperiodus") {
    auto v = Number(value, key == "extrafifowords" ? 4096 : kMaxShotPeriodUs, problem);
    if (!v) return problem;
    (key == "extrafifowords" ? c.extraFifoWords : c.shotPeriodUs) = static_cast<DWORD>(*v);
    return {};
  }
  if (key == "neverreset" || key == "neverready" || key == "neverempty" || key == "powereddown") {
    auto v = Number(value, 1, problem);
    if (!v) return problem;
    (key == "neverreset"   ? c.neverReset
     : key == "neverready" ? c.neverReady
     : key == "neverempty" ? c.neverEmpty
                           : c.poweredDown) = *v != 0;
    return {};
  }
  if (key == "noiseseed") {
    auto v = ParseNumber(value);
    if (!v) return "bad number \"" + std::string(value) + "\"";
    c.noiseSeed = *v;
    return {};
  }
  if (key == "selftestfail") return ParseOffsets(value, 13, c.selfTestFail);
  if (key == "fifowrongwords") return ParseOffsets(value, 8, c.fifoWrongWords);
  if (key == "fifoextrawords" || key == "fifoneverempty") {
    auto v = Number(value, key == "fifoextrawords" ? 4096 : 1, problem);
    if (!v) return problem;
    if (key == "fifoextrawords")
      c.fifoExtraWords = static_cast<DWORD>(*v);
    else
      c.fifoNeverEmpty = *v != 0;
    return {};
  }
  if (key == "adc") {
    auto parts = SplitList(value);
    if (parts.size() != c.adc.size()) return "six values expected (temperature and five voltages)";
    for (size_t i = 0; i < parts.size(); ++i) {
      auto v = ParseFloat(parts[i]);
      if (!v || *v < -1000 || *v > 1000) return "bad number \"" + std::string(parts[i]) + "\" (-1000..1000)";
      c.adc[i] = *v;
    }
    return {};
  }
  if (key == "stuckkennung") return ParseOffsets(value, sizeof(KennungRecord), c.stuckKennung);
  if (key == "stuckeeprom") return ParseOffsets(value, kEepromSize, c.stuckEeprom);
  if (key == "eepromwriteprotect") {
    auto v = Number(value, 1, problem);
    if (!v) return problem;
    for (unsigned a = 0; *v && a < kEepromSize; ++a) c.stuckEeprom.insert(a);
    return {};
  }
  return "unknown key";
}

std::string ApplyEepromOp(CardSpec& c, const EepromOp& op) {
  if (!op.fill) return PatchBytes(c.eeprom.data(), c.eeprom.size(), op.suffix, op.value);
  auto bytes = ParseHexBytes(op.value);
  if (!bytes || bytes->size() != 1) return "fill must be one hex byte";
  c.eeprom.fill((*bytes)[0]);
  return {};
}

std::optional<int> CardSectionNumber(const std::string& folded, size_t line, std::optional<BenchError>& err) {
  if (folded.rfind("card", 0) != 0) return std::nullopt;
  auto n = ParseNumber(std::string_view(folded).substr(4));
  if (!n) return std::nullopt;
  if (*n < 1 || *n > static_cast<uint64_t>(kMaxCards)) {
    err = BenchError{line, "card number out of range 1..16 in [" + folded + "]"};
    return std::nullopt;
  }
  return static_cast<int>(*n);
}

std::optional<BenchError> ParseCard(const IniDocument::Section& s, int number, CardSpec& out) {
  Variant variant = Variant::Zorix7F;
  for (const auto& e : s.entries) {
    if (IniDocument::Fold(e.key) != "variant") continue;
    std::string v = IniDocument::Fold(e.value);
    if (v == "zorix7")
      variant = Variant::Zorix7;
    else if (v != "zorix7f")
      return BenchError{e.line, "variant must be ZORIX7 or ZORIX7F, not \"" + e.value + "\""};
  }
  out = MakeDefaultCard(number, variant);
  std::vector<EepromOp> eepromOps;
  for (const auto& e : s.entries) {
    std::string problem = ApplyCardKey(out, IniDocument::Fold(e.key), e.value, e.line, eepromOps);
    if (problem == "unknown key") problem = "unknown key \"" + e.key + "\"";
    if (!problem.empty()) return BenchError{e.line, problem};
  }
  out.eeprom = EepromFromConfig(out.config);
  for (const auto& op : eepromOps) {
    std::string problem = ApplyEepromOp(out, op);
    if (!problem.empty()) return BenchError{op.line, problem};
  }
  return std::nullopt;
}

std::optional<BenchError> ParseFault(const IniDocument::Section& s, Fault& out) {
  bool haveCall = false;
  for (const auto& e : s.entries) {
    std::string key = IniDocument::Fold(e.key);
    std::string value = IniDocument::Fold(e.value);
    std::string problem;
    if (key == "call") {
      if (!IsCallName(e.value)) return BenchError{e.line, "unknown call \"" + e.value + "\""};
      out.call = e.value;
      haveCall = true;
    } else if (key == "card") {
      if (value == "all") {
        out.card = 0;
      } else {
        auto v = ParseNumber(value);
        if (!v || *v < 1 || *v > static_cast<uint64_t>(kMaxCards))
          return BenchError{e.line, "card must be 1..16 or all, not \"" + e.value + "\""};
        out.card = static_cast<int>(*v);
      }
    } else if (key == "when") {
      if (value == "every") {
        out.nth = 0;
      } else {
        auto v = ParseNumber(value);
        if (!v || *v < 1 || *v > 0xFFFFFFFFu)
          return BenchError{e.line, "when must be every or a call count from 1, not \"" + e.value + "\""};
        out.nth = static_cast<unsigned>(*v);
      }
    } else if (key == "error") {
      auto v = Number(e.value, 0xFFFFFFFFu, problem);
      if (!v) return BenchError{e.line, problem};
      out.error = static_cast<DWORD>(*v);
    } else {
      return BenchError{e.line, "unknown key \"" + e.key + "\""};
    }
  }
  if (!haveCall) return BenchError{s.line, "fault without Call="};
  return std::nullopt;
}

// The INI reader skips lines it cannot read; a bench should not, so they are found here.
std::optional<BenchError> CheckLines(std::string_view text) {
  size_t lineNo = 0;
  bool inSection = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t nl = text.find('\n', pos);
    std::string_view line = Trim(text.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos));
    pos = nl == std::string_view::npos ? text.size() : nl + 1;
    ++lineNo;
    if (lineNo == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      if (line.find(']') == std::string_view::npos) return BenchError{lineNo, "section header without \"]\""};
      inSection = true;
      continue;
    }
    if (line.find('=') == std::string_view::npos) return BenchError{lineNo, "not a key=value line"};
    if (!inSection) return BenchError{lineNo, "key before the first section"};
  }
  return std::nullopt;
}

std::optional<BenchError> ParseDocument(std::string_view text, BenchSpec& bench) {
  if (auto err = CheckLines(text)) return err;
  IniDocument doc = IniDocument::Parse(text);
  std::map<int, size_t> seen;  // card number -> line of its section
  for (const auto& s : doc.Sections()) {
    std::string folded = IniDocument::Fold(s.name);
    std::string compact;
    for (char c : folded)
      if (c != ' ') compact += c;
    if (compact == "fault") {
      Fault f;
      if (auto err = ParseFault(s, f)) return err;
      bench.faults.push_back(f);
      continue;
    }
    std::optional<BenchError> err;
    auto number = CardSectionNumber(compact, s.line, err);
    if (err) return err;
    if (!number) return BenchError{s.line, "unknown section [" + s.name + "]"};
    if (auto it = seen.find(*number); it != seen.end())
      return BenchError{s.line, "card " + std::to_string(*number) + " already defined in line " +
                                    std::to_string(it->second)};
    seen[*number] = s.line;
    CardSpec card;
    if (auto cardErr = ParseCard(s, *number, card)) return cardErr;
    bench.cards.push_back(std::move(card));
  }
  std::sort(bench.cards.begin(), bench.cards.end(),
            [](const CardSpec& a, const CardSpec& b) { return a.number < b.number; });
  return std::nullopt;
}

// Empty for a regular file of sensible size, else what the path names instead.
std::string FileTypeProblem(const struct stat& st) {
  if (S_ISDIR(st.st_mode)) return "is a folder, not a file";
  if (S_ISFIFO(st.st_mode)) return "is a named pipe, not a file";
  if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return "is a device, not a file";
  if (S_ISSOCK(st.st_mode)) return "is a socket, not a file";
  if (!S_ISREG(st.st_mode)) return "is not a regular file";
  if (st.st_size > kMaxBenchBytes) return "is larger than 16 MB";
  return {};
}

}  // namespace

BenchSpec BuiltInBench() {
  BenchSpec b;
  b.cards.push_back(MakeDefaultCard(1, Variant::Zorix7F));
  b.cards.push_back(MakeDefaultCard(2, Variant::Zorix7F));
  return b;
}

std::optional<BenchSpec> ParseBench(std::string_view text, const std::string& name, std::string& error) {
  BenchSpec bench;
  if (auto err = ParseDocument(text, bench)) {
    error = "Bench file \"" + name + "\", line " + std::to_string(err->line) + ": " + err->text;
    return std::nullopt;
  }
  error.clear();
  return bench;
}

std::optional<BenchSpec> ReadBenchFile(const std::string& path, std::string& error) {
  auto refuse = [&](const std::string& problem) {
    error = "Bench file \"" + path + "\": " + problem;
    return std::nullopt;
  };
  auto unreadable = [] { return std::string("cannot be read (") + std::strerror(errno) + ")"; };
  // The type is looked at before opening, since opening a device can act on it, and again
  // on what was opened; non-blocking, so that a pipe put there meanwhile cannot stall.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return refuse(unreadable());
  if (std::string problem = FileTypeProblem(st); !problem.empty()) return refuse(problem);
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return refuse(unreadable());
  std::string problem = ::fstat(fd, &st) != 0 ? unreadable() : FileTypeProblem(st);
  std::string text;
  if (problem.empty()) {
    text.resize(static_cast<size_t>(st.st_size));
    size_t got = 0;
    while (got < text.size()) {
      ssize_t n = ::read(fd, text.data() + got, text.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) problem = unreadable();
      if (n <= 0) {
        text.resize(got);  // shrank while being read: what is there
        break;
      }
      got += static_cast<size_t>(n);
    }
  }
  ::close(fd);
  if (!problem.empty()) return refuse(problem);
  return ParseBench(text, path, error);
}

}  // namespace zorix7sim
