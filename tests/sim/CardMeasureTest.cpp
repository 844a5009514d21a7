// What the virtual cards measure, read back through the application's own decoders.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "SimTestSupport.h"
#include "measure/AscanCheck.h"
#include "measure/BlockResultCheck.h"
#include "measure/MeasureData.h"
#include "measure/ResultText.h"

using namespace zorix7sim;

namespace {

constexpr DWORD kRoom = 0x20000;
// Default specimen at 40 MHz: flaw at 26 mm, back wall at 47.5 mm, 5920 m/s.
constexpr size_t kFlawSample = 351;
constexpr size_t kBackWallSample = 642;
constexpr size_t kSecondBackWallSample = 1284;

class MeasureTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    h = OpenCard(1);
  }

  void Prepare(BYTE set, const ParamBlock& block) { ASSERT_TRUE(ZORIX7PrepAllGatesParam(h, set, block, &error)); }

  // One single shot of the set, fetched.
  std::vector<BYTE> Shot(BYTE set, const ParamBlock& block) {
    Prepare(set, block);
    EXPECT_TRUE(ZORIX7Start(h, &error));
    return Fetch();
  }

  std::vector<BYTE> Fetch(DWORD room = kRoom) {
    std::vector<BYTE> buffer(kRoom, 0xEE);
    DWORD count = room;
    EXPECT_TRUE(ZORIX7GetData(h, &count, buffer.data(), &error)) << std::hex << error;
    EXPECT_LE(count, room);
    buffer.resize(count);
    return buffer;
  }

  std::vector<BYTE> Results() {
    std::vector<BYTE> buffer(kRoom);
    DWORD count = kRoom;
    EXPECT_TRUE(ZORIX7GetResults(h, 0, &count, buffer.data(), &error)) << std::hex << error;
    buffer.resize(count);
    return buffer;
  }

  // Block run over sets 1..n with the given identifications (headed when nonzero).
  void StartBlock(std::vector<int16_t> idents, ParamBlock block = DefaultParamBlock()) {
    ActiveSetFlags flags{};
    block.StartMode = 4;
    for (size_t i = 0; i < idents.size(); ++i) {
      BYTE set = static_cast<BYTE>(i + 1);
      Prepare(set, block);
      flags.flag[set] = TRUE;
      if (idents[i]) {
        ASSERT_TRUE(ZORIX7SetZORIX9(h, set, idents[i], &error));
      }
    }
    ASSERT_TRUE(ZORIX7ActiveParam(h, flags, &error));
    ASSERT_TRUE(ZORIX7StartParam(h, 3, &error));
  }

  HZORIX7 h = 0;
  DWORD error = 0;
};

std::vector<int16_t> Plain16(const std::vector<BYTE>& data) {
  return measure::plainAscanSamples(data.data(), data.size(), false).values;
}

size_t PeakIn(const std::vector<int16_t>& s, size_t from, size_t to) {
  size_t at = from;
  for (size_t i = from; i < to && i < s.size(); ++i)
    if (std::abs(s[i]) > std::abs(s[at])) at = i;
  return at;
}

double Percent(int v) { return v * 100.0 / 32768; }

double RmsPercent(const std::vector<int16_t>& s, size_t from, size_t to) {
  double sum = 0;
  for (size_t i = from; i < to; ++i) sum += static_cast<double>(s[i]) * s[i];
  return Percent(static_cast<int>(std::sqrt(sum / static_cast<double>(to - from))));
}

}  // namespace

// ---- A-scan samples ----

