#pragma once
// Sizes every part of the program and the virtual cards agree on.
#include <cstddef>
#include <cstdint>

constexpr int kMaxCards = 16;          // card numbers 1..16
constexpr int kSetsPerCard = 8;        // parameter sets 0..7
constexpr int kGatesPerSet = 5;        // gates of a parameter block
constexpr uint32_t kDataBufferBytes = 0x20000;  // the measurement buffer shared by the runs
