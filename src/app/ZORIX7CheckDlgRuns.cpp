// The measurement runs as the main dialog's handlers: the runs themselves (src/measure) see
// the dialog through RunHost - its fields, cards and buffer, and the windows it opens.
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <memory>
#include <vector>

#include "app/ZORIX7CheckDlg.h"
#include "commands/DataBlendenDlg.h"
#include "measure/AnzeigeDlg.h"
#include "measure/BlockmessungDlg.h"
#include "measure/MeasureRuns.h"
#include "params/AnzeigeVorgabenDlg.h"
#include "platform/Clock.h"
#include "platform/UiHost.h"

namespace {

// The status line shows the cycle at most this often, and always the last one.
constexpr DWORD kProgressMs = 100;

class MainRunHost final : public measure::RunHost {
 public:
  explicit MainRunHost(CZORIX7CheckDlg& dlg) : m_dlg(dlg) {}
  ~MainRunHost() override {
    for (size_t i = 0; i < m_displays.size(); ++i) CloseDisplay(static_cast<int>(i));
    Progress(0, 0);
  }

  measure::RunSettings ReadControls() override {
    m_dlg.EnsurePowerOn(TRUE);
    m_dlg.UpdateData(TRUE);
    measure::RunSettings c;
    c.card = m_dlg.m_nCard;
    c.set = m_dlg.m_nParamSet;
    c.einzelmessung = m_dlg.m_bEinzelmessung;
    c.blockmessung = m_dlg.m_bBlockmessung;
    c.dma = m_dlg.m_bDMA;
    c.prepAll = m_dlg.m_bPrepAll;
    c.kontinuierlich = m_dlg.m_bKontinuierlich;
    c.anzeige = m_dlg.m_bAnzeige;
    c.random = m_dlg.m_bRandom;
    c.zorix9Mode = m_dlg.m_bZorix9Mode;
    c.anzeigefaktor = m_dlg.m_nAnzeigefaktor;
    c.zyklen = m_dlg.m_nZyklen;
    c.timeOutSeconds = m_dlg.m_nTimeOut;
    return c;
  }
  UINT SelectedCard() override { return m_dlg.m_nCard; }
  measure::RunCard Card(UINT number) override {
    measure::RunCard card;
    const UINT index = number >= 1 && number <= kMaxCards ? number - 1 : 0;
    card.handle = number >= 1 && number <= m_dlg.m_nCards ? m_dlg.m_hCard[index] : 0;
    card.sets = m_dlg.m_param[index];
    card.active = &m_dlg.m_active[index];
    card.ident = m_dlg.m_ident[index];
    return card;
  }
  UINT CardCount() override { return m_dlg.m_nCards; }
  void SetParamSet(int set) override { m_dlg.m_nParamSet = set; }
  const RandomLimits& Limits() override { return m_dlg.m_random; }
  BYTE* DataBuffer() override { return m_dlg.m_pDataBuffer; }
  DWORD* DataBytes() override { return &m_dlg.m_nDataBytes; }

