#pragma once
// One measurement parameter set as the main dialog keeps it, and the block the card gets.
#include "card/zorix7dll.h"
#include "platform/CString.h"

// The gate fields as the A-scan display takes them: thresholds are held x 16.
struct GateSettings {
  struct Gate {
    DWORD start = 0;
    DWORD end = 0;
    WORD threshold = 0;
  };
  Gate gate[5];
  BOOL enable[5] = {};
};

struct ParameterSet {
  ParameterSet();
  ParameterSet(const ParameterSet& other);
  ParameterSet& operator=(const ParameterSet& other);

  DWORD IFF = 0;
  BYTE TaLastIndex = 1;
  // Null = depth compensation off; otherwise points to this record's TaTable (copies rebase it).
  WORD* TaTablePointer = nullptr;
  BOOL b8Bit = FALSE;
  BYTE Average = 0;
  BYTE Samplerate = 1;
  BYTE Start = 1;
  WORD PKVorlauf = 0;
  WORD Aufnahmelaenge = 1600;
  DWORD Aufnahmedelay = 0;
  BOOL ASCAN = FALSE;
  BYTE Faktor = 0;
  BYTE Gleichrichtung = 0;
  BOOL ExternerTrigger = FALSE;
  BYTE Triggereingangsmode = 0;
  BYTE Triggerausgangsmode = 0;
  BYTE Ausblenden = 0;
  WORD TAVerzoegerung = 0;
  WORD TAAbstand = 0;
  BOOL Sendersperre = FALSE;
  BYTE Sendeimpulsbreite = 0;
  BYTE Sendeenergie = 0;
  BOOL SEMode = FALSE;
  BYTE Senderdaempfung = 0;
  BYTE Eingangsdaempfung = 0;
  BYTE Filter = 3;
  WORD Verstaerkung = 200;
  DWORD ESBTime = 200;
  WORD ESBLevel = 30;
  BOOL ESBrelativ = FALSE;
  BOOL ESBalways = FALSE;
  GateSettings Gates;
  CString TaFileName;
  WORD TaTable[256] = {};
  BOOL TriggerExtern = FALSE;
  BOOL Triggerdelay25ns = FALSE;
  DWORD Triggerdelay = 0;
  WORD SAPDelay = 0;
};

// A card's eight active flags; entry 0 is set 0 ("Block").
using ActiveFlags = ActiveSetFlags;

// Sample-rate code: sample period, TA step and the divisor positions are brought to.
struct SampleRateRow {
  double samplePeriodUs;
  double taStepUs;
  unsigned divisor;
};
// Only the low 4 bits select the row; code 4 and codes above 8 are the virtual 160 MHz.
SampleRateRow SampleRateRowFor(BYTE samplerate);

// The 148-byte block for ZORIX7PrepAllGatesParam; startMode goes to offset 18
// (1 single, 3 continuous, 4 block) - the record's Start is never sent.
ParamBlock MakeParamBlock(const ParameterSet& set, BYTE startMode = 1);

// The 4-byte table field of a block on this platform: 0, or a nonzero token of the table.
DWORD TaTableToken(const WORD* table);

// Sends a set as set 0 of the card; returns the library's result and error word.
BOOL PrepareSetOnCard(const ParameterSet& set, HZORIX7 card, DWORD* error);

// Sends the trigger delay of a set in the unit the set asks for (result not checked).
void SendTriggerDelay(HZORIX7 card, BYTE setNumber, const ParameterSet& set);
// Sends the echo start gate of a set (result not checked).
void SendEchoStartGate(HZORIX7 card, BYTE setNumber, const ParameterSet& set);
