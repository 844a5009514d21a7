#include "commands/GateEdit.h"

#include <cmath>

namespace gates {
namespace {
DWORD Truncated(float v) {
  if (!(v > 0.0f)) return 0;
  if (v >= 4294967295.0f) return 0xFFFFFFFFu;
  return static_cast<DWORD>(v);
}

WORD Times4(int shown) { return static_cast<WORD>(static_cast<unsigned>(shown) * 4u); }

float NearestSample(float v) { return std::trunc(v + 0.5f); }

float NearestOnGrid(float v, int granularity) {
  const float g = static_cast<float>(granularity);
  return std::trunc(std::trunc(v + g / 2.0f) / g) * g;
}
}  // namespace

Timing TimingFor(BYTE samplerate) {
  switch (samplerate & 0x0F) {
    case 0:
      return {0.0125f, 8};
    case 1:
      return {0.025f, 4};
    case 2:
      return {0.05f, 2};
    case 3:
      return {0.1f, 1};
    case 5:
      return {0.2f, 8};
    case 6:
      return {0.4f, 4};
    case 7:
      return {0.8f, 2};
    case 8:
      return {1.6f, 1};
    default:
      return {0.00625f, 16};
  }
}

float UnitFactor(Unit unit, float velocity) { return unit == Unit::Mm ? velocity / 2000.0f : 1.0f; }

GateEdit LoadGateEdit(const ParameterSet& set) {
  GateEdit e;
  for (int i = 0; i < kGatesPerSet; ++i) {
    e.begin[i] = static_cast<float>(set.Gates.gate[i].start);
    e.end[i] = static_cast<float>(set.Gates.gate[i].end);
    e.threshold[i] = set.Gates.gate[i].threshold / 4;
    e.enable[i] = set.Gates.enable[i] ? TRUE : FALSE;
  }
  e.esbTime = static_cast<float>(set.ESBTime);
  e.level = set.ESBLevel / 4;
  e.relativ = set.ESBrelativ ? TRUE : FALSE;
  e.always = set.ESBalways ? TRUE : FALSE;
  return e;
}

void StoreGateEdit(const GateEdit& e, ParameterSet& set) {
  set.ESBTime = Truncated(e.esbTime);
  set.ESBLevel = Times4(e.level);
  set.ESBrelativ = e.relativ;
  set.ESBalways = e.always;
  for (int i = 0; i < kGatesPerSet; ++i) {
    set.Gates.enable[i] = e.enable[i];
    set.Gates.gate[i].start = Truncated(e.begin[i]);
    set.Gates.gate[i].end = Truncated(e.end[i]);
    set.Gates.gate[i].threshold = Times4(e.threshold[i]);
  }
}

void PositionsToUnit(GateEdit& e, float step) {
  for (int i = 0; i < kGatesPerSet; ++i) {
    e.begin[i] *= step;
    e.end[i] *= step;
  }
  e.esbTime *= step;
}

void PositionsToSamples(GateEdit& e, float step, int granularity) {
  if (!(step > 0.0f) || granularity < 1) return;
  for (int i = 0; i < kGatesPerSet; ++i) {
    e.begin[i] /= step;
    e.end[i] /= step;
  }
  e.esbTime /= step;
  e.esbTime = NearestSample(e.esbTime);
  e.begin[0] = NearestSample(e.begin[0]);
  e.end[0] = NearestSample(e.end[0]);
  for (int i = 1; i < kGatesPerSet; ++i) {
    e.begin[i] = NearestOnGrid(e.begin[i], granularity);
    e.end[i] = NearestOnGrid(e.end[i], granularity);
  }
}

ReadoutTexts ReadoutText(const GateReadout& r, bool inSamples, float step) {
  auto position = [&](int32_t v) {
    return inSamples ? CString::Formatted("%d", v)
                     : CString::Formatted("%f", static_cast<double>(static_cast<float>(v) * step));
  };
  ReadoutTexts t;
  t.delay = position(r.d);
  for (int i = 0; i < kGatesPerSet; ++i) {
    t.time[i] = position(r.gate[i].t);
    t.maximum[i] = CString::Formatted("%d", r.gate[i].amplitudeRaw >> 2);
    if (r.gate[i].marker) t.maximum[i] += "^";
  }
  return t;
}

}  // namespace gates