TEST_F(MeasureTest, DefaultShotShowsTransmitPulseFlawAndBackWallsOverLowNoise) {
  auto s = Plain16(Shot(0, DefaultParamBlock()));
  ASSERT_EQ(s.size(), 1600u);
  EXPECT_TRUE(std::all_of(s.begin(), s.end(), [](int16_t v) { return (v & 63) == 0; })) << "10-bit ADC count x 64";
  EXPECT_LE(*std::min_element(s.begin(), s.begin() + 20), -32000) << "transmit pulse saturates";

  EXPECT_NEAR(static_cast<double>(PeakIn(s, 300, 400)), kFlawSample, 3);
  EXPECT_NEAR(static_cast<double>(PeakIn(s, 600, 800)), kBackWallSample, 3);
  EXPECT_NEAR(static_cast<double>(PeakIn(s, 1100, 1400)), kSecondBackWallSample, 3);
  double flaw = Percent(std::abs(s[PeakIn(s, 300, 400)]));
  double wall = Percent(std::abs(s[PeakIn(s, 600, 800)]));
  double second = Percent(std::abs(s[PeakIn(s, 1100, 1400)]));
  EXPECT_GT(flaw, 40);
  EXPECT_GT(wall, flaw);
  EXPECT_LT(wall, 90);
  EXPECT_LT(second, wall) << "multiples fade";
  EXPECT_GT(second, 40);
  EXPECT_LT(RmsPercent(s, 450, 600), 2.5);
  EXPECT_GT(RmsPercent(s, 450, 600), 0.2) << "there is noise";

  // With the analogue part switched off the receiver hears nothing, until it is on again.
  auto power = [&](DWORD code) { return ZORIX7Command(h, code, 0, nullptr, &error); };
  ASSERT_TRUE(power(0x1400));
  s = Plain16(Shot(0, DefaultParamBlock()));
  EXPECT_TRUE(std::all_of(s.begin(), s.end(), [](int16_t v) { return v == 0; })) << "a flat A-scan";
  float adc[6] = {};
  ASSERT_TRUE(ZORIX7GetADC(h, adc, &error));
  EXPECT_EQ(adc[3], 0.0f) << "no high voltage";
  ASSERT_TRUE(power(0x1800));
  EXPECT_NEAR(static_cast<double>(PeakIn(Plain16(Shot(0, DefaultParamBlock())), 600, 800)), kBackWallSample, 3);
}

TEST_F(MeasureTest, RecordFollowsSampleRateDelayAndPreRun) {
  ParamBlock b = DefaultParamBlock();
  b.Samplerate = 0;  // 80 MHz: twice the samples to the same echo
  b.Aufnahmelaenge = 3000;
  EXPECT_NEAR(static_cast<double>(PeakIn(Plain16(Shot(0, b)), 1000, 1500)), 2 * kBackWallSample, 4);

  b.Samplerate = 0x16;  // low four bits 6: 40 MHz with the slow depth-compensation clock
  EXPECT_NEAR(static_cast<double>(PeakIn(Plain16(Shot(0, b)), 500, 800)), kBackWallSample, 3);

  b = DefaultParamBlock();
  b.Aufnahmedelay = 600;
  b.PKVorlauf = 100;
  b.Aufnahmelaenge = 200;
  auto s = Plain16(Shot(0, b));
  ASSERT_EQ(s.size(), 200u);
  EXPECT_NEAR(static_cast<double>(PeakIn(s, 0, 200)), kBackWallSample - 500, 3);
}

TEST_F(MeasureTest, GainRectificationAveragingAndTransmitterLockShapeTheSamples) {
  ParamBlock b = DefaultParamBlock();
  auto ref = Plain16(Shot(0, b));
  const double wall = std::abs(ref[PeakIn(ref, 600, 800)]);

  b.Verstaerkung = 140;  // -6 dB
  auto low = Plain16(Shot(0, b));
  EXPECT_NEAR(std::abs(low[PeakIn(low, 600, 800)]) / wall, 0.5, 0.05);

  b = DefaultParamBlock();
  b.Gleichrichtung = 1;
  auto pos = Plain16(Shot(0, b));
  EXPECT_GE(*std::min_element(pos.begin(), pos.end()), 0);
  b.Gleichrichtung = 2;
  auto neg = Plain16(Shot(0, b));
  EXPECT_GE(*std::min_element(neg.begin(), neg.end()), 0) << "negative half shown upright";
  EXPECT_GT(neg[PeakIn(neg, 600, 800)], 0.5 * wall) << "the echo's negative lobes";
  b.Gleichrichtung = 3;
  auto full = Plain16(Shot(0, b));
  EXPECT_GE(*std::min_element(full.begin(), full.end()), 0);
  EXPECT_GT(full[PeakIn(full, 600, 800)], 0.9 * wall);

  b = DefaultParamBlock();
  b.Average = 16;
  EXPECT_LT(RmsPercent(Plain16(Shot(0, b)), 450, 600), RmsPercent(ref, 450, 600) / 2.5);

  b = DefaultParamBlock();
  b.Sendersperre = TRUE;
  auto quiet = Plain16(Shot(0, b));
  EXPECT_LT(Percent(std::abs(quiet[PeakIn(quiet, 0, 1600)])), 8) << "locked transmitter: noise only";
}

