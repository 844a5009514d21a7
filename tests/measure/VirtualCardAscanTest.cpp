// A shot measured by the virtual card, decoded and drawn as the single measurement does.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <vector>

#include "measure/AnzeigeDlg.h"
#include "params/ParameterSet.h"
#include "sim/Zorix7Sim.h"
#include "support/DialogTestSupport.h"

namespace {
class VirtualCardAscan : public DialogFixture {
 protected:
  void SetUp() override {
    zorix7sim::Reset();
    zorix7sim::UseBuiltInBench();
    card = ZORIX7Open(1);
    ASSERT_NE(card, 0u);
  }
  void TearDown() override { zorix7sim::Reset(); }

  // Prepares the set, fires one shot and fetches its A-scan and gate readout.
  void Shoot(BYTE set) {
    DWORD error = 0;
    ASSERT_TRUE(ZORIX7PrepAllGatesParam(card, set, MakeParamBlock(params, 1), &error)) << std::hex << error;
    ASSERT_TRUE(ZORIX7Start(card, &error)) << std::hex << error;
    bytes = static_cast<DWORD>(buffer.size());
    ASSERT_TRUE(ZORIX7GetData(card, &bytes, buffer.data(), &error)) << std::hex << error;
    ASSERT_TRUE(ZORIX7GetGates(card, &readout, &error)) << std::hex << error;
  }

  QImage Render() {
    CAnzeigeDlg dlg;
    dlg.m_pGateReadout = &readout;
    dlg.m_pGates = &params.Gates;
    dlg.m_nSampleRate = params.Samplerate;
    dlg.SetData(buffer.data(), bytes, 1);
    dlg.resize(1024, 743);
    QImage image(1024, 743, QImage::Format_RGB32);
    dlg.render(&image);
    return image;
  }

  HZORIX7 card = 0;
  ParameterSet params;
  std::vector<BYTE> buffer = std::vector<BYTE>(0x20000);
  DWORD bytes = 0;
  GateReadout readout{};
};

TEST_F(VirtualCardAscan, DefaultSetShowsEchoesInsideTheirGates) {
  Shoot(1);
  EXPECT_EQ(bytes, 2u * params.Aufnahmelaenge);
  // Every gate that saw an echo reports a time within its limits.
  int gatesHit = 0;
  for (int g = 1; g < 5; ++g) {
    if (!readout.gate[g].amplitudeRaw) continue;
    ++gatesHit;
    EXPECT_GE(static_cast<DWORD>(readout.gate[g].t), params.Gates.gate[g].start) << g;
    EXPECT_LE(static_cast<DWORD>(readout.gate[g].t), params.Gates.gate[g].end) << g;
  }
  EXPECT_GE(gatesHit, 2);

  QImage image = Render();
  // The trace (blue) rises well above the noise somewhere inside gate B2.
  measure::PlotGeometry g = measure::plotGeometry(1024, 743);
  int x1 = g.x0 + static_cast<int>(params.Gates.gate[2].start * g.width / params.Aufnahmelaenge);
  int x2 = g.x0 + static_cast<int>(params.Gates.gate[2].end * g.width / params.Aufnahmelaenge);
  int highest = g.middle;
  for (int x = x1; x <= x2; ++x)
    for (int y = g.top; y < g.middle; ++y)
      if (image.pixelColor(x, y) == QColor(0, 0, 255)) highest = std::min(highest, y);
  EXPECT_LT(highest, g.middle - g.height / 8);
}

}  // namespace
