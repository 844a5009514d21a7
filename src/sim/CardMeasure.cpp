// The measuring side of a card: shots, the FIFO between them and the fetches, framing.
//
// A card either fires single shots (Start with start mode 1: one shot of the current
// set per Start, at most kFifoShots kept) or runs freely (start mode 3), in which case
// every fetch takes a fresh shot of the next set of the cycle. Stopping a free run leaves
// kFifoShots shots (and, for a block run, one cycle of results) in the FIFO. A fetch
// with nothing to deliver fails with kErrNoData.
#include <algorithm>
#include <cstring>

#include "platform/Clock.h"
#include "sim/CardModel.h"

namespace zorix7sim {
namespace {

constexpr unsigned kFifoShots = 2;
constexpr DWORD kNominalShotUs = 1000;  // time-stamp spacing when shots take no time
constexpr DWORD kExtraWord = 0x0BAD0000;

}  // namespace

std::vector<BYTE> CardModel::Cycle() const {
  std::vector<BYTE> c;
  if (isF())
    for (BYTE s = 1; s < kSets; ++s)
      if (active.flag[s]) c.push_back(s);
  if (c.empty()) c.push_back(currentSet);
  return c;
}

const SetResponse& CardModel::Response(BYTE set) {
  const SetState& s = sets[set];
  const ParamBlock block = s.prepared ? s.block : DefaultParamBlock();
  CachedResponse& cache = m_responses[set];
  if (!cache.valid || cache.relative != s.esGate.relative ||
      std::memcmp(&cache.block, &block, sizeof block) != 0) {
    cache.response = BuildResponse(m_spec.specimen, block, s.esGate.relative);
    cache.block = block;
    cache.relative = s.esGate.relative;
    cache.valid = true;
  }
  return cache.response;
}

void CardModel::StartShots() {
  running = true;
  const ParamBlock& block = Response(currentSet).block;
  if (block.StartMode == 3) {
    BeginFreeRun(false);
    auto c = Cycle();
    m_run.rotation = static_cast<size_t>(std::find(c.begin(), c.end(), currentSet) - c.begin()) % c.size();
    return;
  }
  m_run.freeRun = false;
  if (m_run.fired.size() < kFifoShots) m_run.fired.push_back(currentSet);
  m_run.lastShotSet = currentSet;
}

void CardModel::StartParamShots(BYTE mode) {
  startMode = mode;
  if (mode != 3) {
    StartShots();
    return;
  }
  BeginFreeRun(true);
}

void CardModel::BeginFreeRun(bool block) {
  ClearFifo();
  running = true;
  m_run.freeRun = true;
  m_run.blockRun = block;
  m_run.rotation = 0;
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
  fetchPending = false;
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

bool CardModel::DataInFifo() const { return HasData() || m_run.queued.has_value(); }

BYTE CardModel::NextInCycle() {
  auto c = Cycle();
  return c[m_run.rotation++ % c.size()];
}

void CardModel::Charge(size_t shots) {
  if (m_spec.shotPeriodUs == 0) return;
  m_run.timeDebtUs += shots * m_spec.shotPeriodUs;
  if (DWORD ms = static_cast<DWORD>(m_run.timeDebtUs / 1000)) {
    CurrentClock().Sleep(ms);
    m_run.timeDebtUs %= 1000;
  }
}

DWORD CardModel::TimeStamp() const {
  return m_run.shots * (m_spec.shotPeriodUs ? m_spec.shotPeriodUs : kNominalShotUs);
}

void CardModel::AppendShot(BYTE set, std::vector<BYTE>& out) {
  const SetResponse& r = Response(set);
  m_noise.Shot(r, m_samples);
  ++m_run.shots;
  m_run.lastShotSet = set;
  Charge(1);
  AscanFraming f;
  f.headed = Zorix9Mode();
  f.type = m_spec.ascanType;
  f.eightBit = r.block.b8Bit != 0;
  f.kennung = sets[set].zorix9Ident;
  f.timeStamped = f.headed && r.block.ExternerTrigger;
  f.time = TimeStamp();
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
  Charge(cycle.size());
}

void CardModel::AppendResults(std::vector<BYTE>& out) {
  if (m_run.freeRun) {
    AppendCycle(Cycle(), true, out);
  } else if (!m_run.fired.empty()) {
    AppendCycle({m_run.fired.begin(), m_run.fired.end()}, false, out);
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
    AppendShot(NextInCycle(), out);
  } else if (!m_run.fired.empty()) {
    BYTE s = m_run.fired.front();
    m_run.fired.pop_front();
    AppendShot(s, out);
  } else if (m_run.leftoverShots > 0) {
    --m_run.leftoverShots;
    AppendShot(NextInCycle(), out);
  } else if (m_run.leftoverResults) {
    AppendResults(out);  // what a stopped block run left
  } else {
    AppendShot(NextInCycle(), out);  // a card whose FIFO never runs empty
  }
}

DWORD CardModel::Deliver(const std::vector<BYTE>& data, BYTE* buffer, DWORD& count) {
  const DWORD n = static_cast<DWORD>(std::min<size_t>(count, data.size()));
  if (n) std::memcpy(buffer, data.data(), n);
  count = n;
  return 0;
}

DWORD CardModel::FetchData(BYTE* buffer, DWORD& count) {
  if (!DataInFifo()) {
    count = 0;
    return kErrNoData;
  }
  Produce(m_out);
  return Deliver(m_out, buffer, count);
}

DWORD CardModel::RequestAscan(BYTE set, DWORD& count) {
  if (!HasData()) {
    count = 0;
    return kErrNoData;
  }
  // The requested shot replaces one kept in the FIFO.
  if (!m_run.freeRun) {
    if (!m_run.fired.empty())
      m_run.fired.pop_front();
    else if (m_run.leftoverShots > 0)
      --m_run.leftoverShots;
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
  m_out.clear();
  AppendResults(m_out);
  return Deliver(m_out, buffer, count);
}

DWORD CardModel::StartFetch(BYTE* buffer, DWORD room) {
  // Shots take no time to transfer, so the fetch is complete when it starts - except on a
  // never-ready card, where it waits for a shot that never comes.
  DWORD count = 0;
  if (!m_spec.neverReady) {
    count = room;
    if (DWORD error = FetchData(buffer, count)) return error;
  }
  m_run.fetchBytes = count;
  m_run.fetchTick = CurrentClock().GetTickCount();
  fetchPending = true;
  return 0;
}

DWORD CardModel::CollectFetch(DWORD& count, bool& pending) {
  count = 0;
  pending = fetchPending && m_spec.neverReady;
  if (pending) {
    const uint64_t limitMs = uint64_t{dataTimeOutSeconds} * 1000;
    if (limitMs == 0 || CurrentClock().GetTickCount() - m_run.fetchTick < limitMs) return 0;
    pending = fetchPending = false;
    return kErrDataTimeOut;
  }
  if (fetchPending) count = m_run.fetchBytes;
  fetchPending = false;
  return 0;
}

DWORD CardModel::Readout(GateReadout& out) {
  if (!m_run.lastShotSet) return kErrNoData;
  out = MakeReadout(Response(*m_run.lastShotSet));
  return 0;
}

}  // namespace zorix7sim