TEST_F(MeasureTest, EightBitSamplesAreOneBytePerSample) {
  ParamBlock b = DefaultParamBlock();
  b.b8Bit = TRUE;
  auto data = Shot(0, b);
  ASSERT_EQ(data.size(), 1600u);
  auto s = measure::plainAscanSamples(data.data(), data.size(), true).values;
  size_t at = PeakIn(s, 600, 800);
  EXPECT_NEAR(static_cast<double>(at), kBackWallSample, 3);
  double percent = measure::percentOfFullScale8(static_cast<int8_t>(data[at]));
  EXPECT_GT(std::abs(percent), 60);
  EXPECT_LT(std::abs(percent), 90);
}

TEST_F(MeasureTest, ShotsAreNoisyButARunRepeatsExactly) {
  auto first = Shot(0, DefaultParamBlock());
  auto second = Shot(0, DefaultParamBlock());
  EXPECT_NE(first, second) << "each shot has its own noise";
  UseBuiltInBench();
  h = OpenCard(1);
  EXPECT_EQ(Shot(0, DefaultParamBlock()), first) << "the same bench gives the same run";
  h = OpenCard(2);
  EXPECT_NE(Shot(0, DefaultParamBlock()), first) << "cards have their own noise";
}

TEST_F(MeasureTest, SpecimenComesFromTheBench) {
  LoadBench("[Card 1]\nThickness=20\nFlawDepth=0\nVelocity=5920\nBackWallAmplitude=60\n");
  h = OpenCard(1);
  auto s = Plain16(Shot(0, DefaultParamBlock()));
  // 2 x 20 mm / 5920 m/s = 6.76 us = 270 samples; multiples every 270.
  EXPECT_NEAR(static_cast<double>(PeakIn(s, 200, 400)), 270, 3);
  EXPECT_NEAR(static_cast<double>(PeakIn(s, 450, 650)), 541, 3);
  EXPECT_NEAR(Percent(std::abs(s[PeakIn(s, 200, 400)])), 60, 6);

  EXPECT_FALSE(LoadBenchText("[Card 1]\nAscanType=0x40\n"));
  EXPECT_NE(BenchError().find("line 2"), std::string::npos);
  EXPECT_FALSE(LoadBenchText("[Card 1]\nVelocity=fast\n"));
  EXPECT_FALSE(LoadBenchText("[Card 1]\nNoise=-1\n"));
}

// ---- framing ----

TEST_F(MeasureTest, HeadedAscanCarriesTheSetsKennungAndPassesTheDisplayCheck) {
  ASSERT_TRUE(ZORIX7SetZORIX9(h, 2, -15, &error));
  auto data = Shot(2, DefaultParamBlock());
  ASSERT_EQ(data.size(), 6u + 3200u);
  auto check = measure::checkAscanHeader(data.data(), data.size(), 1);
  ASSERT_TRUE(check.ok) << check.error;
  EXPECT_EQ(check.type, 0x14);
  EXPECT_EQ(check.kennung, -15);
  EXPECT_FALSE(check.timeStamped);
  auto s = measure::headedAscanSamples(data.data(), data.size(), check).values;
  ASSERT_EQ(s.size(), 1600u);
  EXPECT_NEAR(static_cast<double>(PeakIn(s, 600, 800)), kBackWallSample, 3);

  ParamBlock b = DefaultParamBlock();
  b.ExternerTrigger = TRUE;
  b.b8Bit = TRUE;  // headed A-scans are 16-bit whatever the set says
  data = Shot(2, b);
  ASSERT_EQ(data.size(), 8u + 6u + 3200u);
  check = measure::checkAscanHeader(data.data(), data.size(), 1);
  ASSERT_TRUE(check.ok) << check.error;
  EXPECT_TRUE(check.timeStamped);
  EXPECT_EQ(check.blockLength, data.size() - 8);
  EXPECT_NE(check.timeStamp, 0u);
  EXPECT_EQ(check.kennung, -15);
  auto later = Shot(2, b);
  EXPECT_GT(measure::checkAscanHeader(later.data(), later.size(), 2).timeStamp, check.timeStamp);
}

