// Writes the seed corpus of every fuzz target into OUT/<target>/: card buffers measured by
// the virtual cards (plain and headed A-scans of every type, time-stamped ones, gate and
// compact result records) at everyday and full 0x20000-byte size, plus the hand-written
// seeds under fuzz/seeds/, the example bench files and the starting configuration.
//   write_fuzz_seeds OUT
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "card/ControlLca.h"
#include "card/DataLca.h"
#include "card/DspCommands.h"
#include "card/zorix7dll.h"
#include "sim/Specimen.h"
#include "snapshot/CardSnapshot.h"
#include "sim/Zorix7Sim.h"

namespace fs = std::filesystem;
using Bytes = std::vector<BYTE>;

namespace {

constexpr DWORD kRoom = 0x20000;  // the application's measurement buffer
constexpr WORD kMaxRecord = 65535;
constexpr size_t kHeader = 6, kStamp = 8;

// Card 1 headed 0x14, card 2 headed 0x60, card 3 packed 12-bit, card 4 a plain ZORIX7
// with extra words behind its results.
const char* const kBench =
    "[Card 1]\n"
    "[Card 2]\nAscanType=0x60\nThickness=20\nFlawDepth=0\n"
    "[Card 3]\nAscanType=0x10\nNoise=5\n"
    "[Card 4]\nVariant=ZORIX7\nExtraFifoWords=8\n";

fs::path g_out;
bool g_failed = false;

void Fail(const std::string& what, DWORD error) {
  std::fprintf(stderr, "write_fuzz_seeds: %s failed (error %X)\n", what.c_str(), error);
  g_failed = true;
}

void Write(const std::string& target, const std::string& name, const Bytes& prefix, const Bytes& data) {
  fs::create_directories(g_out / target);
  std::ofstream f(g_out / target / name, std::ios::binary);
  f.write(reinterpret_cast<const char*>(prefix.data()), static_cast<std::streamsize>(prefix.size()));
  f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (!f) Fail("writing " + target + "/" + name, 0);
}

struct Shot {
  WORD samples = 1600;
  bool eightBit = false;
  bool stamped = false;  // external trigger: a time stamp in front of a headed block
  int16_t kennung = 0;   // nonzero: headed framing
  DWORD room = kRoom;
};

// One A-scan of set 1 as GetData hands it into a buffer of `room` bytes.
Bytes Ascan(int card, const Shot& s) {
  zorix7sim::Reset();
  zorix7sim::LoadBenchText(kBench, "seeds.ini");
  HZORIX7 h = ZORIX7Open(card);
  ParamBlock b = zorix7sim::DefaultParamBlock();
  b.Aufnahmelaenge = s.samples;
  b.b8Bit = s.eightBit;
  b.ExternerTrigger = s.stamped;
  DWORD error = 0, count = s.room;
  Bytes out(kRoom);
  if (!ZORIX7PrepAllGatesParam(h, 1, b, &error) || (s.kennung && !ZORIX7SetZORIX9(h, 1, s.kennung, &error)) ||
      !ZORIX7SetParam(h, 1, &error) || !ZORIX7Start(h, &error) || !ZORIX7GetData(h, &count, out.data(), &error))
    Fail("A-scan of card " + std::to_string(card), error);
  out.resize(count);
  return out;
}

// Result buffers of a block run over sets 1..3: one cycle, or (full) one cycle after the
// other until the buffer is filled, the last one cut where the room ends.
Bytes Results(int card, bool headed, bool stamped, bool full) {
  zorix7sim::Reset();
  zorix7sim::LoadBenchText(kBench, "seeds.ini");
  HZORIX7 h = ZORIX7Open(card);
  ParamBlock b = zorix7sim::DefaultParamBlock();
  b.StartMode = 4;
  ActiveSetFlags flags{};
  DWORD error = 0;
  for (BYTE set = 1; set <= 3; ++set) {
    b.ExternerTrigger = stamped && set == 3;
    flags.flag[set] = TRUE;
    if (!ZORIX7PrepAllGatesParam(h, set, b, &error) ||
        (headed && !ZORIX7SetZORIX9(h, set, static_cast<int16_t>(100 + set), &error)))
      Fail("preparing card " + std::to_string(card), error);
  }
  Bytes out(kRoom);
  DWORD at = 0;
  if (!ZORIX7ActiveParam(h, flags, &error) || !ZORIX7StartParam(h, 3, &error)) Fail("block run", error);
  do {
    DWORD count = kRoom - at;
    if (!ZORIX7GetResults(h, 0, &count, out.data() + at, &error) || count == 0) Fail("GetResults", error);
    at += count;
  } while (full && at < kRoom && !g_failed);
  out.resize(at);
  return out;
}

// The control and data LCA registers of a ZORIX7F as fuzz_register_map takes them: each map's
// registers in reading order, two bytes each. `pattern` goes to the card as every word of the
// setting commands first (0: the card as opened).
Bytes RegisterImage(DWORD pattern) {
  zorix7sim::Reset();
  zorix7sim::LoadBenchText(kBench, "seeds.ini");
  HZORIX7 h = ZORIX7Open(1);
  for (auto [code, words] : {std::pair{dsp::kSender, 1}, {dsp::kInput, 1}, {dsp::kAverage, 1},
                             {dsp::kAScan, 1}, {dsp::kTrigger, 2}, {dsp::kCount, 2}}) {
    DWORD word[2] = {pattern, pattern}, error = 0;
    if (pattern && !ZORIX7Command(h, code, static_cast<DWORD>(words), word, &error))
      Fail("command " + std::to_string(code) + " for the register image", error);
  }
  Bytes out;
  for (auto fields : {lca::ControlLcaFields(), datalca::DataLcaFields()})
    for (uint16_t reg : regmap::ReadOrder(fields)) {
      const DWORD value = ZORIX7ReadRegister(h, reg);
      out.push_back(static_cast<BYTE>(value));
      out.push_back(static_cast<BYTE>(value >> 8));
    }
  return out;
}

// A packed block longer than one shot can be (more than 65536 samples), so that the
// decoders' sample limit is reached: the card's packed words repeated to 0x20000 bytes.
Bytes LongPackedBlock(const Bytes& shot) {
  Bytes out(shot.begin(), shot.begin() + kHeader);
  while (out.size() < kRoom) out.insert(out.end(), shot.begin() + kHeader, shot.end());
  out.resize(kRoom);
  out[1] = static_cast<BYTE>(kRoom);
  out[2] = static_cast<BYTE>(kRoom >> 8);
  out[3] = static_cast<BYTE>(kRoom >> 16);
  return out;
}

// The sets' identifications as fuzz_block_check reads them from its first 16 bytes.
Bytes Idents() {
  Bytes p(16);
  for (int s = 1; s <= 3; ++s) p[2 * s] = static_cast<BYTE>(100 + s);
  return p;
}

void CopySeeds(const fs::path& from, const std::string& target) {
  fs::create_directories(g_out / target);
  std::error_code ec;
  if (fs::is_directory(from))
    fs::copy(from, g_out / target, fs::copy_options::overwrite_existing | fs::copy_options::recursive, ec);
  else
    fs::copy_file(from, g_out / target / from.filename(), fs::copy_options::overwrite_existing, ec);
  if (ec) Fail("copying " + from.string() + ": " + ec.message(), 0);
}

// Every card of the seeds' bench as a snapshot file, ZORIX7 and ZORIX7F alike.
Bytes SnapshotOfBench() {
  zorix7sim::Reset();
  zorix7sim::LoadBenchText(kBench, "seeds.ini");
  snapshot::Snapshot s;
  s.program = "write_fuzz_seeds";
  for (int n : zorix7sim::CardNumbers()) {
    HZORIX7 h = ZORIX7Open(n);
    s.cards.push_back(snapshot::TakeCardState(h, n));
    ZORIX7Close(h);
  }
  const std::string text = snapshot::ToJson(s);
  return Bytes(text.begin(), text.end());
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_fuzz_seeds OUT\n");
    return 2;
  }
  g_out = argv[1];

