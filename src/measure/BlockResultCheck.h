#pragma once
// The block measurement's check of one headed result buffer against the gate limits of
// the set each record names.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/WinTypes.h"

namespace measure {

// Limits of gates B0..B4 of one set; the check uses B1..B4. The enable flags are for the
// caller's "result gates present" decision: the check looks at each slot's own flag.
struct GateLimits {
  uint32_t start[5] = {};
  uint32_t end[5] = {};
  BOOL enable[5] = {};
};

enum class BlockCheckStatus {
  Ok,
  NoGates,       // "Keine Blenden! Kennung %X": the loop ends
  WrongKennung,  // "Falsche Kennung %d": go on with the next cycle
  GateFailed,    // "Block %d Satz %d B%d %d - %d - %d ": the run fails
};

struct BlockCheckResult {
  BlockCheckStatus status = BlockCheckStatus::Ok;
  std::string text;       // empty for Ok
  size_t bytesWalked = 0; // position reached (the failing record's start on failure)
  int records = 0;        // records looked at, the failing one included
};

// cycle: the loop's cycle number c (shown as c + 1). ident: the card's ZorixIdent of sets
// 0..7 (sets 1..7 take part). limits: the gate limits of sets 0..7.
BlockCheckResult checkBlockResults(const uint8_t* data, size_t size, int cycle,
                                   const int16_t ident[8], const GateLimits limits[8]);

}  // namespace measure