TEST_F(MeasureTest, OtherAscanTypesFromTheBench) {
  LoadBench("[Card 1]\nAscanType=0x10\n[Card 2]\nAscanType=0x60\n");
  h = OpenCard(1);
  ASSERT_TRUE(ZORIX7SetZORIX9(h, 0, 7, &error));
  ParamBlock b = DefaultParamBlock();
  for (WORD length : {1600, 1602, 1601}) {
    b.Aufnahmelaenge = length;
    auto data = Shot(0, b);
    auto check = measure::checkAscanHeader(data.data(), data.size(), 1);
    ASSERT_TRUE(check.ok) << check.error;
    EXPECT_EQ(check.type, 0x10);
    auto s = measure::headedAscanSamples(data.data(), data.size(), check).values;
    EXPECT_EQ(s.size(), length) << "every sample comes back";
    EXPECT_TRUE(std::all_of(s.begin(), s.end(), [](int16_t v) { return (v & 15) == 0; }));
    EXPECT_NEAR(static_cast<double>(PeakIn(s, 600, 800)), kBackWallSample, 3);
    EXPECT_NEAR(static_cast<double>(PeakIn(s, 1100, 1400)), kSecondBackWallSample, 3);
    EXPECT_LE(*std::min_element(s.begin(), s.begin() + 20), -32000) << "negative samples survive packing";
  }
  h = OpenCard(2);
  ASSERT_TRUE(ZORIX7SetZORIX9(h, 0, 7, &error));
  auto data = Shot(0, DefaultParamBlock());
  auto check = measure::checkAscanHeader(data.data(), data.size(), 1);
  ASSERT_TRUE(check.ok) << check.error;
  EXPECT_EQ(check.type, 0x60);
}

TEST_F(MeasureTest, NeverWritesMoreThanTheRoomOffered) {
  Prepare(0, DefaultParamBlock());
  ASSERT_TRUE(ZORIX7Start(h, &error));
  auto cut = Fetch(1000);
  EXPECT_EQ(cut.size(), 1000u);
  std::vector<BYTE> buffer(64, 0xEE);
  DWORD count = 0;
  ASSERT_TRUE(ZORIX7Start(h, &error));
  ASSERT_TRUE(ZORIX7GetData(h, &count, buffer.data(), &error));
  EXPECT_EQ(count, 0u);
  EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](BYTE b) { return b == 0xEE; }));

  StartBlock({1, 2});
  count = 60;
  ASSERT_TRUE(ZORIX7GetResults(h, 0, &count, buffer.data(), &error));
  EXPECT_EQ(count, 60u);
  EXPECT_EQ(buffer[60], 0xEE);
}

// ---- gates ----

TEST_F(MeasureTest, DefaultGatesSeeFlawAndBackWalls) {
  Shot(0, DefaultParamBlock());
  GateReadout r{};
  ASSERT_TRUE(ZORIX7GetGates(h, &r, &error));
  EXPECT_EQ(r.d, 0) << "no echo start gate";
  EXPECT_EQ(r.gate[0].t, 0);
  auto inside = [&](int g, int from, int to) {
    EXPECT_GE(r.gate[g].t, from) << "B" << g;
    EXPECT_LE(r.gate[g].t, to) << "B" << g;
    EXPECT_EQ(r.gate[g].amplitudeRaw & 3, 0);
  };
  inside(1, 330, static_cast<int>(kFlawSample));
  inside(2, 620, static_cast<int>(kBackWallSample));
  inside(4, 1260, static_cast<int>(kSecondBackWallSample));
  EXPECT_EQ(r.gate[3].t, 0) << "nothing between the first two back-wall echoes";
  EXPECT_EQ(r.gate[3].amplitudeRaw, 0);
  EXPECT_GT(r.gate[2].amplitudeRaw >> 2, r.gate[1].amplitudeRaw >> 2);
  EXPECT_GT(r.gate[1].amplitudeRaw >> 2, 400) << "about 55 % of 1023";
  EXPECT_EQ(r.gate[2].marker, 0u);

  ParamBlock loud = DefaultParamBlock();
  loud.Verstaerkung = 400;
  Shot(0, loud);
  ASSERT_TRUE(ZORIX7GetGates(h, &r, &error));
  EXPECT_NE(r.gate[2].marker, 0u) << "a saturated back wall is marked";
  EXPECT_EQ(r.gate[2].amplitudeRaw >> 2, 1023);
}

