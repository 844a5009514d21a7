#include "params/ParameterProfile.h"

#include <cstdio>

namespace {
// Lists the stored fields once, in record order, for both directions.
template <class Visitor, class Set>
void VisitStoredFields(Set& p, const ParameterSet& d, Visitor& v) {
  v.Number("IFF", p.IFF, d.IFF);
  v.YesNo("8Bit", p.b8Bit, d.b8Bit);
  v.Number("Average", p.Average, d.Average);
  v.Number("Samplerate", p.Samplerate, d.Samplerate);
  v.Number("Start", p.Start, d.Start);
  v.Number("PK-Vorlauf", p.PKVorlauf, d.PKVorlauf);
  v.Number("Aufnahmelaenge", p.Aufnahmelaenge, d.Aufnahmelaenge);
  v.Number("Aufnahmedelay", p.Aufnahmedelay, d.Aufnahmedelay);
  v.YesNo("ASCAN", p.ASCAN, d.ASCAN);
  v.Number("Faktor", p.Faktor, d.Faktor);
  v.Number("Gleichrichtung", p.Gleichrichtung, d.Gleichrichtung);
  v.YesNo("ExternerTrigger", p.ExternerTrigger, d.ExternerTrigger);
  v.Number("Triggereingangsmode", p.Triggereingangsmode, d.Triggereingangsmode);
  v.Number("Triggerausgangsmode", p.Triggerausgangsmode, d.Triggerausgangsmode);
  v.Number("Ausblenden", p.Ausblenden, d.Ausblenden);
  v.Number("TA-Verzoegerung", p.TAVerzoegerung, d.TAVerzoegerung);
  v.Number("TA-Abstand", p.TAAbstand, d.TAAbstand);
  v.YesNo("Sendersperre", p.Sendersperre, d.Sendersperre);
  v.Number("Sendeimpulsbreite", p.Sendeimpulsbreite, d.Sendeimpulsbreite);
  v.Number("Sendeenergie", p.Sendeenergie, d.Sendeenergie);
  v.YesNo("SE-Mode", p.SEMode, d.SEMode);
  v.Number("Senderdaempfung", p.Senderdaempfung, d.Senderdaempfung);
  v.Number("Eingangsdaempfung", p.Eingangsdaempfung, d.Eingangsdaempfung);
  v.Number("Filter", p.Filter, d.Filter);
  v.Number("Verstaerkung", p.Verstaerkung, d.Verstaerkung);
  v.Number("ESB-Time", p.ESBTime, d.ESBTime);
  v.Number("ESB-Level", p.ESBLevel, d.ESBLevel);
  v.YesNo("ESB-relativ", p.ESBrelativ, d.ESBrelativ);
  v.YesNo("ESB-always", p.ESBalways, d.ESBalways);
  char key[32];
  for (int k = 0; k < 5; ++k) {
    snprintf(key, sizeof key, "B%d-Anfang", k);
    v.Number(key, p.Gates.gate[k].start, d.Gates.gate[k].start);
    snprintf(key, sizeof key, "B%d-Ende", k);
    v.Number(key, p.Gates.gate[k].end, d.Gates.gate[k].end);
    snprintf(key, sizeof key, "B%d-Schwelle", k);
    v.Threshold(key, p.Gates.gate[k].threshold, d.Gates.gate[k].threshold);
  }
  for (int k = 0; k < 5; ++k) {
    snprintf(key, sizeof key, "B%d-enable", k);
    v.YesNo(key, p.Gates.enable[k], d.Gates.enable[k]);
  }
  v.YesNo("TriggerExtern", p.TriggerExtern, d.TriggerExtern);
  v.Number("Triggerdelay", p.Triggerdelay, d.Triggerdelay);
  v.Number("SAP-Delay", p.SAPDelay, d.SAPDelay);
}

struct Loader {
  CWinApp& app;
  const char* section;
  template <class T>
  void Number(const char* key, T& value, T def) {
    // Narrow fields keep the low bits of what the file holds.
    value = static_cast<T>(app.GetProfileInt(section, key, static_cast<int>(def)));
  }
  void YesNo(const char* key, BOOL& value, BOOL def) { value = GetProfileYesNo(app, section, key, def ? "yes" : "no"); }
  void Threshold(const char* key, WORD& value, WORD def) {
    value = static_cast<WORD>(app.GetProfileInt(section, key, def / 16) * 16);
  }
};

struct Saver {
  CWinApp& app;
  const char* section;
  BOOL ok = TRUE;
  template <class T>
  void Number(const char* key, const T& value, T) {
    // 8- and 16-bit fields are written unsigned, 32-bit fields as signed decimal.
    int v = sizeof(T) < 4 ? static_cast<int>(value) : static_cast<int>(static_cast<int32_t>(value));
    ok &= app.WriteProfileInt(section, key, v) ? TRUE : FALSE;
  }
  void YesNo(const char* key, const BOOL& value, BOOL) { ok &= WriteProfileYesNo(app, section, key, value); }
  void Threshold(const char* key, const WORD& value, WORD) {
    ok &= app.WriteProfileInt(section, key, value / 16) ? TRUE : FALSE;
  }
};

const ParameterSet& Defaults() {
  static const ParameterSet defaults;
  return defaults;
}
}  // namespace

CString ParameterSectionName(int cardNumber, int setNumber) {
  return CString::Formatted("Karte%d-Satz%d", cardNumber, setNumber);
}

void LoadParameterSet(CWinApp& app, const char* section, ParameterSet& set, BOOL& active) {
  active = GetProfileYesNo(app, section, "Active", "no");
  Loader loader{app, section};
  VisitStoredFields(set, Defaults(), loader);
  set.TaLastIndex = 1;
  set.TaTablePointer = nullptr;
}

BOOL SaveParameterSet(CWinApp& app, const char* section, const ParameterSet& set, BOOL active) {
  Saver saver{app, section};
  saver.ok = WriteProfileYesNo(app, section, "Active", active);
  VisitStoredFields(set, Defaults(), saver);
  return saver.ok;
}
