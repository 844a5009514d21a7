#include <gtest/gtest.h>

#include <random>
#include <set>

#include "measure/AscanCheck.h"
#include "measure/AscanGeometry.h"
#include "measure/BufferBuilder.h"

using namespace measure;
using measure::test::Buf;

// ---- header check ---------------------------------------------------------------------

TEST(AscanHeader, TimeStampedBlockMustBeEightBytesShorterThanTheData) {
  Buf ok;
  ok.stamp(5).header(0x14, 10, -2).words({1, 2});
  AscanHeaderCheck c = checkAscanHeader(ok.data(), ok.size(), 3);
  ASSERT_TRUE(c.ok) << c.error;
  EXPECT_EQ(c.caption, "3: (18) 10 Bytes 0x14, Kennung -2");
  EXPECT_EQ(c.timeLine, "Zeit 5");
  EXPECT_EQ(c.sampleOffset, 14u);
  EXPECT_EQ(c.sampleBytes, 4u);

  Buf bad;
  bad.stamp(5).header(0x14, 18, -2).words({1, 2});  // the block claims the prefix too
  c = checkAscanHeader(bad.data(), bad.size(), 3);
  EXPECT_FALSE(c.ok);
  EXPECT_EQ(c.error, "Datenlänge bei ext. Trigger soll: 10 - ist: 18");
}

TEST(AscanHeader, LengthAndTypeFailures) {
  Buf b;
  b.header(0x14, 12, 0).words({1, 2, 3});
  EXPECT_EQ(checkAscanHeader(b.data(), b.size() - 2, 1).error, "Datenlänge soll: 10 - ist: 12");
  Buf t;
  t.header(0x40, 8, 0).words({1});
  AscanHeaderCheck c = checkAscanHeader(t.data(), t.size(), 1);
  EXPECT_FALSE(c.ok);
  EXPECT_EQ(c.error, "Datentyp 0x40 unbekannt");
  EXPECT_TRUE(c.caption.empty());
  EXPECT_TRUE(headedAscanSamples(t.data(), t.size(), c).values.empty());
}

TEST(AscanHeader, ZeroTimeStampGivesNoTimeLine) {
  Buf b;
  b.stamp(0).header(0x60, 6, 1);
  AscanHeaderCheck c = checkAscanHeader(b.data(), b.size(), 0);
  ASSERT_TRUE(c.ok);
  EXPECT_TRUE(c.timeLine.empty());
  EXPECT_EQ(c.sampleBytes, 0u) << "a bare header has nothing to draw";
}

TEST(AscanSamplesToDraw, HeadedPackedAndPlainFramings) {
  Buf p;
  p.header(0x10, 12, 1).words({0x0ABC, 0x3DEF, 0x1234});
  AscanHeaderCheck c = checkAscanHeader(p.data(), p.size(), 1);
  ASSERT_TRUE(c.ok);
  AscanSamples s = headedAscanSamples(p.data(), p.size(), c);
  EXPECT_EQ(s.values, (std::vector<int16_t>{static_cast<int16_t>(0xABC0),
                                            static_cast<int16_t>(0xEF00), 0x43D0, 0x1230}));

  Buf raw;
  raw.u8(0x80).u8(0x7F).u8(0x01);
  EXPECT_EQ(plainAscanSamples(raw.data(), raw.size(), true).values,
            (std::vector<int16_t>{-128, 127, 1}));
  EXPECT_EQ(plainAscanSamples(raw.data(), raw.size(), false).values,
            (std::vector<int16_t>{0x7F80}));
  EXPECT_EQ(plainAscanCaption(7, 3), "7: 3 Bytes");
}

// ---- geometry -------------------------------------------------------------------------

TEST(AscanGeometry, PlotAndGridFromClientSize) {
  PlotGeometry g = plotGeometry(660, 441);
  EXPECT_EQ(g.width, 600);
  EXPECT_EQ(g.height, 401);
  EXPECT_EQ(g.middle, 220);
  EXPECT_EQ(amplitudeY(g, -10), 220 - 20);  // (401 * -10) / 200 truncates toward zero
  int black = 0;
  for (const GridLine& l : gridLines(g)) black += l.colour == GridColour::Black;
  EXPECT_EQ(gridLines(g).size(), 21u);
  EXPECT_EQ(black, 5);
  auto labels = scaleLabels(g);
  EXPECT_EQ(labels[2].text, " 50");
  EXPECT_EQ(labels[2].y, 220 - 100 - 8);
  EXPECT_EQ(labels[11].text, "-512");
  EXPECT_EQ(labels[11].x, 632);
}

TEST(AscanGeometry, SampleAxisStepsAndLabels) {
  PlotGeometry g = plotGeometry(660, 440);
  auto m = sampleAxisMarks(g, 1500);
  ASSERT_EQ(m.size(), 5u);
  EXPECT_EQ(m.front().value, 250u);
  EXPECT_EQ(m.back().value, 1250u);
  EXPECT_EQ(m[0].x, 30 + 100);
  EXPECT_EQ(m[0].label.x, 130 - 12);
  EXPECT_EQ(m[3].label.x, 30 + 400 - 16);
  EXPECT_EQ(m[0].label.y, g.middle + 15);
  EXPECT_EQ(m[0].label.text, "250");

  auto few = sampleAxisMarks(g, 20);
  ASSERT_EQ(few.size(), 19u);
  EXPECT_EQ(few.front().value, 1u);
  EXPECT_EQ(few.front().label.x, 30 + 30 - 4);
  EXPECT_EQ(few.back().value, 19u);

  const std::pair<size_t, unsigned> steps[] = {{21, 5},     {50, 5},      {51, 10},   {250, 25},
                                               {1000, 100}, {2500, 250},  {5000, 500},
                                               {10000, 1000}, {10001, 5000}, {65536, 5000}};
  for (auto [n, step] : steps) EXPECT_EQ(sampleAxisStep(n), step) << n;
  EXPECT_EQ(sampleLabelOffset(9999), 16);
  EXPECT_EQ(sampleLabelOffset(10000), 20);
}