TEST_F(MeasureTest, EchoStartGateGivesDAndRelativeGatesCountFromIt) {
  ParamBlock b = DefaultParamBlock();
  b.GateEnable[0] = TRUE;  // B0 300..400 finds the flaw
  b.Aufnahmedelay = 100;
  b.Gate[2].start = 200;  // behind the flaw: 551..751 absolute, back wall inside
  b.Gate[2].end = 400;
  ASSERT_TRUE(ZORIX7SetESGateParam(h, 0, 30, 200, TRUE, FALSE, &error));
  Shot(0, b);
  GateReadout r{};
  ASSERT_TRUE(ZORIX7GetGates(h, &r, &error));
  ASSERT_GT(r.gate[0].t, 300);
  EXPECT_EQ(r.d, r.gate[0].t - 100) << "d on the record's sample scale";
  EXPECT_NEAR(r.gate[2].t + r.gate[0].t, static_cast<double>(kBackWallSample), 12);
  EXPECT_GE(r.gate[2].t, 200);
  EXPECT_LE(r.gate[2].t, 400);
}

// ---- result buffers ----

TEST_F(MeasureTest, BlockResultsPassTheBlockCheckCycleAfterCycle) {
  ParamBlock b = DefaultParamBlock();
  StartBlock({11, 12, 13}, b);
  ParamBlock stamped = b;
  stamped.StartMode = 4;
  stamped.ExternerTrigger = TRUE;
  Prepare(3, stamped);

  int16_t ident[8] = {0, 11, 12, 13, 0, 0, 0, 0};
  measure::GateLimits limits[8];
  for (auto& l : limits)
    for (int g = 0; g < 5; ++g) {
      l.start[g] = b.Gate[g].start;
      l.end[g] = b.Gate[g].end;
      l.enable[g] = b.GateEnable[g];
    }
  for (int cycle = 0; cycle < 3; ++cycle) {
    auto data = Results();
    ASSERT_EQ(data.size(), 3 * 56u + 8u + 4u);
    auto check = measure::checkBlockResults(data.data(), data.size(), cycle, ident, limits);
    EXPECT_EQ(check.status, measure::BlockCheckStatus::Ok) << check.text;
    EXPECT_EQ(check.records, 3);

    measure::ByteView v(data.data(), data.size());
    EXPECT_EQ(measure::readBlockHeader(v, 0).kennung, 11);
    EXPECT_EQ(measure::readBlockHeader(v, 56).kennung, 12);
    ASSERT_TRUE(measure::startsWithTimeStamp(v, 112));
    EXPECT_EQ(measure::readBlockHeader(v, 120).kennung, 13);
    EXPECT_EQ(v.u32(176), 0xFFFFEFFFu) << "end of cycle behind the last set";
    auto rec = measure::readGateRecord(v, 0);
    EXPECT_TRUE(rec.slot[0].present());  // B1: flaw
    EXPECT_TRUE(rec.slot[1].present());  // B2: back wall
    EXPECT_FALSE(rec.slot[2].present());
    EXPECT_TRUE(rec.slot[3].present());  // B4: second back wall
    EXPECT_FALSE(rec.slot[4].present()) << "B0 off";
    EXPECT_NEAR(rec.slot[1].time / 2.0, static_cast<double>(kBackWallSample), 12);

    auto lines = measure::headedResultLines(data.data(), data.size());
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Ende Prüfzyklus 1"), 1);
  }
}

