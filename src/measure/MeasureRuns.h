#pragma once
// The measurement runs of the main dialog - single shot, block measurement, the three
// data-rate tests - without its windows: each run talks to the cards itself and asks its
// host (the main dialog, or a test's script) for controls, boxes and windows.
#include <optional>
#include <vector>

#include "card/zorix7dll.h"
#include "params/ParameterSet.h"
#include "params/RandomLimits.h"
#include "platform/CString.h"

namespace measure {

// The controls a run reads after EnsurePowerOn and UpdateData(TRUE).
struct RunSettings {
  UINT card = 1;   // m_nCard, 1-based
  int set = 0;     // m_nParamSet
  BOOL einzelmessung = FALSE;  // the box beside "Parameter/Shot": no editor
  BOOL blockmessung = FALSE;   // the box beside "Blockmessung": no set selection
  BOOL dma = TRUE;
  BOOL prepAll = FALSE;
  BOOL kontinuierlich = FALSE;
  BOOL anzeige = FALSE;
  BOOL random = FALSE;
  BOOL zorix9Mode = FALSE;
  UINT anzeigefaktor = 1;  // 0 counts as 1
  int zyklen = 0;
  UINT timeOutSeconds = 10;  // "Time Out in s": the longest a run waits for one fetch
};

// One card as the main dialog keeps it.
struct RunCard {
  HZORIX7 handle = 0;
  ParameterSet* sets = nullptr;  // sets 0..7, written back by the editor
  ActiveSetFlags* active = nullptr;
  const int16_t* ident = nullptr;  // ZorixIdent of sets 0..7
};

// One A-scan as the display takes it.
struct AscanShow {
  BOOL b8Bit = FALSE;
  BOOL header = FALSE;
  const BYTE* data = nullptr;
  UINT bytes = 0;
  UINT sequence = 0;
  BYTE sampleRate = 0;
  const GateReadout* readout = nullptr;
  const ::GateSettings* gates = nullptr;
  int offset = 0;
};

// A modeless A-scan display: the display's own window, or (with a title) a tool window
// owned by the main dialog, kept on top, at the given place.
struct DisplayWindow {
  CString title;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  BOOL b8Bit = FALSE;
  BOOL header = FALSE;
  BYTE sampleRate = 0;
};

struct ScreenArea {
  int width = 1024;
  int height = 768;
};

// What a run logs: nothing (logged false), or one line with its verdict. checkedSomething
// false: the line's wording may say "OK", but nothing was measured; skipped: the run is not
// available on this card.
struct RunLine {
  bool logged = false;
  CString text;
  bool ok = false;
  bool checkedSomething = true;
  bool skipped = false;
};

class RunHost {
 public:
  virtual ~RunHost() = default;
  // EnsurePowerOn(TRUE), UpdateData(TRUE) and the fields.
  virtual RunSettings ReadControls() = 0;
  // The selected card as it stands, before the controls are read.
  virtual UINT SelectedCard() = 0;
  // Card number 1..16; a number without card gives handle 0.
  virtual RunCard Card(UINT number) = 0;
  virtual UINT CardCount() = 0;
  virtual void SetParamSet(int set) = 0;
  virtual const RandomLimits& Limits() = 0;
  // The main dialog's measurement buffer and its byte count.
  virtual BYTE* DataBuffer() = 0;
  virtual DWORD* DataBytes() = 0;

  virtual int MessageBox(const CString& text, const CString& caption, UINT type = MB_OK) = 0;
  // Parameter editor on a set of a card; true when left with "Shot".
  virtual bool EditParameters(HZORIX7 card, ParameterSet& set) = 0;
  // Set selection of the block measurement on the card's flags; true for OK.
  virtual bool SelectBlockSets(ActiveSetFlags& flags) = 0;
  virtual void ShowAscan(const AscanShow& scan) = 0;  // modal
  virtual void ShowGateValues(const BYTE* data, DWORD bytes, const ActiveSetFlags& flags, BOOL headed) = 0;
  // Modeless displays: opened, updated (repainted at once) and closed by index.
  virtual int OpenDisplay(const DisplayWindow& window) = 0;
  virtual void UpdateDisplay(int display, const AscanShow& scan) = 0;
  virtual void CloseDisplay(int display) = 0;
  virtual ScreenArea Screen() = 0;
  // The cycle in progress (cycles 0: the run is over).
  virtual void Progress(int cycle, int cycles) = 0;
};

// "Parameter/Shot": "Einzelmessung Kanal %d: ".
RunLine RunSingleShot(RunHost& host);
// "Blockmessung": "Blockmessung Kanal %d: ".
RunLine RunBlockMeasurement(RunHost& host);
// "Karte n Satz n", "Karte n Sätze 1..n", "Karten 1..n Satz n".
RunLine RunRateOneSet(RunHost& host);
RunLine RunRateSets(RunHost& host);
RunLine RunRateCards(RunHost& host);

}  // namespace measure
