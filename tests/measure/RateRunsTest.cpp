// The data-rate tests on virtual cards: rates on the card's time, calls, windows, failures.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "RunTestHost.h"

using namespace zorix7sim;

namespace {

class RateRuns : public RunTest {
 protected:
  void SetUp() override { Bench("[Card 1]\n[Card 2]\n"); }
  int Count(const char* call) const { return static_cast<int>(Calls(call).size()); }
  // The rate in a "%d Samples -> %6.2f Hz  " line.
  static double Rate(const CString& line) {
    const int at = line.Find("-> ");
    return at < 0 ? -1 : std::atof(line.c_str() + at + 3);
  }
  std::vector<std::string> Boxes() const { return host.BoxTexts(); }
  bool HasBox(const std::string& text) const {
    auto b = Boxes();
    return std::find(b.begin(), b.end(), text) != b.end();
  }

  struct Failure {
    Fault fault;
    BOOL continuous;
    const char* box;  // "" when the run shows none
    const char* line;
  };
  // Each case on a fresh bench with its fault: the run fails with the case's line and box.
  template <class Run>
  void ExpectFailures(const char* bench, std::initializer_list<Failure> cases, Run run) {
    for (const auto& c : cases) {
      SCOPED_TRACE(c.fault.call + " " + std::to_string(c.fault.nth));
      Bench(bench);
      host.boxes.clear();
      host.settings.kontinuierlich = c.continuous;
      ASSERT_TRUE(AddFault(c.fault));
      auto line = run(c);
      EXPECT_FALSE(line.ok);
      EXPECT_EQ(line.text, c.line);
      if (*c.box) EXPECT_TRUE(HasBox(c.box)) << testing::PrintToString(Boxes());
    }
  }
};

TEST_F(RateRuns, OneSetMeasuresTheCardsShotRate) {
  host.settings.zyklen = 1000;
  auto line = measure::RunRateOneSet(host);
  EXPECT_TRUE(line.ok);
  const double model = 1e6 / static_cast<double>(Model().ShotTimeUs(1) + Model().TransferUs(3200));
  EXPECT_NEAR(Rate(line.text), model, model * 0.05) << line.text.str();
  EXPECT_EQ(line.text.Find("Kanal 1: Datenrate DMA 1600 Samples -> "), 0);
  EXPECT_EQ(line.text.Right(4), "  OK");
  EXPECT_EQ(Count("Start"), 1000);
  EXPECT_EQ(Count("GetGates"), 1000);
  EXPECT_EQ(Calls("PrepAllGatesParam")[1], "set 1, IFF 0x0, StartMode 1, Aufnahmelaenge 1600");

  Bench("[Card 1]\nShotPeriodUs=20000\n");
  host.settings.zyklen = 100;
  host.settings.dma = FALSE;
  host.settings.prepAll = TRUE;
  EXPECT_EQ(measure::RunRateOneSet(host).text, "Kanal 1: Datenrate + PrepAll 1600 Samples ->  50.00 Hz  OK")
      << "100 cycles in 2000 ms";

  Bench("[Card 1]\nTiming=instant\n");
  host.settings.prepAll = FALSE;
  EXPECT_EQ(measure::RunRateOneSet(host).text, "Kanal 1: Datenrate 1600 Samples -> > 100000 Hz  OK")
      << "no time passed: more than 100 cycles per millisecond";
  host.settings.zyklen = 0;
  line = measure::RunRateOneSet(host);
  EXPECT_FALSE(line.checkedSomething);
}

TEST_F(RateRuns, OneSetContinuousWithDisplayAndPrepAll) {
  Bench("[Card 1]\nShotPeriodUs=5000\n");
  host.settings.kontinuierlich = TRUE;
  host.settings.anzeige = TRUE;
  host.settings.anzeigefaktor = 2;
  auto line = measure::RunRateOneSet(host);
  EXPECT_TRUE(line.ok) << line.text.str();
  EXPECT_EQ(Calls("PrepAllGatesParam")[1], "set 1, IFF 0x0, StartMode 3, Aufnahmelaenge 1600");
  EXPECT_EQ(Calls("ActiveParam"), (std::vector<std::string>{"01000000"}));
  EXPECT_EQ(Count("Start"), 1);
  EXPECT_EQ(Count("GetGates"), 0);
  EXPECT_EQ(Count("Stop"), 1);
  EXPECT_EQ(Count("GetData"), 10 + 2) << "the two shots left after the stop are drained";
  ASSERT_EQ(host.updates.size(), 2u) << "every second cycle, at most every 20 ms";
  EXPECT_EQ(host.updates[0].sequence, 0u);
  EXPECT_EQ(host.updates[1].sequence, 6u);
  EXPECT_FALSE(host.updates[0].readout);
  EXPECT_FALSE(host.updates[0].gates);
  EXPECT_EQ(host.closed, (std::vector<int>{0}));

  // Random without PrepAll changes nothing; with it each cycle sends a new block.
  ClearJournal();
  host.settings.kontinuierlich = FALSE;
  host.settings.anzeige = FALSE;
  host.settings.random = TRUE;
  measure::RunRateOneSet(host);
  EXPECT_EQ(Calls("PrepAllGatesParam").size(), 2u);
  EXPECT_EQ(Calls("PrepAllGatesParam")[1], "set 1, IFF 0x0, StartMode 1, Aufnahmelaenge 1600");
  ClearJournal();
  host.settings.prepAll = TRUE;
  EXPECT_TRUE(measure::RunRateOneSet(host).ok);
  auto sent = Calls("PrepAllGatesParam");
  ASSERT_EQ(sent.size(), 12u);
  EXPECT_NE(sent[2], sent[1]);
  EXPECT_NE(sent[3], sent[2]);
}

TEST_F(RateRuns, OneSetFailuresAndTheEditorAfterARandomFailure) {
  host.settings.prepAll = TRUE;
  ExpectFailures("[Card 1]\n",
                 {
                     {{"PrepAllGatesParam", 1, 1, 0x71}, FALSE, "", "Parametersatz 0 Error 71 "},
                     {{"PrepAllGatesParam", 1, 2, 0x72}, FALSE, "Datenrate11|PrepAll Error 72", "PrepAll Error 72"},
                     {{"Start", 1, 1, 0x73}, TRUE, "Datenrate11|Start Error 73", "PrepAll Error 73"},
                     {{"Start", 1, 2, 0x74}, FALSE, "Datenrate11|Start Error 74", "Start Error 74"},
                     {{"GetData", 1, 3, 0x75}, TRUE, "", "GetData Error 75"},
                     {{"GetGates", 1, 2, 0x76}, FALSE, "Datenrate11|GetGates Error 76", "GetGates Error 76"},
                     {{"Stop", 1, 1, 0x77}, TRUE, "Datenrate11|Stop vor PrepAll Error 77", "Stop vor PrepAll Error 77"},
                     {{"ClearFIFO", 1, 1, 0x78}, TRUE, "Datenrate11|xxx Clear FIFO Error 78 Wait 0",
                      "xxx Clear FIFO Error 78 Wait 0"},
                     {{"PrepAllGatesParam", 1, 4, 0x79}, FALSE, "Datenrate11|PrepAll Error 79", "PrepAll Error 79"},
                 },
                 [&](const Failure& c) {
                   auto line = measure::RunRateOneSet(host);
                   if (c.fault.call == "GetData") EXPECT_EQ(CallNames().back(), "Stop") << "a continuous run is stopped";
                   return line;
                 });
  EXPECT_TRUE(host.edited.empty());

  // After a failure with random blocks the editor shows the last block sent.
  Bench("[Card 1]\n");
  host.settings.kontinuierlich = FALSE;
  host.settings.random = TRUE;
  ASSERT_TRUE(AddFault({"GetData", 1, 3, 0x7A}));
  measure::RunRateOneSet(host);
  ASSERT_EQ(host.edited.size(), 1u);
  const std::string last = Calls("PrepAllGatesParam").back();
  EXPECT_NE(last.find(CString::Formatted("Aufnahmelaenge %u", host.edited[0].Aufnahmelaenge).str()), std::string::npos)
      << last;
  EXPECT_NE(host.edited[0].Aufnahmelaenge, host.sets[0][1].Aufnahmelaenge);
}

TEST_F(RateRuns, SetsInTurnWithTiledWindows) {
  host.settings.set = 3;
  host.settings.anzeige = TRUE;
  auto line = measure::RunRateSets(host);
  EXPECT_TRUE(line.ok) << line.text.str();
  EXPECT_EQ(line.text.Find("Kanal 1: Datenrate DMA 1600 Samples -> "), 0);
  auto setParam = Calls("SetParam");
  ASSERT_EQ(setParam.size(), 1u + 30u);
  EXPECT_EQ(std::vector<std::string>(setParam.begin() + 1, setParam.begin() + 7),
            (std::vector<std::string>{"set 1", "set 2", "set 3", "set 1", "set 2", "set 3"}));
  EXPECT_EQ(Calls("ActiveParam")[0], "01110000");
  EXPECT_EQ(Count("GetData"), 30);
  ASSERT_EQ(host.opened.size(), 3u);
  EXPECT_EQ(host.opened[2].title, "Karte 1 Parametersatz 3");
  EXPECT_EQ(host.opened[1].x, 512);
  EXPECT_EQ(host.opened[2].y, 371);
  EXPECT_EQ(host.opened[2].width, 512);
  EXPECT_EQ(host.opened[2].height, 371);
  EXPECT_EQ(host.closed.size(), 3u);
  EXPECT_EQ(Count("ClearFIFO"), 1);

  host.settings.set = 5;
  host.opened.clear();
  measure::RunRateSets(host);
  EXPECT_EQ(host.opened[4].x, 341) << "three columns of 1024 / 3";
  EXPECT_EQ(host.opened[4].y, 247);

  ClearJournal();
  host.settings.set = 0;
  EXPECT_EQ(measure::RunRateSets(host).text, "Parametersatz 0 unzulässig");
  EXPECT_TRUE(CallNames().empty());
}

TEST_F(RateRuns, SetsInTurnFailures) {
  host.settings.set = 2;
  host.settings.prepAll = TRUE;
  ExpectFailures(
      "[Card 1]\n",
      {
          {{"PrepAllGatesParam", 1, 1, 0x81}, FALSE, "", "Parametersatz 0 Error 81 "},
          {{"PrepAllGatesParam", 1, 2, 0x82}, FALSE, "DatenrateN1|PrepAll Error 82", "Parametersatz 1 PrepAll Error 82"},
          {{"SetParam", 1, 1, 0x83}, TRUE, "", "PrepAll Error 83"},
          {{"Start", 1, 1, 0x84}, TRUE, "", "Start Error 84"},
          {{"SetParam", 1, 2, 0x85}, FALSE, "DatenrateN1|Satz 1 SetParam Error 85", "Satz 1 SetParam Error 85"},
          {{"Start", 1, 3, 0x86}, FALSE, "DatenrateN1|Satz 2 Start Error 86", "Satz 2 Start Error 86"},
          {{"GetData", 1, 2, 0x87}, FALSE, "DatenrateN1|Satz 2 GetData Error 87", "Satz 2 GetData Error 87"},
          {{"GetGates", 1, 1, 0x88}, FALSE, "DatenrateN1|Satz 1 GetGates Error 88", "Satz 1 GetGates Error 88"},
          {{"Stop", 1, 1, 0x89}, TRUE, "DatenrateN1|Stop vor PrepAll Error 89", "Stop vor PrepAll Error 89"},
          {{"PrepAllGatesParam", 1, 5, 0x8A}, TRUE, "DatenrateN1|PrepAll Parametersatz 2 Error 8A",
           "PrepAll Parametersatz 2 Error 8A"},
          {{"Start", 1, 2, 0x8B}, TRUE, "DatenrateN1|Satz 1 Start nach PrepAll Error 8B",
           "Satz 1 Start nach PrepAll Error 8B"},
      },
      [&](const Failure&) { return measure::RunRateSets(host); });
  // Of two failures the line keeps the later: "PrepAll Error", then "Start Error".
  Bench("[Card 1]\n");
  ASSERT_TRUE(AddFault({"SetParam", 1, 1, 0x83}));
  ASSERT_TRUE(AddFault({"Start", 1, 1, 0x84}));
  EXPECT_EQ(measure::RunRateSets(host).text, "Start Error 84");
}

TEST_F(RateRuns, ACardThatNeverAnswersEndsTheRunAtTheDataTimeOut) {
  host.settings.set = 1;
  host.sets[0][1].TriggerExtern = TRUE;  // no clock at the external input
  const DWORD before = clock.GetTickCount();
  auto line = measure::RunRateSets(host);
  EXPECT_EQ(line.text, "Satz 1 GetData Error E0000008");
  EXPECT_EQ(clock.GetTickCount() - before, 10000u);
}

TEST_F(RateRuns, CardsInParallel) {
  host.settings.card = 2;
  host.settings.zyklen = 1000;
  host.settings.anzeige = TRUE;
  auto line = measure::RunRateCards(host);
  EXPECT_TRUE(line.ok) << line.text.str();
  EXPECT_EQ(line.text.Find("2 Kanäle: Datenrate 1600 Samples -> "), 0);
  const double model = 1e6 / static_cast<double>(Model().ShotTimeUs(1) + Model().TransferUs(3200));
  EXPECT_NEAR(Rate(line.text), model, model * 0.05) << "two cards measure side by side";
  EXPECT_EQ(Count("GetGates"), 2000);
  EXPECT_EQ(Calls("SetMode"), (std::vector<std::string>{"dma 1", "dma 1"})) << "always DMA";
  EXPECT_EQ(Count("Stop"), 2);
  EXPECT_EQ(Count("ClearFIFO"), 2);
  ASSERT_EQ(host.opened.size(), 2u);
  EXPECT_EQ(host.opened[1].title, "Karte 2 Parametersatz 1");
  EXPECT_EQ(host.opened[1].x, 640);
  EXPECT_EQ(host.opened[1].height, (1024 - 25) / 2);

  host.settings.card = 1;
  host.settings.anzeige = FALSE;
  host.settings.prepAll = TRUE;
  EXPECT_EQ(measure::RunRateCards(host).text.Find("1 Kanal: Datenrate + PrepAll 1600 Samples -> "), 0);

  ClearJournal();
  host.settings.set = 0;
  EXPECT_EQ(measure::RunRateCards(host).text, "Parametersatz 0 unzulässig");
  EXPECT_TRUE(CallNames().empty()) << "no card touched";
}

TEST_F(RateRuns, CardsInParallelRetireFailingCards) {
  // A card that never gets ready answers with the data time-out.
  Bench("[Card 1]\n[Card 2]\nNeverReady=1\n");
  host.settings.card = 2;
  const DWORD before = clock.GetTickCount();
  auto line = measure::RunRateCards(host);
  EXPECT_EQ(line.text, "Karte 2 IsReadyGetData Error E0000008");
  EXPECT_FALSE(line.ok);
  EXPECT_EQ(clock.GetTickCount() - before, 10000u + 2 * 200u) << "the card's 10 s and the settling";

  // Fetches still under way at the end are cancelled.
  Bench("[Card 1]\nShotPeriodUs=5000\n[Card 2]\nShotPeriodUs=5000\n");
  host.settings.zyklen = 3;
  EXPECT_TRUE(measure::RunRateCards(host).ok);
  EXPECT_EQ(Count("CancelGetData"), 2);
  host.settings.zyklen = 10;

  ExpectFailures("[Card 1]\n[Card 2]\n",
                 {
                     {{"PrepAllGatesParam", 2, 1, 0x91}, FALSE, "", "Karte 2 Parametersatz 0 Error 91"},
                     {{"PrepAllGatesParam", 2, 2, 0x92}, FALSE, "", "Karte 2 PrepAll Error 92"},
                     {{"SetMode", 2, 1, 0x93}, FALSE, "", "Karte 2 SetMode Error 93"},
                     {{"Start", 2, 1, 0x94}, FALSE, "", "Karte 2 Start Error 94"},
                     {{"StartGetData", 2, 1, 0x95}, FALSE, "", "Karte 2 StartGetData Error 95"},
                     {{"GetGates", 2, 1, 0x96}, FALSE, "", "Karte 2 GetGates Error 96"},
                     {{"IsReadyGetDataIntReturn", 2, 1, 0x97}, FALSE, "", "Karte 2 IsReadyGetData Error 97"},
                     {{"Start", 2, 2, 0x98}, FALSE, "", "Karte 2 Start Error 98"},
                     {{"StartGetData", 2, 2, 0x99}, FALSE, "", "Karte 2 GetData Error 99"},
                     {{"Stop", 2, 1, 0x9A}, TRUE, "", "Karte 2 Stop vor PrepAll Error 9A"},
                     {{"PrepAllGatesParam", 2, 3, 0x9B}, TRUE, "", "Karte 2 PrepAll Error 9B"},
                     {{"Start", 2, 2, 0x9C}, TRUE, "", "Karte 2 Start nach PrepAll Error 9C"},
                 },
                 [&](const Failure& c) {
                   host.settings.prepAll = c.continuous;
                   return measure::RunRateCards(host);
                 });
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"Datenrate1N|Karte 2 Start nach PrepAll Error 9C"}));

  // Both cards fail at their set 0: both texts, the preparation still runs (and fails), no shot,
  // and each card's FIFO is still cleared.
  Bench("[Card 1]\n[Card 2]\n");
  ASSERT_TRUE(AddFault({"PrepAllGatesParam", 0, 0, 0x9D}));
  EXPECT_EQ(measure::RunRateCards(host).text,
            "Karte 1 Parametersatz 0 Error 9D Karte 2 Parametersatz 0 Error 9D Karte 1 PrepAll Error 9D");
  EXPECT_EQ(Count("IsReadyGetDataIntReturn"), 2) << "only the closing look for fetches to cancel";
  EXPECT_EQ(Count("ClearFIFO"), 2);
}

}  // namespace