TEST_F(MeasureTest, RequestedBuffersArriveWithTheNextGetData) {
  StartBlock({21, 22, 23});
  DWORD announced = 0;
  ASSERT_TRUE(ZORIX7GetASCAN(h, 2, &announced, 0, &error));
  EXPECT_EQ(announced, 6u + 3200u);
  auto ascan = Fetch();
  ASSERT_EQ(ascan.size(), announced);
  auto check = measure::checkAscanHeader(ascan.data(), ascan.size(), 0);
  ASSERT_TRUE(check.ok) << check.error;
  EXPECT_EQ(check.kennung, 22);

  ASSERT_TRUE(ZORIX7GetResults(h, 100, &announced, nullptr, &error));
  auto results = Fetch();
  EXPECT_EQ(results.size(), announced);
  auto lines = measure::headedResultLines(results.data(), results.size());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Ende Prüfzyklus 1"), lines.end());

  // A stopped block run leaves one cycle for the closing fetch, then nothing.
  ASSERT_TRUE(ZORIX7Stop(h, &error));
  EXPECT_EQ(Results().size(), 3 * 56u + 4u);
  std::vector<BYTE> buffer(kRoom);
  DWORD count = kRoom;
  EXPECT_FALSE(ZORIX7GetResults(h, 0, &count, buffer.data(), &error));
  EXPECT_EQ(error, kErrNoData);
  EXPECT_EQ(count, 0u);
}

TEST_F(MeasureTest, CompactRecordsRotateOverTheActiveSetsOneToSix) {
  ActiveSetFlags flags{};
  flags.flag[0] = flags.flag[1] = flags.flag[3] = flags.flag[7] = TRUE;
  StartBlock({0, 0, 0, 0, 0, 0, 0});
  ASSERT_TRUE(ZORIX7ActiveParam(h, flags, &error));
  ASSERT_FALSE(Card(1)->Zorix9Mode());
  auto data = Results();
  ASSERT_EQ(data.size(), 2 * 24u) << "set 7 has no compact record";
  auto lines = measure::plainResultLines(data.data(), data.size(), flags);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[1], "Parametersatz 1");
  EXPECT_EQ(lines[3], "Parametersatz 3");

  measure::ByteView v(data.data(), data.size());
  auto rec = measure::readCompactGateRecord(v, 24);
  EXPECT_FALSE(rec.gate[0].present);
  ASSERT_TRUE(rec.gate[2].present);
  EXPECT_GE(rec.gate[2].time, 600u);
  EXPECT_LE(rec.gate[2].time, 800u);
  EXPECT_GT(rec.gate[2].value, 600);
  EXPECT_FALSE(rec.gate[3].present);
}

TEST_F(MeasureTest, ExtraFifoWordsFollowEveryResultBuffer) {
  LoadBench("[Card 1]\nExtraFifoWords=3\n");
  h = OpenCard(1);
  StartBlock({5});
  auto data = Results();
  ASSERT_EQ(data.size(), 56u + 4u + 12u);
  measure::ByteView v(data.data(), data.size());
  EXPECT_EQ(v.u32(60), 0x0BAD0000u);
  EXPECT_EQ(v.u32(68), 0x0BAD0002u);
}

// ---- runs and fetches ----

TEST_F(MeasureTest, FreeRunRotatesOverTheActiveSetsAndDrainsAfterStop) {
  ParamBlock b = DefaultParamBlock();
  b.StartMode = 3;
  ActiveSetFlags flags{};
  flags.flag[0] = TRUE;
  for (BYTE s = 1; s <= 3; ++s) {
    Prepare(s, b);
    flags.flag[s] = TRUE;
    ASSERT_TRUE(ZORIX7SetZORIX9(h, s, static_cast<int16_t>(100 + s), &error));
  }
  ASSERT_TRUE(ZORIX7ActiveParam(h, flags, &error));
  ASSERT_TRUE(ZORIX7SetParam(h, 1, &error));
  ASSERT_TRUE(ZORIX7Start(h, &error));
  std::vector<int> seen;
  for (int k = 0; k < 6; ++k) {
    auto data = Fetch();
    seen.push_back(measure::checkAscanHeader(data.data(), data.size(), 0).kennung);
  }
  EXPECT_EQ(seen, (std::vector<int>{101, 102, 103, 101, 102, 103}));

  ASSERT_TRUE(ZORIX7Stop(h, &error));
  int drained = 0;
  BOOL inFifo = FALSE;
  while (ZORIX7IsDataInFIFO(h, &inFifo, &error) && inFifo && drained < 10) {
    EXPECT_FALSE(Fetch().empty());
    ++drained;
  }
  EXPECT_GE(drained, 1);
  EXPECT_LE(drained, 2);
  DWORD count = kRoom;
  std::vector<BYTE> buffer(kRoom);
  EXPECT_FALSE(ZORIX7GetData(h, &count, buffer.data(), &error));
  EXPECT_EQ(error, kErrNoData);
}

