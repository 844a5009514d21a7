#include "params/ParameterSet.h"

#include <cstring>

namespace {
void SetDefaultGates(GateSettings& g) {
  static constexpr DWORD kStart[5] = {300, 300, 600, 800, 1100};
  static constexpr DWORD kEnd[5] = {400, 400, 800, 1000, 1400};
  static constexpr WORD kThreshold[5] = {30, 50, 50, 50, 50};
  for (int k = 0; k < 5; ++k) {
    g.gate[k].start = kStart[k];
    g.gate[k].end = kEnd[k];
    g.gate[k].threshold = static_cast<WORD>(kThreshold[k] * 16);
    g.enable[k] = k == 0 ? FALSE : TRUE;
  }
}
}  // namespace

ParameterSet::ParameterSet() { SetDefaultGates(Gates); }

ParameterSet::ParameterSet(const ParameterSet& other) { *this = other; }

ParameterSet& ParameterSet::operator=(const ParameterSet& other) {
  if (this == &other) return *this;
  IFF = other.IFF;
  TaLastIndex = other.TaLastIndex;
  b8Bit = other.b8Bit;
  Average = other.Average;
  Samplerate = other.Samplerate;
  Start = other.Start;
  PKVorlauf = other.PKVorlauf;
  Aufnahmelaenge = other.Aufnahmelaenge;
  Aufnahmedelay = other.Aufnahmedelay;
  ASCAN = other.ASCAN;
  Faktor = other.Faktor;
  Gleichrichtung = other.Gleichrichtung;
  ExternerTrigger = other.ExternerTrigger;
  Triggereingangsmode = other.Triggereingangsmode;
  Triggerausgangsmode = other.Triggerausgangsmode;
  Ausblenden = other.Ausblenden;
  TAVerzoegerung = other.TAVerzoegerung;
  TAAbstand = other.TAAbstand;
  Sendersperre = other.Sendersperre;
  Sendeimpulsbreite = other.Sendeimpulsbreite;
  Sendeenergie = other.Sendeenergie;
  SEMode = other.SEMode;
  Senderdaempfung = other.Senderdaempfung;
  Eingangsdaempfung = other.Eingangsdaempfung;
  Filter = other.Filter;
  Verstaerkung = other.Verstaerkung;
  ESBTime = other.ESBTime;
  ESBLevel = other.ESBLevel;
  ESBrelativ = other.ESBrelativ;
  ESBalways = other.ESBalways;
  Gates = other.Gates;
  TaFileName = other.TaFileName;
  std::memcpy(TaTable, other.TaTable, sizeof TaTable);
  TriggerExtern = other.TriggerExtern;
  Triggerdelay25ns = other.Triggerdelay25ns;
  Triggerdelay = other.Triggerdelay;
  SAPDelay = other.SAPDelay;
  // The pointer means "this record's own table", so it must not follow the source record.
  TaTablePointer = other.TaTablePointer ? TaTable : nullptr;
  return *this;
}

SampleRateRow SampleRateRowFor(BYTE samplerate) {
  switch (samplerate & 0x0F) {
    case 0: return {0.0125, 0.0125, 8};
    case 1: return {0.025, 0.0125, 4};
    case 2: return {0.05, 0.0125, 2};
    case 3: return {0.1, 0.0125, 1};
    case 5: return {0.0125, 0.2, 8};
    case 6: return {0.025, 0.4, 4};
    case 7: return {0.05, 0.8, 2};
    case 8: return {0.1, 1.6, 1};
    default: return {0.00625, 0.00625, 16};
  }
}

DWORD TaTableToken(const WORD* table) {
  if (!table) return 0;
  auto low = static_cast<DWORD>(reinterpret_cast<uintptr_t>(table));
  return low ? low : 1;
}

ParamBlock MakeParamBlock(const ParameterSet& p, BYTE startMode) {
  ParamBlock b;
  std::memset(&b, 0, sizeof b);
  b.IFF = p.IFF;
  b.TaLastIndex = p.TaLastIndex;
  b.TaTablePointer = TaTableToken(p.TaTablePointer);
  b.b8Bit = p.b8Bit;
  b.Average = p.Average;
  b.Samplerate = p.Samplerate;
  b.StartMode = startMode;
  b.PKVorlauf = p.PKVorlauf;
  b.Aufnahmelaenge = p.Aufnahmelaenge;
  b.Aufnahmedelay = p.Aufnahmedelay;
  b.ASCAN = p.ASCAN;
  b.Faktor = p.Faktor;
  b.Gleichrichtung = p.Gleichrichtung;
  b.ExternerTrigger = p.ExternerTrigger;
  b.Triggereingangsmode = p.Triggereingangsmode;
  b.Triggerausgangsmode = p.Triggerausgangsmode;
  b.Ausblenden = p.Ausblenden;
  b.TAVerzoegerung = p.TAVerzoegerung;
  b.TAAbstand = p.TAAbstand;
  b.Sendersperre = p.Sendersperre;
  b.Sendeimpulsbreite = p.Sendeimpulsbreite;
  b.Sendeenergie = p.Sendeenergie;
  b.SEMode = p.SEMode;
  b.Senderdaempfung = p.Senderdaempfung;
  b.Eingangsdaempfung = p.Eingangsdaempfung;
  b.Filter = p.Filter;
  b.Verstaerkung = p.Verstaerkung;
  for (int k = 0; k < 5; ++k) {
    b.Gate[k].start = p.Gates.gate[k].start;
    b.Gate[k].end = p.Gates.gate[k].end;
    b.Gate[k].threshold = p.Gates.gate[k].threshold;
    b.GateEnable[k] = p.Gates.enable[k];
  }
  return b;
}

BOOL PrepareSetOnCard(const ParameterSet& set, HZORIX7 card, DWORD* error) {
  ParameterSet copy = set;
  return ZORIX7PrepAllGatesParam(card, 0, MakeParamBlock(copy, 1), error);
}

void SendTriggerDelay(HZORIX7 card, BYTE setNumber, const ParameterSet& set) {
  DWORD error = 0;
  if (set.Triggerdelay25ns)
    ZORIX7SetTriggerDelay25nsParam(card, setNumber, set.Triggerdelay, &error);
  else
    ZORIX7SetTriggerDelayParam(card, setNumber, set.Triggerdelay, &error);
}

void SendEchoStartGate(HZORIX7 card, BYTE setNumber, const ParameterSet& set) {
  DWORD error = 0;
  ZORIX7SetESGateParam(card, setNumber, set.ESBLevel, set.ESBTime, set.ESBrelativ, set.ESBalways, &error);
}
