// ".bin" firmware into a card image: the bytes as they stand in whole blocks, the tail zero,
// and a file too long for 255 blocks refused.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "FirmwareImageCheck.h"
#include "diag/Firmware.h"

using namespace firmware;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Image image = ImageFromBytes(Format::Bin, std::span<const uint8_t>(data, size));
  const size_t blocks = (size + kBlockBytes - 1) / kBlockBytes;
  if (!CheckImageShape(image, blocks, size)) return 0;
  if (std::memcmp(image.bytes.data(), data, size) != 0) abort();
  return 0;
}
