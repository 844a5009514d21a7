#pragma once
#include "params/ParameterSet.h"

// Bounds of randomly drawn parameters: minima and maxima in two parameter sets.
struct RandomLimits {
  ParameterSet min;
  ParameterSet max;
};

// The limits every run starts with; fields the draw does not use keep their values.
void SetRandomLimitDefaults(RandomLimits& limits);

// Overwrites the drawn fields of a block the caller has built, from the C library's rand()
// in a fixed order, so each program run draws the same sequence. A draw between a minimum
// and a maximum below it gives the minimum (rand() is still called, so later fields draw
// as they would otherwise).
void DrawRandomParamBlock(const RandomLimits& limits, ParamBlock& block);

// Positions are multiples of the sample rate's divisor: the mask of a drawn Samplerate code.
WORD RandomPositionMask(BYTE samplerate);
