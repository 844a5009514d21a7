#pragma once
#include "params/ParameterSet.h"

// Bounds of randomly drawn parameters: minima and maxima in two parameter sets.
struct RandomLimits {
  ParameterSet min;
  ParameterSet max;
};

// The limits every run starts with; fields the draw does not use keep their values.
void SetRandomLimitDefaults(RandomLimits& limits);
