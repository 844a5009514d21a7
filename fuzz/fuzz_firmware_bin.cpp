// ".bin" firmware into a card image: the bytes as they stand in whole blocks, the tail zero,
// and a file too long for 255 blocks refused.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "diag/Firmware.h"

using namespace firmware;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Image image = ImageFromBytes(Format::Bin, std::span<const uint8_t>(data, size));
  const size_t blocks = (size + kBlockBytes - 1) / kBlockBytes;
  if (blocks == 0) {
    if (image.status != Status::NoExtension) abort();
    return 0;
  }
  if (blocks > kMaxBlocks) {
    if (image.status != Status::TooLarge || !image.bytes.empty()) abort();
    return 0;
  }
  if (image.status != Status::Ok || image.blocks != blocks || image.bytes.size() != blocks * kBlockBytes) abort();
  if (std::memcmp(image.bytes.data(), data, size) != 0) abort();
  for (size_t i = size; i < image.bytes.size(); ++i)
    if (image.bytes[i] != 0) abort();
  return 0;
}
