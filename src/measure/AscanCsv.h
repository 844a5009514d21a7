#pragma once
// An A-scan buffer as a CSV file: what the A-scan display and the data list save.
#include <cstddef>
#include <cstdint>
#include <string>

#include "measure/AscanCheck.h"

namespace measure {

// What a window knows of the buffer it shows and of the set that produced it.
struct AscanSource {
  const uint8_t* data = nullptr;
  size_t size = 0;         // time-stamp prefix included
  bool headed = false;     // ZORIX9 framing
  bool eightBit = false;   // plain framing with 8-bit samples
  uint8_t samplerate = 0;  // the set's Samplerate field
};

// The samples as the data list lists them: a headed block is not checked, its samples stop
// at the block's end or the data's end; packed blocks give at most 65536 samples.
AscanSamples listedSamples(const uint8_t* data, size_t size, bool headed, bool eightBit);

// "#" comment lines naming the set's parameters, the row "index;time_us;percent;adc" and one
// row per sample. Fields are separated by ';', numbers use '.' whatever the locale; adc is
// the sample / 64 for 16-bit samples and the byte itself for 8-bit samples.
std::string ascanCsv(const AscanSource& src);

}  // namespace measure
