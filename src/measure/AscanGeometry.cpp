#include "measure/AscanGeometry.h"

#include <algorithm>

#include "measure/TextFormat.h"

namespace measure {

namespace {

// Far beyond any screen, small enough that the products below stay in range.
constexpr int kMaxExtent = 1 << 20;
constexpr int64_t kMaxCoordinate = int64_t{1} << 24;

int clampToPixel(int64_t v) {
  return static_cast<int>(std::clamp(v, -kMaxCoordinate, kMaxCoordinate));
}

}  // namespace

PlotGeometry plotGeometry(int clientWidth, int clientHeight) {
  PlotGeometry g;
  g.width = std::clamp(clientWidth - 60, 0, kMaxExtent);
  g.height = std::clamp(clientHeight - 40, 0, kMaxExtent);
  g.middle = g.height / 2 + 20;
  return g;
}

int amplitudeY(const PlotGeometry& g, int k) { return g.middle + (g.height * k) / 200; }

std::vector<GridLine> gridLines(const PlotGeometry& g) {
  static constexpr struct {
    int k;
    GridColour colour;
  } kLines[] = {
      {10, GridColour::Cyan},   {30, GridColour::Cyan},   {70, GridColour::Cyan},
      {90, GridColour::Cyan},   {-10, GridColour::Cyan},  {-30, GridColour::Cyan},
      {-70, GridColour::Cyan},  {-90, GridColour::Cyan},  {20, GridColour::Green},
      {40, GridColour::Green},  {60, GridColour::Green},  {80, GridColour::Green},
      {-20, GridColour::Green}, {-40, GridColour::Green}, {-60, GridColour::Green},
      {-80, GridColour::Green}, {0, GridColour::Black},   {50, GridColour::Black},
      {-50, GridColour::Black}, {100, GridColour::Black}, {-100, GridColour::Black},
  };
  std::vector<GridLine> lines;
  lines.reserve(std::size(kLines));
  for (const auto& l : kLines) lines.push_back({l.k, amplitudeY(g, l.k), l.colour});
  return lines;
}

std::vector<TextItem> scaleLabels(const PlotGeometry& g) {
  const int upper = amplitudeY(g, -50) - 8;
  const int lower = amplitudeY(g, 50) - 8;
  const int right = g.width + 32;
  return {
      {16, 0, "%"},        {0, 20, " 100"},          {8, upper, " 50"},
      {20, g.middle - 8, "0"}, {8, lower, "-50"},    {0, g.height + 4, "-100"},
      {right, 0, "ADC"},   {right, 20, " 512"},      {right, upper, " 256"},
      {right, g.middle - 8, "0"}, {right, lower, "-256"}, {right, g.height + 4, "-512"},
  };
}

unsigned sampleAxisStep(size_t n) {
  if (n <= 20) return 1;
  if (n <= 50) return 5;
  if (n <= 100) return 10;
  if (n <= 250) return 25;
  if (n <= 500) return 50;
  if (n <= 1000) return 100;
  if (n <= 2500) return 250;
  if (n <= 5000) return 500;
  if (n <= 10000) return 1000;
  return 5000;
}

int sampleLabelOffset(unsigned value) {
  if (value >= 10000) return 20;
  if (value >= 1000) return 16;
  if (value >= 100) return 12;
  if (value >= 10) return 8;
  return 4;
}

std::vector<AxisMark> sampleAxisMarks(const PlotGeometry& g, size_t n) {
  std::vector<AxisMark> marks;
  if (n == 0) return marks;
  const uint64_t step = sampleAxisStep(n);
  const uint64_t w = static_cast<uint64_t>(g.width);
  for (uint64_t v = step; v < n; v += step) {
    AxisMark m;
    m.value = static_cast<unsigned>(v);
    m.x = g.x0 + static_cast<int>(v * w / n);
    m.label = {m.x - sampleLabelOffset(m.value), g.middle + 15, format("%d", static_cast<int>(v))};
    marks.push_back(std::move(m));
  }
  return marks;
}

int traceX(const PlotGeometry& g, size_t i, size_t n) {
  if (n == 0) return g.x0;
  return g.x0 + static_cast<int>(static_cast<int64_t>(i) * g.width / static_cast<int64_t>(n));
}

int traceY16(const PlotGeometry& g, int16_t s) {
  return g.middle - ((s / 256) * g.height) / 256;
}

int traceY8(const PlotGeometry& g, int8_t s) { return g.middle - (s * g.height) / 256; }

namespace {

inline int traceY(const PlotGeometry& g, int16_t s, bool eightBit) {
  return eightBit ? traceY8(g, static_cast<int8_t>(s)) : traceY16(g, s);
}

inline void addPoint(std::vector<TracePoint>& pts, TracePoint p) {
  if (pts.empty() || !(pts.back() == p)) pts.push_back(p);
}

}  // namespace

std::vector<TracePoint> tracePolyline(const PlotGeometry& g, const int16_t* samples, size_t n,
                                      bool eightBit) {
  std::vector<TracePoint> pts;
  if (n == 0 || !samples) return pts;
  pts.reserve(n);
  for (size_t i = 0; i < n; ++i) pts.push_back({traceX(g, i, n), traceY(g, samples[i], eightBit)});
  return pts;
}

std::vector<TracePoint> traceColumns(const PlotGeometry& g, const int16_t* samples, size_t n,
                                     bool eightBit) {
  std::vector<TracePoint> pts;
  if (n == 0 || !samples) return pts;
  pts.reserve(std::min<size_t>(n, 4 * (static_cast<size_t>(g.width) + 1)));
  size_t i = 0;
  while (i < n) {
    const int x = traceX(g, i, n);
    const int first = traceY(g, samples[i], eightBit);
    int lo = first, hi = first, last = first;
    size_t loAt = i, hiAt = i;
    size_t j = i + 1;
    for (; j < n && traceX(g, j, n) == x; ++j) {
      last = traceY(g, samples[j], eightBit);
      if (last < lo) lo = last, loAt = j;
      if (last > hi) hi = last, hiAt = j;
    }
    addPoint(pts, {x, first});
    // Extremes in the order the polyline meets them.
    if (loAt <= hiAt) {
      addPoint(pts, {x, lo});
      addPoint(pts, {x, hi});
    } else {
      addPoint(pts, {x, hi});
      addPoint(pts, {x, lo});
    }
    addPoint(pts, {x, last});
    i = j;
  }
  return pts;
}

Rgb gateColour(int gate) {
  static constexpr Rgb kColours[5] = {
      {255, 0, 255}, {255, 0, 0}, {0, 0, 255}, {0, 255, 0}, {255, 255, 0}};
  return gate >= 0 && gate < 5 ? kColours[gate] : Rgb{};
}

int readoutShift(const PlotGeometry& g, size_t n, const GateReadout& readout) {
  if (n == 0) return 0;
  return clampToPixel(static_cast<int64_t>(readout.d) * g.width / static_cast<int64_t>(n));
}

std::vector<GateBar> gateBars(const PlotGeometry& g, size_t n, const GateSettings& gates,
                              int32_t offset, const GateReadout* readout) {
  std::vector<GateBar> bars;
  if (n == 0) return bars;
  const int64_t w = g.width;
  const int64_t count = static_cast<int64_t>(n);
  // Gate positions before the recording delay land left of the plot rather than wrapping.
  auto x = [&](uint32_t pos, int64_t shift) {
    return clampToPixel(g.x0 + (static_cast<int64_t>(pos) - offset) * w / count - shift);
  };
  const int64_t e = readout ? readoutShift(g, n, *readout) : 0;
  for (int k = 0; k < 5; ++k) {
    if (k > 0 && !gates.enable[k]) continue;
    GateBar b;
    b.gate = k;
    b.x1 = x(gates.start[k], k == 0 ? e : 0);
    b.x2 = x(gates.end[k], k == 0 ? e : 0);
    int dy = static_cast<int>(int64_t{gates.threshold[k]} * g.height / 4096);
    b.yUpper = g.middle - dy;
    b.yLower = g.middle + dy;
    bars.push_back(b);
  }
  return bars;
}

std::vector<ReadoutLine> readoutLines(const PlotGeometry& g, size_t n, const GateReadout& readout,
                                      const GateSettings& gates) {
  static constexpr int kX[5] = {0, 210, 345, 480, 615};
  std::vector<ReadoutLine> lines;
  if (n == 0) return lines;
  for (int k = 0; k < 5; ++k) {
    if (!gates.enable[k]) continue;
    const GateReadoutGate& r = readout.gate[k];
    std::string text;
    if (k == 0)
      text = format("ES: d =%4d | B0: t =%4d v =%3d", readout.d, r.t, r.amplitudeRaw / 4);
    else
      text = format("B%d: t =%4d v =%3d", k, r.t, r.amplitudeRaw / 4);
    if (r.marker) text += "^";
    lines.push_back({k, {kX[k], g.height + 23, std::move(text)}});
  }
  return lines;
}

}  // namespace measure
