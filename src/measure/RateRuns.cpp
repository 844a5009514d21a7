// The data-rate tests: how fast shots can be fetched from one card and one set, one card and
// sets 1..n in turn, or cards 1..n at once, timed with GetTickCount.
#include <algorithm>
#include <vector>

#include "card/ErrorWords.h"
#include "measure/RunSupport.h"
#include "platform/Clock.h"

namespace measure {
namespace {

constexpr DWORD kThrottleOneMs = 20;
constexpr DWORD kThrottleManyMs = 10;
constexpr int kSetsAreaWidth = 1024;
constexpr int kSetsAreaHeight = 743;
constexpr int kTaskBarHeight = 25;
constexpr DWORD kSettleMs = 200;
// IsDataInFIFO after a continuous run: a card that always reports data is drained this far.
constexpr int kMaxDrain = 1024;

// What the three tests share: the controls, the verdict and the failure text.
class RateRun {
 protected:
  RateRun(RunHost& host, const char* caption)
      : m_host(host), m_c(host.ReadControls()), m_caption(caption), m_mode(m_c.kontinuierlich ? 3 : 1) {}

  void Box(const CString& text) { m_host.MessageBox(text, m_caption); }
  // The latest failure's text is the line's.
  void Fail(const CString& text) {
    m_text = text;
    m_ok = false;
  }
  // A failure shown in a box: its words are the line's unless a failure text is there.
  void FailBox(const CString& text) {
    Box(text);
    if (m_text.IsEmpty()) m_text = text;
    m_ok = false;
  }
  RunLine Line(const CString& prefix, bool dmaWord) {
    RunLine line;
    line.logged = true;
    line.ok = m_ok;
    line.checkedSomething = m_c.zyklen > 0;
    if (!m_ok) {
      line.text = m_text;
      return line;
    }
    line.text = prefix + "Datenrate " + (dmaWord && m_c.dma ? "DMA " : "") + (m_c.prepAll ? "+ PrepAll " : "") +
                m_text + "OK";
    return line;
  }
  int SetNumber() const { return std::clamp(m_c.set, 0, kSetsPerCard - 1); }
  void Drain(HZORIX7 h) {
    DWORD error = 0;
    BOOL inFifo = FALSE;
    for (int n = 0; n < kMaxDrain && ZORIX7IsDataInFIFO(h, &inFifo, &error) && inFifo; ++n) {
      *m_host.DataBytes() = kRunBufferBytes;
      if (!ZORIX7GetData(h, m_host.DataBytes(), m_host.DataBuffer(), &error)) return;  // what cannot come stays
    }
  }
  AscanShow Scan(const DisplayWindow& w, const BYTE* data, UINT sequence, const GateReadout* readout,
                 const ParameterSet& set) {
    AscanShow a = ScanOf(w, data, *m_host.DataBytes(), sequence);
    a.readout = readout;
    a.gates = &set.Gates;
    a.offset = static_cast<int>(set.Aufnahmedelay);
    return a;
  }

  RunHost& m_host;
  const RunSettings m_c;
  const char* m_caption;
  const BYTE m_mode;  // start mode of the blocks sent
  CString m_text;
  bool m_ok = true;
  DWORD m_error = 0;
};

// ---- "Karte n Satz n" ----

class RateOneSet : RateRun {
 public:
  explicit RateOneSet(RunHost& host)
      : RateRun(host, "Datenrate11"), m_card(host.Card(m_c.card)), m_h(m_card.handle), m_m(static_cast<BYTE>(SetNumber())) {}

  RunLine Run() {
    const ParameterSet& set = m_card.sets[m_m];
    m_block = MakeParamBlock(set, m_mode);
    if (m_c.anzeige) {
      m_window = DisplayOf(set, m_c.zorix9Mode);
      m_display = m_host.OpenDisplay(m_window);
    }
    if (!PrepareSetOnCard(m_card.sets[0], m_h, &m_error))
      Fail(CString::Formatted("Parametersatz 0 Error %X ", m_error));
    else if (Prepare())
      Loop();
    if (!m_ok && m_c.random) {
      ParameterSet shown = ParameterSetFromBlock(m_block, set);
      m_host.EditParameters(m_h, shown);
    }
    if (m_display >= 0) m_host.CloseDisplay(m_display);
    return Line(CString::Formatted("Kanal %u: ", m_c.card), true);
  }

