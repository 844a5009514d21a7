#include "commands/CommandWords.h"

#include <cmath>
#include <vector>

namespace cmd {
namespace {
uint32_t Value(lca::FieldId id, const regmap::Registers& regs) {
  return regmap::Decode(lca::ControlLcaField(id), regs);
}

// The field's bits as a number, whatever buttons the register view gives them.
uint32_t Raw(lca::FieldId id, const regmap::Registers& regs) {
  regmap::Field f = lca::ControlLcaField(id);
  f.kind = regmap::Kind::Number;
  return regmap::Decode(f, regs);
}

int ChoiceIndex(uint32_t value, int buttons) {
  return value < static_cast<uint32_t>(buttons) ? static_cast<int>(value) : -1;
}

// Pulse widths by code (25 ns ... 450 ns) are listed from the widest down.
constexpr int kPulseWidths = 6;
}  // namespace

regmap::Registers ReadPresetRegisters(std::span<const lca::FieldId> ids, const regmap::ReadFn& read) {
  std::vector<regmap::Field> fields;
  for (lca::FieldId id : ids) fields.push_back(lca::ControlLcaField(id));
  return regmap::ReadAll(fields, read);
}

ShotFields ShotPreset(const regmap::Registers& regs) {
  ShotFields f;
  f.scan = 0;
  f.clock = ChoiceIndex(Value(lca::fClock, regs), 5);  // 5-7 read as "virtuell"
  f.measurement = ChoiceIndex(Raw(lca::fMeasurement, regs), 3);
  f.average = Value(lca::fAverage, regs) != 0;
  f.iff = Value(lca::fIff, regs) != 0;
  f.ta = Value(lca::fDepthEnable, regs) != 0;
  return f;
}

DWORD ComposeShot(const ShotFields& f) {
  DWORD w = 0;
  if (f.scan != 1) w += 1;
  if (f.scan != 0) w += 2;
  if (f.measurement == 1) w += 4;
  if (f.measurement == 2) w += 8;
  if (f.clock >= 1 && f.clock <= 4) w += 0x10 * static_cast<DWORD>(f.clock);
  if (f.average) w += 0x1000;
  if (f.bit8) w += 0x2000;
  if (f.ta) w += 0x4000;
  if (f.iff) w += 0x8000;
  return w;
}

SenderFields SenderPreset(const regmap::Registers& regs) {
  SenderFields f;
  f.energy = ChoiceIndex(Value(lca::fEnergy, regs), 4);
  const int code = ChoiceIndex(Value(lca::fPulseWidth, regs), kPulseWidths);
  f.pulseWidth = code < 0 ? -1 : kPulseWidths - 1 - code;
  f.sperre = Value(lca::fSperre, regs) != 0;
  return f;
}

DWORD ComposeSender(const SenderFields& f) {
  DWORD w = 0;
  if (f.energy >= 1 && f.energy <= 3) w += static_cast<DWORD>(f.energy);
  if (f.pulseWidth >= 0 && f.pulseWidth < kPulseWidths)
    w += 0x100 * static_cast<DWORD>(kPulseWidths - 1 - f.pulseWidth);
  if (f.sperre) w += 0x8000;
  return w;
}

InputFields InputPreset(const regmap::Registers& regs) {
  return {Value(lca::fSenderdaempfung, regs), Value(lca::fEingangsdaempfung, regs), Value(lca::fSE, regs) != 0};
}

DWORD ComposeInput(const InputFields& f) {
  return (f.senderDaempfung & 3) + (f.eingangsDaempfung & 3) * 4 + (f.se ? 0x100 : 0);
}

UINT FilterPreset(const regmap::Registers& regs) { return Value(lca::fFilter, regs); }

std::optional<DWORD> ComposeGain(float dB) {
  const double whole = std::trunc(static_cast<double>(dB));
  if (!(whole >= 0.0 && whole <= kMaxGainDb)) return std::nullopt;
  return static_cast<DWORD>(whole) * 10;
}

DWORD ComposeAScan(const AScanFields& f) {
  DWORD w = f.zusammenfassung * 256;
  if (f.rectification >= 0 && f.rectification <= 2) w += static_cast<DWORD>(f.rectification) + 1;
  return w;
}

CountFields CountPreset(const regmap::Registers& regs) {
  return {Value(lca::fDelay, regs), Value(lca::fTime, regs), 0};
}

std::array<DWORD, 2> ComposeCount(const CountFields& f) { return {f.aufnahme * 65536 + f.vorlauf, f.delay}; }

TriggerFields TriggerPreset(const regmap::Registers& regs) {
  TriggerFields f;
  f.external = Value(lca::fExtTrigger, regs) != 0;
  f.mode = Raw(lca::fMeasurement, regs) == 1 ? 1 : 0;
  f.output = ChoiceIndex(Value(lca::fTriggerOutput, regs), 4);
  f.triggerblende = Value(lca::fTriggerblende, regs);
  f.maxSap = Value(lca::fMaxSap, regs);
  return f;
}

std::array<DWORD, 2> ComposeTrigger(const TriggerFields& f) {
  DWORD w = f.external ? 0 : 1;
  if (f.output >= 1 && f.output <= 3) w += 0x10 * static_cast<DWORD>(f.output);
  w += (f.triggerblende & 15) * 256;
  if (f.mode == 1) w += 0x1000;
  return {f.maxSap, w};
}

}  // namespace cmd
