#include "sim/Specimen.h"

#include <algorithm>
#include <cmath>

namespace zorix7sim {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kFullScale = 32768.0;
constexpr int kReferenceGain = 200;  // tenths of dB
constexpr int kMaxGain = 1200;
// Gate windows beyond this many samples are cut: no echo lives that far out.
constexpr int64_t kMaxGateSamples = 1 << 20;

struct Echo {
  double centerUs;
  double amplitude;  // fraction of full scale, gain applied
  bool transmit;
};

struct Echoes {
  std::vector<Echo> list;
  double frequency;   // MHz
  double halfWidthUs; // burst: Hann window over three cycles
  double decayUs;     // transmit pulse ringing
};

Echoes MakeEchoes(const SpecimenSpec& s, const ParamBlock& b, double gainFactor, double untilUs) {
  Echoes e;
  e.frequency = s.frequency;
  e.halfWidthUs = 1.5 / s.frequency;
  e.decayUs = 1.2 / s.frequency;
  if (b.Sendersperre) return e;  // transmitter locked: the receiver hears only noise
  // Each energy step adds 2 dB.
  const double g = gainFactor * std::pow(10.0, 0.1 * (b.Sendeenergie & 3));
  e.list.push_back({0.0, s.transmitPulse / 100 * g, true});
  const double usPerMm = 2000.0 / s.velocity;  // round trip
  if (s.flawDepth > 0 && s.flawDepth < s.thickness)
    e.list.push_back({s.flawDepth * usPerMm, s.flawAmplitude / 100 * g, false});
  const double wall = s.thickness * usPerMm;
  const double stepLoss = std::pow(10.0, -s.attenuation * 2 * s.thickness / 20);
  double a = s.backWallAmplitude / 100 * g;
  for (int n = 1; n <= 1000 && n * wall < untilUs + e.halfWidthUs && a > 1e-5; ++n, a *= stepLoss)
    e.list.push_back({n * wall, a, false});
  return e;
}

// Adds the echoes to out[0..n), which shows samples k0..k0+n-1 after the transmit pulse.
void Render(const Echoes& e, double periodUs, int64_t k0, int64_t n, int32_t* out) {
  const double w = 2 * kPi * e.frequency * periodUs;  // phase per sample
  for (const Echo& echo : e.list) {
    double from, to;
    if (echo.transmit) {
      from = 0;
      to = e.decayUs * std::log(std::max(1.0, echo.amplitude * kFullScale));
    } else {
      from = echo.centerUs - e.halfWidthUs;
      to = echo.centerUs + e.halfWidthUs;
    }
    int64_t first = std::max<int64_t>(k0, static_cast<int64_t>(std::ceil(from / periodUs)));
    int64_t last = std::min<int64_t>(k0 + n - 1, static_cast<int64_t>(std::floor(to / periodUs)));
    const double amp = echo.amplitude * kFullScale;
    for (int64_t k = first; k <= last; ++k) {
      double x = k * periodUs - echo.centerUs;
      double v;
      if (echo.transmit)
        v = amp * std::exp(-x / e.decayUs) * std::sin(w * k);
      else
        v = amp * 0.5 * (1 + std::cos(kPi * x / e.halfWidthUs)) * std::cos(w * (k - echo.centerUs / periodUs));
      double sum = out[k - k0] + v;
      out[k - k0] = static_cast<int32_t>(std::clamp(sum, -1e9, 1e9));
    }
  }
}

// First crossing and peak of the gate over [start, end] (samples after the transmit pulse).
GateResult Evaluate(const Echoes& e, double periodUs, int64_t start, int64_t end, WORD threshold,
                    BYTE rectification) {
  GateResult r;
  if (end < start) return r;
  end = std::min(end, start + kMaxGateSamples - 1);
  std::vector<int32_t> signal(static_cast<size_t>(end - start + 1), 0);
  Render(e, periodUs, start, static_cast<int64_t>(signal.size()), signal.data());
  // The threshold is held x16 and drawn at threshold/16 x 256 on the 16-bit scale.
  const int32_t level = static_cast<int32_t>(threshold) * 16;
  int32_t peak = 0;
  for (size_t i = 0; i < signal.size(); ++i) {
    // HF gates look at the magnitude.
    int32_t v = RectifiedSample(signal[i], rectification == 0 ? 3 : rectification);
    if (!r.crossed && v >= level) {
      r.crossed = true;
      r.position = start + static_cast<int64_t>(i);
    }
    peak = std::max(peak, v);
  }
  r.value = static_cast<uint16_t>(std::min(peak >> 5, 1023));
  r.marker = peak >= 32767;
  return r;
}

}  // namespace

