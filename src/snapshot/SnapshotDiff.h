#pragma once
// Where two cards' states differ, field by field, grouped by area; fields that differ on every
// card by nature (serial number, addresses the PC assigns, timers) are left out unless asked.
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "snapshot/CardSnapshot.h"

namespace snapshot {

struct Difference {
  Area area;
  std::string name;
  std::optional<Entry> a, b;  // nullopt: the field is on that side only
};

struct NatureRule {
  Area area;
  const char* name;
  bool beforeBlank;  // compared only up to its first blank, not left out
  const char* why;
};
std::span<const NatureRule> NatureRules();
// One line per rule, for --help.
std::string NatureRulesText();

// Fields are matched by area and name; the result is grouped by area in the file's order.
std::vector<Difference> Compare(const CardState& a, const CardState& b, bool all);

std::string CardTitle(const CardState& card);
// An area's name on a line of its own, then one line per difference:
// "  name: shown A | shown B (roh raw A | raw B)", the raw values only where they differ from the
// shown ones; "fehlt" for a side without the field.
std::vector<std::string> DifferenceLines(const std::vector<Difference>& differences);

}  // namespace snapshot
