#pragma once
// Gate result buffers as the lines of the gate values window.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "card/zorix7dll.h"
#include "measure/MeasureData.h"

namespace measure {

// Headed framing: GateRecords, each behind an optional time stamp and followed by an
// optional control word. "Ende Prüfzyklus %d" counts within this buffer from 1.
std::vector<std::string> headedResultLines(const uint8_t* data, size_t size);

// Plain framing: CompactGateRecords belonging in turn to the active sets 1..6. With none
// of them active only the byte count line is given.
std::vector<std::string> plainResultLines(const uint8_t* data, size_t size,
                                          const ActiveSetFlags& active);

// Chooses the framing like the gate values window does (headed = ZORIX9 mode).
std::vector<std::string> resultLines(const uint8_t* data, size_t size, bool headed,
                                     const ActiveSetFlags& active);

}  // namespace measure
