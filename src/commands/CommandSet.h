#pragma once
// The command dialog's view of the DSP command set: buttons, reply lines, the words the dialog
// starts with and the chain of the automatic command check.
#include <array>
#include <span>

#include "card/DspCommands.h"
#include "platform/CString.h"
#include "platform/WinTypes.h"

namespace cmd {

struct CommandInfo {
  dsp::Command code;
  const char* prefix;  // reply line prefix, trailing blank included
  const char* button;
  const char* caption;  // the text beside the button
};

// Every command with a button, plain commands first, in the order of the dialog.
std::span<const CommandInfo> CommandTable();
const CommandInfo* FindCommand(dsp::Command code);
inline bool IsPlain(dsp::Command code) { return dsp::ParameterWords(code) == 0; }

// prefix + "OK", or prefix + "Error %X" with the error word.
CString ReplyLine(const char* prefix, bool ok, DWORD error);

struct CommandWords {
  dsp::Command code;
  std::array<DWORD, 2> words;
};
// The words each parameterised command holds when the dialog opens; "default" sends them in
// this order.
std::span<const CommandWords> DefaultWords();

// Reset polls of "Reset All": 10 ms apart, at most 1000.
inline constexpr int kResetPollLimit = 1000;
inline constexpr DWORD kResetPollMs = 10;
// "Reset Error" when the first poll already saw the card out of reset; else "Reset OK nach %d ms".
CString ResetLine(int polls);

struct ChainStep {
  const char* label;
  dsp::Command code;
  bool warmUp;  // the card is warmed up again after the command
};
// The automatic command check: each step only after the one before succeeded.
std::span<const ChainStep> AutomaticChain();
// label + "Command Error"; the error word goes to the reports beside the line.
CString ChainFailure(const char* label);

// The ADC readout: temperature, analogue +5 V, analogue -5 V, high voltage, digital -5 V,
// ADC reference.
CString AdcText(const std::array<float, 6>& values);

}  // namespace cmd
