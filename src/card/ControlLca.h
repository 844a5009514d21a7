#pragma once
// The control LCA of the ZORIX7F card: register addresses (shared with the virtual cards) and
// its register map, read by the register view and by the command dialogs' presets.
#include <cstdint>
#include <span>

#include "card/RegisterMap.h"

namespace lca {

enum Register : uint16_t {
  kId = 0x400,
  kCommand = 0x402,
  kStatus = 0x404,
  kAnalog = 0x406,
  kDelayLow = 0x408,
  kDelayHigh = 0x40A,
  kTimeLow = 0x40C,
  kTimeHigh = 0x40E,
  kTrigger = 0x410,
  kMaxSapLow = 0x412,
  kMaxSapHigh = 0x414,
  kDepthComp = 0x416,
  kDepthDelayLow = 0x418,
  kDepthDelayHigh = 0x41A,
  kDepthPeriodLow = 0x41C,
  kDepthPeriodHigh = 0x41E,
  kFifoControl = 0x420,
  kFifoStatus = 0x422,
  kAfTest = 0x424,
  kSender = 0x428,
  kEsbTime = 0x42A,
  kEsbLevel = 0x42C,
  kEsbDelay = 0x42E,
  kGateB0 = 0x430,
  kGateB0Time = 0x432,
  kVorlauf = 0x434,
  kSapDelay = 0x436,
};

// Fields of the map in table order; the index of each field in ControlLcaFields().
enum FieldId : int {
  fLcaId,
  fMessung, fReset, fStart, fResetError, fClock, fAdcEnable, fPrimaryOn, fSenderOn, fSecondaryOn, fEclOn,
  fTriggerCounter, fErrorTrigger, fErrorTriggerInput, fAufnahme, fDelayStatus, fWaitSap, fWaitTrigger,
  fSenderdaempfung, fEingangsdaempfung, fSE, fFilter, fInputMode,
  fVorlauf,
  fDelay, fTime,
  fExtTrigger, fSapDirekt, fMeasurement, fTriggerOutput, fEinzeltrigger, fAverage, fTriggerblende, fIff,
  fMaxSap,
  fSapDelay,
  fStuetzstellen, fDepthEnable, fDepthDelay, fDepthPeriod,
  fResetAufnahme, fResetSammler, fAfWen, fTestgenerator, fDisableAfWen,
  fDsEmpty, fDsFull, fDs1WriteError, fDs2WriteError, fDsReadError, fAfEmpty, fAfFull, fAfWriteError, fAfReadError,
  fAfTest,
  fEnergy, fPulseWidth, fSperreAux, fClock16, fSperre,
  fEsbTime,
  fEsbLevel, fEsbAlways, fEsbRelativ, fEsbEnable,
  fEsbDelay,
  kFieldCount
};

std::span<const regmap::Field> ControlLcaFields();
inline const regmap::Field& ControlLcaField(FieldId id) { return ControlLcaFields()[static_cast<size_t>(id)]; }

// The status flags that report a fault of the measurement hardware, in the order they are checked.
std::span<const FieldId> ControlLcaErrorFlags();

}  // namespace lca