 private:
  bool Prepare() {
    const bool zorix7F = ZORIX7IsVersion3(m_h) != 0;
    bool ok = true;
    if (!ZORIX7PrepAllGatesParam(m_h, m_m, m_block, &m_error)) {
      Box(CString::Formatted("PrepAll Error %X", m_error));
      ok = false;
    }
    SendTriggerDelay(m_h, m_m, m_card.sets[m_m]);
    if (m_c.kontinuierlich && zorix7F) {
      ActiveSetFlags only{};
      only.flag[m_m] = TRUE;
      DWORD ignored = 0;
      ZORIX7ActiveParam(m_h, only, &ignored);
    }
    DWORD ignored = 0;
    ZORIX7SetMode(m_h, m_c.dma ? 1 : 0, &ignored);
    if (m_c.kontinuierlich && ok && !ZORIX7Start(m_h, &m_error)) {
      Box(CString::Formatted("Start Error %X", m_error));
      ok = false;
    }
    if (!ok) Fail(CString::Formatted("PrepAll Error %X", m_error));
    return ok;
  }

  void Loop() {
    const ParameterSet& set = m_card.sets[m_m];
    const bool gates = !m_c.kontinuierlich && ZORIX7IsVersion3(m_h);
    const UINT factor = FactorOf(m_c.anzeigefaktor);
    DisplayThrottle throttle;
    GateReadout readout{};
    const DWORD start = GetTickCount();
    for (int c = 0; c < m_c.zyklen && m_ok; ++c) {
      m_host.Progress(c + 1, m_c.zyklen);
      if ((!m_c.kontinuierlich || (m_c.prepAll && c > 0)) && !ZORIX7Start(m_h, &m_error)) {
        FailBox(CString::Formatted("Start Error %X", m_error));
        break;
      }
      *m_host.DataBytes() = kRunBufferBytes;
      if (!ZORIX7GetData(m_h, m_host.DataBytes(), m_host.DataBuffer(), &m_error)) {
        *m_host.DataBytes() = 0;
        Fail(CString::Formatted("GetData Error %X", m_error));
        if (m_c.kontinuierlich) ZORIX7Stop(m_h, &m_error);
        break;
      }
      if (gates && !ZORIX7GetGates(m_h, &readout, &m_error)) {
        FailBox(CString::Formatted("GetGates Error %X", m_error));
        break;
      }
      if (m_c.anzeige && static_cast<UINT>(c) % factor == 0 && throttle.Due(kThrottleOneMs)) {
        AscanShow a = Scan(m_window, m_host.DataBuffer(), static_cast<UINT>(c), gates ? &readout : nullptr, set);
        if (!gates) a.gates = nullptr;
        m_host.UpdateDisplay(m_display, a);
      }
      if (m_c.prepAll && !PrepareAgain()) break;
    }
    const DWORD elapsed = GetTickCount() - start;
    m_host.Progress(0, 0);
    if (!m_ok) return;
    m_text = RateText(set.Aufnahmelaenge, m_c.zyklen, elapsed);
    if (m_c.kontinuierlich) {
      ZORIX7Stop(m_h, &m_error);
      Drain(m_h);
    }
  }

  bool PrepareAgain() {
    if (m_c.kontinuierlich) {
      Sleep(1);
      if (!ZORIX7Stop(m_h, &m_error)) {
        FailBox(CString::Formatted("Stop vor PrepAll Error %X", m_error));
        return false;
      }
      if (!ZORIX7ClearFIFO(m_h, &m_error)) {
        FailBox(CString::Formatted("xxx Clear FIFO Error %X Wait %d", m_error, 0));
        return false;
      }
    }
    if (m_c.random) DrawRandomParamBlock(m_host.Limits(), m_block);
    if (!ZORIX7PrepAllGatesParam(m_h, m_m, m_block, &m_error)) {
      FailBox(CString::Formatted("PrepAll Error %X", m_error));
      return false;
    }
    return true;
  }

