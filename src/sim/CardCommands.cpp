// DSP commands on a virtual card: accepted parameter words set up the control LCA, where the
// command dialogs read them back as their presets; "Reset" returns the control LCA to the
// bench's state; the SAP delay register.
#include <algorithm>

#include "card/ControlLca.h"
#include "card/DspCommands.h"
#include "sim/CardCommands.h"
#include "sim/CardModel.h"

namespace zorix7sim {

const CommandLanding kCommandLandings[] = {
    {dsp::kShot, 0, 4, 3, lca::fClock, lca::kCommand, 4, 3},
    {dsp::kShot, 0, 2, 2, lca::fMeasurement, lca::kTrigger, 2, 2},
    {dsp::kShot, 0, 12, 1, lca::fAverage, lca::kTrigger, 7, 1},
    {dsp::kShot, 0, 15, 1, lca::fIff, lca::kTrigger, 15, 1},
    {dsp::kShot, 0, 14, 1, lca::fDepthEnable, lca::kDepthComp, 14, 1},
    {dsp::kSender, 0, 0, 2, lca::fEnergy, lca::kSender, 0, 2},
    {dsp::kSender, 0, 8, 3, lca::fPulseWidth, lca::kSender, 8, 3},
    {dsp::kSender, 0, 15, 1, lca::fSperre, lca::kSender, 15, 1},
    {dsp::kInput, 0, 0, 2, lca::fSenderdaempfung, lca::kAnalog, 0, 2},
    {dsp::kInput, 0, 2, 2, lca::fEingangsdaempfung, lca::kAnalog, 2, 2},
    {dsp::kInput, 0, 8, 1, lca::fSE, lca::kAnalog, 8, 1},
    {dsp::kHwConfig, 0, 0, 3, lca::fFilter, lca::kAnalog, 12, 3},
    {dsp::kTrigger, 0, 0, 32, lca::fMaxSap, lca::kMaxSapLow, 0, 32},
    {dsp::kTrigger, 1, 0, 1, lca::fExtTrigger, lca::kTrigger, 0, 1, true},  // set: internal trigger
    {dsp::kTrigger, 1, 4, 2, lca::fTriggerOutput, lca::kTrigger, 4, 2},
    {dsp::kTrigger, 1, 8, 4, lca::fTriggerblende, lca::kTrigger, 8, 4},
    {dsp::kCount, 0, 0, 16, lca::fDelay, lca::kDelayLow, 0, 24},  // pre-run
    {dsp::kCount, 0, 16, 16, lca::fTime, lca::kTimeLow, 0, 20},   // recording length
};
const size_t kCommandLandingCount = std::size(kCommandLandings);

namespace {
constexpr dsp::Command kKnown[] = {
    dsp::kStart,          dsp::kStop,     dsp::kReset,   dsp::kOffset, dsp::kPowerDown, dsp::kPowerUp,
    dsp::kSysAttenuation, dsp::kSelfTest, dsp::kShot,    dsp::kSender, dsp::kInput,     dsp::kGain,
    dsp::kHwConfig,       dsp::kAverage,  dsp::kTrigger, dsp::kCount,  dsp::kAScan,     dsp::kSwConfig,
};

uint32_t Bits(DWORD word, unsigned first, unsigned count) {
  return count >= 32 ? word : (word >> first) & ((1u << count) - 1);
}

// Read-modify-write of a field that may continue in the register at reg + 2.
void WriteField(CardModel& card, uint16_t reg, unsigned first, unsigned count, uint32_t value) {
  const bool spans = first + count > 16;
  uint64_t current = card.ReadRegister(reg) & 0xFFFF;
  if (spans) current |= static_cast<uint64_t>(card.ReadRegister(reg + 2u) & 0xFFFF) << 16;
  const uint64_t mask = ((count >= 32 ? 0xFFFFFFFFull : (1ull << count) - 1)) << first;
  const uint64_t next = (current & ~mask) | ((static_cast<uint64_t>(value) << first) & mask);
  card.WriteRegister(reg, static_cast<DWORD>(next & 0xFFFF));
  if (spans) card.WriteRegister(reg + 2u, static_cast<DWORD>((next >> 16) & 0xFFFF));
}

// Settings the card has no setting for: a clock above "virtuell", measurement mode 3, a pulse
// width above 450 ns.
bool Refused(const CommandRecord& c) {
  if (c.code == dsp::kShot) return Bits(c.words[0], 4, 3) > 4 || Bits(c.words[0], 2, 2) == 3;
  if (c.code == dsp::kSender) return Bits(c.words[0], 8, 3) > 5;
  return false;
}

constexpr unsigned kPowerFirst = 7;  // "ADC Enable", "Primary On", "Sender On", "Secondary On", "ECL On"
constexpr unsigned kPowerBits = 5;
constexpr unsigned kMessungBit = 0;  // "Messung"
constexpr uint16_t kControlLcaFirst = 0x400, kControlLcaEnd = 0x440;
}  // namespace

DWORD CardModel::RunCommand(const CommandRecord& c) {
  if (InReset()) return kErrInReset;
  if (std::find(std::begin(kKnown), std::end(kKnown), c.code) == std::end(kKnown) ||
      dsp::ParameterWords(c.code) != c.wordCount)
    return kErrUnknownCommand;
  if (Refused(c)) return kErrBadParameter;
  switch (c.code) {
    case dsp::kReset:
      for (DWORD reg = kControlLcaFirst; reg < kControlLcaEnd; ++reg) m_registers.erase(reg);
      for (const auto& [reg, value] : m_spec.registers)
        if (reg >= kControlLcaFirst && reg < kControlLcaEnd) m_registers[reg] = value;
      warmedUp = false;
      break;
    case dsp::kPowerUp:
    case dsp::kPowerDown:
      analoguePowered = c.code == dsp::kPowerUp;
      WriteField(*this, lca::kCommand, kPowerFirst, kPowerBits, analoguePowered ? 0x1F : 0);
      break;
    case dsp::kStart:
    case dsp::kStop:
      WriteField(*this, lca::kCommand, kMessungBit, 1, c.code == dsp::kStart ? 1 : 0);
      break;
    case dsp::kTrigger: {
      // "einzeln" is single measurement in the trigger register; "Master" turns a single
      // measurement into the automatic one and leaves other modes.
      const uint32_t mode = Bits(ReadRegister(lca::kTrigger), 2, 2);
      if (c.words[1] & 0x1000)
        WriteField(*this, lca::kTrigger, 2, 2, 1);
      else if (mode == 1)
        WriteField(*this, lca::kTrigger, 2, 2, 2);
      break;
    }
    default:
      break;
  }
  for (const CommandLanding& l : kCommandLandings) {
    if (l.code != c.code) continue;
    uint32_t v = Bits(c.words[static_cast<size_t>(l.word)], l.wordFirst, l.wordBits);
    if (l.inverted) v ^= 1;
    WriteField(*this, l.reg, l.regFirst, l.regBits, v);
  }
  commandWords[c.code] = c;
  return 0;
}

std::array<float, 6> CardModel::Adc() const {
  std::array<float, 6> values = m_spec.adc;
  if (!analoguePowered) values[1] = values[2] = values[3] = 0;  // analogue +5 V, -5 V, high voltage
  return values;
}

void CardModel::SetSapDelay(WORD delay) {
  sapDelay = delay;
  WriteRegister(lca::kSapDelay, delay);
}

}  // namespace zorix7sim
