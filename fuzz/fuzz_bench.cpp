// Bench files of the virtual cards: any text either loads or gives one message naming a
// line, and a loaded bench opens every card it names. The first two cards then measure a
// shot on a virtual clock: whatever specimen, framing and timing the text sets, the calls
// return within bounds and a wait ends as documented.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "sim/CardModel.h"
#include "sim/Specimen.h"
#include "sim/Zorix7Sim.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

void Measure(HZORIX7 h, const zorix7sim::CardSpec& card) {
  constexpr DWORD kRoom = 0x20000;
  static std::vector<BYTE> buffer(kRoom);
  DWORD error = 0, count = kRoom;
  ParamBlock block = zorix7sim::DefaultParamBlock();
  block.ExternerTrigger = card.number & 1;
  ZORIX7PrepAllGatesParam(h, 1, block, &error);
  ZORIX7SetZORIX9(h, 1, static_cast<int16_t>(card.number * 10), &error);  // headed on F cards
  ZORIX7SetParam(h, 1, &error);
  ZORIX7Start(h, &error);
  if (ZORIX7GetData(h, &count, buffer.data(), &error)) Check(count <= kRoom);
  GateReadout readout{};
  ZORIX7GetGates(h, &readout, &error);

  ZORIX7Start(h, &error);
  count = kRoom;
  if (ZORIX7StartGetData(h, &count, buffer.data(), 0, &error)) {
    const bool timeOut = ZORIX7SetDataTimeOut(h, 1, &error);
    CurrentClock().Sleep(500);
    for (int poll = 0; poll < 2; ++poll, CurrentClock().Sleep(500)) {
      count = kRoom;
      BOOL busy = ZORIX7IsReadyGetDataIntReturn(h, &count, &error);
      Check(count <= kRoom);
      if (!busy) break;
      // Busy without an error word only on a never-ready card, and only until its time-out.
      Check(error != 0 || (card.neverReady && (poll == 0 || !timeOut)));
    }
  }
  BOOL inFifo = TRUE;
  for (int k = 0; k < 4 && ZORIX7IsDataInFIFO(h, &inFifo, &error) && inFifo; ++k) {
    count = kRoom;
    ZORIX7GetData(h, &count, buffer.data(), &error);
  }
  ZORIX7Stop(h, &error);
  ZORIX7ResetCard(h);
  CurrentClock().Sleep(20001);
  Check(ZORIX7IsReseted(h) || card.neverReset || !zorix7sim::JournalOf("IsReseted").back().ok);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static VirtualClock clock;
  static ScopedClock scoped(clock);
  std::string_view text(reinterpret_cast<const char*>(data), size);
  if (zorix7sim::LoadBenchText(text, "fuzz.ini")) {
    if (!zorix7sim::BenchError().empty()) abort();
    int measured = 0;
    for (int n : zorix7sim::CardNumbers()) {
      HZORIX7 h = ZORIX7Open(n);
      if (!h) abort();
      KennungRecord record;
      DWORD error = 0;
      ZORIX7GetKonfig(h, &record, &error);
      if (measured++ < 2) Measure(h, zorix7sim::Card(n)->setup());
      ZORIX7Close(h);
    }
  } else if (zorix7sim::BenchError().find("line") == std::string::npos &&
             zorix7sim::BenchError().find("fuzz.ini") == std::string::npos) {
    abort();
  }
  zorix7sim::Reset();
  return 0;
}
