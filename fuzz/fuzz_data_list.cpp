// A-scan buffers as data list lines; the first byte picks framing, width and sample rate.
#include <cstdint>
#include <cstdlib>

#include "measure/DataListText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t options = data[0];
  auto lines = measure::dataListLines(data + 1, size - 1, options & 0x80, options & 0x40,
                                      options & 0x3F);
  if (lines.empty() || lines.size() > 5 + size) abort();
  return 0;
}
