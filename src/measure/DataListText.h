#pragma once
// An A-scan buffer as the sample listing of the data list window.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace measure {

// headed: ZORIX9 framing (one block, optional time stamp, optional trailing control
// word); otherwise bare samples, 8-bit when eightBit is set. The time per sample comes
// from the low three bits of samplerate. Sample lines stop at the end of the data even
// when the block length claims more; packed blocks give at most 65536 samples.
std::vector<std::string> dataListLines(const uint8_t* data, size_t size, bool headed,
                                       bool eightBit, uint8_t samplerate);

// One sample line of 16-bit data: value is what the value column shows (the sample
// itself in plain framing, its ADC count in headed framing).
std::string sampleLine16(size_t index, double dt, int16_t s, int value);
std::string sampleLine8(size_t index, double dt, int8_t b);

}  // namespace measure
