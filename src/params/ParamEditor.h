#pragma once
// What the parameter editor holds and how it moves between a parameter set and its fields:
// display units, the grid positions are brought to, the sample-rate change and the
// write-back. Radio groups are held as the index of the selected button (-1 = none).
#include "params/ParameterSet.h"

namespace params {

enum class DisplayUnit : int { Samples = 0, Microseconds = 1, Millimetres = 2 };

inline constexpr double kDefaultVelocity = 5920;  // m/s

// The position fields: sample counts, or times or lengths in the display unit.
struct EditorPositions {
  double vorlauf = 0;    // "Vorlauf"
  double aufnahme = 0;   // "Aufnahme"
  double delay = 0;      // record "Delay"
  double esbTime = 0;    // ESB "Time"
  double esbDelay = 0;   // "ESB-Delay", read from the card
  double taDelay = 0;    // TA "Delay" (TA steps)
  double taAbstand = 0;  // TA "Abstand" (TA steps)
};

// How the fields are shown now: the sample-rate row in use and the display unit.
struct EditorScale {
  SampleRateRow row = SampleRateRowFor(1);
  DisplayUnit unit = DisplayUnit::Samples;
  double factor = 1;  // 1 for "µs", velocity / 2000 for "mm"
};

// Record sample counts to nearest multiples of the divisor; ESB "Time" and "ESB-Delay" to
// whole samples.
void ApplyGrid(EditorPositions& p, unsigned divisor);
// Shown values back to sample counts on the grid; nothing happens in "Samples".
void ToSamples(EditorPositions& p, const EditorScale& s);
// Sample counts to the shown values of the scale's unit.
void ToUnit(EditorPositions& p, const EditorScale& s);
// A display-unit click: back to samples, grid, new factor, shown in the new unit. A velocity
// that is no positive number counts as the default and is put back into velocity.
void ChooseUnit(EditorPositions& p, EditorScale& s, DisplayUnit unit, double& velocity);
// A sample-rate click (code 0..4): TA "Abstand" keeps its time in sample periods, the new row
// is taken and every position goes to its grid. Other units work on the sample counts.
void ChooseSampleRate(EditorPositions& p, EditorScale& s, BYTE code);

struct EditorValues {
  DWORD maxSap = 0;  // "max. SAP"
  BOOL taktExtern = FALSE;
  BOOL achtBit = FALSE;
  BYTE average = 0;
  DWORD triggerDelay = 0;
  BOOL delay25ns = FALSE;
  WORD sapDelay = 0;
  int rate = 1;  // 80, 40, 20, 10, 160 MHz
  BOOL takt16 = FALSE;
  int messung = 1;  // "keine Messung", "Einzelmessung"
  BOOL blendenmessung = FALSE;
  EditorPositions pos;  // in samples when taken from or given to a set
  UINT ascan = 0;       // "A-Scan"
  int gleichrichtung = 0;
  BOOL externerTrigger = FALSE;  // "extern"
  BYTE blende = 0;
  int eingang = 0;  // "Master", "Einzel"
  BOOL eingangLow = FALSE;
  int ausgang = 0;  // "Master Start", "Master Stop", "Einzel SAP", "Ready"
  BOOL ausgangLow = FALSE;
  BOOL sperre = FALSE;
  int impulsbreite = 0;  // 0..7
  int energie = 0;       // 0..3
  BOOL se = FALSE;
  BYTE senderdaempfung = 0;
  BYTE eingangsdaempfung = 0;
  BYTE filter = 0;
  double verstaerkung = 0;
  UINT esbLevel = 0;  // ESB-Level / 4
  BOOL esbRelativ = FALSE;
  BOOL esbAlways = FALSE;
  BOOL esbEnable = FALSE;
  BOOL taEnable = FALSE;
  UINT stuetzstellen = 0;
  CString datei;
};

// The editor's start from a set. zorix7F: the card is a ZORIX7F (gate measurement and
// ESB-Delay exist); esbDelay: register 0x42E of such a card.
EditorValues EditorValuesFromSet(const ParameterSet& set, bool zorix7F, WORD esbDelay);
// Writes the fields into the set; positions in samples. Numbers are truncated into their
// field: position and gain fields clamped to its range, "A-Scan", "Level" x 4 and
// "Stützstellen" - 1 cut to its low bits. The table pointer points to the set's own table.
void StoreEditorValues(const EditorValues& v, ParameterSet& set, bool zorix7F);

// Samplerate code of a radio index 0..4 with "Takt/16", and the index and flag of a code.
BYTE SamplerateCode(int rateIndex, BOOL takt16);
void RateOfCode(BYTE code, int& rateIndex, BOOL& takt16);

}  // namespace params
