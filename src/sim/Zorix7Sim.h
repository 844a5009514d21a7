#pragma once
// Control interface of the virtual card library, for tests and the bench tools: which
// bench is loaded, what was called, which faults the cards should show. Lives in
// libzorix7 beside the C interface. Single-threaded use; every call takes the library's
// one lock so that a stray second thread cannot corrupt state.
#include <string>
#include <string_view>
#include <vector>

#include "card/CardConstants.h"
#include "card/ErrorWords.h"
#include "card/zorix7dll.h"

namespace zorix7sim {

class CardModel;

// Error words of the virtual cards. Calls without an error word note the same codes in
// the journal only.
enum : DWORD {
  kErrInvalidHandle = errorword::kInvalidHandle,
  kErrNullPointer = errorword::kNullPointer,
  kErrOutOfRange = errorword::kOutOfRange,
  kErrWrongVariant = errorword::kWrongVariant,
  kErrInReset = errorword::kInReset,
  kErrNoCard = errorword::kNoCard,
  kErrNoData = errorword::kNoData,
  kErrDataTimeOut = errorword::kDataTimeOut,
  kErrInjected = errorword::kInjected,
};

// DSP commands (CardCommands.cpp): a code the DSP does not know or with a word count that does
// not match it; a parameter word asking for a setting the card does not have.
enum : DWORD {
  kErrUnknownCommand = 0xE0000010,
  kErrBadParameter = 0xE0000011,
};

// Where the identification record lies in the card's record memory: the address in a
// PutKonfig error word is this base plus the record offset.
inline constexpr DWORD kKennungBase = 0x0100;

using ::kMaxCards;
inline constexpr int kSets = kSetsPerCard;
inline constexpr size_t kEepromSize = 256;

// ---- bench ----
// The bench is loaded on first use from the file named by ZORIX7_BENCH, or the built-in
// one when that is unset or empty. Loading closes every card and replaces cards and
// faults; the journal stays. On a malformed bench no card opens and BenchError() holds
// the one message (also printed to stderr).
bool LoadBenchFile(const std::string& path);
bool LoadBenchText(std::string_view text, const std::string& name = "<text>");
void UseBuiltInBench();
// Back to the state at process start: cards closed and forgotten, journal and faults
// cleared; the next use loads the bench again.
void Reset();
// Empty when the bench loaded cleanly.
std::string BenchError();
// Card numbers of the bench, ascending (loads the bench if needed).
std::vector<int> CardNumbers();
// The model of one bench card, nullptr if the bench has no such card. For inspection and
// set-up in tests; do not keep it across a bench load or Reset.
CardModel* Card(int cardNumber);

// ---- journal ----
struct JournalEntry {
  std::string call;    // "ZORIX7Open", ...
  int card = 0;        // card number, 0 when none or the handle was invalid
  std::string args;    // arguments as text
  DWORD result = 0;    // the value returned
  DWORD error = 0;     // error word written, or the reason noted for calls without one
  bool ok = true;      // false: the call failed
  std::string ToString() const;
};
// Oldest first; the journal keeps the newest kJournalLimit entries.
inline constexpr size_t kJournalLimit = 200000;
std::vector<JournalEntry> Journal();
// Entries of one call name (with or without the "ZORIX7" prefix, any case).
std::vector<JournalEntry> JournalOf(std::string_view call);
void ClearJournal();

// ---- faults ----
struct Fault {
  std::string call;  // call name, with or without the "ZORIX7" prefix, any case
  int card = 0;      // 0: any card, counting calls on all cards together
  unsigned nth = 0;  // 0: every call; n: only the n-th matching call after the fault was added
  DWORD error = kErrInjected;
};
// False (and nothing added) for an unknown call name or a card number out of range.
bool AddFault(const Fault& fault);
void ClearFaults();
// A stuck identification byte keeps its value when PutKonfig writes it.
bool SetStuckKennungByte(int cardNumber, unsigned offset, bool stuck = true);
// A stuck EEPROM byte ignores writes.
bool SetStuckEepromByte(int cardNumber, unsigned address, bool stuck = true);

// True for every call name of the C interface ("ZORIX7GetData" or "GetData").
bool IsCallName(std::string_view call);

// ---- time (CardMeasure.cpp) ----
// The cards' shared time in microseconds: the clock's milliseconds and what the cards have
// waited below one.
uint64_t CardTimeUs();

}  // namespace zorix7sim
