// The C entry points: each validates through Call, then hands the work to the card model.
#include "sim/ModelNames.h"  // first: the exported names belong to Replay.cpp

#include <algorithm>
#include <cstring>
#include <string>

#include "card/ErrorWords.h"
#include "sim/Simulator.h"

using namespace zorix7sim;

namespace {

constexpr size_t kPromBlock = 128;

const char* Bool(BOOL b) { return b ? "TRUE" : "FALSE"; }

// "XX XX ..." of the bytes, as a test compares them.
std::string HexBytes(const BYTE* bytes, size_t count) {
  std::string text;
  for (size_t i = 0; i < count; ++i) text += Format(i ? " %02X" : "%02X", bytes[i]);
  return text;
}

// Common guard of the calls that take a set number.
bool SetInRange(Call& c, BYTE set) {
  if (set < kSets) return true;
  c.Fail(kErrOutOfRange);
  return false;
}

DWORD ReadEeprom(const char* name, HZORIX7 h, DWORD address, unsigned width) {
  Call c(name, h, nullptr, false);
  c.Args(Format("0x%X", address));
  if (!c.Begin()) return 0;
  DWORD value = 0;
  if (!c.card().ReadEeprom(address, width, value)) return c.Fail(kErrOutOfRange, 0);
  return c.Succeed(value);
}

BOOL WriteEeprom(const char* name, HZORIX7 h, DWORD address, DWORD value, unsigned width) {
  Call c(name, h, nullptr, false);
  c.Args(Format("0x%X, 0x%X", address, value));
  if (!c.Begin()) return FALSE;
  if (!c.card().WriteEeprom(address, width, value)) return c.Fail(kErrOutOfRange);
  return c.Succeed();
}

// Calls that only take the handle and the error word.
template <typename Body>
BOOL Simple(const char* name, HZORIX7 h, DWORD* error, Body body) {
  Call c(name, h, error, true);
  if (!c.Begin()) return FALSE;
  DWORD failure = body(c.card());
  return failure ? c.Fail(failure) : c.Succeed();
}

}  // namespace

