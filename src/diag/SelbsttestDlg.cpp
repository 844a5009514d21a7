#include "diag/SelbsttestDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "card/DspCommands.h"
#include "diag/SelfTests.h"
#include "platform/CWinApp.h"
#include "platform/Clock.h"
#include "platform/UiHost.h"

namespace {
constexpr DWORD kFifoSettleMs = 100;

CString FifoBoundText() { return CString::Formatted("FIFO not empty after %d reads", diag::kFifoDrainLimit); }
}  // namespace

CSelbsttestDlg::CSelbsttestDlg(HZORIX7 card) : CTestDialog(IDD), m_hCard(card) { SetWindowText("Selbsttest"); }

void CSelbsttestDlg::CreateControls() {
  auto* grid = new QGridLayout(this);
  // Read-only, so every mismatch line can be scrolled to and copied.
  QPlainTextEdit* result = AddMultiLineEdit(IDC_RESULT, true);
  result->setMinimumHeight(60);
  grid->addWidget(result, 0, 0, 1, 2);
  int row = 1;
  for (int n = 0; n < selftest::kTests; ++n, ++row) {
    grid->addWidget(AddButton(IDC_FIRST_TEST + n, CString::Formatted("Test %d", n), [this, n] { OnTest(n); }), row, 0);
    grid->addWidget(AddCheck(IDC_FIRST_CHOICE + n, diag::SelfTests()[static_cast<size_t>(n)].caption), row, 1);
  }
  // Kept as on Windows, but it does nothing.
  QCheckBox* spare = AddCheck(IDC_SPARE, "Reserve");
  spare->setEnabled(false);
  grid->addWidget(spare, row++, 1);
  grid->addWidget(AddCheck(IDC_ZYKLISCH, "zyklisch"), row++, 1);
  grid->addWidget(AddButton(IDC_SAVE, "Save", [this] { OnSave(); }), row, 0);
  grid->addWidget(AddButton(IDOK, "OK"), row, 1);
}

void CSelbsttestDlg::DoDataExchange(CDataExchange* pDX) {
  if (!pDX->m_bSaveAndValidate) DDX_Text(pDX, IDC_RESULT, m_strResult);
  for (int n = 0; n < selftest::kTests; ++n) DDX_Check(pDX, IDC_FIRST_CHOICE + n, m_bTest[n]);
  DDX_Check(pDX, IDC_SPARE, m_bSpare);
  DDX_Check(pDX, IDC_ZYKLISCH, m_bZyklisch);
}

void CSelbsttestDlg::LoadChoices() {
  CWinApp& app = *AfxGetApp();
  for (int n = 0; n < selftest::kTests; ++n) {
    const diag::SelfTestInfo& test = diag::SelfTests()[static_cast<size_t>(n)];
    m_bTest[n] = GetProfileYesNo(app, diag::kSelfTestSection, test.key, test.tickedByDefault ? "yes" : "no");
  }
  m_bZyklisch = GetProfileYesNo(app, diag::kSelfTestSection, diag::kZyklischKey, "yes");
}

BOOL CSelbsttestDlg::SaveChoices() {
  CWinApp& app = *AfxGetApp();
  ProfileWriteBatch batch;
  BOOL ok = TRUE;
  for (int n = 0; n < selftest::kTests; ++n)
    ok &= WriteProfileYesNo(app, diag::kSelfTestSection, diag::SelfTests()[static_cast<size_t>(n)].key, m_bTest[n]);
  ok &= WriteProfileYesNo(app, diag::kSelfTestSection, diag::kZyklischKey, m_bZyklisch);
  return batch.Commit() && ok;
}

BOOL CSelbsttestDlg::OnInitDialog() {
  LoadChoices();
  return CTestDialog::OnInitDialog();
}

void CSelbsttestDlg::OnTest(int test) {
  RunTest(test, m_strResult);
  UpdateData(FALSE);
}

