#pragma once
// Drawing maths of the A-scan display: all positions the paint routine needs, computed
// without a widget. Integer arithmetic; signed divisions truncate toward zero. With no
// samples (N = 0) nothing that depends on N is produced.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "card/zorix7dll.h"

namespace measure {

struct PlotGeometry {
  int x0 = 30;     // left edge of the plot
  int top = 20;    // upper edge of the plot
  int width = 0;   // W, client width - 60
  int height = 0;  // H, client height - 40
  int middle = 0;  // M, centre line
};
// A client smaller than the margins gives a plot of zero width or height; sizes are
// bounded (2^20) and positions clamped, so no product overflows.
PlotGeometry plotGeometry(int clientWidth, int clientHeight);

// y of the amplitude line k (in half percent: 100 = top, -100 = bottom).
int amplitudeY(const PlotGeometry& g, int k);

enum class GridColour { Cyan, Green, Black };
struct GridLine {
  int k = 0;
  int y = 0;  // runs from x0 to x0 + width
  GridColour colour = GridColour::Black;
};
std::vector<GridLine> gridLines(const PlotGeometry& g);

struct TextItem {
  int x = 0;
  int y = 0;
  std::string text;
};
// Percent scale on the left, ADC scale on the right.
std::vector<TextItem> scaleLabels(const PlotGeometry& g);

// Sample axis.
unsigned sampleAxisStep(size_t n);
int sampleLabelOffset(unsigned value);
struct AxisMark {
  unsigned value = 0;
  int x = 0;  // tick from (x, middle - 10) to (x, middle + 10)
  TextItem label;
};
std::vector<AxisMark> sampleAxisMarks(const PlotGeometry& g, size_t n);

// Trace.
struct TracePoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const TracePoint&, const TracePoint&) = default;
};
int traceX(const PlotGeometry& g, size_t i, size_t n);
int traceY16(const PlotGeometry& g, int16_t s);
int traceY8(const PlotGeometry& g, int8_t s);
// One point per sample: the polyline as the Windows version draws it.
std::vector<TracePoint> tracePolyline(const PlotGeometry& g, const int16_t* samples, size_t n,
                                      bool eightBit);
// The same picture with at most four points per pixel column (first, extremes, last):
// samples that share a column only draw a vertical run between their extremes.
std::vector<TracePoint> traceColumns(const PlotGeometry& g, const int16_t* samples, size_t n,
                                     bool eightBit);

// Gates B0..B4 of the set: start, end, threshold (configured value x 16), enable flag.
struct GateSettings {
  uint32_t start[5] = {};
  uint32_t end[5] = {};
  uint16_t threshold[5] = {};
  BOOL enable[5] = {};
};
struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
};
Rgb gateColour(int gate);

// E: the readout's ES position d on the plot's x scale.
int readoutShift(const PlotGeometry& g, size_t n, const GateReadout& readout);

struct GateBar {
  int gate = 0;
  int x1 = 0, x2 = 0;          // 3 pixels wide, from x1 to x2
  int yUpper = 0, yLower = 0;  // middle -/+ threshold
};
// offset: the set's Aufnahmedelay. readout may be null; B0 moves left by E with one.
std::vector<GateBar> gateBars(const PlotGeometry& g, size_t n, const GateSettings& gates,
                              int32_t offset, const GateReadout* readout);

struct ReadoutLine {
  int gate = 0;
  TextItem text;
};
std::vector<ReadoutLine> readoutLines(const PlotGeometry& g, size_t n, const GateReadout& readout,
                                      const GateSettings& gates);

}  // namespace measure