  // Samples that fill the buffer exactly: 65533 behind a header, 65529 behind a time stamp.
  const WORD fullHeaded = (kRoom - kHeader) / 2, fullStamped = (kRoom - kStamp - kHeader) / 2;
  const Bytes packed = Ascan(3, {kMaxRecord, false, false, 7});
  struct AscanSeed {
    const char* name;
    Bytes data;
    bool headed, eightBit;
  } ascans[] = {
      {"plain16", Ascan(4, {}), false, false},
      {"plain16-full", Ascan(4, {kMaxRecord}), false, false},
      {"plain8", Ascan(4, {1601, true}), false, true},
      {"plain8-full", Ascan(4, {kMaxRecord, true}), false, true},
      {"headed14", Ascan(1, {1600, false, false, 11}), true, false},
      {"headed14-full", Ascan(1, {fullHeaded, false, false, 11}), true, false},
      {"headed14-cut", Ascan(1, {kMaxRecord, false, false, 11}), true, false},
      {"headed14-stamped-full", Ascan(1, {fullStamped, false, true, -5}), true, false},
      {"headed60-full", Ascan(2, {fullHeaded, false, false, 12}), true, false},
      {"headed60-stamped", Ascan(2, {1600, false, true, 12}), true, false},
      {"packed", Ascan(3, {1600, false, false, 7}), true, false},
      {"packed-longest-shot", packed, true, false},
      {"packed-full", LongPackedBlock(packed), true, false},
  };
  for (const auto& a : ascans) {
    // fuzz_ascan_header reads odd sizes as 8-bit plain, even ones as 16-bit.
    if (a.headed || a.eightBit == (a.data.size() % 2 == 1)) Write("fuzz_ascan_header", a.name, {}, a.data);
    const BYTE options = static_cast<BYTE>((a.headed ? 0x80 : 0) | (a.eightBit ? 0x40 : 0) | 1);
    Write("fuzz_data_list", a.name, {options}, a.data);
  }

