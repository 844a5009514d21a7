#pragma once
// What both firmware fuzzers require of an image, whatever its format: no blocks means no
// recognised file, more than 255 blocks is refused with nothing loaded, otherwise whole blocks
// whose bytes behind `used` are zero. False: the image is refused, nothing more to check.
#include <cstdlib>

#include "diag/Firmware.h"

inline bool CheckImageShape(const firmware::Image& image, size_t blocks, size_t used) {
  using namespace firmware;
  if (blocks == 0) {
    if (image.status != Status::NoExtension) abort();
    return false;
  }
  if (blocks > kMaxBlocks) {
    if (image.status != Status::TooLarge || !image.bytes.empty()) abort();
    return false;
  }
  if (image.status != Status::Ok || image.blocks != blocks || image.bytes.size() != blocks * kBlockBytes) abort();
  for (size_t i = used; i < image.bytes.size(); ++i)
    if (image.bytes[i] != 0) abort();
  return true;
}