TEST(AscanGeometry, TracePointsPerFraming) {
  PlotGeometry g = plotGeometry(660, 440);  // W 600, H 400, M 220
  EXPECT_EQ(traceX(g, 1, 7), 30 + 85);
  EXPECT_EQ(traceY16(g, 0x7FFF), 220 - (127 * 400) / 256);
  EXPECT_EQ(traceY16(g, -255), 220) << "s / 256 truncates toward zero";
  EXPECT_EQ(traceY16(g, -32768), 220 + 400 / 2);
  EXPECT_EQ(traceY8(g, -1), 220 + 1);
  EXPECT_EQ(traceY8(g, 127), 220 - 198);
}

namespace {

// Pixels a 1-pixel polyline covers (Bresenham, end points included).
std::set<std::pair<int, int>> rasterize(const std::vector<TracePoint>& pts) {
  std::set<std::pair<int, int>> px;
  if (pts.size() == 1) px.insert({pts[0].x, pts[0].y});
  for (size_t i = 0; i + 1 < pts.size(); ++i) {
    TracePoint a = pts[i], b = pts[i + 1];
    int dx = std::abs(b.x - a.x), sx = a.x < b.x ? 1 : -1;
    int dy = -std::abs(b.y - a.y), sy = a.y < b.y ? 1 : -1;
    int err = dx + dy;
    for (;;) {
      px.insert({a.x, a.y});
      if (a.x == b.x && a.y == b.y) break;
      int e2 = 2 * err;
      if (e2 >= dy) err += dy, a.x += sx;
      if (e2 <= dx) err += dx, a.y += sy;
    }
  }
  return px;
}

}  // namespace

TEST(AscanGeometry, ColumnReductionDrawsTheSamePixelsAsThePolyline) {
  std::mt19937 rng(11);
  for (auto [w, n, eight] : {std::tuple{660, 65536, false}, std::tuple{660, 3000, true},
                             std::tuple{1260, 700, false}, std::tuple{61, 5, false}}) {
    PlotGeometry g = plotGeometry(w, 440);
    std::vector<int16_t> s(n);
    int16_t level = 0;
    for (auto& v : s) {  // a noisy echo-like trace, with repeats
      level = static_cast<int16_t>(level + static_cast<int>(rng() % 2001) - 1000);
      v = eight ? static_cast<int16_t>(static_cast<int8_t>(rng())) : level;
    }
    auto full = tracePolyline(g, s.data(), s.size(), eight);
    auto reduced = traceColumns(g, s.data(), s.size(), eight);
    EXPECT_LE(reduced.size(), 4u * static_cast<size_t>(g.width + 1));
    EXPECT_EQ(reduced.front(), full.front());
    EXPECT_EQ(reduced.back(), full.back());
    EXPECT_EQ(rasterize(reduced), rasterize(full)) << w << " x " << n;
  }
}

TEST(AscanGeometry, GateBarsUseOffsetThresholdAndEsShift) {
  PlotGeometry g = plotGeometry(660, 440);
  GateSettings gates{};
  gates.start[0] = 150, gates.end[0] = 250, gates.threshold[0] = 1024;  // B0, not enabled
  gates.start[1] = 50, gates.end[1] = 1100, gates.threshold[1] = 2048, gates.enable[1] = TRUE;
  gates.start[2] = 10, gates.enable[2] = FALSE;
  GateReadout r{};
  r.d = 100;
  auto bars = gateBars(g, 600, gates, 100, &r);
  ASSERT_EQ(bars.size(), 2u) << "B0 always, B1 enabled, B2..B4 not";
  EXPECT_EQ(bars[0].gate, 0);
  EXPECT_EQ(bars[0].x1, 30 + 50 - 100);
  EXPECT_EQ(bars[0].x2, 30 + 150 - 100);
  EXPECT_EQ(bars[0].yUpper, 220 - 100);
  EXPECT_EQ(bars[0].yLower, 220 + 100);
  EXPECT_EQ(bars[1].x1, 30 - 50) << "a gate before the delay lies left of the plot";
  EXPECT_EQ(bars[1].x2, 30 + 1000);
  EXPECT_EQ(bars[1].yUpper, 20);

  r.d = 0;
  EXPECT_EQ(gateBars(g, 600, gates, 100, &r)[0].x1, 80) << "d = 0: B0 at its configured place";
  EXPECT_EQ(gateBars(g, 600, gates, 100, nullptr)[0].x1, 80);
}

TEST(AscanGeometry, ReadoutLinesOfEnabledGates) {
  PlotGeometry g = plotGeometry(660, 440);
  GateSettings gates{};
  gates.enable[0] = gates.enable[2] = TRUE;
  GateReadout r{};
  r.d = 12;
  r.gate[0] = {345, 403, 0, 1};
  r.gate[2] = {-7, 8, 0, 0};
  auto lines = readoutLines(g, 100, r, gates);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].text.text, "ES: d =  12 | B0: t = 345 v =100^");
  EXPECT_EQ(lines[0].text.x, 0);
  EXPECT_EQ(lines[0].text.y, 423);
  EXPECT_EQ(lines[1].text.text, "B2: t =  -7 v =  2");
  EXPECT_EQ(lines[1].text.x, 345);
  EXPECT_EQ(gateColour(1).r, 255);
}