TEST_F(MeasureTest, FetchingWithoutAShotFailsWithNoData) {
  std::vector<BYTE> buffer(kRoom);
  DWORD count = kRoom;
  GateReadout r{};
  EXPECT_FALSE(ZORIX7GetData(h, &count, buffer.data(), &error));
  EXPECT_EQ(error, kErrNoData);
  EXPECT_EQ(count, 0u);
  count = kRoom;
  EXPECT_FALSE(ZORIX7GetResults(h, 0, &count, buffer.data(), &error));
  EXPECT_FALSE(ZORIX7GetASCAN(h, 1, &count, 0, &error));
  EXPECT_FALSE(ZORIX7StartGetData(h, &count, buffer.data(), 0, &error));
  EXPECT_FALSE(ZORIX7GetGates(h, &r, &error));
  EXPECT_EQ(error, kErrNoData);

  // One Start, one shot.
  Prepare(0, DefaultParamBlock());
  ASSERT_TRUE(ZORIX7Start(h, &error));
  EXPECT_TRUE(ZORIX7GetGates(h, &r, &error)) << "the shot is in before it is fetched";
  EXPECT_EQ(Fetch().size(), 3200u);
  count = kRoom;
  EXPECT_FALSE(ZORIX7GetData(h, &count, buffer.data(), &error));
  EXPECT_EQ(error, kErrNoData);
  EXPECT_TRUE(ZORIX7GetGates(h, &r, &error)) << "the last shot's readout stays";

  ASSERT_TRUE(ZORIX7Start(h, &error));
  ASSERT_TRUE(ZORIX7ClearFIFO(h, &error));
  count = kRoom;
  EXPECT_FALSE(ZORIX7GetData(h, &count, buffer.data(), &error)) << "cleared";
}

TEST_F(MeasureTest, AsynchronousFetchCompletesWithItsByteCount) {
  Prepare(0, DefaultParamBlock());
  ASSERT_TRUE(ZORIX7Start(h, &error));
  std::vector<BYTE> buffer(kRoom);
  DWORD count = kRoom;
  ASSERT_TRUE(ZORIX7StartGetData(h, &count, buffer.data(), 0, &error));
  count = kRoom;
  EXPECT_EQ(ZORIX7IsReadyGetDataIntReturn(h, &count, &error), 1) << "a poll never waits";
  m_clock.Sleep(5);
  EXPECT_EQ(ZORIX7IsReadyGetDataIntReturn(h, &count, &error), 0);
  EXPECT_EQ(count, 3200u);
  EXPECT_NEAR(static_cast<double>(PeakIn(Plain16(std::vector<BYTE>(buffer.begin(), buffer.begin() + count)), 600, 800)),
              kBackWallSample, 3);

  ASSERT_TRUE(AddFault({"IsReadyGetDataIntReturn", 1, 0, 0x4711}));
  EXPECT_NE(ZORIX7IsReadyGetDataIntReturn(h, &count, &error), 0) << "a failing poll is not complete";
  EXPECT_EQ(error, 0x4711u);
}

TEST_F(MeasureTest, FailedGetDataKeepsTheShot) {
  Prepare(0, DefaultParamBlock());
  ASSERT_TRUE(ZORIX7Start(h, &error));
  ASSERT_TRUE(AddFault({"GetData", 1, 1, 0xE0000010}));
  std::vector<BYTE> buffer(kRoom);
  DWORD count = kRoom;
  EXPECT_FALSE(ZORIX7GetData(h, &count, buffer.data(), &error));
  EXPECT_EQ(error, 0xE0000010u);
  EXPECT_EQ(Fetch().size(), 3200u);
}