double SamplePeriodMicroseconds(BYTE samplerate) {
  static const double kPeriod[9] = {0.0125, 0.025, 0.05, 0.1, 0.00625, 0.0125, 0.025, 0.05, 0.1};
  unsigned code = samplerate & 0x0F;
  return code < 9 ? kPeriod[code] : 0.00625;
}

ParamBlock DefaultParamBlock() {
  ParamBlock b{};
  b.TaLastIndex = 1;
  b.Samplerate = 1;
  b.StartMode = 1;
  b.Aufnahmelaenge = 1600;
  b.Filter = 3;
  b.Verstaerkung = 200;
  const DWORD start[5] = {300, 300, 600, 800, 1100}, end[5] = {400, 400, 800, 1000, 1400};
  const WORD threshold[5] = {30, 50, 50, 50, 50};
  for (int g = 0; g < 5; ++g) {
    b.Gate[g].start = start[g];
    b.Gate[g].end = end[g];
    b.Gate[g].threshold = static_cast<WORD>(threshold[g] * 16);
    b.GateEnable[g] = g > 0;
  }
  return b;
}

SetResponse BuildResponse(const SpecimenSpec& specimen, const ParamBlock& block, bool esRelative) {
  SetResponse r;
  r.block = block;
  r.periodUs = SamplePeriodMicroseconds(block.Samplerate);
  r.recordStart = static_cast<int64_t>(block.Aufnahmedelay) - block.PKVorlauf;
  const int gain = std::min<int>(block.Verstaerkung, kMaxGain);
  const double gainFactor = std::pow(10.0, (gain - kReferenceGain) / 200.0);
  const int averaged = std::max<int>(1, block.Average);
  r.noiseRms = static_cast<int32_t>(
      std::min(1e6, specimen.noise / 100 * kFullScale * gainFactor / std::sqrt(averaged)));

  // Echoes are needed as far as the record or any gate reaches (a relative gate may lie
  // behind its configured end by as much as the echo start gate reaches).
  int64_t gateReach = 0;
  for (int g = 0; g < 5; ++g)
    if (block.GateEnable[g]) gateReach = std::max<int64_t>(gateReach, std::min<int64_t>(block.Gate[g].end, kMaxGateSamples));
  if (esRelative && block.GateEnable[0]) gateReach += std::min<int64_t>(block.Gate[0].end, kMaxGateSamples);
  const int64_t until = std::max<int64_t>(r.recordStart + block.Aufnahmelaenge, gateReach);
  const Echoes echoes = MakeEchoes(specimen, block, gainFactor, until * r.periodUs);

  r.clean.assign(block.Aufnahmelaenge, 0);
  Render(echoes, r.periodUs, r.recordStart, block.Aufnahmelaenge, r.clean.data());

  const BYTE rect = block.Gleichrichtung;
  if (block.GateEnable[0]) {
    const auto& g = block.Gate[0];
    r.gate[0] = Evaluate(echoes, r.periodUs, g.start, g.end, g.threshold, rect);
    if (r.gate[0].crossed) r.esPosition = r.gate[0].position;
  }
  const bool relative = esRelative && block.GateEnable[0];
  if (relative && r.esPosition < 0) return r;  // no echo start: relative gates see nothing
  const int64_t shift = relative ? r.esPosition : 0;
  for (int k = 1; k < 5; ++k) {
    if (!block.GateEnable[k]) continue;
    const auto& g = block.Gate[k];
    r.gate[k] = Evaluate(echoes, r.periodUs, g.start + shift, static_cast<int64_t>(g.end) + shift,
                         g.threshold, rect);
    if (r.gate[k].crossed) r.gate[k].position -= shift;
  }
  return r;
}

}  // namespace zorix7sim
