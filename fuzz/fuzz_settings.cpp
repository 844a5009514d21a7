// The configuration file as the program loads it: the bytes are a file on disk, read through
// the application object into the main dialog's settings and the eight parameter sets of a
// card (further cards differ only in their section names).
// What is read must save and read back unchanged, to a new file and into the file itself;
// a save into the file that is refused leaves its bytes as they were. Saving costs thirty times
// a load, so one input in 32, picked by its bytes, goes through the saves.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "app/MainSettings.h"

namespace fs = std::filesystem;

namespace {
void Require(bool ok) {
  if (!ok) std::abort();
}

// Files in memory where the system has it: every input is written and read back.
struct Scratch {
  fs::path dir;
  Scratch() {
    std::string base = fs::is_directory("/dev/shm") ? "/dev/shm/fuzz_settings.XXXXXX" : "/tmp/fuzz_settings.XXXXXX";
    Require(::mkdtemp(base.data()) != nullptr);
    dir = base;
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  std::string operator()(const char* name) const { return (dir / name).string(); }
};

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// The dialog's state: its settings and the sets of its opened cards.
struct State {
  MainSettings settings;
  ParameterSet param[kMaxCards][8];
  ActiveSetFlags active[kMaxCards] = {};
  CardParameterSets Sets() { return {1, param, active}; }
  State() {
    // The "Check" keys are plain yes/no keys; these stand for the column, saved out of order.
    settings.checks = {{"PCIconfig", 2, TRUE}, {"Kennung", 0, FALSE}, {"Blockmessung", 1, TRUE}};
  }
};

State Load(CWinApp& app, const std::string& path) {
  profile::ClearCache();
  app.m_pszProfileName = path.c_str();
  State s;
  ReadSettings(app, s.settings, s.Sets());
  return s;
}

bool SameSettings(const MainSettings& a, const MainSettings& b) {
  if (a.checks.size() != b.checks.size()) return false;
  for (size_t i = 0; i < a.checks.size(); ++i)
    if (a.checks[i].on != b.checks[i].on) return false;
  return a.card == b.card && a.paramSet == b.paramSet && a.anzeigefaktor == b.anzeigefaktor && a.zyklen == b.zyklen &&
         a.dma == b.dma && a.prepAll == b.prepAll && a.kontinuierlich == b.kontinuierlich && a.anzeige == b.anzeige &&
         a.zorix9 == b.zorix9 && a.hotPlug == b.hotPlug;
}

// Saves into a new file and gives its bytes: equal bytes, equal parameter sets.
std::string SavedFresh(CWinApp& app, State& s, const std::string& path) {
  ::unlink(path.c_str());
  profile::ClearCache();
  app.m_pszProfileName = path.c_str();
  Require(WriteSettings(app, s.settings, s.Sets()));
  return Bytes(path);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Scratch scratch;
  static CWinApp app;
  const std::string file = scratch("ZORIX7Check.INI"), fresh = scratch("fresh.ini"), again = scratch("again.ini");
  Put(file, data, size);

  State read = Load(app, file);
  for (int s = 0; s < 8; ++s) {
    Require(read.active[0].flag[s] == TRUE || read.active[0].flag[s] == FALSE);
    Require(read.param[0][s].TaTablePointer == nullptr && read.param[0][s].TaLastIndex == 1);
    Require(read.param[0][s].Gates.gate[s % 5].threshold % 16 == 0);
  }

  if (std::hash<std::string_view>()({reinterpret_cast<const char*>(data), size}) % 32 != 0) return 0;
  const std::string saved = SavedFresh(app, read, fresh);
  State reread = Load(app, fresh);
  Require(SameSettings(read.settings, reread.settings));
  Require(SavedFresh(app, reread, again) == saved);

  // Into the file itself, with whatever else it holds.
  profile::ClearCache();
  app.m_pszProfileName = file.c_str();
  if (!WriteSettings(app, read.settings, read.Sets())) {
    Require(Bytes(file) == std::string(reinterpret_cast<const char*>(data), size));
    return 0;
  }
  State back = Load(app, file);
  Require(SameSettings(read.settings, back.settings));
  Require(SavedFresh(app, back, again) == saved);
  return 0;
}