  RunCard m_card;
  HZORIX7 m_h;
  BYTE m_m;
  ParamBlock m_block{};
  DisplayWindow m_window;
  int m_display = -1;
};

// ---- "Karte n Sätze 1..n" ----

class RateSets : RateRun {
 public:
  explicit RateSets(RunHost& host)
      : RateRun(host, "DatenrateN1"), m_card(host.Card(m_c.card)), m_h(m_card.handle), m_n(SetNumber()) {}

  RunLine Run() {
    // Sets 1..0 would measure nothing.
    if (m_n == 0) {
      Fail("Parametersatz 0 unzulässig");
      return Line({}, true);
    }
    if (m_c.anzeige) OpenDisplays();
    if (!PrepareSetOnCard(m_card.sets[0], m_h, &m_error)) {
      Fail(CString::Formatted("Parametersatz 0 Error %X ", m_error));
    } else {
      Prepare();
      Loop();
    }
    for (int d : m_displays) m_host.CloseDisplay(d);
    ZORIX7ClearFIFO(m_h, &m_error);
    return Line(CString::Formatted("Kanal %u: ", m_c.card), true);
  }

 private:
  void OpenDisplays() {
    const int columns = ColumnsForSets(m_n);
    for (int s = 1; s <= m_n; ++s) {
      DisplayWindow w = DisplayOf(m_card.sets[s], m_c.zorix9Mode,
                                  CString::Formatted("Karte %u Parametersatz %d", m_c.card, s));
      const Tile t = TileOf(s - 1, columns, kSetsAreaWidth, kSetsAreaHeight);
      w.x = t.x, w.y = t.y, w.width = t.width, w.height = t.height;
      m_windows.push_back(w);
      m_displays.push_back(m_host.OpenDisplay(w));
    }
  }

  void Prepare() {
    const bool zorix7F = ZORIX7IsVersion3(m_h) != 0;
    ActiveSetFlags flags{};
    flags.flag[0] = m_c.kontinuierlich;
    for (int s = 0; s < kSetsPerCard; ++s) {
      m_blocks[s] = MakeParamBlock(m_card.sets[s], m_mode);
      if (s >= 1 && s <= m_n) flags.flag[s] = TRUE;
    }
    DWORD ignored = 0;
    ZORIX7ActiveParam(m_h, flags, &ignored);
    ZORIX7SetMode(m_h, m_c.dma ? 1 : 0, &ignored);
    for (int s = 1; s <= m_n; ++s) {
      const BYTE set = static_cast<BYTE>(s);
      const bool prepared = ZORIX7PrepAllGatesParam(m_h, set, m_blocks[s], &m_error) != 0;
      if (!prepared) FailBox(CString::Formatted("Parametersatz %d PrepAll Error %X", s, m_error));
      if (zorix7F) {
        ZORIX7SetExternalClock(m_h, m_card.sets[s].TriggerExtern, &ignored);
        SendTriggerDelay(m_h, set, m_card.sets[s]);
      }
      if (!prepared) {
        Box(CString::Formatted("PrepAll Error %X", m_error));
        break;
      }
    }
    // The card is started whatever the preparation gave.
    if (!ZORIX7SetParam(m_h, 1, &m_error)) Fail(CString::Formatted("PrepAll Error %X", m_error));
    if (!ZORIX7Start(m_h, &m_error)) Fail(CString::Formatted("Start Error %X", m_error));
  }

