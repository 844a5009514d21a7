#include "card/DataLca.h"

#include <vector>

namespace datalca {
namespace {
using regmap::ChoiceField;
using regmap::Field;
using regmap::FlagField;
using regmap::Kind;
using regmap::NumberField;

constexpr bool R = false, RW = true;
const char* const kGateGroups[] = {"Blende 0", "Blende 1", "Blende 2", "Blende 3", "Blende 4"};
const char* const kCaptions[][4] = {
    {"", "", "Maximum 0", "Time 0"},
    {"Anfang 1", "Ende 1", "Maximum 1", "Time 1"},
    {"Anfang 2", "Ende 2", "Maximum 2", "Time 2"},
    {"Anfang 3", "Ende 3", "Maximum 3", "Time 3"},
    {"Anfang 4", "Ende 4", "Maximum 4", "Time 4"},
};

// A gate's limits are written and never read back; its results are read only.
void AddGate(std::vector<Field>& f, int gate) {
  const char* group = kGateGroups[gate];
  const uint16_t reg = GateRegister(gate);
  const auto next = static_cast<uint16_t>(reg + 2);
  if (gate != 0) {
    Field start = NumberField(group, kCaptions[gate][0], reg, 0, 16, RW);
    Field end = NumberField(group, kCaptions[gate][1], next, 0, 16, RW);
    start.readBack = end.readBack = false;
    f.push_back(start);
    f.push_back(end);
  }
  Field maximum = NumberField(group, kCaptions[gate][2], reg, 7, 8, R);
  maximum.scale = 2;  // (value AND 0x7F80) / 64
  f.push_back(maximum);
  f.push_back(NumberField(group, kCaptions[gate][3], next, 0, 16, R));
}

std::vector<Field> Build() {
  Field average = NumberField("Daten", "Average", kMode, 3, 3, RW);
  average.writeMax = 7;
  Field packing =
      ChoiceField("Daten", "Packen", kMode, 8, 2, {{"ungepackt", 0, 0}, {"2 x 8 Bit", 1, 1}, {"HF ZORIX9", 2, 2}});
  packing.otherValuesChoice = 0;  // 3 shows as "ungepackt"
  // The delay's upper byte shares 0x608 with the flags; the whole quotient is written there.
  Field delay = NumberField("Trigger", "Trigger-Delay", kTriggerDelayLow, 0, 24, RW, 32);
  delay.upperFirst = true;
  Field timer = NumberField("Trigger", "Timer", kTimerLow, 0, 24, R);
  timer.upperFirst = true;
  std::vector<Field> f = {
      {"", "LCA-ID", kId, 0, 16, Kind::HexText, R},
      FlagField("Daten", "FIFO 2", kMode, 0, RW),
      FlagField("Daten", "virtuell", kMode, 1, RW),
      FlagField("Daten", "Addition", kMode, 2, RW),
      average,
      FlagField("Daten", "Clock/16", kMode, 6, RW),
      packing,
      FlagField("Daten", "Clock extern", kMode, 10, RW),
      FlagField("Daten", "F-Mode", kMode, 11, RW),
      FlagField("Daten", "ZORIX9", kMode, 12, RW),
      FlagField("Daten", "no Reset", kMode, 13, RW),
      ChoiceField("Daten", "Gleichrichtung", kMode, 14, 2,
                  {{"HF", 0, 0}, {"positiv", 1, 1}, {"negativ", 2, 2}, {"Voll", 3, 3}}),
      NumberField("Daten", "ASCAN-Faktor", kAscanFactor, 0, 8, RW, 16),
      delay,
      FlagField("Trigger", "25ns (1µs)", kTriggerDelayHigh, 12, RW),
      FlagField("Trigger", "Input Low", kTriggerDelayHigh, 14, RW),
      FlagField("Trigger", "Output Low", kTriggerDelayHigh, 15, RW),
      timer,
  };
  for (int gate : {1, 2, 3, 4, 0}) AddGate(f, gate);
  return f;
}
}  // namespace

std::span<const regmap::Field> DataLcaFields() {
  static const std::vector<Field> fields = Build();
  return fields;
}

}  // namespace datalca
