// Bench files of the virtual cards: any text either loads or gives one message naming a
// line, and a loaded bench opens every card it names.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sim/Zorix7Sim.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  if (zorix7sim::LoadBenchText(text, "fuzz.ini")) {
    if (!zorix7sim::BenchError().empty()) abort();
    for (int n : zorix7sim::CardNumbers()) {
      HZORIX7 h = ZORIX7Open(n);
      if (!h) abort();
      KennungRecord record;
      DWORD error = 0;
      ZORIX7GetKonfig(h, &record, &error);
      ZORIX7Close(h);
    }
  } else if (zorix7sim::BenchError().find("line") == std::string::npos &&
             zorix7sim::BenchError().find("fuzz.ini") == std::string::npos) {
    abort();
  }
  zorix7sim::Reset();
  return 0;
}