  void Loop() {
    const UINT factor = FactorOf(m_c.anzeigefaktor);
    const int shots = std::max(0, m_c.zyklen) * m_n;
    std::vector<DisplayThrottle> throttles(static_cast<size_t>(m_n));
    GateReadout readout{};
    int last = 1;
    bool ended = false;
    const DWORD start = GetTickCount();
    for (int k = 0; k < shots && !ended; ++k) {
      const int s = k % m_n + 1;
      const BYTE set = static_cast<BYTE>(s);
      m_host.Progress(k / m_n + 1, m_c.zyklen);
      if (!m_c.kontinuierlich) {
        if (!ZORIX7SetParam(m_h, set, &m_error)) {
          FailBox(CString::Formatted("Satz %d SetParam Error %X", s, m_error));
          break;
        }
        if (!ZORIX7Start(m_h, &m_error)) {
          FailBox(CString::Formatted("Satz %d Start Error %X", s, m_error));
          break;
        }
      }
      *m_host.DataBytes() = kRunBufferBytes;
      if (!ZORIX7GetData(m_h, m_host.DataBytes(), m_host.DataBuffer(), &m_error)) {
        *m_host.DataBytes() = 0;
        FailBox(CString::Formatted("Satz %d GetData Error %X", s, m_error));
        ZORIX7Stop(m_h, &m_error);
        break;
      }
      if (!m_c.kontinuierlich && !ZORIX7GetGates(m_h, &readout, &m_error)) {
        FailBox(CString::Formatted("Satz %d GetGates Error %X", s, m_error));
        break;
      }
      last = s;
      if (m_c.anzeige && static_cast<UINT>(k) % factor == 0 && throttles[static_cast<size_t>(s - 1)].Due(kThrottleManyMs))
        m_host.UpdateDisplay(m_displays[static_cast<size_t>(s - 1)],
                             Scan(m_windows[static_cast<size_t>(s - 1)], m_host.DataBuffer(), static_cast<UINT>(k / m_n),
                                  m_c.kontinuierlich ? nullptr : &readout, m_card.sets[s]));
      if (m_c.prepAll && s == m_n) ended = !PrepareAgain();
    }
    const DWORD elapsed = GetTickCount() - start;
    m_host.Progress(0, 0);
    if (!m_ok) return;
    m_text = RateText(m_card.sets[last].Aufnahmelaenge, m_c.zyklen, elapsed);
    if (m_c.kontinuierlich) ZORIX7Stop(m_h, &m_error);
  }

  bool PrepareAgain() {
    if (m_c.kontinuierlich) {
      Sleep(1);
      if (!ZORIX7Stop(m_h, &m_error)) {
        FailBox(CString::Formatted("Stop vor PrepAll Error %X", m_error));
        return false;
      }
      ZORIX7ClearFIFO(m_h, &m_error);
    }
    for (int s = 1; s <= m_n; ++s) {
      if (m_c.random) DrawRandomParamBlock(m_host.Limits(), m_blocks[s]);
      if (!ZORIX7PrepAllGatesParam(m_h, static_cast<BYTE>(s), m_blocks[s], &m_error))
        FailBox(CString::Formatted("PrepAll Parametersatz %d Error %X", s, m_error));
    }
    if (m_c.kontinuierlich) {
      DWORD ignored = 0;
      ZORIX7SetParam(m_h, 1, &ignored);
      if (!ZORIX7Start(m_h, &m_error)) {
        FailBox(CString::Formatted("Satz %d Start nach PrepAll Error %X", 1, m_error));
        return false;
      }
    }
    return true;
  }

  RunCard m_card;
  HZORIX7 m_h;
  int m_n;
  ParamBlock m_blocks[kSetsPerCard] = {};
  std::vector<DisplayWindow> m_windows;
  std::vector<int> m_displays;
};

// ---- "Karten 1..n Satz n" ----

class RateCards : RateRun {
 public:
  explicit RateCards(RunHost& host) : RateRun(host, "Datenrate1N"), m_m(static_cast<BYTE>(SetNumber())) {
    m_n = static_cast<int>(std::clamp<UINT>(m_c.card, 1, kMaxCards));
  }

  RunLine Run() {
    if (m_m == 0) {
      Fail("Parametersatz 0 unzulässig");
    } else {
      for (int i = 0; i < m_n; ++i) {
        m_cards.emplace_back();
        m_cards.back().run = m_host.Card(static_cast<UINT>(i + 1));
      }
      // A card that failed its set 0 fails the run, but every card is still prepared,
      // started and, at the end, cleared.
      PrepareSetZero();
      if (m_c.anzeige) OpenDisplays();
      for (auto& card : m_cards) card.buffer.assign(kRunBufferBytes, 0);
      if (Prepare() && StartAll() && m_ok) Loop();
      Finish();
    }
    return Line(m_n == 1 ? CString("1 Kanal: ") : CString::Formatted("%d Kanäle: ", m_n), false);
  }

 private:
  struct Card {
    RunCard run;
    ParamBlock block{};
    std::vector<BYTE> buffer;
    int display = -1;
    DisplayWindow window;
    DisplayThrottle throttle;
    GateReadout readout{};
    int count = 0;
    bool zorix7F = false;
  };

