#pragma once
// What the measurement runs share: bounded waits for a fetch, the rate text, the display
// throttle, window tiles and the conversions between a set and what the card and the
// display take.
#include <optional>

#include "card/CardConstants.h"
#include "measure/BlockResultCheck.h"
#include "measure/MeasureRuns.h"

namespace measure {

constexpr DWORD kRunBufferBytes = kDataBufferBytes;

// How long a run waits for one fetch: the "Time Out in s" field (10 s when it is 0, which a
// card takes as "no time-out") and one second more, so a card that keeps its own time-out
// answers first.
DWORD FetchLimitMs(UINT timeOutSeconds);

// Watches one outstanding fetch against its time limit.
class FetchWatch {
 public:
  explicit FetchWatch(UINT timeOutSeconds);
  void Restart();
  bool Expired() const;

 private:
  DWORD m_limitMs;
  DWORD m_start = 0;
};

// Paces rounds of polls over the outstanding fetches. A poll never waits, so no card holds up
// the others; only a round in which every fetch was still pending may yield, and only after a
// burst of such rounds: then 1 ms on the clock, so time-outs come even on a clock that only
// moves when someone sleeps.
class PollRounds {
 public:
  void EndRound(bool allPending);

 private:
  unsigned m_idle = 0;
};

// Polls ZORIX7IsReadyGetDataIntReturn until it returns 0 (true) or writes an error word
// (false with it). A fetch that never completes ends with errorword::kDataTimeOut.
bool AwaitFetch(HZORIX7 card, DWORD* bytes, UINT timeOutSeconds, DWORD& error);

// "%d Samples -> %6.2f Hz  " with cycles / elapsed ms x 1000; in less than a millisecond
// "%d Samples -> > %d Hz  " with the cycles per millisecond.
CString RateText(unsigned samples, int cycles, DWORD elapsedMs);

inline UINT FactorOf(UINT anzeigefaktor) { return anzeigefaktor ? anzeigefaktor : 1; }

// One display's last update: due the first time and when more than the interval has passed.
class DisplayThrottle {
 public:
  bool Due(DWORD minimumMs);

 private:
  std::optional<DWORD> m_last;
};

struct Tile {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};
// Window k: column k mod columns, row k / columns; the cell is the area / columns both ways.
Tile TileOf(int k, int columns, int areaWidth, int areaHeight);
inline int ColumnsForSets(int n) { return n < 5 ? 2 : 3; }
inline int ColumnsForCards(int n) { return n <= 4 ? 2 : n <= 9 ? 3 : 4; }

// A set as the card got it in a block; what a block does not carry comes from base.
ParameterSet ParameterSetFromBlock(const ParamBlock& block, const ParameterSet& base);
// Any active set with one of gates B1..B4 enabled.
bool ResultGatesPresent(const ParameterSet* sets, const ActiveSetFlags& active);
void GateLimitsOf(const ParameterSet* sets, GateLimits limits[8]);
// A display of a set: its 8-bit flag and sampling index.
DisplayWindow DisplayOf(const ParameterSet& set, BOOL headed, const CString& title = {});
AscanShow ScanOf(const DisplayWindow& w, const BYTE* data, UINT bytes, UINT sequence);

}  // namespace measure
