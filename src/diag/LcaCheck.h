#pragma once
// The automatic checks of the control and data LCA: read the registers, report the first fault.
#include <cstdint>
#include <string>

#include "card/RegisterMap.h"

namespace diag {

// An LCA that is not loaded or not there reads all zeros or all ones.
bool IsLcaIdValid(uint16_t id);

// "OK", or why not: an invalid ID, else the caption of the first error flag that is set.
bool CheckControlLca(const regmap::ReadFn& read, std::string& text);
// "OK", or the invalid ID.
bool CheckDataLca(const regmap::ReadFn& read, std::string& text);

}  // namespace diag
