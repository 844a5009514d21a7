// Gate result buffers as gate values lines; the first byte picks the framing and the
// active sets.
#include <cstdint>
#include <cstdlib>

#include "measure/ResultText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t options = data[0];
  ActiveSetFlags flags{};
  for (int n = 0; n < 7; ++n) flags.flag[n + 1] = (options >> n) & 1;
  const bool headed = options & 0x80;
  auto lines = measure::resultLines(data + 1, size - 1, headed, flags);
  // At most a header line, a slot line and a control word line per 56 bytes.
  if (lines.empty() || lines.size() > 1 + 3 * (size / 24 + 1)) abort();
  return 0;
}
