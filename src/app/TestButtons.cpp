// The common shape of every test button of the main dialog.
#include "app/ZORIX7CheckDlg.h"
#include "platform/UiHost.h"

const std::vector<TestButtonSpec>& CZORIX7CheckDlg::TestButtons() {
  using D = CZORIX7CheckDlg;
  static const std::vector<TestButtonSpec> buttons = {
      {IDC_PCICONFIG, "PCI Configuration", IDC_CHECK_PCICONFIG, &D::m_bPCIconfig, "PCI Configuration: ", false,
       AutoMode::RunCheck, false},
      {IDC_PCIEEPROM, "PCI EEPROM", IDC_CHECK_PCIEEPROM, &D::m_bPCIEEPROM, "PCI EEPROM: ", false, AutoMode::RunCheck, false},
      {IDC_PCIOPERATION, "PCI  Operation", IDC_CHECK_PCIOPERATION, &D::m_bPCIoperation, "PCI Operation: ", false,
       AutoMode::RunCheck, false},
      {IDC_KENNUNG, "Kennung", IDC_CHECK_KENNUNG, &D::m_bKennung, "Kennung: ", false, AutoMode::LineOnly, false},
      {IDC_LCA, "Steuer-LCA", IDC_CHECK_LCA, &D::m_bLCA, "LCA-Register: ", true, AutoMode::LineOnly, false},
      {IDC_DATALCA, "Daten-LCA", IDC_CHECK_DATALCA, &D::m_bDataLCA, "", true, AutoMode::Nothing, false},
      {IDC_DSP, "DSP", IDC_CHECK_DSP, &D::m_bDSP, "DSP-Programm: ", false, AutoMode::RunCheck, true},
      {IDC_TEST, "Test", IDC_CHECK_TEST, &D::m_bTest, "Selbsttest: ", false, AutoMode::RunCheck, false},
      {IDC_COMMAND, "Command", IDC_CHECK_COMMAND, &D::m_bCommand, "Command: ", false, AutoMode::RunCheck, false},
      {IDC_BLENDEN, "Blenden", IDC_CHECK_BLENDEN, &D::m_bBlenden, "", true, AutoMode::Nothing, false},
  };
  return buttons;
}

const TestButtonSpec* CZORIX7CheckDlg::FindTestButton(int buttonId) const {
  for (const auto& button : TestButtons())
    if (button.buttonId == buttonId) return &button;
  return nullptr;
}

void CZORIX7CheckDlg::SetTestFactory(int buttonId, TestDialogFactory factory) {
  m_testFactories[buttonId] = std::move(factory);
  UpdateTestButtonStates();
}

bool CZORIX7CheckDlg::HasTestFactory(int buttonId) const { return m_testFactories.count(buttonId) != 0; }

void CZORIX7CheckDlg::UpdateTestButtonStates() {
  // A test whose dialog is not part of this build stays greyed out rather than doing nothing.
  for (const auto& button : TestButtons())
    if (QWidget* widget = GetDlgItem(button.buttonId)) widget->setEnabled(HasTestFactory(button.buttonId));
}

void CZORIX7CheckDlg::RunTestButton(int buttonId) {
  const TestButtonSpec* button = FindTestButton(buttonId);
  auto factory = m_testFactories.find(buttonId);
  if (!button || factory == m_testFactories.end()) return;
  if (button->needsZorix7F && !ZORIX7IsVersion3(SelectedCard())) {
    MessageBox("Keine ZORIX7F!", button->caption);
    return;
  }
  EnsurePowerOn(TRUE);
  UpdateData(TRUE);
  std::unique_ptr<CTestDialog> dlg = factory->second(*this);
  if (!dlg) return;
  if (!(this->*button->autoCheck)) {
    dlg->DoModal();
    if (button->resendIdentsAfterModal && m_bZorix9Mode) SendIdentifications(false);
    return;
  }
  switch (button->autoMode) {
    case AutoMode::Nothing:
      return;
    case AutoMode::LineOnly:
      m_strResult = button->prefix + m_strResult;
      AppendResultLine(m_strResult);
      return;
    case AutoMode::RunCheck:
      dlg->Check(m_strResult);
      m_strResult = button->prefix + m_strResult;
      AppendResultLine(m_strResult);
      dlg->AppendFurtherLines(m_listResult);
      return;
  }
}

void CZORIX7CheckDlg::OnCheckAll() {
  // Every available test whose check-box is set, in the order of the column.
  UpdateData(TRUE);
  for (const auto& button : TestButtons())
    if (this->*button.autoCheck && HasTestFactory(button.buttonId) && button.autoMode != AutoMode::Nothing)
      RunTestButton(button.buttonId);
}
