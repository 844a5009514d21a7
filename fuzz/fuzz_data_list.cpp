// A-scan buffers as data list lines; the first byte picks framing, width and sample rate.
#include <cstdint>
#include <cstdlib>

#include "measure/AscanCsv.h"
#include "measure/DataListText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t options = data[0];
  auto lines = measure::dataListLines(data + 1, size - 1, options & 0x80, options & 0x40,
                                      options & 0x3F);
  if (lines.empty() || lines.size() > 5 + size) abort();
  // The CSV lists the same samples: one row each behind the column row.
  const std::string csv = measure::ascanCsv({data + 1, size - 1, (options & 0x80) != 0, (options & 0x40) != 0,
                                             static_cast<uint8_t>(options & 0x3F)});
  const size_t header = csv.find("index;time_us;percent;adc\n");
  if (header == std::string::npos) abort();
  size_t rows = 0;
  for (size_t i = header; i < csv.size(); ++i) rows += csv[i] == '\n';
  if (rows - 1 != measure::listedSamples(data + 1, size - 1, options & 0x80, options & 0x40).values.size()) abort();
  return 0;
}