  // Several cards may fail: each text is appended.
  void Append(const CString& text) {
    if (!m_text.IsEmpty()) m_text += " ";
    m_text += text;
    m_ok = false;
  }
  void Retire(Card& card, const CString& text) {
    Box(text);
    Append(text);
    card.count = m_c.zyklen + 1;
  }
  int Number(const Card& card) const { return static_cast<int>(&card - m_cards.data()) + 1; }
  const ParameterSet& Set(const Card& card) const { return card.run.sets[m_m]; }

  void PrepareSetZero() {
    for (auto& card : m_cards) {
      if (!PrepareSetOnCard(card.run.sets[0], card.run.handle, &m_error))
        Append(CString::Formatted("Karte %d Parametersatz 0 Error %X", Number(card), m_error));
      Sleep(kSettleMs);
    }
  }

  void OpenDisplays() {
    const ScreenArea screen = m_host.Screen();
    const int columns = ColumnsForCards(m_n);
    for (auto& card : m_cards) {
      card.window = DisplayOf(Set(card), m_c.zorix9Mode, CString::Formatted("Karte %d Parametersatz %d", Number(card), m_m));
      const Tile t = TileOf(Number(card) - 1, columns, screen.width, screen.height - kTaskBarHeight);
      card.window.x = t.x, card.window.y = t.y, card.window.width = t.width, card.window.height = t.height;
      card.display = m_host.OpenDisplay(card.window);
    }
  }

  bool Prepare() {
    for (auto& card : m_cards) {
      const HZORIX7 h = card.run.handle;
      card.zorix7F = ZORIX7IsVersion3(h) != 0;
      card.block = MakeParamBlock(Set(card), m_mode);
      if (!ZORIX7PrepAllGatesParam(h, m_m, card.block, &m_error)) {
        Append(CString::Formatted("Karte %d PrepAll Error %X", Number(card), m_error));
        return false;
      }
      if (card.zorix7F) {
        DWORD ignored = 0;
        ZORIX7SetExternalClock(h, Set(card).TriggerExtern, &ignored);
        SendTriggerDelay(h, m_m, Set(card));
      }
      if (!ZORIX7SetMode(h, 1, &m_error)) {
        Append(CString::Formatted("Karte %d SetMode Error %X", Number(card), m_error));
        return false;
      }
    }
    return true;
  }

  bool StartAll() {
    for (auto& card : m_cards) {
      const HZORIX7 h = card.run.handle;
      if (card.zorix7F) {
        ActiveSetFlags flags{};
        flags.flag[m_m] = m_c.kontinuierlich;
        DWORD ignored = 0;
        ZORIX7ActiveParam(h, flags, &ignored);
      }
      if (!ZORIX7Start(h, &m_error)) {
        Append(CString::Formatted("Karte %d Start Error %X", Number(card), m_error));
        return false;
      }
      *m_host.DataBytes() = kRunBufferBytes;
      if (!ZORIX7StartGetData(h, m_host.DataBytes(), card.buffer.data(), 0, &m_error)) {
        Append(CString::Formatted("Karte %d StartGetData Error %X", Number(card), m_error));
        return false;
      }
    }
    return true;
  }

  // Rounds over the cards, one poll each, until every card has its cycles or the run failed.
  void Loop() {
    std::vector<FetchWatch> watches(m_cards.size(), FetchWatch(m_c.timeOutSeconds));
    PollRounds rounds;
    const DWORD start = GetTickCount();
    bool open = true;
    while (m_ok && open) {
      open = false;
      bool allPending = true;
      int done = 0;
      for (size_t i = 0; i < m_cards.size() && m_ok; ++i) {
        Card& card = m_cards[i];
        if (card.count < m_c.zyklen) {
          open = true;
          allPending &= Poll(card, watches[i]);
        } else if (card.count == m_c.zyklen) {
          allPending = false;
          ZORIX7Stop(card.run.handle, &m_error);
          if (card.display >= 0) m_host.CloseDisplay(card.display);
          card.display = -1;
          card.count = m_c.zyklen + 1;
        }
        done += std::min(card.count, m_c.zyklen);
      }
      m_host.Progress(done / m_n, m_c.zyklen);
      rounds.EndRound(open && allPending);
    }
    m_elapsed = GetTickCount() - start;
    m_host.Progress(0, 0);
  }

