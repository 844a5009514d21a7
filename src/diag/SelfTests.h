#pragma once
// The thirteen self-tests of the DSP as the self-test dialog offers them.
#include <cstdint>
#include <span>

namespace diag {

struct SelfTestInfo {
  const char* caption;  // beside the button "Test n"
  const char* text;     // start of the result text
  uint32_t mask;        // selector word of the self-test command
  const char* key;      // key in section "Selbstest"
  // Ticked when the configuration says nothing: the DAC test needs someone watching the ramps,
  // so an unattended run on good cards passes.
  bool tickedByDefault;
};
std::span<const SelfTestInfo> SelfTests();

inline constexpr const char* kSelfTestSection = "Selbstest";
inline constexpr const char* kZyklischKey = "zyklisch";
// Reads of the PCI-FIFO before a FIFO that never runs empty fails test 0.
inline constexpr int kFifoDrainLimit = 4096;

}  // namespace diag