  struct ResultSeed {
    const char* name;
    Bytes data;
    bool headed;
  } results[] = {
      {"headed", Results(1, true, false, false), true},
      {"headed-stamped", Results(1, true, true, false), true},
      {"headed-full", Results(1, true, true, true), true},
      {"compact", Results(1, false, false, false), false},
      {"compact-extra-words", Results(4, false, false, false), false},
      {"compact-full", Results(4, false, false, true), false},
  };
  for (const auto& r : results) {
    Write("fuzz_result_lines", r.name, {static_cast<BYTE>(r.headed ? 0x87 : 0x07)}, r.data);
    if (r.headed) Write("fuzz_block_check", r.name, Idents(), r.data);
  }

  Write("fuzz_register_map", "opened", {}, RegisterImage(0));
  Write("fuzz_register_map", "commands-5555", {}, RegisterImage(0x55555555));
  Write("fuzz_register_map", "commands-aaaa", {}, RegisterImage(0xAAAAAAAA));

  Write("fuzz_snapshot", "bench", {}, SnapshotOfBench());

  const fs::path source = ZORIX7_SOURCE_DIR;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(source / "fuzz" / "seeds", ec))
    if (entry.is_directory()) CopySeeds(entry.path(), entry.path().filename().string());
  if (ec) Fail("reading fuzz/seeds: " + ec.message(), 0);
  CopySeeds(source / "src" / "sim" / "bench-example.ini", "fuzz_bench");
  CopySeeds(source / "tests" / "sim" / "never-ready-bench.ini", "fuzz_bench");
  for (const char* target : {"fuzz_ini", "fuzz_settings"}) CopySeeds(source / "config" / "ZORIX7Check.INI", target);
  CopySeeds(source / "fuzz" / "seeds" / "fuzz_ini", "fuzz_settings");  // every encoding
  zorix7sim::Reset();
  return g_failed ? 1 : 0;
}
