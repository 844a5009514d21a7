#pragma once
// The DSP command set: bits 10-15 the command number, bits 0-9 the number of 32-bit parameter
// words that follow. Shared by the command dialog, the self-test and the virtual cards.
#include <cstdint>

namespace dsp {
enum Command : uint32_t {
  kStart = 0x0400,
  kStop = 0x0800,
  kReset = 0x0C00,
  kOffset = 0x1000,
  kPowerDown = 0x1400,
  kPowerUp = 0x1800,
  kSysAttenuation = 0x1C00,
  kSelfTest = 0x4001,
  kShot = 0x4401,
  kSender = 0x4801,
  kInput = 0x4C01,
  kGain = 0x5001,
  kHwConfig = 0x5401,
  kAverage = 0x5801,
  kTrigger = 0x5C02,
  kCount = 0x6002,
  kAScan = 0x6801,
  kSwConfig = 0x6C01,
};
constexpr unsigned ParameterWords(uint32_t code) { return code & 0x3FF; }
constexpr unsigned CommandNumber(uint32_t code) { return (code >> 10) & 0x3F; }
}  // namespace dsp
