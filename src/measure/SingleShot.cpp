// "Parameter/Shot": the set edited (unless the box beside the button is set), sent, one shot
// fired, its A-scan and gate readout fetched and shown. The card is not stopped afterwards.
#include <algorithm>
#include <cstring>

#include "measure/RunSupport.h"

namespace measure {

RunLine RunSingleShot(RunHost& host) {
  const RunSettings c = host.ReadControls();
  RunCard card = host.Card(c.card);
  const HZORIX7 h = card.handle;
  const bool zorix7F = ZORIX7IsVersion3(h) != 0;
  int setNumber = std::clamp(c.set, 0, kSetsPerCard - 1);
  if (!zorix7F) {
    setNumber = 0;
    host.SetParamSet(0);
  }
  ParameterSet& set = card.sets[setNumber];
  const BYTE s = static_cast<BYTE>(setNumber);
  DWORD error = 0;
  if (!c.einzelmessung) {
    const bool shot = host.EditParameters(h, set);
    ZORIX7SetExternalClock(h, set.TriggerExtern, &error);
    if (!shot) return {};
  }

  RunLine line;
  line.logged = true;
  line.ok = true;
  CString text;
  if (!ZORIX7PrepAllGatesParam(h, s, MakeParamBlock(set, 1), &error)) {
    text.Format("PrepAll Error %X", error);
    line.ok = false;
  } else {
    SendTriggerDelay(h, s, set);
    if (zorix7F) SendEchoStartGate(h, s, set);
    ZORIX7SetMode(h, c.dma ? 1 : 0, &error);
    if (!ZORIX7Start(h, &error)) {
      text.Format("Start Error %X", error);
      line.ok = false;
    }
  }
  if (line.ok) {
    DWORD* bytes = host.DataBytes();
    BYTE* buffer = host.DataBuffer();
    *bytes = kRunBufferBytes;
    std::memset(buffer, 0, kRunBufferBytes);
    if (set.Start < 4) {
      if (!ZORIX7GetData(h, bytes, buffer, &error)) {
        text.Format("GetData Error %X", error);
        line.ok = false;
      } else {
        GateReadout readout{};
        if (zorix7F && !ZORIX7GetGates(h, &readout, &error)) {
          text.Format("GetGates Error %X", error);
          host.MessageBox(text, "Test");
          line.ok = false;
        }
        AscanShow scan = ScanOf(DisplayOf(set, c.zorix9Mode), buffer, *bytes, 1);
        scan.readout = zorix7F ? &readout : nullptr;
        scan.gates = &set.Gates;
        scan.offset = static_cast<int>(set.Aufnahmedelay);
        host.ShowAscan(scan);
      }
    }
  }
  if (line.ok) text += "OK";
  line.text = CString::Formatted("Einzelmessung Kanal %u: ", c.card) + text;
  return line;
}

}  // namespace measure
