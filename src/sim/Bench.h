#pragma once
// The bench: which virtual cards exist, how each is set up, which faults are armed.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/CardModel.h"

namespace zorix7sim {

struct BenchSpec {
  std::vector<CardSpec> cards;  // ascending card numbers
  std::vector<Fault> faults;
};

// Two ZORIX7F cards, numbers 1 and 2.
BenchSpec BuiltInBench();

// Parses a bench file's text; on failure returns nothing and leaves one message naming
// the file (name), the line and the problem in error.
std::optional<BenchSpec> ParseBench(std::string_view text, const std::string& name, std::string& error);

// Reads and parses a bench file; an unreadable file is reported like a malformed one.
std::optional<BenchSpec> ReadBenchFile(const std::string& path, std::string& error);

}  // namespace zorix7sim
