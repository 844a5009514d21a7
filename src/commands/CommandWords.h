#pragma once
// The fields of the command parameter dialogs: presets from the control-LCA registers and the
// parameter words composed from them. Radio choices are indices in the order of the dialog's
// buttons, -1 when none is selected.
#include <array>
#include <optional>
#include <span>

#include "card/ControlLca.h"
#include "card/RegisterMap.h"
#include "platform/WinTypes.h"

namespace cmd {

// Reads the registers the fields lie in, each once.
regmap::Registers ReadPresetRegisters(std::span<const lca::FieldId> fields, const regmap::ReadFn& read);

struct ShotFields {
  int measurement = -1;  // "keine Messung", "Einzelmessung", "automatisch"
  int scan = -1;         // "A-Scan", "HF"
  int clock = -1;        // "1/1 Clock", "1/2 Clock", "1/4 Clock", "1/8 Clock", "virtuell"
  bool average = false, bit8 = false, ta = false, iff = false;
};
inline constexpr lca::FieldId kShotPresets[] = {lca::fClock, lca::fMeasurement, lca::fAverage, lca::fIff,
                                                lca::fDepthEnable};
ShotFields ShotPreset(const regmap::Registers& regs);
DWORD ComposeShot(const ShotFields& f);

struct SenderFields {
  int pulseWidth = -1;  // "450 ns", "250 ns", "150 ns", "100 ns", "50 ns", "25 ns"
  int energy = -1;      // "Energie 1" ... "Energie 4"
  bool sperre = false;
};
inline constexpr lca::FieldId kSenderPresets[] = {lca::fEnergy, lca::fPulseWidth, lca::fSperre};
SenderFields SenderPreset(const regmap::Registers& regs);
DWORD ComposeSender(const SenderFields& f);

struct InputFields {
  UINT senderDaempfung = 0;
  UINT eingangsDaempfung = 0;
  bool se = false;
};
inline constexpr lca::FieldId kInputPresets[] = {lca::fSenderdaempfung, lca::fEingangsdaempfung, lca::fSE};
InputFields InputPreset(const regmap::Registers& regs);
DWORD ComposeInput(const InputFields& f);

inline constexpr lca::FieldId kHwConfigPresets[] = {lca::fFilter};
UINT FilterPreset(const regmap::Registers& regs);

// Tenths of a dB from the whole-dB part (20.7 dB gives 200); nullopt for a gain below 0 or one
// whose word would not fit 32 bits.
std::optional<DWORD> ComposeGain(float dB);
inline constexpr double kMaxGainDb = 429496729.0;

struct AScanFields {
  int rectification = -1;  // "positiv", "negativ", "Vollweg", "HF"
  UINT zusammenfassung = 0;
};
DWORD ComposeAScan(const AScanFields& f);

struct CountFields {
  UINT vorlauf = 0;
  UINT aufnahme = 0;
  UINT delay = 0;
};
inline constexpr lca::FieldId kCountPresets[] = {lca::fDelay, lca::fTime};
CountFields CountPreset(const regmap::Registers& regs);
std::array<DWORD, 2> ComposeCount(const CountFields& f);

struct TriggerFields {
  int mode = -1;    // "Master", "einzeln"
  int output = -1;  // "bei Start", "bei Stop", "SAP einzeln", "ext. Ausgang"
  bool external = false;
  UINT triggerblende = 0;
  UINT maxSap = 0;
};
inline constexpr lca::FieldId kTriggerPresets[] = {lca::fExtTrigger, lca::fMeasurement, lca::fTriggerOutput,
                                                   lca::fTriggerblende, lca::fMaxSap};
TriggerFields TriggerPreset(const regmap::Registers& regs);
std::array<DWORD, 2> ComposeTrigger(const TriggerFields& f);

}  // namespace cmd
