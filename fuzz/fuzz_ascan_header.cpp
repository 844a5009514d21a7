// Headed A-scan buffers through the display's check, sample extraction and trace maths.
#include <cstdint>
#include <cstdlib>

#include "measure/AscanCheck.h"
#include "measure/AscanGeometry.h"
#include "measure/MeasureData.h"

using namespace measure;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  AscanHeaderCheck c = checkAscanHeader(data, size, 1);
  AscanSamples s = c.ok ? headedAscanSamples(data, size, c) : plainAscanSamples(data, size, size & 1);
  if (c.ok && (c.error.size() || c.caption.empty())) abort();
  // A block shorter than its header has no samples, and its sample offset lies behind it.
  if (c.ok && c.sampleBytes && (c.sampleOffset + c.sampleBytes > size || c.sampleBytes > kDataBufferBytes))
    abort();
  // Headed blocks are drawn up to the buffer size, plain data without limit.
  if (c.ok ? s.values.size() > kMaxSamples : s.values.size() != (s.eightBit ? size : size / 2)) abort();
  PlotGeometry g = plotGeometry(60 + static_cast<int>(size % 1500), 40 + static_cast<int>(size % 700));
  auto pts = traceColumns(g, s.values.data(), s.values.size(), s.eightBit);
  if (pts.size() > 4 * (static_cast<size_t>(g.width) + 1)) abort();
  sampleAxisMarks(g, s.values.size());
  GateSettings gates{};
  GateReadout r{};
  for (int k = 0; k < 5; ++k) {
    gates.start[k] = size > 8 ? data[k] * 1000u : 0;
    gates.end[k] = 0xFFFFFFFFu;
    gates.threshold[k] = 0xFFFF;
    gates.enable[k] = TRUE;
  }
  r.d = size > 4 ? static_cast<int32_t>(data[0] | data[1] << 8 | data[2] << 16 | data[3] << 24) : 0;
  gateBars(g, s.values.size(), gates, -0x7FFFFFFF, &r);
  readoutLines(g, s.values.size(), r, gates);
  return 0;
}
