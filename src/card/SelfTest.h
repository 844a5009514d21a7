#pragma once
// The DSP's built-in self-tests as the card offers them: the selector mask of the self-test
// command (bit n = test n) and the PCI-FIFO that test 0 fills with a pattern. Shared by the
// self-test dialog and the virtual cards.
#include <cstdint>

namespace selftest {
constexpr int kTests = 13;  // tests 0..12
constexpr uint32_t Mask(int test) { return uint32_t{1} << test; }
constexpr int kDacTest = 9;
// The DAC test runs its ramps while this bit accompanies its own bit, and stops without it.
constexpr uint32_t kDacRampsOn = 0x80000000u;

// Register of the PCI-FIFO's data word, and the register whose bit says the FIFO is empty.
constexpr uint32_t kPciFifoData = 0x20;
constexpr uint32_t kPciFifoStatus = 0x3C;
constexpr uint32_t kPciFifoEmpty = 0x20;

// Test 0 sends these words twice over.
constexpr int kPatternWords = 8;
constexpr uint32_t kPattern[4] = {0x55555555u, 0xAAAAAAAAu, 0xFFFFFFFFu, 0x00000000u};
constexpr uint32_t PatternWord(int i) { return kPattern[i % 4]; }
}  // namespace selftest