void CSelbsttestDlg::OnSave() {
  if (MessageBox("Wollen Sie wirklich sichern?", "Selbstest", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  if (!UpdateData(TRUE)) return;
  if (!SaveChoices())
    MessageBox(
        CString::Formatted("Auswahl konnte nicht gespeichert werden:\n%s\n%s", AfxGetApp()->m_pszProfileName.c_str(),
                           profile::Describe(profile::LastWriteFailure()).c_str()),
        "Selbstest", MB_OK | MB_ICONERROR);
}

BOOL CSelbsttestDlg::Command(DWORD code, DWORD word, DWORD& error) {
  error = 0;
  const DWORD count = dsp::ParameterWords(code);
  return ZORIX7Command(m_hCard, code, count, count ? &word : nullptr, &error);
}

bool CSelbsttestDlg::DrainFifo() {
  for (int reads = 0; reads < diag::kFifoDrainLimit; ++reads) {
    if (ZORIX7ReadRegister(m_hCard, selftest::kPciFifoStatus) & selftest::kPciFifoEmpty) return true;
    ZORIX7ReadRegister(m_hCard, selftest::kPciFifoData);
  }
  return ZORIX7ReadRegister(m_hCard, selftest::kPciFifoStatus) & selftest::kPciFifoEmpty;
}

BOOL CSelbsttestDlg::TestFifo(CString& text) {
  if (!DrainFifo()) {
    text += FifoBoundText();
    return FALSE;
  }
  DWORD error = 0;
  if (!Command(dsp::kSelfTest, selftest::Mask(0), error)) {
    text += CString::Formatted("Error %X", error);
    return FALSE;
  }
  Sleep(kFifoSettleMs);
  BOOL ok = TRUE;
  for (int i = 0; i < selftest::kPatternWords; ++i) {
    const DWORD expected = selftest::PatternWord(i);
    const DWORD read = ZORIX7ReadRegister(m_hCard, selftest::kPciFifoData);
    if (read == expected) continue;
    CString line = CString::Formatted("\r\n %d: soll = %X, ist = %X", i, expected, read);
    MessageBox(line, "DSP->PCI-FIFO", MB_OK);
    text += line;
    ok = FALSE;
  }
  if (ok && !(ZORIX7ReadRegister(m_hCard, selftest::kPciFifoStatus) & selftest::kPciFifoEmpty)) {
    text = DrainFifo() ? CString("FIFO not empty") : FifoBoundText();
    return FALSE;
  }
  return ok;
}

BOOL CSelbsttestDlg::TestDac(CString& text) {
  DWORD error = 0;
  if (!Command(dsp::kPowerUp, 0, error)) {
    text += "Power Up Error";
    return FALSE;
  }
  const DWORD mask = selftest::Mask(selftest::kDacTest);
  if (!Command(dsp::kSelfTest, mask | selftest::kDacRampsOn, error)) {
    text += CString::Formatted("Error %X", error);
    return FALSE;
  }
  const bool seen = MessageBox("DAC-Rampen OK?", "DAC-Test", MB_YESNO | MB_ICONQUESTION) == IDYES;
  if (!seen) text += "nicht OK";
  Command(dsp::kSelfTest, mask, error);  // ends the ramps; its answer tells nothing more
  return seen ? TRUE : FALSE;
}

BOOL CSelbsttestDlg::RunTest(int test, CString& text) {
  if (test < 0 || test >= selftest::kTests) {
    text.Format("Test %d not exist", test);
    return FALSE;
  }
  const diag::SelfTestInfo& info = diag::SelfTests()[static_cast<size_t>(test)];
  text = info.text;
  BOOL ok;
  if (test == 0) {
    ok = TestFifo(text);
  } else if (test == selftest::kDacTest) {
    ok = TestDac(text);
  } else {
    DWORD error = 0;
    ok = Command(dsp::kSelfTest, info.mask, error);
    if (!ok) text += CString::Formatted("Error %X", error);
  }
  if (ok) text += "OK";
  return ok;
}

BOOL CSelbsttestDlg::Check(CString& result) {
  LoadChoices();
  m_lines.clear();
  bool ran = false;
  bool allPassed = true;
  for (int n = 0; n < selftest::kTests; ++n) {
    if (!m_bTest[n]) continue;
    CString text;
    const BOOL ok = RunTest(n, text);
    m_lines.push_back({"   " + text, VerdictOf(ok)});
    ran = true;
    allPassed = allPassed && ok;
  }
  result.Empty();
  return ran && allPassed ? TRUE : FALSE;
}
