// "Parameter/Shot" on virtual cards: what it sends, fetches, shows and logs.
#include <algorithm>

#include "RunTestHost.h"

using namespace zorix7sim;
using measure::RunSingleShot;

namespace {

class SingleShot : public RunTest {
 protected:
  void SetUp() override { Bench("[Card 1]\n"); }
  int Count(const char* call) const { return static_cast<int>(Calls(call).size()); }
};

TEST_F(SingleShot, EditsSendsShootsAndShowsTheSet) {
  host.settings.set = 2;
  ParameterSet& set = host.sets[0][2];
  set.Aufnahmelaenge = 800;
  set.Aufnahmedelay = 12;
  auto line = RunSingleShot(host);
  ASSERT_TRUE(line.logged);
  EXPECT_TRUE(line.ok);
  EXPECT_EQ(line.text, "Einzelmessung Kanal 1: OK");
  ASSERT_EQ(host.edited.size(), 1u);
  EXPECT_EQ(host.edited[0].Aufnahmelaenge, 800);
  EXPECT_EQ(CallNames(), (std::vector<std::string>{"IsVersion3", "SetExternalClock", "PrepAllGatesParam",
                                                   "SetTriggerDelayParam", "SetESGateParam", "SetMode", "Start",
                                                   "GetData", "GetGates"}));
  EXPECT_EQ(Calls("PrepAllGatesParam")[0], "set 2, IFF 0x0, StartMode 1, Aufnahmelaenge 800");
  EXPECT_EQ(Calls("SetMode")[0], "dma 1");
  ASSERT_EQ(host.modalScans.size(), 1u);
  const auto& scan = host.modalScans[0];
  EXPECT_EQ(scan.bytes, 6u + 1600u) << "headed, 800 samples";
  EXPECT_EQ(scan.sequence, 1u);
  EXPECT_TRUE(scan.header);
  EXPECT_NE(scan.readout, nullptr);
  EXPECT_EQ(scan.gates, &set.Gates);
  EXPECT_EQ(scan.offset, 12);
  EXPECT_TRUE(std::all_of(host.buffer.begin() + 1606, host.buffer.end(), [](BYTE b) { return b == 0; }))
      << "the buffer was zeroed before the fetch";
  EXPECT_EQ(Count("Stop"), 0) << "the card is not stopped";

  // Card 2 logs its own number.
  Bench("[Card 1]\n[Card 2]\n");
  host.settings.card = 2;
  host.settings.einzelmessung = TRUE;
  EXPECT_EQ(RunSingleShot(host).text, "Einzelmessung Kanal 2: OK");
}

TEST_F(SingleShot, WithoutShotNothingIsLoggedAndTheBoxSkipsTheEditor) {
  host.editorShot = false;
  EXPECT_FALSE(RunSingleShot(host).logged);
  EXPECT_EQ(CallNames(), (std::vector<std::string>{"IsVersion3", "SetExternalClock"}));

  ClearJournal();
  host.settings.einzelmessung = TRUE;
  host.sets[0][1].Start = 4;  // gate measurement: no A-scan to fetch
  host.sets[0][1].Triggerdelay25ns = TRUE;
  auto line = RunSingleShot(host);
  EXPECT_EQ(line.text, "Einzelmessung Kanal 1: OK");
  EXPECT_EQ(host.edited.size(), 1u) << "no second editor";
  EXPECT_EQ(Count("SetExternalClock"), 0);
  EXPECT_EQ(Count("SetTriggerDelay25nsParam"), 1);
  EXPECT_EQ(Count("GetData"), 0);
  EXPECT_TRUE(host.modalScans.empty());
}

TEST_F(SingleShot, PlainCardMeasuresSetZeroWithoutGates) {
  Bench("[Card 1]\nVariant=ZORIX7\n", false);
  host.settings.set = 5;
  host.settings.einzelmessung = TRUE;
  host.settings.dma = FALSE;
  auto line = RunSingleShot(host);
  EXPECT_EQ(line.text, "Einzelmessung Kanal 1: OK");
  EXPECT_EQ(host.settings.set, 0) << "the selected set becomes 0";
  EXPECT_EQ(Calls("PrepAllGatesParam")[0].substr(0, 6), "set 0,");
  EXPECT_EQ(Calls("SetMode")[0], "dma 0");
  EXPECT_EQ(Count("SetESGateParam"), 0);
  EXPECT_EQ(Count("GetGates"), 0);
  ASSERT_EQ(host.modalScans.size(), 1u);
  EXPECT_EQ(host.modalScans[0].readout, nullptr);
  EXPECT_EQ(host.modalScans[0].bytes, 3200u);
}

TEST_F(SingleShot, FailedCallsEndTheRunWithTheirText) {
  host.settings.einzelmessung = TRUE;
  struct Case {
    const char* call;
    const char* line;
    int scans;
  } cases[] = {
      {"PrepAllGatesParam", "Einzelmessung Kanal 1: PrepAll Error E0000101", 0},
      {"Start", "Einzelmessung Kanal 1: Start Error E0000101", 0},
      {"GetData", "Einzelmessung Kanal 1: GetData Error E0000101", 0},
      {"GetGates", "Einzelmessung Kanal 1: GetGates Error E0000101", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.call);
    Bench("[Card 1]\n");
    host.modalScans.clear();
    host.boxes.clear();
    ASSERT_TRUE(AddFault({c.call, 1, 0, 0xE0000101}));
    auto line = RunSingleShot(host);
    EXPECT_EQ(line.text, c.line);
    EXPECT_FALSE(line.ok);
    EXPECT_EQ(static_cast<int>(host.modalScans.size()), c.scans);
  }
  EXPECT_EQ(host.BoxTexts(), (std::vector<std::string>{"Test|GetGates Error E0000101"}));

  // Calls whose result is not checked never stop the run.
  Bench("[Card 1]\n");
  for (const char* call : {"SetTriggerDelayParam", "SetESGateParam", "SetMode", "SetExternalClock"})
    ASSERT_TRUE(AddFault({call, 1, 0, 0xE0000102}));
  host.settings.einzelmessung = FALSE;
  EXPECT_EQ(RunSingleShot(host).text, "Einzelmessung Kanal 1: OK");
}

}  // namespace
