#pragma once
// What the gates dialog edits of a parameter set, in samples, microseconds or millimetres,
// and the card's gate readout as the dialog shows it.
#include "card/CardConstants.h"
#include "card/zorix7dll.h"
#include "params/ParameterSet.h"
#include "platform/CString.h"

namespace gates {

// The gates dialog's own table from the low 4 bits of Samplerate: sample period and the grid
// gates 1 to 4 are kept on (in samples).
struct Timing {
  float samplePeriodUs;
  int granularity;
};
Timing TimingFor(BYTE samplerate);

enum class Unit { Samples, Us, Mm };
inline constexpr float kDefaultVelocity = 5920.0f;  // m/s
// 1 for samples and µs; for mm the sound path there and back: velocity / 2000.
float UnitFactor(Unit unit, float velocity);

struct GateEdit {
  float begin[kGatesPerSet] = {};
  float end[kGatesPerSet] = {};
  float esbTime = 0;
  int threshold[kGatesPerSet] = {};  // as shown: stored / 4
  int level = 0;                     // as shown: stored / 4
  BOOL relativ = FALSE;
  BOOL always = FALSE;
  BOOL enable[kGatesPerSet] = {};
};
// Positions in samples.
GateEdit LoadGateEdit(const ParameterSet& set);
// Positions must be in samples; they are truncated (below 0 counts 0), thresholds and level
// stored x 4 in 16 bits.
void StoreGateEdit(const GateEdit& edit, ParameterSet& set);

// step = sample period x unit factor (> 0).
void PositionsToUnit(GateEdit& edit, float step);
// Back to samples: echo-start time and gate 0 to the nearest sample, gates 1 to 4 to the
// nearest multiple of the granularity.
void PositionsToSamples(GateEdit& edit, float step, int granularity);

struct ReadoutTexts {
  CString delay;
  CString time[kGatesPerSet];
  CString maximum[kGatesPerSet];
};
// Times in samples ("%d"), or in the unit ("%f" of the samples x step); maxima raw >> 2 with
// "^" for a marked gate.
ReadoutTexts ReadoutText(const GateReadout& readout, bool inSamples, float step);

}  // namespace gates