extern "C" {

HZORIX7 ZORIX7Open(int cardNumber) {
  Call c("ZORIX7Open", cardNumber);
  c.Args(Format("%d", cardNumber));
  if (!c.Begin()) return 0;
  return c.Succeed(Simulator::Instance().Open(c.card()));
}

BOOL ZORIX7Close(HZORIX7 h) {
  Call c("ZORIX7Close", h, nullptr, false);
  c.Args(Format("0x%X", h));
  if (!c.Begin()) return FALSE;
  c.card().setHandle(0);
  c.card().ForgetShots();
  return c.Succeed();
}

BOOL ZORIX7IsVersion3(HZORIX7 h) {
  Call c("ZORIX7IsVersion3", h, nullptr, false);
  if (!c.Begin()) return FALSE;
  return c.Succeed(c.card().isF() ? TRUE : FALSE);
}

BOOL ZORIX7ResetCard(HZORIX7 h) {
  Call c("ZORIX7ResetCard", h, nullptr, false);
  if (!c.Begin()) return FALSE;
  c.card().StartReset();
  return c.Succeed();
}

BOOL ZORIX7IsReseted(HZORIX7 h) {
  Call c("ZORIX7IsReseted", h, nullptr, false);
  if (!c.Begin()) return FALSE;
  return c.Succeed(c.card().InReset() ? FALSE : TRUE);
}

BOOL ZORIX7WarmUp(HZORIX7 h, DWORD* error) {
  return Simple("ZORIX7WarmUp", h, error, [](CardModel& card) -> DWORD {
    if (card.InReset()) return kErrInReset;
    card.warmedUp = true;
    return 0;
  });
}

BOOL ZORIX7Start(HZORIX7 h, DWORD* error) {
  return Simple("ZORIX7Start", h, error, [](CardModel& card) -> DWORD {
    card.StartShots();
    return 0;
  });
}

BOOL ZORIX7Stop(HZORIX7 h, DWORD* error) {
  return Simple("ZORIX7Stop", h, error, [](CardModel& card) -> DWORD {
    card.StopShots();
    return 0;
  });
}

BOOL ZORIX7ClearFIFO(HZORIX7 h, DWORD* error) {
  return Simple("ZORIX7ClearFIFO", h, error, [](CardModel& card) -> DWORD {
    card.ClearFifo();
    return 0;
  });
}

BOOL ZORIX7CancelGetData(HZORIX7 h, DWORD* error) {
  return Simple("ZORIX7CancelGetData", h, error, [](CardModel& card) -> DWORD {
    card.fetchPending = false;
    return 0;
  });
}

BOOL ZORIX7Command(HZORIX7 h, DWORD code, DWORD wordCount, DWORD* words, DWORD* error) {
  Call c("ZORIX7Command", h, error, true);
  std::string args = Format("0x%X, %u", code, wordCount);
  if (!words) args += ", null";
  for (DWORD i = 0; words && i < std::min<DWORD>(wordCount, 2); ++i) args += Format(", 0x%X", words[i]);
  c.Args(args);
  if (!c.Begin()) return FALSE;
  if (wordCount > 2) return c.Fail(kErrOutOfRange);
  if (wordCount > 0 && !words) return c.Fail(kErrNullPointer);
  CommandRecord command{code, wordCount, {}};
  std::copy(words, words + wordCount, command.words.begin());
  c.card().lastCommand = command;
  if (DWORD failure = c.card().RunCommand(command)) return c.Fail(failure);
  if (DWORD failure = c.card().RunSelfTest(command)) return c.Fail(failure);
  return c.Succeed();
}

BOOL ZORIX7GetCardPosition(HZORIX7 h, DWORD* bus, DWORD* slot, DWORD* error) {
  Call c("ZORIX7GetCardPosition", h, error, true);
  if (!c.Begin({bus, slot})) return FALSE;
  *bus = c.card().setup().bus;
  *slot = c.card().setup().slot;
  c.Args(Format("bus %u, slot %u", *bus, *slot));
  return c.Succeed();
}

BOOL ZORIX7GetKonfig(HZORIX7 h, KennungRecord* record, DWORD* error) {
  Call c("ZORIX7GetKonfig", h, error, true);
  if (!c.Begin({record})) return FALSE;
  *record = c.card().Kennung();
  c.Args(Format("Karte \"%.20s\"", record->szKarte));
  return c.Succeed();
}

BOOL ZORIX7PutKonfig(HZORIX7 h, const KennungRecord* record, DWORD* error) {
  Call c("ZORIX7PutKonfig", h, error, true);
  if (record) c.Args(Format("Karte \"%.20s\"", record->szKarte));
  if (!c.Begin({record})) return FALSE;
  DWORD failure = c.card().PutKennung(*record);
  return failure ? c.Fail(failure) : c.Succeed();
}

BOOL ZORIX7ReadConfigData(HZORIX7 h, PciConfigImage* image) {
  Call c("ZORIX7ReadConfigData", h, nullptr, false);
  if (!c.Begin({image})) return FALSE;
  std::copy(c.card().Config().begin(), c.card().Config().end(), image->bytes);
  return c.Succeed();
}

BOOL ZORIX7WriteConfigData(HZORIX7 h, const PciConfigImage* image) {
  Call c("ZORIX7WriteConfigData", h, nullptr, false);
  if (image) c.Args(HexBytes(image->bytes, sizeof image->bytes));  // the whole image sent
  if (!c.Begin({image})) return FALSE;
  c.card().WriteConfig(*image);
  return c.Succeed();
}

DWORD ZORIX7ReadRegister(HZORIX7 h, DWORD address) {
  Call c("ZORIX7ReadRegister", h, nullptr, false);
  c.Args(Format("0x%X", address));
  if (!c.Begin()) return 0;
  return c.Succeed(c.card().BusRead(address));
}

BOOL ZORIX7WriteRegister(HZORIX7 h, DWORD address, DWORD value) {
  Call c("ZORIX7WriteRegister", h, nullptr, false);
  c.Args(Format("0x%X, 0x%X", address, value));
  if (!c.Begin()) return FALSE;
  c.card().BusWrite(address, value);
  return c.Succeed();
}

DWORD ZORIX7ReadPCIEEPROMbyte(HZORIX7 h, DWORD address) {
  return ReadEeprom("ZORIX7ReadPCIEEPROMbyte", h, address, 1);
}
DWORD ZORIX7ReadPCIEEPROMword(HZORIX7 h, DWORD address) {
  return ReadEeprom("ZORIX7ReadPCIEEPROMword", h, address, 2);
}
DWORD ZORIX7ReadPCIEEPROMdword(HZORIX7 h, DWORD address) {
  return ReadEeprom("ZORIX7ReadPCIEEPROMdword", h, address, 4);
}
BOOL ZORIX7WritePCIEEPROMbyte(HZORIX7 h, DWORD address, DWORD value) {
  return WriteEeprom("ZORIX7WritePCIEEPROMbyte", h, address, value, 1);
}
BOOL ZORIX7WritePCIEEPROMword(HZORIX7 h, DWORD address, DWORD value) {
  return WriteEeprom("ZORIX7WritePCIEEPROMword", h, address, value, 2);
}
BOOL ZORIX7WritePCIEEPROMdword(HZORIX7 h, DWORD address, DWORD value) {
  return WriteEeprom("ZORIX7WritePCIEEPROMdword", h, address, value, 4);
}

BOOL ZORIX7PrepAllGatesParam(HZORIX7 h, BYTE set, ParamBlock block, DWORD* error) {
  Call c("ZORIX7PrepAllGatesParam", h, error, true);
  c.Args(Format("set %u, IFF 0x%X, StartMode %u, Aufnahmelaenge %u", set, block.IFF, block.StartMode,
                block.Aufnahmelaenge));
  if (!c.Begin() || !SetInRange(c, set)) return FALSE;
  c.card().sets[set].block = block;
  c.card().sets[set].prepared = true;
  c.card().currentSet = set;  // a single shot measures the set prepared last
  return c.Succeed();
}

BOOL ZORIX7ActiveParam(HZORIX7 h, ActiveSetFlags flags, DWORD* error) {
  Call c("ZORIX7ActiveParam", h, error, true);
  std::string text;
  for (BOOL f : flags.flag) text += f ? '1' : '0';
  c.Args(text);
  if (!c.Begin()) return FALSE;
  c.card().active = flags;
  return c.Succeed();
}

BOOL ZORIX7SetParam(HZORIX7 h, BYTE set, DWORD* error) {
  Call c("ZORIX7SetParam", h, error, true);
  c.Args(Format("set %u", set));
  if (!c.Begin() || !SetInRange(c, set)) return FALSE;
  c.card().currentSet = set;
  return c.Succeed();
}

BOOL ZORIX7StartParam(HZORIX7 h, BYTE startMode, DWORD* error) {
  Call c("ZORIX7StartParam", h, error, true);
  c.Args(Format("mode %u", startMode));
  if (!c.Begin()) return FALSE;
  c.card().StartParamShots(startMode);
  return c.Succeed();
}

BOOL ZORIX7SetMode(HZORIX7 h, DWORD dma, DWORD* error) {
  Call c("ZORIX7SetMode", h, error, true);
  c.Args(Format("dma %u", dma));
  if (!c.Begin()) return FALSE;
  c.card().dmaMode = dma;
  return c.Succeed();
}

BOOL ZORIX7SetTriggerDelayParam(HZORIX7 h, BYTE set, DWORD delay, DWORD* error) {
  Call c("ZORIX7SetTriggerDelayParam", h, error, true);
  c.Args(Format("set %u, delay %u", set, delay));
  if (!c.Begin() || !SetInRange(c, set)) return FALSE;
  c.card().sets[set].triggerDelay = delay;
  c.card().sets[set].triggerDelay25ns = 0;  // the delay has one unit at a time
  return c.Succeed();
}

BOOL ZORIX7SetTriggerDelay25nsParam(HZORIX7 h, BYTE set, DWORD delay, DWORD* error) {
  Call c("ZORIX7SetTriggerDelay25nsParam", h, error, true);
  c.Args(Format("set %u, delay %u", set, delay));
  if (!c.Begin() || !SetInRange(c, set)) return FALSE;
  c.card().sets[set].triggerDelay25ns = delay;
  c.card().sets[set].triggerDelay = 0;
  return c.Succeed();
}

BOOL ZORIX7SetESGateParam(HZORIX7 h, BYTE set, WORD level, DWORD time, BOOL relative, BOOL always,
                          DWORD* error) {
  Call c("ZORIX7SetESGateParam", h, error, true);
  c.Args(Format("set %u, level %u, time %u, relative %s, always %s", set, level, time, Bool(relative),
                Bool(always)));
  if (!c.Begin() || !SetInRange(c, set)) return FALSE;
  c.card().sets[set].esGate = EsGate{level, time, relative != 0, always != 0};
  return c.Succeed();
}

BOOL ZORIX7SetExternalClock(HZORIX7 h, BOOL external, DWORD* error) {
  Call c("ZORIX7SetExternalClock", h, error, true);
  c.Args(Bool(external));
  if (!c.Begin()) return FALSE;
  c.card().externalClock = external != 0;
  return c.Succeed();
}

BOOL ZORIX7SetZORIX9(HZORIX7 h, BYTE set, int16_t ident, DWORD* error) {
  Call c("ZORIX7SetZORIX9", h, error, true);
  c.Args(Format("set %u, ident %d", set, ident));
  if (!c.Begin() || !SetInRange(c, set)) return FALSE;
  if (!c.card().isF()) return c.Fail(kErrWrongVariant);
  c.card().sets[set].zorix9Ident = ident;
  return c.Succeed();
}

BOOL ZORIX7SetDataTimeOut(HZORIX7 h, DWORD seconds, DWORD* error) {
  Call c("ZORIX7SetDataTimeOut", h, error, true);
  c.Args(Format("%u s", seconds));
  if (!c.Begin()) return FALSE;
  c.card().dataTimeOutSeconds = seconds;
  return c.Succeed();
}

BOOL ZORIX7SetSAPDelay(HZORIX7 h, WORD delay, DWORD* error) {
  Call c("ZORIX7SetSAPDelay", h, error, true);
  c.Args(Format("%u", delay));
  if (!c.Begin()) return FALSE;
  c.card().SetSapDelay(delay);
  return c.Succeed();
}

BOOL ZORIX7GetData(HZORIX7 h, DWORD* byteCount, void* buffer, DWORD* error) {
  Call c("ZORIX7GetData", h, error, true);
  const DWORD room = byteCount ? *byteCount : 0;
  c.Args(Format("room %u", room));
  if (!c.Begin({byteCount})) return FALSE;
  if (*byteCount > 0 && !buffer) return c.Fail(kErrNullPointer);
  DWORD failure = c.card().FetchData(static_cast<BYTE*>(buffer), *byteCount);
  c.Args(Format("room %u, delivered %u", room, *byteCount));
  return failure ? c.Fail(failure) : c.Succeed();
}

BOOL ZORIX7StartGetData(HZORIX7 h, DWORD* byteCount, void* buffer, DWORD reserved, DWORD* error) {
  Call c("ZORIX7StartGetData", h, error, true);
  c.Args(Format("room %u, %u", byteCount ? *byteCount : 0, reserved));
  if (!c.Begin({byteCount})) return FALSE;
  if (*byteCount > 0 && !buffer) return c.Fail(kErrNullPointer);
  DWORD failure = c.card().StartFetch(static_cast<BYTE*>(buffer), *byteCount);
  return failure ? c.Fail(failure) : c.Succeed();
}

BOOL ZORIX7IsReadyGetDataIntReturn(HZORIX7 h, DWORD* byteCount, DWORD* error) {
  Call c("ZORIX7IsReadyGetDataIntReturn", h, error, true);
  // A failing poll must not read as "complete" (0): it returns nonzero with a nonzero error
  // word and no bytes, so a caller's poll ends on the error word. 1 with error word 0 is a
  // fetch still under way.
  if (!c.Begin({byteCount})) {
    if (byteCount) *byteCount = 0;
    return c.FailPoll(TRUE);
  }
  bool pending = false;
  DWORD failure = c.card().CollectFetch(*byteCount, pending);
  c.Args(pending ? std::string("pending") : Format("delivered %u", *byteCount));
  if (failure) return c.Fail(failure, TRUE);
  return c.Succeed(pending ? TRUE : 0);
}

BOOL ZORIX7GetASCAN(HZORIX7 h, BYTE set, DWORD* byteCount, DWORD reserved, DWORD* error) {
  Call c("ZORIX7GetASCAN", h, error, true);
  c.Args(Format("set %u, %u", set, reserved));
  if (!c.Begin({byteCount}) || !SetInRange(c, set)) return FALSE;
  DWORD failure = c.card().RequestAscan(set, *byteCount);
  return failure ? c.Fail(failure) : c.Succeed();
}

BOOL ZORIX7GetResults(HZORIX7 h, DWORD value, DWORD* byteCount, void* buffer, DWORD* error) {
  Call c("ZORIX7GetResults", h, error, true);
  c.Args(Format("%u, room %u, %s", value, byteCount ? *byteCount : 0, buffer ? "buffer" : "null"));
  if (!c.Begin({byteCount})) return FALSE;
  // value is not interpreted: every call yields one cycle of records. Without a buffer
  // they wait for the next GetData.
  DWORD failure = buffer ? c.card().FetchResults(static_cast<BYTE*>(buffer), *byteCount)
                         : c.card().RequestResults(*byteCount);
  return failure ? c.Fail(failure) : c.Succeed();
}

BOOL ZORIX7GetGates(HZORIX7 h, GateReadout* readout, DWORD* error) {
  Call c("ZORIX7GetGates", h, error, true);
  if (!c.Begin({readout})) return FALSE;
  if (!c.card().isF()) return c.Fail(kErrWrongVariant);
  DWORD failure = c.card().Readout(*readout);
  return failure ? c.Fail(failure) : c.Succeed();
}

BOOL ZORIX7IsDataInFIFO(HZORIX7 h, BOOL* dataInFifo, DWORD* error) {
  Call c("ZORIX7IsDataInFIFO", h, error, true);
  // Callers drain while the flag says data: a failing card says none.
  if (!c.Begin({dataInFifo})) {
    if (dataInFifo) *dataInFifo = FALSE;
    return c.FailPoll(FALSE);
  }
  *dataInFifo = c.card().DataInFifo() ? TRUE : FALSE;
  return c.Succeed();
}

BOOL ZORIX7GetADC(HZORIX7 h, float* sixValues, DWORD* error) {
  Call c("ZORIX7GetADC", h, error, true);
  if (!c.Begin({sixValues})) return FALSE;
  const auto values = c.card().Adc();
  std::copy(values.begin(), values.end(), sixValues);
  return c.Succeed();
}

BOOL ZORIX7LoadProm(HZORIX7 h, BYTE blockCount, const void* image, DWORD* error) {
  Call c("ZORIX7LoadProm", h, error, true);
  c.Args(Format("%u blocks", blockCount));
  if (!c.Begin({image})) return FALSE;
  if (blockCount == 0) return c.Fail(kErrOutOfRange);
  const auto* bytes = static_cast<const BYTE*>(image);
  c.card().program.assign(bytes, bytes + blockCount * kPromBlock);
  return c.Succeed();
}

}  // extern "C"

// Optional export read by the application when no card opens (see card/LibraryMessage.h).
extern "C" __attribute__((visibility("default"))) const char* ZORIX7GetLibraryMessage() {
  static std::string message;
  message = zorix7sim::BenchError();
  return message.empty() ? nullptr : message.c_str();
}

// Optional export: the meaning of the virtual cards' error words (see card/LibraryMessage.h).
extern "C" __attribute__((visibility("default"))) const char* ZORIX7GetErrorText(uint32_t word) {
  return errorword::Meaning(word);
}

// Optional export naming the library in snapshot files (see snapshot/CardSnapshot.cpp).
extern "C" __attribute__((visibility("default"))) const char* ZORIX7GetLibraryVersion() {
  return "virtuelle Karten";
}
