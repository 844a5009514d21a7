// ".hex" firmware text into a card image: every byte is a digit by the Windows rule, the image
// holds two bytes per group in whole blocks, and a text too long for 255 blocks is refused.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "FirmwareImageCheck.h"
#include "diag/Firmware.h"

using namespace firmware;

namespace {
uint8_t Digit(uint8_t c) { return static_cast<uint8_t>((c > '9' ? c - 7 : c) & 0x0F); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> text(data, size);
  const size_t groups = HexGroups(size);
  Image image = ImageFromBytes(Format::Hex, text);
  const size_t blocks = BlockCount(2 * groups);
  if (!CheckImageShape(image, blocks, 2 * groups)) return 0;
  for (size_t g = 0; g < groups; ++g) {
    const uint8_t* d = data + g * kGroupChars;
    const unsigned word = Digit(d[0]) << 12 | Digit(d[1]) << 8 | Digit(d[2]) << 4 | Digit(d[3]);
    if (image.bytes[2 * g] != (word & 0xFF) || image.bytes[2 * g + 1] != word >> 8) abort();
  }
  return 0;
}
