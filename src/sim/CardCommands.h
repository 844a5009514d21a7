#pragma once
// Where the fields of the DSP commands' parameter words land in the control LCA.
#include <cstddef>
#include <cstdint>

#include "card/ControlLca.h"
#include "card/zorix7dll.h"

namespace zorix7sim {

// `wordBits` bits from `wordFirst` of parameter word `word` go into the control-LCA field
// (register, first bit and width as in the register map); the upper bits of a wider field are
// cleared. Inverted: the field holds the opposite of the word's bit.
struct CommandLanding {
  DWORD code;
  int word;
  uint8_t wordFirst;
  uint8_t wordBits;
  lca::FieldId field;
  uint16_t reg;
  uint8_t regFirst;
  uint8_t regBits;
  bool inverted = false;
};
extern const CommandLanding kCommandLandings[];
extern const size_t kCommandLandingCount;

}  // namespace zorix7sim
