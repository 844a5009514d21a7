// The virtual card's time: shots as long as their set, transfers at the bus rate, fetches
// that wait, and waits that end at the data time-out.
#include <vector>

#include "RunTestHost.h"

using namespace zorix7sim;

namespace {

constexpr DWORD kRoom = 0x20000;

class CardTiming : public RunTest {
 protected:
  void SetUp() override { Bench("[Card 1]\n", false); }
  HZORIX7 H() const { return host.handles[0]; }
  void Prepare(const ParamBlock& block, BYTE set = 0) {
    ASSERT_TRUE(ZORIX7PrepAllGatesParam(H(), set, block, &error));
  }
  BOOL Fetch(DWORD& count) {
    count = kRoom;
    return ZORIX7GetData(H(), &count, data.data(), &error);
  }
  uint64_t NowUs() { return CardTimeUs(); }

  DWORD error = 0;
  std::vector<BYTE> data = std::vector<BYTE>(kRoom);
};

TEST_F(CardTiming, ShotTimeFollowsTheSet) {
  CardModel& card = Model();
  ParamBlock b = DefaultParamBlock();
  Prepare(b);
  EXPECT_EQ(card.ShotTimeUs(0), 50u) << "20 kHz pulse repetition outlasts 1600 samples at 40 MHz (40 us)";
  b.Aufnahmelaenge = 4000;
  Prepare(b);
  EXPECT_EQ(card.ShotTimeUs(0), 100u) << "4000 x 25 ns";
  b.Aufnahmedelay = 1000;
  b.PKVorlauf = 200;
  b.Samplerate = 0;  // 12.5 ns
  Prepare(b);
  EXPECT_EQ(card.ShotTimeUs(0), 60u) << "(1000 - 200 + 4000) x 12.5 ns";
  b = DefaultParamBlock();
  b.Average = 4;
  b.IFF = 1000;
  Prepare(b);
  EXPECT_EQ(card.ShotTimeUs(0), 4000u) << "four averaged shots at 1 kHz";
  b = DefaultParamBlock();
  Prepare(b);
  ASSERT_TRUE(ZORIX7SetTriggerDelayParam(H(), 0, 30, &error));
  EXPECT_EQ(card.ShotTimeUs(0), 70u) << "30 us delay before the 40 us record";
  ASSERT_TRUE(ZORIX7SetTriggerDelay25nsParam(H(), 0, 400, &error));
  EXPECT_EQ(card.ShotTimeUs(0), 50u) << "400 x 25 ns replaces the microseconds";

  ASSERT_TRUE(ZORIX7SetMode(H(), 1, &error));
  EXPECT_EQ(card.TransferUs(3200), 24u);
  ASSERT_TRUE(ZORIX7SetMode(H(), 0, &error));
  EXPECT_EQ(card.TransferUs(3200), 96u);

  Bench("[Card 1]\nExternalClockMHz=10\n", false);
  Prepare(DefaultParamBlock());
  ASSERT_TRUE(ZORIX7SetExternalClock(H(), TRUE, &error));
  EXPECT_EQ(Model().ShotTimeUs(0), 160u) << "1600 samples at 10 MHz";
  Bench("[Card 1]\nTiming=instant\n", false);
  EXPECT_EQ(Model().ShotTimeUs(0), 0u);
  EXPECT_EQ(Model().TransferUs(3200), 0u);
  EXPECT_FALSE(LoadBenchText("[Card 1]\nTiming=fast\n"));
  EXPECT_NE(BenchError().find("realistic or instant"), std::string::npos);
  EXPECT_FALSE(LoadBenchText("[Card 1]\nExternalClockMHz=-1\n"));
}

TEST_F(CardTiming, SingleShotsAndFreeRunsTakeTheirTimeOnTheClock) {
  ASSERT_TRUE(ZORIX7SetMode(H(), 1, &error));
  Prepare(DefaultParamBlock());
  const uint64_t start = NowUs();
  DWORD count = 0;
  for (int k = 0; k < 1000; ++k) {
    ASSERT_TRUE(ZORIX7Start(H(), &error));
    ASSERT_TRUE(Fetch(count));
  }
  EXPECT_EQ(NowUs() - start, 74000u) << "1000 x (50 us shot + 24 us transfer)";

  // A free run goes on while nobody fetches; the FIFO keeps two shots.
  ParamBlock free = DefaultParamBlock();
  free.StartMode = 3;
  Prepare(free);
  ASSERT_TRUE(ZORIX7Start(H(), &error));
  clock.Sleep(10);
  const uint64_t paused = NowUs();
  ASSERT_TRUE(Fetch(count));
  ASSERT_TRUE(Fetch(count));
  EXPECT_EQ(NowUs() - paused, 48u) << "two kept shots: their transfers only";
  ASSERT_TRUE(Fetch(count));
  EXPECT_GE(NowUs() - paused, 48u + 24u + 1u) << "the third waited for its shot";
  BOOL inFifo = TRUE;
  ASSERT_TRUE(ZORIX7IsDataInFIFO(H(), &inFifo, &error));
  EXPECT_FALSE(inFifo) << "the next shot is still under way";
  clock.Sleep(1);
  ASSERT_TRUE(ZORIX7IsDataInFIFO(H(), &inFifo, &error));
  EXPECT_TRUE(inFifo);
  ASSERT_TRUE(ZORIX7ClearFIFO(H(), &error));
  ASSERT_TRUE(ZORIX7IsDataInFIFO(H(), &inFifo, &error));
  EXPECT_FALSE(inFifo) << "cleared, the run goes on";

  Bench("[Card 1]\nTiming=instant\n", false);
  Prepare(DefaultParamBlock());
  const DWORD before = clock.GetTickCount();
  for (int k = 0; k < 1000; ++k) {
    ASSERT_TRUE(ZORIX7Start(H(), &error));
    ASSERT_TRUE(Fetch(count));
  }
  EXPECT_EQ(clock.GetTickCount(), before);
}

TEST_F(CardTiming, AsynchronousFetchCompletesWhenTheShotHasCrossedTheBus) {
  ParamBlock slow = DefaultParamBlock();
  slow.IFF = 200;  // 5 ms a shot
  Prepare(slow);
  ASSERT_TRUE(ZORIX7SetMode(H(), 1, &error));
  ASSERT_TRUE(ZORIX7Start(H(), &error));
  const uint64_t start = NowUs();
  DWORD count = kRoom;
  ASSERT_TRUE(ZORIX7StartGetData(H(), &count, data.data(), 0, &error));
  // A poll never waits; the caller gives the time (here 1 ms after each pending poll).
  int pending = 0;
  while (ZORIX7IsReadyGetDataIntReturn(H(), &count, &error) != 0 && pending < 100) {
    ASSERT_EQ(error, 0u);
    ++pending;
    clock.Sleep(1);
  }
  EXPECT_EQ(pending, 6) << "ready 5.024 ms after the start";
  EXPECT_EQ(count, 3200u);
  EXPECT_EQ(NowUs() - start, 6006u) << "a microsecond a poll";
}

TEST_F(CardTiming, FetchesThatCannotCompleteEndAtTheDataTimeOut) {
  Prepare(DefaultParamBlock());
  ASSERT_TRUE(ZORIX7SetExternalClock(H(), TRUE, &error));  // no clock at the input
  ASSERT_TRUE(ZORIX7Start(H(), &error));
  DWORD before = clock.GetTickCount();
  DWORD count = 0;
  EXPECT_FALSE(Fetch(count));
  EXPECT_EQ(error, kErrDataTimeOut);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(clock.GetTickCount() - before, 10000u) << "the driver's 10 s";

  ASSERT_TRUE(ZORIX7SetDataTimeOut(H(), 2, &error));
  count = kRoom;
  ASSERT_TRUE(ZORIX7StartGetData(H(), &count, data.data(), 0, &error));
  before = clock.GetTickCount();
  int polls = 0;
  while (ZORIX7IsReadyGetDataIntReturn(H(), &count, &error) != 0 && error == 0 && polls < 5000) {
    clock.Sleep(1);
    ++polls;
  }
  EXPECT_EQ(error, kErrDataTimeOut);
  EXPECT_EQ(clock.GetTickCount() - before, 2000u);

  ASSERT_TRUE(ZORIX7SetDataTimeOut(H(), 0, &error));
  EXPECT_FALSE(Fetch(count)) << "without a time-out a shot that never comes is no data";
  EXPECT_EQ(error, kErrNoData);
  ASSERT_TRUE(ZORIX7ClearFIFO(H(), &error));
  ASSERT_TRUE(ZORIX7SetExternalClock(H(), FALSE, &error));
  ASSERT_TRUE(ZORIX7Start(H(), &error));
  EXPECT_TRUE(Fetch(count)) << "with the sample clock back, shots come again";
}

}  // namespace

namespace {

// A shot written straight into its frame reads as the same shot framed from its samples.
TEST(ShotFraming, DirectAndSampleFramingAgree) {
  ParamBlock block = DefaultParamBlock();
  block.Gleichrichtung = 2;
  const SetResponse r = BuildResponse(SpecimenSpec{}, block, false);
  for (AscanFraming f : {AscanFraming{false, kTypeAscan14, false, 0, false, 0},
                         AscanFraming{true, kTypeAscan60, false, -7, true, 1234}}) {
    NoiseSource direct(42), sampled(42);
    std::vector<BYTE> a, b;
    const size_t at = AppendAscanFrame(a, r.clean.size(), f);
    direct.Shot16(r, a.data() + at);
    std::vector<int16_t> samples;
    sampled.Shot(r, samples);
    AppendAscan(b, samples, f);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.size(), AscanBytes(r.clean.size(), f));
  }
}

}  // namespace
