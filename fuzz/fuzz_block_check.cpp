// Result buffers through the block measurement's gate check. The first 16 bytes give the
// sets' identifications, so records can match them; the gate starts come from their high
// bytes, so a buffer of the virtual cards (small identifications) is walked to its end.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "measure/BlockResultCheck.h"

using namespace measure;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 16) return 0;
  int16_t ident[8];
  GateLimits limits[8];
  for (int s = 0; s < 8; ++s) {
    ident[s] = static_cast<int16_t>(data[2 * s] | data[2 * s + 1] << 8);
    for (int k = 0; k < 5; ++k) {
      limits[s].start[k] = static_cast<uint32_t>(data[2 * ((s + k) % 8) + 1]) * 64;
      limits[s].end[k] = limits[s].start[k] + 0x4000;
      limits[s].enable[k] = TRUE;
    }
  }
  BlockCheckResult r = checkBlockResults(data + 16, size - 16, 7, ident, limits);
  if (r.bytesWalked > size - 16) abort();
  if ((r.status == BlockCheckStatus::Ok) != r.text.empty()) abort();
  // The four-slot compare and the one naming the failing gate must agree: B1..B4.
  if (r.status == BlockCheckStatus::GateFailed && r.text.find(" B0 ") != std::string::npos) abort();
  return 0;
}