// The fixture of cards that misbehave: each waits as its name says, and only a bound in
// the caller (or the data time-out) ends the wait.
TEST_F(MeasureTest, NeverResetNeverReadyNeverEmptyCards) {
  ASSERT_TRUE(LoadBenchFile(ZORIX7_NEVER_READY_BENCH)) << BenchError();
  HZORIX7 neverReset = OpenCard(1), neverReady = OpenCard(2), neverEmpty = OpenCard(3);
  ASSERT_TRUE(ZORIX7ResetCard(neverReset));
  m_clock.Sleep(3600 * 1000);
  EXPECT_FALSE(ZORIX7IsReseted(neverReset));

  h = neverReady;
  Prepare(0, DefaultParamBlock());
  ASSERT_TRUE(ZORIX7Start(h, &error));
  std::vector<BYTE> buffer(kRoom);
  DWORD count = kRoom;
  ASSERT_TRUE(ZORIX7StartGetData(h, &count, buffer.data(), 0, &error));
  for (int poll = 0; poll < 3; ++poll, m_clock.Sleep(1000)) {
    count = kRoom;
    EXPECT_EQ(ZORIX7IsReadyGetDataIntReturn(h, &count, &error), TRUE);
    EXPECT_EQ(error, 0u) << "pending, not failed";
    EXPECT_EQ(count, 0u);
  }
  ASSERT_TRUE(ZORIX7SetDataTimeOut(h, 5, &error));
  m_clock.Sleep(1999);
  EXPECT_EQ(ZORIX7IsReadyGetDataIntReturn(h, &count, &error), TRUE);
  EXPECT_EQ(error, 0u) << "4999 ms since the fetch started";
  m_clock.Sleep(1);
  EXPECT_NE(ZORIX7IsReadyGetDataIntReturn(h, &count, &error), 0);
  EXPECT_EQ(error, kErrDataTimeOut);
  EXPECT_EQ(ZORIX7IsReadyGetDataIntReturn(h, &count, &error), 0) << "the timed-out fetch is gone";
  EXPECT_EQ(Fetch().size(), 3200u) << "the shot stayed in the FIFO";

  h = neverEmpty;
  ASSERT_TRUE(ZORIX7Stop(h, &error));
  ASSERT_TRUE(ZORIX7ClearFIFO(h, &error));
  for (int k = 0; k < 50; ++k) {
    BOOL inFifo = FALSE;
    ASSERT_TRUE(ZORIX7IsDataInFIFO(h, &inFifo, &error));
    ASSERT_TRUE(inFifo);
    ASSERT_EQ(Fetch().size(), 3200u);
  }
}

TEST_F(MeasureTest, FailingPollsEndTheWaitWithTheirErrorWord) {
  ASSERT_TRUE(LoadBenchFile(ZORIX7_NEVER_READY_BENCH)) << BenchError();
  h = OpenCard(4);
  Prepare(0, DefaultParamBlock());
  ASSERT_TRUE(ZORIX7Start(h, &error));
  std::vector<BYTE> buffer(kRoom);
  DWORD count = kRoom;
  ASSERT_TRUE(ZORIX7StartGetData(h, &count, buffer.data(), 0, &error));
  EXPECT_NE(ZORIX7IsReadyGetDataIntReturn(h, &count, &error), 0) << "not complete";
  EXPECT_EQ(error, 0xE0000042u);
  EXPECT_EQ(count, 0u);
  BOOL inFifo = TRUE;
  EXPECT_FALSE(ZORIX7IsDataInFIFO(h, &inFifo, &error));
  EXPECT_FALSE(inFifo) << "a drain loop ends";
  EXPECT_EQ(error, 0xE0000043u);
  ASSERT_TRUE(ZORIX7ResetCard(h));
  m_clock.Sleep(1000);
  EXPECT_FALSE(ZORIX7IsReseted(h));

  // A fault without an error word still gives the poll one to stop on.
  ClearFaults();
  ASSERT_TRUE(AddFault({"IsReadyGetDataIntReturn", 4, 0, 0}));
  ASSERT_TRUE(AddFault({"IsDataInFIFO", 4, 0, 0}));
  EXPECT_NE(ZORIX7IsReadyGetDataIntReturn(h, &count, &error), 0);
  EXPECT_EQ(error, kErrInjected);
  inFifo = TRUE;
  EXPECT_FALSE(ZORIX7IsDataInFIFO(h, &inFifo, &error));
  EXPECT_EQ(error, kErrInjected);
  EXPECT_FALSE(inFifo);
}
