#include "params/ParamEditor.h"

#include <cmath>

namespace params {
namespace {

double OnGrid(double samples, unsigned divisor) {
  const double d = divisor ? divisor : 1;
  return std::trunc(std::trunc(samples + d * 0.5) / d) * d;
}

double Whole(double samples) { return std::trunc(samples + 0.5); }

// Truncated into 0..max; NaN counts 0.
template <typename T>
T Truncated(double v) {
  constexpr double max = static_cast<double>(static_cast<T>(~T{}));
  if (!(v > 0)) return 0;
  return v >= max ? static_cast<T>(~T{}) : static_cast<T>(v);
}

int Index(int i, int count) { return i >= 0 && i < count ? i : 0; }
BOOL Bool(BOOL b) { return b ? TRUE : FALSE; }

// Every position with the step it is counted in.
template <typename F>
void ForEachPosition(EditorPositions& p, const SampleRateRow& row, F f) {
  f(p.vorlauf, row.samplePeriodUs);
  f(p.aufnahme, row.samplePeriodUs);
  f(p.delay, row.samplePeriodUs);
  f(p.esbTime, row.samplePeriodUs);
  f(p.esbDelay, row.samplePeriodUs);
  f(p.taDelay, row.taStepUs);
  f(p.taAbstand, row.taStepUs);
}

void Divide(EditorPositions& p, const EditorScale& s) {
  ForEachPosition(p, s.row, [&](double& v, double step) { v /= step * s.factor; });
}

}  // namespace

void ApplyGrid(EditorPositions& p, unsigned divisor) {
  p.vorlauf = OnGrid(p.vorlauf, divisor);
  p.aufnahme = OnGrid(p.aufnahme, divisor);
  p.delay = OnGrid(p.delay, divisor);
  p.taDelay = OnGrid(p.taDelay, divisor);
  p.taAbstand = OnGrid(p.taAbstand, divisor);
  p.esbTime = Whole(p.esbTime);
  p.esbDelay = Whole(p.esbDelay);
}

void ToSamples(EditorPositions& p, const EditorScale& s) {
  if (s.unit == DisplayUnit::Samples) return;
  Divide(p, s);
  ApplyGrid(p, s.row.divisor);
}

void ToUnit(EditorPositions& p, const EditorScale& s) {
  if (s.unit == DisplayUnit::Samples) return;
  ForEachPosition(p, s.row, [&](double& v, double step) { v *= step * s.factor; });
}

void ChooseUnit(EditorPositions& p, EditorScale& s, DisplayUnit unit, double& velocity) {
  if (s.unit != DisplayUnit::Samples) Divide(p, s);
  ApplyGrid(p, s.row.divisor);
  if (!(velocity > 0) || !std::isfinite(velocity)) velocity = kDefaultVelocity;
  s.unit = unit;
  s.factor = unit == DisplayUnit::Millimetres ? velocity / 2000 : 1;
  ToUnit(p, s);
}

void ChooseSampleRate(EditorPositions& p, EditorScale& s, BYTE code) {
  ToSamples(p, s);
  const SampleRateRow next = SampleRateRowFor(code);
  p.taAbstand = p.taAbstand * s.row.samplePeriodUs / next.samplePeriodUs;
  // "Takt/16" counts only when the set is written, so the TA step stays.
  s.row.samplePeriodUs = next.samplePeriodUs;
  s.row.divisor = next.divisor;
  ApplyGrid(p, s.row.divisor);
  ToUnit(p, s);
}

BYTE SamplerateCode(int rateIndex, BOOL takt16) { return static_cast<BYTE>(Index(rateIndex, 5) + (takt16 ? 5 : 0)); }

void RateOfCode(BYTE code, int& rateIndex, BOOL& takt16) {
  const int row = code & 0x0F;
  takt16 = row >= 5 && row <= 8;
  rateIndex = row <= 3 ? row : takt16 ? row - 5 : 4;
}

EditorValues EditorValuesFromSet(const ParameterSet& set, bool zorix7F, WORD esbDelay) {
  EditorValues v;
  v.maxSap = set.IFF;
  v.taktExtern = set.TriggerExtern;
  v.achtBit = set.b8Bit;
  v.average = set.Average;
  v.triggerDelay = set.Triggerdelay;
  v.delay25ns = set.Triggerdelay25ns;
  v.sapDelay = set.SAPDelay;
  RateOfCode(set.Samplerate, v.rate, v.takt16);
  const int mode = set.Start & 3;
  v.messung = mode <= 1 ? mode : -1;
  v.blendenmessung = zorix7F && set.Start >= 4 && set.Start <= 7;
  v.pos.vorlauf = set.PKVorlauf;
  v.pos.aufnahme = set.Aufnahmelaenge;
  v.pos.delay = set.Aufnahmedelay;
  v.ascan = set.ASCAN ? set.Faktor : 0;
  v.gleichrichtung = set.Gleichrichtung & 3;
  v.externerTrigger = set.ExternerTrigger;
  v.blende = set.Ausblenden;
  v.eingangLow = set.Triggereingangsmode > 1;
  v.eingang = set.Triggereingangsmode & 1;
  v.ausgangLow = set.Triggerausgangsmode > 3;
  v.ausgang = set.Triggerausgangsmode & 3;
  v.sperre = set.Sendersperre;
  v.impulsbreite = set.Sendeimpulsbreite & 7;
  v.energie = set.Sendeenergie & 3;
  v.se = set.SEMode;
  v.senderdaempfung = set.Senderdaempfung;
  v.eingangsdaempfung = set.Eingangsdaempfung;
  v.filter = set.Filter;
  v.verstaerkung = set.Verstaerkung / 10.0;
  v.pos.esbTime = set.ESBTime;
  v.esbLevel = set.ESBLevel / 4;
  v.esbRelativ = set.ESBrelativ;
  v.esbAlways = set.ESBalways;
  v.esbEnable = set.Gates.enable[0];
  v.pos.esbDelay = zorix7F ? esbDelay : 0;
  v.taEnable = set.TaTablePointer != nullptr;
  v.pos.taDelay = set.TAVerzoegerung;
  v.pos.taAbstand = set.TAAbstand;
  v.stuetzstellen = set.TaLastIndex + 1u;
  v.datei = set.TaFileName;
  return v;
}

void StoreEditorValues(const EditorValues& v, ParameterSet& set, bool zorix7F) {
  set.IFF = v.maxSap;
  if (v.taEnable) {
    set.TAVerzoegerung = Truncated<WORD>(v.pos.taDelay);
    set.TAAbstand = Truncated<WORD>(v.pos.taAbstand);
    set.TaLastIndex = static_cast<BYTE>(v.stuetzstellen - 1);
    set.TaTablePointer = set.TaTable;
  } else {
    set.TaTablePointer = nullptr;
  }
  set.TriggerExtern = Bool(v.taktExtern);
  set.b8Bit = Bool(v.achtBit);
  set.Average = v.average;
  set.Triggerdelay = v.triggerDelay;
  set.Triggerdelay25ns = Bool(v.delay25ns);
  set.SAPDelay = v.sapDelay;
  set.Samplerate = SamplerateCode(v.rate, v.takt16);
  set.Start = static_cast<BYTE>((v.messung == 1 ? 1 : 0) + (zorix7F && v.blendenmessung ? 4 : 0));
  set.PKVorlauf = Truncated<WORD>(v.pos.vorlauf);
  set.Aufnahmelaenge = Truncated<WORD>(v.pos.aufnahme);
  set.Aufnahmedelay = Truncated<DWORD>(v.pos.delay);
  set.Faktor = static_cast<BYTE>(v.ascan);
  set.ASCAN = Bool(v.ascan != 0);
  set.Gleichrichtung = static_cast<BYTE>(Index(v.gleichrichtung, 4));
  set.ExternerTrigger = Bool(v.externerTrigger);
  set.Ausblenden = v.blende;
  set.Triggereingangsmode = static_cast<BYTE>((v.eingang == 1 ? 1 : 0) + (v.eingangLow ? 2 : 0));
  set.Triggerausgangsmode = static_cast<BYTE>(Index(v.ausgang, 4) + (v.ausgangLow ? 4 : 0));
  set.Sendersperre = Bool(v.sperre);
  set.Sendeimpulsbreite = static_cast<BYTE>(Index(v.impulsbreite, 8));
  set.Sendeenergie = static_cast<BYTE>(Index(v.energie, 4));
  set.SEMode = Bool(v.se);
  set.Senderdaempfung = v.senderdaempfung;
  set.Eingangsdaempfung = v.eingangsdaempfung;
  set.Filter = v.filter;
  set.Verstaerkung = Truncated<WORD>(v.verstaerkung * 10);
  set.ESBTime = Truncated<DWORD>(v.pos.esbTime);
  set.ESBLevel = static_cast<WORD>(v.esbLevel * 4);
  set.ESBrelativ = Bool(v.esbRelativ);
  set.ESBalways = Bool(v.esbAlways);
  set.Gates.enable[0] = Bool(v.esbEnable);
}

}  // namespace params
