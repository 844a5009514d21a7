// The measuring side of a card: shots on the card's time line, the FIFO between them and the
// fetches, framing.
//
// A card either fires single shots (Start with start mode 1: one shot of the current set
// per Start, complete one shot time after the card is free, at most kFifoShots kept) or
// runs freely (start mode 3): shots follow each other, the FIFO keeps at most kFifoShots
// complete shots nobody fetched, and a fetch takes the oldest or waits for the next.
// Stopping a free run leaves kFifoShots shots (and, for a block run, one cycle of results)
// in the FIFO. A fetch with nothing to deliver fails with kErrNoData; one whose shot cannot
// come in time (external clock without a clock, a card that never gets ready) fails with
// kErrDataTimeOut once the data time-out has passed.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "platform/Clock.h"
#include "sim/CardModel.h"

namespace zorix7sim {
namespace {

constexpr unsigned kFifoShots = 2;
constexpr DWORD kNominalShotUs = 1000;  // time-stamp spacing when shots take no time
constexpr DWORD kExtraWord = 0x0BAD0000;
constexpr uint64_t kNever = UINT64_MAX;
constexpr double kDmaBytesPerUs = 133;     // PCI bus master, 33 MHz x 4 bytes
constexpr double kPioBytesPerUs = 33.25;   // word by word through the processor
// A pending poll takes this long and no longer, as a driver's does: the caller decides when
// to give the card more time, and one slow card does not hold up the polls of the others.
constexpr uint64_t kPollWaitUs = 1;
constexpr size_t kMaxSapOffset = offsetof(KennungRecord, nMaxSapFolge);

// The cards' shared time in microseconds: the clock's milliseconds plus what the cards have
// waited below a millisecond. A new clock (another test's) starts afresh.
struct CardTime {
  const Clock* clock = nullptr;
  DWORD lastTick = 0;
  uint64_t subUs = 0;
};
CardTime g_time;

uint64_t NowUs() {
  Clock& clock = CurrentClock();
  const DWORD tick = clock.GetTickCount();
  if (&clock != g_time.clock || tick < g_time.lastTick) g_time = CardTime{&clock, tick, 0};
  g_time.lastTick = tick;
  return uint64_t{tick} * 1000 + g_time.subUs;
}

void WaitUs(uint64_t us) {
  if (us == 0) return;
  NowUs();
  g_time.subUs += us;
  while (g_time.subUs >= 1000) {
    const DWORD ms = static_cast<DWORD>(std::min<uint64_t>(g_time.subUs / 1000, 0xFFFFFFFFu));
    CurrentClock().Sleep(ms);
    g_time.subUs -= uint64_t{ms} * 1000;
    g_time.lastTick = CurrentClock().GetTickCount();
  }
}

uint64_t After(uint64_t at, uint64_t us) { return at == kNever || us == kNever ? kNever : at + us; }

}  // namespace

uint64_t CardTimeUs() { return NowUs(); }

std::vector<BYTE> CardModel::Cycle() const {
  std::vector<BYTE> c;
  if (isF())
    for (BYTE s = 1; s < kSets; ++s)
      if (active.flag[s]) c.push_back(s);
  if (c.empty()) c.push_back(currentSet);
  return c;
}

ParamBlock CardModel::BlockOf(BYTE set) const {
  return sets[set].prepared ? sets[set].block : DefaultParamBlock();
}

const SetResponse& CardModel::Response(BYTE set) {
  const SetState& s = sets[set];
  const ParamBlock block = BlockOf(set);
  CachedResponse& cache = m_responses[set];
  if (!cache.valid || cache.relative != s.esGate.relative || cache.powered != analoguePowered ||
      std::memcmp(&cache.block, &block, sizeof block) != 0) {
    // With the analogue part off the receiver hears nothing at all.
    static const SpecimenSpec kSilent{.flawDepth = 0, .flawAmplitude = 0, .backWallAmplitude = 0,
                                      .transmitPulse = 0, .noise = 0};
    cache.response = BuildResponse(analoguePowered ? m_spec.specimen : kSilent, block, s.esGate.relative);
    cache.block = block;
    cache.relative = s.esGate.relative;
    cache.powered = analoguePowered;
    cache.valid = true;
  }
  return cache.response;
}

// ---- time ----

uint64_t CardModel::ShotTimeUs(BYTE set) const {
  if (externalClock && m_spec.externalClockMHz <= 0) return kNever;  // nothing clocks the converter
  if (m_spec.instant) return 0;
  if (m_spec.shotPeriodUs) return m_spec.shotPeriodUs;
  const ParamBlock b = BlockOf(set);
  const double periodUs = externalClock ? 1 / m_spec.externalClockMHz : SamplePeriodMicroseconds(b.Samplerate);
  const uint64_t lead = b.Aufnahmedelay > b.PKVorlauf ? b.Aufnahmedelay - b.PKVorlauf : 0;
  const double recordUs = static_cast<double>(lead + b.Aufnahmelaenge) * periodUs;
  const double delayUs = sets[set].triggerDelay + sets[set].triggerDelay25ns * 0.025;
  // The identification record names the highest pulse repetition rate in kHz.
  const BYTE maxKHz = m_kennung[kMaxSapOffset];
  double repetitionUs = maxKHz ? 1000.0 / maxKHz : 0;
  if (b.IFF) repetitionUs = std::max(repetitionUs, 1e6 / b.IFF);
  const double shots = std::max<BYTE>(1, b.Average);
  return static_cast<uint64_t>(std::llround(shots * std::max(repetitionUs, delayUs + recordUs)));
}

uint64_t CardModel::TransferUs(size_t bytes) const {
  if (m_spec.instant || m_spec.shotPeriodUs) return 0;
  return static_cast<uint64_t>(std::llround(static_cast<double>(bytes) / (dmaMode ? kDmaBytesPerUs : kPioBytesPerUs)));
}

uint64_t CardModel::TimeOutUs() const { return uint64_t{dataTimeOutSeconds} * 1000000; }

DWORD CardModel::AwaitUs(uint64_t readyUs) {
  if (m_spec.instant && readyUs != kNever) return 0;
  const uint64_t now = NowUs();
  if (readyUs <= now) return 0;
  const uint64_t limit = TimeOutUs();
  if (readyUs == kNever && limit == 0) return kErrNoData;  // waiting for ever helps no one
  if (limit && readyUs - now > limit) {
    WaitUs(limit);
    return kErrDataTimeOut;
  }
  WaitUs(readyUs - now);
  return 0;
}

// ---- runs ----

void CardModel::StartShots() {
  running = true;
  if (BlockOf(currentSet).StartMode == 3) {
    BeginFreeRun(false);
    auto c = Cycle();
    m_run.rotation = static_cast<size_t>(std::find(c.begin(), c.end(), currentSet) - c.begin()) % c.size();
    m_run.nextUs = After(m_run.nextUs, ShotTimeUs(PeekInCycle()));
    return;
  }
  m_run.freeRun = false;
  const uint64_t start = m_spec.instant ? 0 : std::max(NowUs(), m_run.busyUntilUs);
  m_run.busyUntilUs = After(start, ShotTimeUs(currentSet));
  if (m_run.fired.size() < kFifoShots) m_run.fired.push_back({currentSet, m_run.busyUntilUs});
  m_run.lastShotSet = currentSet;
}

void CardModel::StartParamShots(BYTE mode) {
  startMode = mode;
  if (mode != 3) {
    StartShots();
    return;
  }
  BeginFreeRun(true);
  m_run.nextUs = After(m_run.nextUs, ShotTimeUs(PeekInCycle()));
}

void CardModel::BeginFreeRun(bool block) {
  ClearFifo();
  running = true;
  m_run.freeRun = true;
  m_run.blockRun = block;
  m_run.rotation = 0;
  m_run.nextUs = m_spec.instant ? 0 : NowUs();
}

void CardModel::StopShots() {
  if (m_run.freeRun) {
    m_run.leftoverShots = kFifoShots;
    m_run.leftoverResults = m_run.blockRun;
  }
  m_run.freeRun = m_run.blockRun = false;
  running = false;
}

void CardModel::ClearFifo() {
  m_run.fired.clear();
  m_run.leftoverShots = 0;
  m_run.leftoverResults = false;
  m_run.queued.reset();
  m_run.busyUntilUs = 0;  // a single shot under way is dropped with the rest
  fetchPending = false;
  // A free run goes on; the shots it had kept are gone.
  if (m_run.freeRun && !m_spec.instant && m_run.nextUs <= NowUs())
    m_run.nextUs = After(NowUs(), ShotTimeUs(PeekInCycle()));
}

void CardModel::ForgetShots() {
  ClearFifo();
  m_run.freeRun = m_run.blockRun = false;
  m_run.lastShotSet.reset();
  running = false;
}

bool CardModel::HasData() const {
  return m_spec.neverEmpty || m_run.freeRun || !m_run.fired.empty() || m_run.leftoverShots > 0 || m_run.leftoverResults;
}

bool CardModel::DataInFifo() const {
  if (m_spec.neverEmpty || m_run.queued || m_run.leftoverShots > 0 || m_run.leftoverResults) return true;
  // Instant: every shot that can complete has.
  const uint64_t now = m_spec.instant ? kNever - 1 : NowUs();
  if (m_run.freeRun) return m_run.nextUs <= now;
  return !m_run.fired.empty() && m_run.fired.front().readyUs <= now;
}

BYTE CardModel::PeekInCycle() const {
  auto c = Cycle();
  return c[m_run.rotation % c.size()];
}

// The completion of the oldest shot of a free run nobody fetched; shots the full FIFO could
// not keep are lost.
uint64_t CardModel::FreeRunReadyUs() {
  if (m_spec.instant) return m_run.nextUs;
  const uint64_t period = ShotTimeUs(PeekInCycle());
  const uint64_t now = NowUs();
  if (period != kNever && m_run.nextUs != kNever && now > m_run.nextUs + kFifoShots * period)
    m_run.nextUs = now - (kFifoShots - 1) * period;
  return m_run.nextUs;
}

void CardModel::AdvanceFreeRun() {
  ++m_run.rotation;
  m_run.nextUs = After(m_run.nextUs, ShotTimeUs(PeekInCycle()));
}

// When the next thing the FIFO gives is complete; only asked when there is one.
uint64_t CardModel::NextReadyUs() {
  if (m_run.queued) return 0;
  if (m_run.freeRun) return FreeRunReadyUs();
  if (!m_run.fired.empty()) return m_run.fired.front().readyUs;
  return 0;
}

// A cycle of results: the shots of every set of the cycle.
DWORD CardModel::AwaitCycle() {
  if (m_run.freeRun) {
    for (size_t n = Cycle().size(); n > 0; --n) {
      if (DWORD error = AwaitUs(FreeRunReadyUs())) return error;
      AdvanceFreeRun();
    }
    return 0;
  }
  return m_run.fired.empty() ? 0 : AwaitUs(m_run.fired.back().readyUs);
}

// ---- data ----

DWORD CardModel::TimeStamp() const {
  return m_run.shots * (m_spec.shotPeriodUs ? m_spec.shotPeriodUs : kNominalShotUs);
}

void CardModel::AppendShot(BYTE set, std::vector<BYTE>& out) {
  const SetResponse& r = Response(set);
  ++m_run.shots;
  m_run.lastShotSet = set;
  AscanFraming f;
  f.headed = Zorix9Mode();
  f.type = m_spec.ascanType;
  f.eightBit = r.block.b8Bit != 0;
  f.kennung = sets[set].zorix9Ident;
  f.timeStamped = f.headed && r.block.ExternerTrigger;
  f.time = TimeStamp();
  if (Samples16(f)) {
    const size_t at = AppendAscanFrame(out, r.clean.size(), f);
    m_noise.Shot16(r, out.data() + at);
    return;
  }
  m_noise.Shot(r, m_samples);
  AppendAscan(out, m_samples, f);
}

void CardModel::AppendCycle(const std::vector<BYTE>& cycle, bool endOfCycle, std::vector<BYTE>& out) {
  const bool headed = Zorix9Mode();
  for (BYTE s : cycle) {
    const SetResponse& r = Response(s);
    ++m_run.shots;
    if (headed)
      AppendGateRecord(out, r, sets[s].zorix9Ident, r.block.ExternerTrigger != 0, TimeStamp(), m_run.shots);
    else if (s >= 1 && s <= 6)  // compact records carry no identification: sets 1..6 in turn
      AppendCompactRecord(out, r);
  }
  if (headed && endOfCycle) AppendWord(out, kEndOfCycle);
}

void CardModel::AppendResults(std::vector<BYTE>& out) {
  if (m_run.freeRun) {
    AppendCycle(Cycle(), true, out);
  } else if (!m_run.fired.empty()) {
    std::vector<BYTE> fired;
    for (const auto& f : m_run.fired) fired.push_back(f.set);
    AppendCycle(fired, false, out);
  } else {
    AppendCycle(Cycle(), true, out);
  }
  if (!m_run.freeRun) {
    m_run.fired.clear();
    m_run.leftoverShots = 0;
    m_run.leftoverResults = false;
  }
  for (DWORD i = 0; i < m_spec.extraFifoWords; ++i) AppendWord(out, kExtraWord | (i & 0xFFFF));
}

// The next thing in the FIFO; only called when there is one.
void CardModel::Produce(std::vector<BYTE>& out) {
  out.clear();
  if (m_run.queued) {
    out.swap(*m_run.queued);
    m_run.queued.reset();
  } else if (m_run.freeRun) {
    const BYTE s = PeekInCycle();
    AdvanceFreeRun();
    AppendShot(s, out);
  } else if (!m_run.fired.empty()) {
    BYTE s = m_run.fired.front().set;
    m_run.fired.pop_front();
    AppendShot(s, out);
  } else if (m_run.leftoverShots > 0) {
    --m_run.leftoverShots;
    AppendShot(PeekInCycle(), out);
    ++m_run.rotation;
  } else if (m_run.leftoverResults) {
    AppendResults(out);  // what a stopped block run left
  } else {
    AppendShot(PeekInCycle(), out);  // a card whose FIFO never runs empty
    ++m_run.rotation;
  }
}

DWORD CardModel::Copy(const std::vector<BYTE>& data, BYTE* buffer, DWORD& count) {
  const DWORD n = static_cast<DWORD>(std::min<size_t>(count, data.size()));
  if (n) std::memcpy(buffer, data.data(), n);
  count = n;
  return 0;
}

DWORD CardModel::Deliver(const std::vector<BYTE>& data, BYTE* buffer, DWORD& count) {
  Copy(data, buffer, count);
  WaitUs(TransferUs(count));
  return 0;
}

DWORD CardModel::FetchData(BYTE* buffer, DWORD& count) {
  if (!HasData() && !m_run.queued) {
    count = 0;
    return kErrNoData;
  }
  if (DWORD error = AwaitUs(NextReadyUs())) {
    count = 0;
    return error;
  }
  Produce(m_out);
  return Deliver(m_out, buffer, count);
}

DWORD CardModel::RequestAscan(BYTE set, DWORD& count) {
  if (!HasData()) {
    count = 0;
    return kErrNoData;
  }
  // The requested shot takes the place of the next one: a free run's or one kept in the FIFO.
  DWORD error = 0;
  if (m_run.freeRun) {
    if (!(error = AwaitUs(FreeRunReadyUs()))) AdvanceFreeRun();
  } else if (!m_run.fired.empty()) {
    if (!(error = AwaitUs(m_run.fired.front().readyUs))) m_run.fired.pop_front();
  } else if (m_run.leftoverShots > 0) {
    --m_run.leftoverShots;
  }
  if (error) {
    count = 0;
    return error;
  }
  std::vector<BYTE> data;
  AppendShot(set, data);
  count = static_cast<DWORD>(data.size());
  m_run.queued = std::move(data);
  return 0;
}

DWORD CardModel::RequestResults(DWORD& count) {
  if (!HasData()) {
    count = 0;
    return kErrNoData;
  }
  if (DWORD error = AwaitCycle()) {
    count = 0;
    return error;
  }
  std::vector<BYTE> data;
  AppendResults(data);
  count = static_cast<DWORD>(data.size());
  m_run.queued = std::move(data);
  return 0;
}

DWORD CardModel::FetchResults(BYTE* buffer, DWORD& count) {
  if (!HasData()) {
    count = 0;
    return kErrNoData;
  }
  if (DWORD error = AwaitCycle()) {
    count = 0;
    return error;
  }
  m_out.clear();
  AppendResults(m_out);
  return Deliver(m_out, buffer, count);
}

// The data are taken from the FIFO at once and written to the caller's buffer; the fetch
// completes when the shot is in and has crossed the bus. A shot that cannot come (a card
// that never gets ready, no external clock) stays in the FIFO and the fetch never completes.
DWORD CardModel::StartFetch(BYTE* buffer, DWORD room) {
  m_run.fetchStartUs = NowUs();
  m_run.fetchBytes = 0;
  m_run.fetchReadyUs = kNever;
  fetchPending = true;
  if (m_spec.neverReady) return 0;
  if (!HasData() && !m_run.queued) {
    fetchPending = false;
    return kErrNoData;
  }
  const uint64_t ready = NextReadyUs();
  if (ready == kNever) return 0;
  DWORD count = room;
  Produce(m_out);
  Copy(m_out, buffer, count);
  m_run.fetchBytes = count;
  m_run.fetchReadyUs = After(std::max(ready, m_run.fetchStartUs), TransferUs(count));
  return 0;
}

DWORD CardModel::CollectFetch(DWORD& count, bool& pending) {
  count = 0;
  pending = false;
  if (!fetchPending) return 0;
  if (!m_spec.instant || m_run.fetchReadyUs == kNever) {
    uint64_t now = NowUs();
    if (now < m_run.fetchReadyUs) {
      const uint64_t limit = TimeOutUs();
      if (limit && now - m_run.fetchStartUs >= limit) {
        fetchPending = false;
        return kErrDataTimeOut;
      }
      if (m_run.fetchReadyUs != kNever) {
        WaitUs(std::min(m_run.fetchReadyUs - now, kPollWaitUs));
        now = NowUs();
      }
      if (now < m_run.fetchReadyUs) {
        pending = true;
        return 0;
      }
    }
  }
  count = m_run.fetchBytes;
  fetchPending = false;
  return 0;
}

DWORD CardModel::Readout(GateReadout& out) {
  if (!m_run.lastShotSet) return kErrNoData;
  out = MakeReadout(Response(*m_run.lastShotSet));
  return 0;
}

}  // namespace zorix7sim
