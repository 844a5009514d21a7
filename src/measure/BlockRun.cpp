// "Blockmessung": several sets active at once, the card measuring freely; A-scans and gate
// results fetched on request (manual loop) or for a number of cycles (continuous loop), gate
// results checked against the limits of the set whose identification they carry.
#include <algorithm>
#include <cstring>
#include <vector>

#include "measure/RunSupport.h"
#include "platform/Clock.h"

namespace measure {
namespace {

constexpr const char* kCaption = "Blockmessung";
constexpr const char* kGatesCaption = "Blockmessung Blenden";
constexpr BYTE kBlockStartMode = 4;
constexpr BYTE kFreeRun = 3;
constexpr DWORD kCycleWaitMs = 10;
// The manual loop ends on Cancel; a host that never answers it cannot keep it going for ever.
constexpr int kMaxQuestions = 100000;

class BlockRun {
 public:
  BlockRun(RunHost& host, const RunSettings& c)
      : m_host(host), m_c(c), m_card(host.Card(c.card)), m_h(m_card.handle), m_set(static_cast<BYTE>(c.set)) {}

  RunLine Run();

 private:
  bool Start();
  bool Prepare();
  void ManualLoop();
  void ContinuousLoop();
  bool Ascan(int cycle, bool await);
  bool Reprepare();
  bool FetchResults(int cycle);
  void Finish();
  void Box(const CString& text, const char* caption = kCaption) { m_host.MessageBox(text, caption); }
  // A checked call's outcome becomes the verdict.
  bool Store(BOOL result) { return m_ok = result != 0; }
  ParameterSet& Set(int s) { return m_card.sets[s]; }

