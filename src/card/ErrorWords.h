#pragma once
// Error words of the card library whose meaning is known (those of the virtual cards); other
// words are reported by number only.
#include <cstdint>

namespace errorword {
enum : uint32_t {
  kInvalidHandle = 0xE0000001,
  kNullPointer = 0xE0000002,
  kOutOfRange = 0xE0000003,
  kWrongVariant = 0xE0000004,  // ZORIX7F-only call on a ZORIX7 card
  kInReset = 0xE0000005,       // call needs the card out of reset
  kNoCard = 0xE0000006,        // Open: no card of that number
  kNoData = 0xE0000007,        // fetch from a card that neither runs nor holds a shot
  kDataTimeOut = 0xE0000008,   // a started fetch outlasted the data time-out
  kInjected = 0xE00000FF,      // fault injected on the virtual bench
  kReplayDiverged = 0xE0000020,  // replay: the calls left the recorded session
  kNoDriver = 0xE0000021,        // recorder: no driver library, or it lacks this call
};

inline const char* Meaning(uint32_t word) {
  switch (word) {
    case kInvalidHandle: return "ungültiges Karten-Handle";
    case kNullPointer: return "Nullzeiger übergeben";
    case kOutOfRange: return "Wert außerhalb des Bereichs";
    case kWrongVariant: return "Aufruf nur für ZORIX7F";
    case kInReset: return "Karte ist im Reset";
    case kNoCard: return "keine Karte mit dieser Nummer";
    case kNoData: return "keine Daten vorhanden";
    case kDataTimeOut: return "Daten-Time-Out";
    case kInjected: return "eingespeister Fehler (virtuelle Karte)";
    case kReplayDiverged: return "Wiedergabe weicht von der Aufzeichnung ab";
    case kNoDriver: return "Aufzeichnung ohne Treiberbibliothek";
    default: return nullptr;
  }
}
}  // namespace errorword