  int MessageBox(const CString& text, const CString& caption, UINT type) override {
    return ::MessageBox(text, caption, type);
  }
  bool EditParameters(HZORIX7 card, ParameterSet& set) override {
    CAnzeigeVorgabenDlg editor(card, &set, &m_dlg);
    return editor.DoModal() == IDOK;
  }
  bool SelectBlockSets(ActiveSetFlags& flags) override {
    CBlockmessungDlg dlg(&flags, &m_dlg);
    return dlg.DoModal() == IDOK;
  }
  void ShowAscan(const measure::AscanShow& scan) override {
    CAnzeigeDlg dlg(&m_dlg);
    Fill(dlg, scan);
    dlg.DoModal();
  }
  void ShowGateValues(const BYTE* data, DWORD bytes, const ActiveSetFlags& flags, BOOL headed) override {
    CDataBlendenDlg dlg(data, bytes, &flags, headed, &m_dlg);
    dlg.DoModal();
  }
  int OpenDisplay(const measure::DisplayWindow& w) override {
    auto dlg = std::make_unique<CAnzeigeDlg>(&m_dlg);
    if (!w.title.IsEmpty()) {
      dlg->setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
      dlg->SetWindowText(w.title);
      dlg->setGeometry(w.x, w.y, w.width, w.height);
    }
    dlg->m_b8Bit = w.b8Bit;
    dlg->m_bHeader = w.header;
    dlg->m_nSampleRate = w.sampleRate;
    CurrentUiHost().ShowModeless(*dlg);
    m_displays.push_back(std::move(dlg));
    return static_cast<int>(m_displays.size()) - 1;
  }
  void UpdateDisplay(int display, const measure::AscanShow& scan) override {
    if (display < 0 || static_cast<size_t>(display) >= m_displays.size() || !m_displays[static_cast<size_t>(display)]) return;
    CAnzeigeDlg& dlg = *m_displays[static_cast<size_t>(display)];
    Fill(dlg, scan);
    CurrentUiHost().UpdateWindow(dlg);
  }
  void CloseDisplay(int display) override {
    if (display < 0 || static_cast<size_t>(display) >= m_displays.size()) return;
    m_displays[static_cast<size_t>(display)].reset();
  }
  measure::ScreenArea Screen() override {
    measure::ScreenArea area;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
      area.width = screen->geometry().width();
      area.height = screen->geometry().height();
    }
    return area;
  }
  void Progress(int cycle, int cycles) override {
    auto* label = qobject_cast<QLabel*>(m_dlg.GetDlgItem(CZORIX7CheckDlg::IDC_RUN_STATUS));
    if (!label || (cycles <= 0 && !m_shown)) return;
    const DWORD now = GetTickCount();
    if (cycles > 0 && cycle != cycles && m_shown && now - m_lastShown < kProgressMs) return;
    m_shown = cycles > 0;
    m_lastShown = now;
    label->setText(cycles > 0 ? QString("Zyklus %1 / %2").arg(cycle).arg(cycles) : QString());
    CurrentUiHost().UpdateWindow(*label);
  }

 private:
  static void Fill(CAnzeigeDlg& dlg, const measure::AscanShow& scan) {
    dlg.m_b8Bit = scan.b8Bit;
    dlg.m_bHeader = scan.header;
    dlg.m_nSampleRate = scan.sampleRate;
    dlg.m_pGateReadout = scan.readout;
    dlg.m_pGates = scan.gates;
    dlg.m_nOffset = scan.offset;
    dlg.SetData(scan.data, scan.bytes, scan.sequence);
  }

  CZORIX7CheckDlg& m_dlg;
  std::vector<std::unique_ptr<CAnzeigeDlg>> m_displays;
  bool m_shown = false;
  DWORD m_lastShown = 0;
};

}  // namespace

namespace {
template <typename Run>
void RunAndLog(CZORIX7CheckDlg& dlg, Run run) {
  measure::RunLine line;
  {
    MainRunHost host(dlg);
    line = run(host);
  }
  if (!line.logged) return;
  const Verdict verdict =
      line.skipped ? Verdict::Skipped : line.checkedSomething ? VerdictOf(line.ok) : Verdict::Info;
  dlg.AppendResultLine(line.text, verdict);
}
}  // namespace

void CZORIX7CheckDlg::OnShot() { RunAndLog(*this, measure::RunSingleShot); }
void CZORIX7CheckDlg::OnBlockmessung() { RunAndLog(*this, measure::RunBlockMeasurement); }
void CZORIX7CheckDlg::OnRate11() { RunAndLog(*this, measure::RunRateOneSet); }
void CZORIX7CheckDlg::OnRateN1() { RunAndLog(*this, measure::RunRateSets); }
void CZORIX7CheckDlg::OnRate1N() { RunAndLog(*this, measure::RunRateCards); }
