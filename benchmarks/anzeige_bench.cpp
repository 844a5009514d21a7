// Repaint of the A-scan display at 1024 x 743: a 65536-sample A-scan with gates and
// readout, painted into an image. "Repaint" redraws the same A-scan (window uncovered),
// "NewAScan" hands the buffer again each time as a modeless run does per cycle.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "measure/AnzeigeDlg.h"

namespace {

struct Scene {
  Scene() {
    std::mt19937 rng(5);
    std::normal_distribution<double> noise(0, 400);
    data.resize(0x20000);
    for (size_t i = 0; i < 65536; ++i) {
      const double t = (static_cast<double>(i) - 30000) / 300;
      const double v = noise(rng) + 25000 * std::exp(-t * t) * std::sin(0.8 * static_cast<double>(i));
      const auto s = static_cast<uint16_t>(static_cast<int16_t>(std::clamp(v, -32768.0, 32767.0)));
      data[2 * i] = static_cast<uint8_t>(s);
      data[2 * i + 1] = static_cast<uint8_t>(s >> 8);
    }
    for (int k = 0; k < 5; ++k) {
      gates.gate[k] = {static_cast<DWORD>(5000 + 12000 * k), static_cast<DWORD>(12000 + 12000 * k),
                       static_cast<WORD>((20 + 10 * k) * 16)};
      gates.enable[k] = TRUE;
    }
    readout.d = 1200;
    for (int k = 0; k < 5; ++k) readout.gate[k] = {8000 + 12000 * k, static_cast<WORD>(400 + 40 * k), 0, k % 2u};
    dlg.SetData(data.data(), static_cast<UINT>(data.size()), 1);
    dlg.m_pGates = &gates;
    dlg.m_pGateReadout = &readout;
    dlg.m_nOffset = 100;
    dlg.resize(image.size());
  }
  void paint() { dlg.render(&image, QPoint(), QRegion(), QWidget::RenderFlags()); }

  std::vector<uint8_t> data;
  GateSettings gates;
  GateReadout readout{};
  CAnzeigeDlg dlg;
  QImage image{1024, 743, QImage::Format_RGB32};
};

void BM_AnzeigeRepaint(benchmark::State& state) {
  Scene scene;
  for (auto _ : state) {
    scene.paint();
    benchmark::DoNotOptimize(scene.image.constBits());
  }
}
BENCHMARK(BM_AnzeigeRepaint)->Unit(benchmark::kMillisecond);

void BM_AnzeigeNewAScan(benchmark::State& state) {
  Scene scene;
  UINT sequence = 1;
  for (auto _ : state) {
    scene.dlg.SetData(scene.data.data(), static_cast<UINT>(scene.data.size()), ++sequence);
    scene.paint();
    benchmark::DoNotOptimize(scene.image.constBits());
  }
}
BENCHMARK(BM_AnzeigeNewAScan)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
