#pragma once
// What the virtual probe sees: a plate with a back wall and one flaw, turned into the
// noise-free signal of one prepared set and the gate results it gives. Everything here
// depends only on the specimen and the set's block, so a card computes it once per
// preparation and every shot reuses it; shots only add noise (Shots.h).
#include <cstdint>
#include <vector>

#include "card/zorix7dll.h"

namespace zorix7sim {

// Amplitudes are percent of full scale at the reference gain of 20 dB (Verstaerkung 200).
struct SpecimenSpec {
  double velocity = 5920;         // m/s
  double thickness = 47.5;        // mm; first back wall at 16.05 us
  double flawDepth = 26;          // mm, 0 = no flaw
  double flawAmplitude = 55;      // %
  double backWallAmplitude = 80;  // %, first back-wall echo
  double attenuation = 0.04;      // dB per mm of further sound path (back-wall multiples)
  double frequency = 4;           // probe frequency, MHz
  double transmitPulse = 200;     // %, saturates the receiver for the first half waves
  double noise = 1.0;             // %, rms of one shot
};

// Microseconds per sample by the low four bits of the Samplerate field.
double SamplePeriodMicroseconds(BYTE samplerate);

// Clipped to 16 bits and rectified: 0 HF, 1 positive half, 2 negative half (shown
// upright), 3 full wave. Inline, so that a shot's loop over its samples vectorises.
inline int32_t RectifiedSample(int32_t x, BYTE rectification) {
  x = x < -32768 ? -32768 : x > 32767 ? 32767 : x;
  switch (rectification & 3) {
    case 1: return x > 0 ? x : 0;
    case 2: return x < 0 ? (-x < 32767 ? -x : 32767) : 0;  // shown upright, like the other halves
    case 3: return x < 0 ? (-x < 32767 ? -x : 32767) : x;
    default: return x;
  }
}

// The block of a set the card never had prepared: what it measures after power-on.
ParamBlock DefaultParamBlock();

struct GateResult {
  bool crossed = false;
  int64_t position = 0;  // first threshold crossing, samples on the gate scale
  uint16_t value = 0;    // peak 0..1023 (full scale 1024)
  bool marker = false;   // the peak reached the ADC limit
};

struct SetResponse {
  ParamBlock block{};
  double periodUs = 0.025;
  int64_t recordStart = 0;     // sample after the transmit pulse that record sample 0 shows
  std::vector<int32_t> clean;  // record samples, gain applied, 16-bit scale, not clipped
  int32_t noiseRms = 0;        // 16-bit scale, averaging applied
  int64_t esPosition = -1;     // echo start (first crossing in gate B0), -1 none
  GateResult gate[5];          // B0..B4; B1..B4 relative to the echo start in relative mode
};

// esRelative: gates B1..B4 follow the echo start, and their positions count from it.
SetResponse BuildResponse(const SpecimenSpec& specimen, const ParamBlock& block, bool esRelative);

}  // namespace zorix7sim
