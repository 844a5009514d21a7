// The common shape of every test button of the main dialog.
#include "app/TestColumn.h"

#include "app/ZORIX7CheckDlg.h"
#include "platform/UiHost.h"

const TestColumnRow* CZORIX7CheckDlg::FindRow(int buttonId) const {
  for (const auto& row : TestColumn())
    if (row.buttonId == buttonId) return &row;
  return nullptr;
}

void CZORIX7CheckDlg::SetTestFactory(int buttonId, TestDialogFactory factory) {
  m_testFactories[buttonId] = std::move(factory);
  UpdateTestButtonStates();
}

bool CZORIX7CheckDlg::IsButtonLive(int buttonId) const {
  if (m_testFactories.count(buttonId)) return m_testFactories.at(buttonId) != nullptr;
  if (const TestColumnRow* row = FindRow(buttonId)) return row->factory || row->handler;
  for (const auto& tool : ToolButtons())
    if (tool.buttonId == buttonId) return tool.handler != nullptr;
  return false;
}

void CZORIX7CheckDlg::UpdateTestButtonStates() {
  // A button without its dialog in this build stays greyed out rather than doing nothing.
  for (const auto& row : TestColumn())
    if (QWidget* widget = GetDlgItem(row.buttonId)) widget->setEnabled(IsButtonLive(row.buttonId));
  for (const auto& tool : ToolButtons())
    if (QWidget* widget = GetDlgItem(tool.buttonId)) widget->setEnabled(IsButtonLive(tool.buttonId));
}

void CZORIX7CheckDlg::RunTestButton(int buttonId) {
  const TestColumnRow* row = FindRow(buttonId);
  if (!row || !IsButtonLive(buttonId)) return;
  if (row->handler && !m_testFactories.count(buttonId)) {
    (this->*row->handler)();
    return;
  }
  if (row->needsZorix7F && !ZORIX7IsVersion3(SelectedCard())) {
    UpdateData(TRUE);
    // In the automatic mode the reports keep the test, as not run on this card.
    if (this->*row->autoCheck)
      AppendResultLine(CString(row->prefix) + "Keine ZORIX7F!", Verdict::Skipped);
    else
      MessageBox("Keine ZORIX7F!", row->caption);
    return;
  }
  EnsurePowerOn(TRUE);
  UpdateData(TRUE);
  auto factory = m_testFactories.count(buttonId) ? m_testFactories.at(buttonId) : row->factory;
  std::unique_ptr<CTestDialog> dlg = factory(*this);
  if (!dlg) return;
  if (!(this->*row->autoCheck)) {
    dlg->DoModal();
    if (row->resendIdentsAfterModal && m_bZorix9Mode) SendIdentifications(false);
    return;
  }
  RunAutomatic(*row, *dlg);
}

void CZORIX7CheckDlg::RunAutomatic(const TestColumnRow& row, CTestDialog& dlg) {
  switch (row.autoMode) {
    case AutoMode::Nothing:
      return;
    case AutoMode::RunCheck:
    case AutoMode::RunInfo: {
      const BOOL ok = dlg.Check(m_strResult);
      m_strResult = row.prefix + m_strResult;
      AppendResultLine({m_strResult, row.autoMode == AutoMode::RunInfo ? Verdict::Info : VerdictOf(ok),
                        ok ? std::nullopt : dlg.ErrorWord(), dlg.WouldWrite()});
      for (const ResultLine& line : dlg.FurtherLines()) AppendResultLine(line);
      return;
    }
  }
}

std::vector<int> CZORIX7CheckDlg::CheckAllButtons() const {
  std::vector<int> buttons;
  for (const auto& row : TestColumn()) {
    // A handler row (a measurement) marks with RunCheck that it runs its own automatic mode.
    if (this->*row.autoCheck && IsButtonLive(row.buttonId) && row.autoMode != AutoMode::Nothing)
      buttons.push_back(row.buttonId);
  }
  return buttons;
}

void CZORIX7CheckDlg::OnCheckAll() {
  UpdateData(TRUE);
  RunCheckAll();
}

void CZORIX7CheckDlg::RunCheckAll(const std::function<bool(const TestColumnRow&)>& skip) {
  size_t first = m_resultLines.size();
  for (int id : CheckAllButtons()) {
    const TestColumnRow& row = *FindRow(id);
    if (skip && skip(row))
      AppendResultLine(CString(*row.prefix ? row.prefix : row.caption) + "übersprungen", Verdict::Skipped);
    else
      RunTestButton(id);
  }
  int ok = 0, failed = 0;
  for (size_t i = first; i < m_resultLines.size(); ++i) {
    ok += m_resultLines[i].verdict == Verdict::Pass;
    failed += m_resultLines[i].verdict == Verdict::Fail;
  }
  AppendResultLine(CString::Formatted("Alle Tests: %d OK, %d Fehler", ok, failed), Verdict::Info);
}
