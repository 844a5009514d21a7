#include "commands/CommandDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "commands/CmdAScanDlg.h"
#include "commands/CmdAverageDlg.h"
#include "commands/CmdCountDlg.h"
#include "commands/CmdGainDlg.h"
#include "commands/CmdHWconfigDlg.h"
#include "commands/CmdInputDlg.h"
#include "commands/CmdSAPdelayDlg.h"
#include "commands/CmdSWconfigDlg.h"
#include "commands/CmdSenderDlg.h"
#include "commands/CmdShotDlg.h"
#include "commands/CmdTriggerDlg.h"
#include "commands/CommandSet.h"
#include "card/ControlLca.h"
#include "platform/Clock.h"
#include "platform/UiHost.h"

CCommandDlg::CCommandDlg(HZORIX7 card, BOOL* zorix9Mode, WORD sapDelay, QWidget* parent)
    : CTestDialog(IDD, parent), m_hCard(card), m_pZorix9Mode(zorix9Mode), m_nSapDelay(sapDelay) {
  SetWindowText("Command");
  for (const cmd::CommandWords& d : cmd::DefaultWords()) m_words[d.code] = d.words;
}

CCommandDlg::~CCommandDlg() = default;

int CCommandDlg::ButtonId(dsp::Command code) {
  const auto table = cmd::CommandTable();
  for (size_t i = 0; i < table.size(); ++i)
    if (table[i].code == code) return IDC_START + static_cast<int>(i);
  return 0;
}

void CCommandDlg::CreateControls() {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(AddListBox(IDC_REPLY_LIST, m_listReply));
  auto* grid = new QGridLayout;
  int row = 0;
  for (const cmd::CommandInfo& c : cmd::CommandTable()) {
    const dsp::Command code = c.code;
    grid->addWidget(AddButton(ButtonId(code), c.button, [this, code] { OnCommand(code); }), row, 0);
    grid->addWidget(AddStatic(0, c.caption), row++, 1);
  }
  row = 0;
  grid->addWidget(AddButton(IDC_DEFAULT, "default", [this] { OnDefault(); }), row++, 2);
  grid->addWidget(AddButton(IDC_RESET_ALL, "Reset All", [this] { OnResetAll(); }), row++, 2);
  grid->addWidget(AddButton(IDC_SAP_DELAY, "SAP-Delay", [this] { OnSapDelay(); }), row++, 2);
  grid->addWidget(AddButton(IDC_ADC, "ADC", [this] { OnAdc(); }), row++, 2);
  // "SP Comp" has no action: greyed, as every button without one.
  QPushButton* spComp = AddButton(IDC_SP_COMP, "SP Comp");
  spComp->setEnabled(false);
  grid->addWidget(spComp, row++, 2);
  grid->addWidget(AddButton(IDOK, "OK"), row, 2);
  layout->addLayout(grid);
}

BOOL CCommandDlg::Send(dsp::Command code, DWORD& error) {
  error = 0;
  const DWORD count = dsp::ParameterWords(code);
  DWORD words[2] = {};
  if (auto it = m_words.find(code); it != m_words.end()) std::copy(it->second.begin(), it->second.end(), words);
  return ZORIX7Command(m_hCard, code, count, count ? words : nullptr, &error);
}

void CCommandDlg::AppendReply(const CString& line) { m_listReply.SetCurSel(m_listReply.AddString(line)); }

std::unique_ptr<CCmdParamDlg> CCommandDlg::MakeParamDlg(dsp::Command code) {
  switch (code) {
    case dsp::kShot:
      return std::make_unique<CCmdShotDlg>();
    case dsp::kSender:
      return std::make_unique<CCmdSenderDlg>();
    case dsp::kInput:
      return std::make_unique<CCmdInputDlg>();
    case dsp::kGain:
      return std::make_unique<CCmdGainDlg>();
    case dsp::kHwConfig:
      return std::make_unique<CCmdHWconfigDlg>();
    case dsp::kAverage:
      return std::make_unique<CCmdAverageDlg>();
    case dsp::kTrigger:
      return std::make_unique<CCmdTriggerDlg>();
    case dsp::kCount:
      return std::make_unique<CCmdCountDlg>();
    case dsp::kAScan:
      return std::make_unique<CCmdAScanDlg>();
    case dsp::kSwConfig:
      return std::make_unique<CCmdSWconfigDlg>();
    default:
      return nullptr;
  }
}

