// "Blockmessung" on virtual cards: the start, both loops, the gate check and the end.
#include <gmock/gmock.h>

#include <algorithm>

#include "RunTestHost.h"

using namespace zorix7sim;
using measure::RunBlockMeasurement;

namespace {

class BlockRun : public RunTest {
 protected:
  void SetUp() override {
    Bench("[Card 1]\n[Card 2]\nVariant=ZORIX7\n");
    host.active[0].flag[1] = host.active[0].flag[2] = TRUE;
    host.settings.blockmessung = TRUE;
  }
  void Continuous(int cycles, UINT factor = 1, BOOL anzeige = TRUE, BOOL prepAll = FALSE) {
    host.settings.kontinuierlich = TRUE;
    host.settings.anzeige = anzeige;
    host.settings.prepAll = prepAll;
    host.settings.zyklen = cycles;
    host.settings.anzeigefaktor = factor;
  }
  int Count(const char* call) const { return static_cast<int>(Calls(call).size()); }
  std::vector<UINT> Sequences() const {
    std::vector<UINT> out;
    for (const auto& u : host.updates) out.push_back(u.sequence);
    return out;
  }
};

TEST_F(BlockRun, PlainCardSetZeroOrNoSelectionLogNothingOrFail) {
  // A plain card: nothing by hand; skipped in the automatic mode.
  host.settings.card = 2;
  auto skipped = RunBlockMeasurement(host);
  EXPECT_TRUE(skipped.logged && skipped.skipped);
  EXPECT_EQ(skipped.text, "Blockmessung Kanal 2: Keine ZORIX7F!");
  host.settings.blockmessung = FALSE;
  EXPECT_FALSE(RunBlockMeasurement(host).logged);
  host.settings.blockmessung = TRUE;
  host.settings.card = 1;
  host.settings.set = 0;
  EXPECT_FALSE(RunBlockMeasurement(host).logged);
  EXPECT_EQ(CallNames(), (std::vector<std::string>{"IsVersion3", "IsVersion3", "IsVersion3"}));

  host.settings.set = 1;
  host.settings.blockmessung = FALSE;
  host.selectionOk = false;
  auto line = RunBlockMeasurement(host);
  EXPECT_EQ(host.selections, 1);
  EXPECT_EQ(line.text, "Blockmessung Kanal 1: ");
  EXPECT_FALSE(line.ok);
  EXPECT_EQ(Count("PrepAllGatesParam"), 0);

  Continuous(10);
  host.settings.blockmessung = TRUE;
  host.settings.set = 3;
  line = RunBlockMeasurement(host);
  EXPECT_EQ(host.BoxTexts(), (std::vector<std::string>{"Blockmessung|Parametersatz für ASCAN nicht aktiv!"}));
  EXPECT_FALSE(line.ok);
  EXPECT_TRUE(host.opened.empty());
}

TEST_F(BlockRun, ManualLoopFetchesWhatIsAskedForUntilCancel) {
  host.answers = {IDYES, IDNO, IDCANCEL};
  auto line = RunBlockMeasurement(host);
  EXPECT_EQ(CallNames(), (std::vector<std::string>{
                             "IsVersion3", "PrepAllGatesParam", "PrepAllGatesParam", "SetTriggerDelayParam",
                             "SetESGateParam", "PrepAllGatesParam", "SetTriggerDelayParam", "SetESGateParam",
                             "SetMode", "ActiveParam", "StartParam", "GetASCAN", "GetData", "GetResults", "GetData",
                             "Stop", "GetResults"}));
  EXPECT_EQ(Calls("PrepAllGatesParam")[1], "set 1, IFF 0x0, StartMode 4, Aufnahmelaenge 1600");
  EXPECT_EQ(Calls("ActiveParam")[0], "01100000");
  EXPECT_EQ(Calls("StartParam")[0], "mode 3");
  EXPECT_EQ(Calls("GetResults")[0], "100, room 0, null");
  ASSERT_EQ(host.modalScans.size(), 1u);
  EXPECT_EQ(host.modalScans[0].sequence, 0u);
  EXPECT_EQ(host.modalScans[0].bytes, 6u + 3200u);
  EXPECT_EQ(host.gateWindows, (std::vector<DWORD>{116, 116})) << "two records and the end of the cycle";
  EXPECT_EQ(line.text, "Blockmessung Kanal 1: 232 Bytes OK");
  EXPECT_EQ(host.BoxTexts(), (std::vector<std::string>(3, "Blockmessung|ASCAN?")));

  // Without result gates "No" fetches nothing and the end fetches no results.
  for (auto& set : host.sets[0])
    for (int g = 1; g < 5; ++g) set.Gates.enable[g] = FALSE;
  host.answers = {IDNO, IDCANCEL};
  ClearJournal();
  EXPECT_EQ(RunBlockMeasurement(host).text, "Blockmessung Kanal 1: OK");
  EXPECT_EQ(Count("GetResults"), 0);
}

TEST_F(BlockRun, ContinuousLoopSkipsByTheFactorAndAlternatesWithPrepAll) {
  Continuous(10, 5);
  auto line = RunBlockMeasurement(host);
  EXPECT_TRUE(line.ok) << line.text.str();
  EXPECT_EQ(Sequences(), (std::vector<UINT>{0, 5}));
  EXPECT_EQ(Count("GetASCAN"), 2);
  EXPECT_EQ(Count("GetResults"), 3) << "cycles 0 and 5, and the end";
  ASSERT_EQ(host.opened.size(), 1u);
  EXPECT_TRUE(host.opened[0].title.IsEmpty());
  EXPECT_EQ(host.closed, (std::vector<int>{0}));
  EXPECT_EQ(host.progress.back(), std::make_pair(0, 0));
  EXPECT_NE(std::find(host.progress.begin(), host.progress.end(), std::make_pair(7, 10)), host.progress.end());

  ClearJournal();
  host.updates.clear();
  Continuous(10, 0, TRUE, TRUE);  // factor 0 counts as 1
  line = RunBlockMeasurement(host);
  EXPECT_TRUE(line.ok) << line.text.str();
  EXPECT_EQ(Sequences(), (std::vector<UINT>{0, 2, 4, 6, 8})) << "A-scans awaited on alternate cycles";
  EXPECT_EQ(Count("GetASCAN"), 10);
  EXPECT_EQ(Count("CancelGetData"), 5) << "re-prepared on the others";
  EXPECT_EQ(Count("StartParam"), 6);
  EXPECT_EQ(Count("ClearFIFO"), 5);
  EXPECT_EQ(Count("PrepAllGatesParam"), 3 + 5 * 2);

  ClearJournal();
  Continuous(4, 1, FALSE);
  const DWORD before = clock.GetTickCount();
  EXPECT_TRUE(RunBlockMeasurement(host).ok);
  EXPECT_EQ(Count("GetASCAN"), 0);
  EXPECT_GE(clock.GetTickCount() - before, 40u) << "10 ms in place of each A-scan";
}

TEST_F(BlockRun, GateCheckFailsOnTheRecordOutsideItsGate) {
  // Set 2 finds the back wall in B1 600..800; its records carry the identification the host
  // knows as set 1's, whose B1 ends one sample before the echo.
  ParameterSet& wall = host.sets[0][2];
  wall.Gates.gate[1] = {600, 800, 50 * 16};
  HZORIX7 h = host.handles[0];
  DWORD error = 0;
  ASSERT_TRUE(ZORIX7PrepAllGatesParam(h, 2, MakeParamBlock(wall, 1), &error));
  ASSERT_TRUE(ZORIX7Start(h, &error));
  GateReadout r{};
  ASSERT_TRUE(ZORIX7GetGates(h, &r, &error));
  const int echo = r.gate[1].t;
  ASSERT_GT(echo, 600);
  host.sets[0][1].Gates.gate[1].end = static_cast<DWORD>(echo - 1);
  host.active[0] = {};
  host.active[0].flag[2] = TRUE;
  host.ident[0][1] = host.ident[0][2];
  host.ident[0][2] = 99;
  Continuous(3, 1, FALSE);
  auto line = RunBlockMeasurement(host);
  EXPECT_EQ(line.text, CString::Formatted("Blockmessung Kanal 1: Block 1 Satz 1 B1 300 - %d - %d ", echo, echo - 1));
  EXPECT_FALSE(line.ok);
  EXPECT_EQ(Calls("GetResults").size(), 2u) << "later cycles only wait; the end still fetches";
  EXPECT_EQ(host.gateWindows.size(), 1u);

  // An identification no set has: the box, and the next cycle goes on.
  host.ident[0][1] = 98;
  ClearJournal();
  host.gateWindows.clear();
  line = RunBlockMeasurement(host);
  EXPECT_TRUE(line.ok) << line.text.str();
  EXPECT_EQ(Count("GetResults"), 4);
  EXPECT_EQ(std::count(host.boxes.begin(), host.boxes.end(),
                       std::make_pair(CString("Blockmessung Blenden"), CString("Falsche Kennung 65524"))),
            3);

  // Compact records where headed ones are expected: the loop ends, the closing fetch decides.
  Bench("[Card 1]\n", false);
  host.settings.zorix9Mode = TRUE;
  host.boxes.clear();
  line = RunBlockMeasurement(host);
  EXPECT_EQ(host.BoxTexts(), (std::vector<std::string>{"Blockmessung Blenden|Keine Blenden! Kennung 0"}));
  EXPECT_THAT(line.text.str(), ::testing::MatchesRegex("Blockmessung Kanal 1: [1-9][0-9]* Bytes OK"));
  EXPECT_EQ(Count("GetResults"), 2);
}

TEST_F(BlockRun, EveryFailureShowsItsBoxOrText) {
  // A checked call stores its outcome in the verdict: a later success clears a failure
  // the loop went on from.
  struct Case {
    Fault fault;
    bool continuous;
    BOOL prepAll;
    const char* box;   // "" none
    const char* line;  // behind "Blockmessung Kanal 1: "; "" any
    bool ok;
  } cases[] = {
      {{"PrepAllGatesParam", 1, 1, 0x51}, false, FALSE, "", "Parametersatz 0 Error 51 ", false},
      {{"PrepAllGatesParam", 1, 3, 0x52}, false, FALSE, "Blockmessung|PrepAll Error 52", "PrepAll Error 52 ", false},
      {{"StartParam", 1, 1, 0x53}, false, FALSE, "", "Start Error 53 ", false},
      {{"Stop", 1, 1, 0x54}, false, FALSE, "", "0 Bytes, Stop Error 54", false},
      {{"GetResults", 1, 1, 0x55}, false, FALSE, "", "0 Bytes, Results Error 55", false},
      {{"GetASCAN", 1, 1, 0x56}, true, FALSE, "Blockmessung|GetASCAN Error 56", "", false},
      {{"StartGetData", 1, 1, 0x57}, true, FALSE, "Blockmessung|StartGetData ASCAN Error 57", "", true},
      {{"IsReadyGetDataIntReturn", 1, 3, 0x58}, true, FALSE, "Blockmessung|IsReadyGetData Error 58", "", true},
      {{"CancelGetData", 1, 1, 0x59}, true, TRUE, "Blockmessung|CancelGetData Error 59", "", true},
      {{"Stop", 1, 1, 0x5A}, true, TRUE, "Blockmessung|Stop vor PrepAll Error 5A", "", false},
      {{"ClearFIFO", 1, 1, 0x5B}, true, TRUE, "Blockmessung|Clear FIFO Error 5B Wait 0", "", false},
      {{"PrepAllGatesParam", 1, 4, 0x5C}, true, TRUE, "Blockmessung|PrepAll 1 Error 5C", "", true},
      {{"StartParam", 1, 2, 0x5D}, true, TRUE, "Blockmessung|Start nach PrepAll Error 5D", "", false},
      {{"GetResults", 1, 1, 0x5E}, true, FALSE, "Blockmessung Blenden|GetResults Error 5E", "", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault.call + " " + std::to_string(c.fault.nth));
    Bench("[Card 1]\n");
    host.boxes.clear();
    host.settings.kontinuierlich = c.continuous;
    host.settings.anzeige = TRUE;
    host.settings.prepAll = c.prepAll;
    host.settings.zyklen = 4;
    host.answers.clear();
    ASSERT_TRUE(AddFault(c.fault));
    auto line = RunBlockMeasurement(host);
    EXPECT_EQ(line.ok, c.ok) << line.text.str();
    const auto boxes = host.BoxTexts();
    if (*c.box) {
      EXPECT_NE(std::find(boxes.begin(), boxes.end(), c.box), boxes.end());
    }
    if (*c.line) {
      EXPECT_EQ(line.text, CString("Blockmessung Kanal 1: ") + c.line);
    }
    EXPECT_EQ(line.text.Find("OK") >= 0, c.ok);
  }
  // An error word while awaiting an A-scan ends only that wait: every cycle still runs and shows.
  Bench("[Card 1]\n");
  host.settings.zyklen = 10;
  host.updates.clear();
  ASSERT_TRUE(AddFault({"IsReadyGetDataIntReturn", 1, 3, 0x58}));
  EXPECT_TRUE(RunBlockMeasurement(host).ok);
  EXPECT_EQ(Count("GetASCAN"), 10);
  EXPECT_EQ(host.updates.size(), 10u);
  host.settings.zyklen = 4;

  // The manual loop: a fetch that brings nothing, a failed result fetch, an end without results.
  Bench("[Card 1]\n");
  host.settings.kontinuierlich = FALSE;
  HZORIX7 h = host.handles[0];
  DWORD error = 0;
  ASSERT_TRUE(ZORIX7SetExternalClock(h, TRUE, &error));  // nothing clocks a shot
  ASSERT_TRUE(ZORIX7SetDataTimeOut(h, 1, &error));
  host.answers = {IDYES, IDCANCEL};
  host.boxes.clear();
  auto line = RunBlockMeasurement(host);
  EXPECT_EQ(host.BoxTexts()[1], "Blockmessung ASCAN|GetASCAN no Data ");
  EXPECT_FALSE(line.ok);
  EXPECT_EQ(line.text, "Blockmessung Kanal 1: ") << "the end keeps the loop's failure";

  Bench("[Card 1]\n");
  ASSERT_TRUE(AddFault({"GetData", 1, 1, 0x61}));
  host.answers = {IDNO, IDCANCEL};
  EXPECT_EQ(RunBlockMeasurement(host).text, "Blockmessung Kanal 1: GetResults Error 61 ");

  // A card that never completes a fetch, and keeps no time-out of its own: each wait lasts
  // the "Time Out in s" field and a second, then gives up with the data time-out word.
  Bench("[Card 1]\nNeverReady=1\n");
  ASSERT_TRUE(ZORIX7SetDataTimeOut(host.handles[0], 0, &error));
  host.settings.kontinuierlich = TRUE;
  host.settings.zyklen = 2;
  host.settings.timeOutSeconds = 3;
  host.boxes.clear();
  const DWORD before = clock.GetTickCount();
  RunBlockMeasurement(host);
  EXPECT_EQ(host.BoxTexts(), std::vector<std::string>(2, "Blockmessung|IsReadyGetData Error E0000008"));
  EXPECT_GE(clock.GetTickCount() - before, 8000u);
  EXPECT_LT(clock.GetTickCount() - before, 8200u);
  host.settings.kontinuierlich = FALSE;

  // Plain records exist for sets 1..6 only: set 7 alone gives none.
  Bench("[Card 1]\n", false);
  host.active[0] = {};
  host.active[0].flag[7] = TRUE;
  host.answers = {IDCANCEL};
  // A closing fetch that succeeds without bytes still passes.
  EXPECT_EQ(RunBlockMeasurement(host).text, "Blockmessung Kanal 1: 0 Bytes, no Results OK");
}

}  // namespace
