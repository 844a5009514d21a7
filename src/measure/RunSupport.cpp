#include "measure/RunSupport.h"

#include <algorithm>
#include <cstring>

#include "card/ErrorWords.h"
#include "platform/Clock.h"

namespace measure {
namespace {
constexpr UINT kDefaultTimeOutSeconds = 10;
constexpr unsigned kPollBurst = 1000;
constexpr uint64_t kMaxLimitMs = 0xFFFFFFF0u;
}  // namespace

DWORD FetchLimitMs(UINT timeOutSeconds) {
  const uint64_t seconds = timeOutSeconds ? timeOutSeconds : kDefaultTimeOutSeconds;
  return static_cast<DWORD>(std::min<uint64_t>(seconds * 1000 + 1000, kMaxLimitMs));
}

FetchWatch::FetchWatch(UINT timeOutSeconds) : m_limitMs(FetchLimitMs(timeOutSeconds)) { Restart(); }

void FetchWatch::Restart() { m_start = GetTickCount(); }

bool FetchWatch::Expired() const { return GetTickCount() - m_start >= m_limitMs; }

void PollRounds::EndRound(bool allPending) {
  if (!allPending) {
    m_idle = 0;
  } else if (++m_idle > kPollBurst) {
    Sleep(1);
  }
}

bool AwaitFetch(HZORIX7 card, DWORD* bytes, UINT timeOutSeconds, DWORD& error) {
  FetchWatch watch(timeOutSeconds);
  PollRounds rounds;
  for (;;) {
    error = 0;
    if (ZORIX7IsReadyGetDataIntReturn(card, bytes, &error) == 0) return true;
    if (error) return false;
    if (watch.Expired()) {
      error = errorword::kDataTimeOut;
      return false;
    }
    rounds.EndRound(true);
  }
}

CString RateText(unsigned samples, int cycles, DWORD elapsedMs) {
  if (elapsedMs == 0 && cycles > 0)
    return CString::Formatted("%u Samples -> > %lld Hz  ", samples, static_cast<long long>(cycles) * 1000);
  const double rate = elapsedMs ? static_cast<double>(cycles) / elapsedMs * 1000 : 0.0;
  return CString::Formatted("%u Samples -> %6.2f Hz  ", samples, rate);
}

bool DisplayThrottle::Due(DWORD minimumMs) {
  const DWORD now = GetTickCount();
  if (m_last && now - *m_last <= minimumMs) return false;
  m_last = now;
  return true;
}

Tile TileOf(int k, int columns, int areaWidth, int areaHeight) {
  Tile t;
  t.width = areaWidth / columns;
  t.height = areaHeight / columns;
  t.x = k % columns * t.width;
  t.y = k / columns * t.height;
  return t;
}

ParameterSet ParameterSetFromBlock(const ParamBlock& b, const ParameterSet& base) {
  ParameterSet p = base;
  p.IFF = b.IFF;
  p.TaLastIndex = b.TaLastIndex;
  p.b8Bit = b.b8Bit;
  p.Average = b.Average;
  p.Samplerate = b.Samplerate;
  p.PKVorlauf = b.PKVorlauf;
  p.Aufnahmelaenge = b.Aufnahmelaenge;
  p.Aufnahmedelay = b.Aufnahmedelay;
  p.ASCAN = b.ASCAN;
  p.Faktor = b.Faktor;
  p.Gleichrichtung = b.Gleichrichtung;
  p.ExternerTrigger = b.ExternerTrigger;
  p.Triggereingangsmode = b.Triggereingangsmode;
  p.Triggerausgangsmode = b.Triggerausgangsmode;
  p.Ausblenden = b.Ausblenden;
  p.TAVerzoegerung = b.TAVerzoegerung;
  p.TAAbstand = b.TAAbstand;
  p.Sendersperre = b.Sendersperre;
  p.Sendeimpulsbreite = b.Sendeimpulsbreite;
  p.Sendeenergie = b.Sendeenergie;
  p.SEMode = b.SEMode;
  p.Senderdaempfung = b.Senderdaempfung;
  p.Eingangsdaempfung = b.Eingangsdaempfung;
  p.Filter = b.Filter;
  p.Verstaerkung = b.Verstaerkung;
  for (int k = 0; k < kGatesPerSet; ++k) {
    p.Gates.gate[k].start = b.Gate[k].start;
    p.Gates.gate[k].end = b.Gate[k].end;
    p.Gates.gate[k].threshold = b.Gate[k].threshold;
    p.Gates.enable[k] = b.GateEnable[k];
  }
  p.TaTablePointer = b.TaTablePointer ? p.TaTable : nullptr;
  return p;
}

bool ResultGatesPresent(const ParameterSet* sets, const ActiveSetFlags& active) {
  for (int s = 0; s < kSetsPerCard; ++s)
    if (active.flag[s])
      for (int g = 1; g < kGatesPerSet; ++g)
        if (sets[s].Gates.enable[g]) return true;
  return false;
}

void GateLimitsOf(const ParameterSet* sets, GateLimits limits[8]) {
  for (int s = 0; s < kSetsPerCard; ++s)
    for (int g = 0; g < kGatesPerSet; ++g) {
      limits[s].start[g] = sets[s].Gates.gate[g].start;
      limits[s].end[g] = sets[s].Gates.gate[g].end;
      limits[s].enable[g] = sets[s].Gates.enable[g];
    }
}

DisplayWindow DisplayOf(const ParameterSet& set, BOOL headed, const CString& title) {
  DisplayWindow w;
  w.title = title;
  w.b8Bit = set.b8Bit;
  w.header = headed;
  w.sampleRate = set.Samplerate;
  return w;
}

AscanShow ScanOf(const DisplayWindow& w, const BYTE* data, UINT bytes, UINT sequence) {
  AscanShow a;
  a.b8Bit = w.b8Bit;
  a.header = w.header;
  a.sampleRate = w.sampleRate;
  a.data = data;
  a.bytes = bytes;
  a.sequence = sequence;
  return a;
}

}  // namespace measure
