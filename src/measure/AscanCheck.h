#pragma once
// The A-scan display's view of a buffer: the header check of headed framing, its caption
// lines, and the samples to draw.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace measure {

struct AscanHeaderCheck {
  bool ok = false;
  std::string error;     // text for the "Anzeige" box when !ok
  std::string caption;   // "%u: (%u) %u Bytes 0x%X, Kennung %d" when ok
  std::string timeLine;  // "Zeit %u" when ok and the time stamp is nonzero, else empty
  uint8_t type = 0;
  int16_t kennung = 0;
  uint32_t blockLength = 0;
  bool timeStamped = false;
  uint32_t timeStamp = 0;
  size_t blockOffset = 0;   // 8 behind a time stamp, else 0
  size_t sampleOffset = 0;  // first sample byte, from the start of the data
  size_t sampleBytes = 0;   // sample bytes to draw (block limited to 0x20000 bytes)
};

// Checks a headed buffer of `size` bytes (the expected total, time stamp included).
AscanHeaderCheck checkAscanHeader(const uint8_t* data, size_t size, unsigned sequence);

// Plain-framing caption "%u: %u Bytes".
std::string plainAscanCaption(unsigned sequence, size_t size);

// Samples as the trace draws them. eightBit: values are signed bytes (y = M - s*H/256);
// otherwise 16-bit samples (y = M - (s/256)*H/256).
struct AscanSamples {
  std::vector<int16_t> values;
  bool eightBit = false;
};

AscanSamples plainAscanSamples(const uint8_t* data, size_t size, bool eightBit);
// Samples of a headed buffer that passed checkAscanHeader; none when it failed.
AscanSamples headedAscanSamples(const uint8_t* data, size_t size, const AscanHeaderCheck& check);

}  // namespace measure