  // One poll of the card's fetch, and what follows a shot that is in; true: still pending.
  bool Poll(Card& card, FetchWatch& watch) {
    const HZORIX7 h = card.run.handle;
    DWORD* bytes = m_host.DataBytes();
    *bytes = kRunBufferBytes;
    DWORD error = 0;
    if (ZORIX7IsReadyGetDataIntReturn(h, bytes, &error) != 0) {
      if (!error && !watch.Expired()) return true;
      Retire(card, CString::Formatted("Karte %d IsReadyGetData Error %X", Number(card), error ? error : errorword::kDataTimeOut));
      return false;
    }
    ShotIn(card);
    watch.Restart();
    return false;
  }

  void ShotIn(Card& card) {
    const HZORIX7 h = card.run.handle;
    DWORD* bytes = m_host.DataBytes();
    ++card.count;
    if (!m_c.kontinuierlich && !ZORIX7GetGates(h, &card.readout, &m_error)) {
      const CString text = CString::Formatted("Karte %d GetGates Error %X", Number(card), m_error);
      Box(text);
      Append(text);
      return;
    }
    if (m_c.anzeige && card.throttle.Due(kThrottleManyMs))
      m_host.UpdateDisplay(card.display, Scan(card.window, card.buffer.data(), static_cast<UINT>(card.count),
                                              m_c.kontinuierlich ? nullptr : &card.readout, Set(card)));
    if (m_c.prepAll && !PrepareAgain(card)) return;
    if (!m_c.kontinuierlich && !ZORIX7Start(h, &m_error)) {
      Retire(card, CString::Formatted("Karte %d Start Error %X", Number(card), m_error));
      return;
    }
    *bytes = kRunBufferBytes;
    if (!ZORIX7StartGetData(h, bytes, card.buffer.data(), 0, &m_error))
      Retire(card, CString::Formatted("Karte %d GetData Error %X", Number(card), m_error));
  }

  bool PrepareAgain(Card& card) {
    const HZORIX7 h = card.run.handle;
    if (m_c.kontinuierlich) {
      Sleep(1);
      if (!ZORIX7Stop(h, &m_error)) {
        Retire(card, CString::Formatted("Karte %d Stop vor PrepAll Error %X", Number(card), m_error));
        return false;
      }
      ZORIX7ClearFIFO(h, &m_error);
    }
    if (m_c.random) DrawRandomParamBlock(m_host.Limits(), card.block);
    if (!ZORIX7PrepAllGatesParam(h, m_m, card.block, &m_error)) {
      Retire(card, CString::Formatted("Karte %d PrepAll Error %X", Number(card), m_error));
      return false;
    }
    if (m_c.kontinuierlich && !ZORIX7Start(h, &m_error)) {
      Retire(card, CString::Formatted("Karte %d Start nach PrepAll Error %X", Number(card), m_error));
      return false;
    }
    return true;
  }

  void Finish() {
    DWORD error = 0;
    for (auto& card : m_cards) {
      DWORD* bytes = m_host.DataBytes();
      if (ZORIX7IsReadyGetDataIntReturn(card.run.handle, bytes, &error) != 0) ZORIX7CancelGetData(card.run.handle, &error);
    }
    if (m_ok) m_text = RateText(m_cards.back().block.Aufnahmelaenge, m_c.zyklen, m_elapsed);
    for (auto& card : m_cards) {
      if (card.display >= 0) m_host.CloseDisplay(card.display);
      std::vector<BYTE>().swap(card.buffer);
      ZORIX7ClearFIFO(card.run.handle, &error);
    }
  }

  BYTE m_m;
  int m_n = 1;
  std::vector<Card> m_cards;
  DWORD m_elapsed = 0;
};

}  // namespace

RunLine RunRateOneSet(RunHost& host) { return RateOneSet(host).Run(); }
RunLine RunRateSets(RunHost& host) { return RateSets(host).Run(); }
RunLine RunRateCards(RunHost& host) { return RateCards(host).Run(); }

}  // namespace measure
