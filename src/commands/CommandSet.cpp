#include "commands/CommandSet.h"

#include <algorithm>

namespace cmd {
namespace {
using namespace dsp;

constexpr CommandInfo kCommands[] = {
    {kStart, "Start Messung: ", "Start", "Messung starten"},
    {kStop, "Stop Messung: ", "Stop", "Messung stoppen"},
    {kReset, "Reset: ", "Reset", "Reset LCA"},
    {kOffset, "Offset: ", "Offset", "Offset abgleichen"},
    {kPowerDown, "Power Down: ", "Power Down", "Karte abschalten"},
    {kPowerUp, "Power Up: ", "Power Up", "Karte anschalten"},
    {kSysAttenuation, "Sys Attenuation: ", "Attenuation", "Dämpfung feststellen"},
    {kShot, "Shot: ", "Shot", "TA, HF/A-Scan ..."},
    {kSender, "Sender: ", "Sender", "Energie, Sperren"},
    {kInput, "Input: ", "Input", "IE/SE, Dämpfung"},
    {kGain, "Gain: ", "Gain", "Verstärkung"},
    {kHwConfig, "HW Config: ", "HW-Config", "Filter"},
    {kAverage, "Average: ", "Average", "Werte für Averaging"},
    {kTrigger, "Trigger: ", "Trigger", "IFF, Trigger"},
    {kCount, "Count: ", "Count", "PK-Vorlauf, Delay"},
    {kAScan, "AScan: ", "A-Scan", "Zusammenfassung"},
    {kSwConfig, "SW Config: ", "SW Config", "Rückmeldelevel"},
};

constexpr CommandWords kDefaults[] = {
    {kShot, {5, 0}},    {kSender, {0x300, 0}},  {kInput, {4, 0}},         {kGain, {200, 0}}, {kHwConfig, {0, 0}},
    {kAverage, {0, 0}}, {kTrigger, {20000, 0}}, {kCount, {0x3E800A0, 0}}, {kAScan, {0, 0}},  {kSwConfig, {0, 0}},
};

constexpr ChainStep kChain[] = {
    {"Reset: ", kReset, true},        {"Power Up: ", kPowerUp, false},
    {"Offset: ", kOffset, false},     {"Sys Attenuation: ", kSysAttenuation, false},
    {"Shot: ", kShot, false},         {"Start Messung: ", kStart, false},
    {"Stop Messung: ", kStop, false}, {"Power Down: ", kPowerDown, false},
};
}  // namespace

std::span<const CommandInfo> CommandTable() { return kCommands; }

const CommandInfo* FindCommand(dsp::Command code) {
  auto it =
      std::find_if(std::begin(kCommands), std::end(kCommands), [code](const CommandInfo& c) { return c.code == code; });
  return it == std::end(kCommands) ? nullptr : it;
}

CString ReplyLine(const char* prefix, bool ok, DWORD error) {
  return ok ? CString(prefix) + "OK" : CString(prefix) + CString::Formatted("Error %X", error);
}

std::span<const CommandWords> DefaultWords() { return kDefaults; }

CString ResetLine(int polls) {
  if (polls == 0) return "Reset Error";
  return CString::Formatted("Reset OK nach %d ms", polls * static_cast<int>(kResetPollMs));
}

std::span<const ChainStep> AutomaticChain() { return kChain; }

CString ChainFailure(const char* label) { return CString(label) + "Command Error"; }

CString AdcText(const std::array<float, 6>& v) {
  return CString::Formatted(
      "Temperatur = %4.2f °C\n\n Analogteil\n\n +5V = +%4.2f V\n -5V  = -%4.2f V\n HS  = %4.0f V\n\nDigitalteil\n\n"
      " -5V = -%4.2f V\n\nADC-Referenz = %4.2f V",
      static_cast<double>(v[0]), static_cast<double>(v[1]), static_cast<double>(v[2]), static_cast<double>(v[3]),
      static_cast<double>(v[4]), static_cast<double>(v[5]));
}

}  // namespace cmd