void CCommandDlg::OnCommand(dsp::Command code) {
  const cmd::CommandInfo* info = cmd::FindCommand(code);
  if (!info) return;
  DWORD error = 0;
  if (cmd::IsPlain(code)) {
    m_listReply.ResetContent();
    const BOOL ok = Send(code, error);
    AppendReply(cmd::ReplyLine(info->prefix, ok, error));
    return;
  }
  std::unique_ptr<CCmdParamDlg> dlg = MakeParamDlg(code);
  if (!dlg) return;
  dlg->m_hCard = m_hCard;
  if (dlg->DoModal() != IDOK) return;
  std::array<DWORD, 2>& words = m_words[code];
  words = {};
  const auto& composed = dlg->Words();
  std::copy_n(composed.begin(), std::min<size_t>(composed.size(), words.size()), words.begin());
  if (code == dsp::kAverage && words[0] == 0) {
    AppendReply(CString(info->prefix) + " = 0");
    return;
  }
  const BOOL ok = Send(code, error);
  AppendReply(cmd::ReplyLine(info->prefix, ok, error));
}

void CCommandDlg::OnDefault() {
  // Sent as they are, without lines: failures of this sequence are not reported.
  for (const cmd::CommandWords& d : cmd::DefaultWords()) {
    m_words[d.code] = d.words;
    DWORD error = 0;
    Send(d.code, error);
  }
}

void CCommandDlg::OnResetAll() {
  if (MessageBox("Hardware Reset?", "Command", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  ZORIX7ResetCard(m_hCard);
  int polls = 0;
  while (!ZORIX7IsReseted(m_hCard)) {
    if (++polls >= cmd::kResetPollLimit) break;
    Sleep(cmd::kResetPollMs);
  }
  if (m_pZorix9Mode) *m_pZorix9Mode = FALSE;
  CString line = cmd::ResetLine(polls);
  DWORD error = 0;
  if (polls > 0 && !ZORIX7WarmUp(m_hCard, &error)) line = CString::Formatted("WarmUp Error %X", error);
  AppendReply(line);
}

void CCommandDlg::OnSapDelay() {
  CCmdSAPdelayDlg dlg;
  dlg.m_pSapDelay = &m_nSapDelay;
  if (dlg.DoModal() != IDOK) return;
  DWORD error = 0;
  if (!ZORIX7SetSAPDelay(m_hCard, m_nSapDelay, &error))
    MessageBox(CString::Formatted("SetSAPDelay Error %X", error), "Test", MB_OK);
}

void CCommandDlg::OnAdc() {
  for (int reading = 0; reading < kMaxAdcReadings; ++reading) {
    std::array<float, 6> values{};
    DWORD error = 0;
    const CString text =
        ZORIX7GetADC(m_hCard, values.data(), &error) ? cmd::AdcText(values) : CString::Formatted("Error %X", error);
    if (MessageBox(text, "Temperatur/Spannungen", MB_YESNO) != IDNO) return;
  }
}

BOOL CCommandDlg::Check(CString& result) {
  const auto saved = SaveControlLca();
  const BOOL ok = RunChain(result);
  RestoreCard(saved);
  return ok;
}

BOOL CCommandDlg::RunChain(CString& result) {
  m_checkError.reset();
  for (const cmd::ChainStep& step : cmd::AutomaticChain()) {
    DWORD error = 0;
    BOOL ok = Send(step.code, error);
    if (ok && step.warmUp) ok = ZORIX7WarmUp(m_hCard, &error);
    if (!ok) {
      result = cmd::ChainFailure(step.label);
      m_checkError = error;
      return FALSE;
    }
  }
  result = "OK";
  return TRUE;
}

std::vector<std::pair<uint16_t, DWORD>> CCommandDlg::SaveControlLca() const {
  std::vector<std::pair<uint16_t, DWORD>> saved;
  if (!ZORIX7IsVersion3(m_hCard)) return saved;  // a plain card has no control LCA
  for (uint16_t reg : regmap::WriteOrder(lca::ControlLcaFields())) saved.emplace_back(reg, ZORIX7ReadRegister(m_hCard, reg));
  return saved;
}

void CCommandDlg::RestoreCard(const std::vector<std::pair<uint16_t, DWORD>>& saved) {
  DWORD error = 0;
  Send(dsp::kPowerUp, error);  // a card that refuses it shows in the later checks
  for (const auto& [reg, value] : saved) ZORIX7WriteRegister(m_hCard, reg, value);
}