  RunHost& m_host;
  const RunSettings m_c;
  RunCard m_card;
  HZORIX7 m_h;
  BYTE m_set;
  CString m_text;
  bool m_ok = true;
  bool m_gates = false;
  int m_display = -1;
  DisplayWindow m_window;
  ParamBlock m_blocks[kSetsPerCard] = {};
  std::vector<BYTE> m_results;
  uint64_t m_total = 0;
  DWORD m_error = 0;
};

RunLine BlockRun::Run() {
  if (Start() && Prepare()) {
    m_results.assign(kRunBufferBytes, 0);
    std::memset(m_host.DataBuffer(), 0, kRunBufferBytes);
    m_total = 0;
    if (m_c.kontinuierlich)
      ContinuousLoop();
    else
      ManualLoop();
    Finish();
  }
  if (m_display >= 0) m_host.CloseDisplay(m_display);
  RunLine line;
  line.logged = true;
  line.ok = m_ok;
  if (m_ok) m_text += "OK";
  line.text = CString::Formatted("Blockmessung Kanal %u: ", m_c.card) + m_text;
  return line;
}

bool BlockRun::Start() {
  if (!m_c.blockmessung && !m_host.SelectBlockSets(*m_card.active)) m_ok = false;
  if (m_ok && m_c.kontinuierlich && m_c.anzeige && !m_card.active->flag[m_set]) {
    Box("Parametersatz für ASCAN nicht aktiv!");
    m_ok = false;
  }
  if (!m_ok) return false;
  if (m_c.kontinuierlich && m_c.anzeige) {
    m_window = DisplayOf(Set(m_set), m_c.zorix9Mode);
    m_display = m_host.OpenDisplay(m_window);
  }
  return true;
}

bool BlockRun::Prepare() {
  if (!Store(PrepareSetOnCard(Set(0), m_h, &m_error))) {
    m_text.Format("Parametersatz 0 Error %X ", m_error);
    return false;
  }
  const ActiveSetFlags& active = *m_card.active;
  bool lastPrepared = true;
  DWORD lastError = 0;
  for (int s = 0; s < kSetsPerCard; ++s) {
    if (!active.flag[s]) continue;
    const BYTE set = static_cast<BYTE>(s);
    m_blocks[s] = MakeParamBlock(Set(s), kBlockStartMode);
    lastPrepared = ZORIX7PrepAllGatesParam(m_h, set, m_blocks[s], &lastError) != 0;
    if (!lastPrepared) Box(CString::Formatted("PrepAll Error %X", lastError));
    SendTriggerDelay(m_h, set, Set(s));
    SendEchoStartGate(m_h, set, Set(s));
  }
  if (!Store(lastPrepared)) {
    m_text.Format("PrepAll Error %X ", lastError);
    return false;
  }
  ZORIX7SetMode(m_h, m_c.dma ? 1 : 0, &m_error);
  ZORIX7ActiveParam(m_h, active, &m_error);
  if (!Store(ZORIX7StartParam(m_h, kFreeRun, &m_error))) {
    m_text.Format("Start Error %X ", m_error);
    return false;
  }
  m_gates = ResultGatesPresent(m_card.sets, active);
  return true;
}

void BlockRun::ManualLoop() {
  DWORD* bytes = m_host.DataBytes();
  for (int asked = 0; asked < kMaxQuestions; ++asked) {
    const int answer = m_host.MessageBox("ASCAN?", kCaption, MB_YESNOCANCEL);
    if (answer == IDCANCEL) return;
    if (answer == IDYES) {
      *bytes = 0;
      ZORIX7GetASCAN(m_h, m_set, bytes, 0, &m_error);
      *bytes = kRunBufferBytes;
      Store(ZORIX7GetData(m_h, bytes, m_host.DataBuffer(), &m_error));
      if (*bytes == 0) {
        Box("GetASCAN no Data ", "Blockmessung ASCAN");
      } else {
        m_host.ShowAscan(ScanOf(DisplayOf(Set(m_set), m_c.zorix9Mode), m_host.DataBuffer(), *bytes, 0));
      }
    } else if (m_gates) {
      *bytes = 0;
      ZORIX7GetResults(m_h, 100, bytes, nullptr, &m_error);
      *bytes = kRunBufferBytes;
      // An empty answer shows no gate values, but only the fetch itself is the verdict.
      if (!Store(ZORIX7GetData(m_h, bytes, m_results.data(), &m_error)) || *bytes == 0) {
        m_text.Format("GetResults Error %X ", m_error);
      } else {
        m_total += *bytes;
        m_host.ShowGateValues(m_results.data(), *bytes, *m_card.active, m_c.zorix9Mode);
      }
    }
  }
}

void BlockRun::ContinuousLoop() {
  const UINT factor = FactorOf(m_c.anzeigefaktor);
  bool toggle = true;
  for (int c = 0; c < m_c.zyklen; ++c) {
    m_host.Progress(c + 1, m_c.zyklen);
    if (static_cast<UINT>(c) % factor != 0) continue;
    if (!m_c.anzeige) {
      Sleep(kCycleWaitMs);
    } else if (!Ascan(c, toggle)) {
      break;
    }
    if (m_ok && m_c.prepAll && !toggle && !Reprepare()) break;
    if (m_c.prepAll) toggle = !toggle;
    if (!m_gates || !m_ok) {
      Sleep(kCycleWaitMs);
      continue;
    }
    if (!FetchResults(c)) break;
  }
  m_host.Progress(0, 0);
}

// False: leave the loop.
bool BlockRun::Ascan(int cycle, bool await) {
  DWORD* bytes = m_host.DataBytes();
  *bytes = 0;
  if (!Store(ZORIX7GetASCAN(m_h, m_set, bytes, 0, &m_error))) {
    Box(CString::Formatted("GetASCAN Error %X", m_error));
    return false;
  }
  *bytes = kRunBufferBytes;
  if (!Store(ZORIX7StartGetData(m_h, bytes, m_host.DataBuffer(), 0, &m_error))) {
    Box(CString::Formatted("StartGetData ASCAN Error %X", m_error));
    return true;
  }
  if (!await) return true;
  // An error word ends only this wait; the data time-out bounds a card that never answers.
  if (!AwaitFetch(m_h, bytes, m_c.timeOutSeconds, m_error)) Box(CString::Formatted("IsReadyGetData Error %X", m_error));
  m_host.UpdateDisplay(m_display, ScanOf(m_window, m_host.DataBuffer(), *bytes, static_cast<UINT>(cycle)));
  return true;
}

bool BlockRun::Reprepare() {
  if (m_c.anzeige && !Store(ZORIX7CancelGetData(m_h, &m_error)))
    Box(CString::Formatted("CancelGetData Error %X", m_error));
  if (!Store(ZORIX7Stop(m_h, &m_error))) {
    Box(CString::Formatted("Stop vor PrepAll Error %X", m_error));
    return false;
  }
  if (!Store(ZORIX7ClearFIFO(m_h, &m_error))) {
    Box(CString::Formatted("Clear FIFO Error %X Wait %d", m_error, 0));
    return false;
  }
  for (int s = 0; s < kSetsPerCard; ++s) {
    if (!m_card.active->flag[s]) continue;
    if (!Store(ZORIX7PrepAllGatesParam(m_h, static_cast<BYTE>(s), m_blocks[s], &m_error)))
      Box(CString::Formatted("PrepAll %d Error %X", s, m_error));
  }
  if (!Store(ZORIX7StartParam(m_h, kFreeRun, &m_error))) {
    Box(CString::Formatted("Start nach PrepAll Error %X", m_error));
    return false;
  }
  return true;
}

// False: leave the loop.
bool BlockRun::FetchResults(int cycle) {
  DWORD* bytes = m_host.DataBytes();
  *bytes = kRunBufferBytes;
  if (!Store(ZORIX7GetResults(m_h, 0, bytes, m_results.data(), &m_error))) {
    Box(CString::Formatted("GetResults Error %X", m_error), kGatesCaption);
    return true;
  }
  if (!m_c.zorix9Mode) return true;
  m_total += *bytes;
  GateLimits limits[kSetsPerCard];
  GateLimitsOf(m_card.sets, limits);
  const BlockCheckResult check = checkBlockResults(m_results.data(), *bytes, cycle, m_card.ident, limits);
  switch (check.status) {
    case BlockCheckStatus::Ok:
      return true;
    case BlockCheckStatus::NoGates:
      // Ends the loop; the closing fetch then gives the verdict.
      Box(check.text, kGatesCaption);
      return false;
    case BlockCheckStatus::WrongKennung:
      Box(check.text, kGatesCaption);
      return true;
    case BlockCheckStatus::GateFailed:
      m_text = check.text;
      m_ok = false;
      return true;
  }
  return true;
}

// The closing stop and result fetch run after every loop; a failure of the loop keeps its
// text and verdict.
void BlockRun::Finish() {
  const bool loopFailed = !m_ok;
  CString text;
  bool ok = true;
  DWORD* bytes = m_host.DataBytes();
  if (!ZORIX7Stop(m_h, &m_error)) {
    text.Format("%llu Bytes, Stop Error %X", static_cast<unsigned long long>(m_total), m_error);
    ok = false;
  } else if (m_gates) {
    *bytes = kRunBufferBytes;
    if (!ZORIX7GetResults(m_h, 0, bytes, m_results.data(), &m_error)) {
      text.Format("%llu Bytes, Results Error %X", static_cast<unsigned long long>(m_total), m_error);
      ok = false;
    } else if (*bytes == 0) {
      text.Format("%llu Bytes, no Results ", static_cast<unsigned long long>(m_total));
    } else {
      m_total += *bytes;
      text.Format("%llu Bytes ", static_cast<unsigned long long>(m_total));
      m_host.ShowGateValues(m_results.data(), *bytes, *m_card.active, m_c.zorix9Mode);
    }
  }
  if (loopFailed) return;
  m_text = text;
  m_ok = ok;
}

}  // namespace

RunLine RunBlockMeasurement(RunHost& host) {
  if (!ZORIX7IsVersion3(host.Card(host.SelectedCard()).handle)) {
    // Silent by hand; in the automatic mode the reports keep the run, as not run here.
    const RunSettings c = host.ReadControls();
    RunLine line;
    line.logged = line.skipped = c.blockmessung;
    line.text = CString::Formatted("Blockmessung Kanal %u: Keine ZORIX7F!", c.card);
    return line;
  }
  const RunSettings c = host.ReadControls();
  if (c.set <= 0) return {};
  RunSettings bounded = c;
  bounded.set = std::min(c.set, kSetsPerCard - 1);
  return BlockRun(host, bounded).Run();
}

}  // namespace measure
