#pragma once
// The data LCA of the ZORIX7F card: register addresses (shared with the virtual cards) and its
// register map. Gate limits are written to the addresses the gate results are read from.
#include <cstdint>
#include <span>

#include "card/ControlLca.h"
#include "card/RegisterMap.h"

namespace datalca {

enum Register : uint16_t {
  kId = 0x600,
  kMode = 0x602,
  kAscanFactor = 0x604,
  kTriggerDelayLow = 0x606,
  kTriggerDelayHigh = 0x608,  // also the trigger flags
  kTimerLow = 0x60A,
  kTimerHigh = 0x60C,
  kGate1 = 0x610,  // gate g (1..4): limits and results at kGate1 + 4 * (g - 1), time or end 2 further
  kGate4End = 0x61E,
};
constexpr int kGates = 5;  // gate 0 reads at the control LCA's 0x430/0x432
// Register of a gate's maximum (start limit when written); the time (end limit) is the next one.
constexpr uint16_t GateRegister(int gate) {
  return gate == 0 ? uint16_t{lca::kGateB0} : static_cast<uint16_t>(kGate1 + 4 * (gate - 1));
}
// A gate result register holds the maximum in bits 7-14; the view shows twice that.
constexpr uint16_t kMaximumBits = 0x7F80;

// clang-format off
enum FieldId : int {
  fLcaId,
  fFifo2, fVirtuell, fAddition, fAverage, fClock16, fPacking, fClockExtern, fFMode, fZorix9, fNoReset,
  fRectification,
  fAscanFactor,
  fTriggerDelay, f25ns, fInputLow, fOutputLow,
  fTimer,
  fStart1, fEnd1, fMaximum1, fTime1,
  fStart2, fEnd2, fMaximum2, fTime2,
  fStart3, fEnd3, fMaximum3, fTime3,
  fStart4, fEnd4, fMaximum4, fTime4,
  fMaximum0, fTime0,
  kFieldCount
};
// clang-format on

std::span<const regmap::Field> DataLcaFields();
inline const regmap::Field& DataLcaField(FieldId id) { return DataLcaFields()[static_cast<size_t>(id)]; }

}  // namespace datalca
