#include "diag/DSPDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "diag/Firmware.h"
#include "platform/CWinApp.h"
#include "platform/Clock.h"
#include "platform/UiHost.h"

namespace {
constexpr const char* kCaption = "DSP-Programm";
constexpr int kResetPolls = 100;
constexpr DWORD kPollMs = 10;
constexpr DWORD kSettleMs = 100;
}  // namespace

CDSPDlg::CDSPDlg(UINT nCards, const HZORIX7* hCard, UINT nCard)
    : CTestDialog(IDD), m_nCards(nCards), m_hCard(hCard), m_nMainCard(nCard) {
  SetWindowText("DSP-Programm laden");
}

void CDSPDlg::CreateControls() {
  auto* grid = new QGridLayout(this);
  grid->addWidget(AddStatic(0, "Dateiname"), 0, 0);
  grid->addWidget(AddEdit(IDC_FILENAME), 0, 1, 1, 2);
  grid->addWidget(AddStatic(0, "Karte"), 1, 0);
  grid->addWidget(AddEdit(IDC_KARTE), 1, 1);
  QCheckBox* alle = AddCheck(IDC_ALLE_KARTEN, "Alle Karten (Autoincrement)");
  connect(alle, &QCheckBox::clicked, this, [this] { OnAlleKarten(); });
  grid->addWidget(alle, 1, 2);
  grid->addWidget(AddStatic(IDC_STATUS, ""), 2, 0, 1, 3);
  grid->addWidget(AddCheck(IDC_ABFRAGE, "Mit Sicherheitsabfrage"), 3, 0, 1, 3);
  grid->addWidget(AddButton(IDC_WRITE, "Write", [this] { OnWrite(); }), 4, 0);
  grid->addWidget(AddButton(IDC_SAVE, "Save", [this] { OnSave(); }), 4, 1);
  grid->addWidget(AddButton(IDOK, "OK"), 4, 2);
}

void CDSPDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_FILENAME, m_strFileName);
  DDX_Text(pDX, IDC_STATUS, m_strStatus);
  DDX_Check(pDX, IDC_ALLE_KARTEN, m_bAlleKarten);
  DDX_Text(pDX, IDC_KARTE, m_nCard);
  DDX_Check(pDX, IDC_ABFRAGE, m_bAbfrage);
}

BOOL CDSPDlg::OnInitDialog() {
  m_strFileName = AfxGetApp()->GetProfileString("DSP", "Filename", " ");
  m_bAbfrage = TRUE;
  m_bAlleKarten = FALSE;
  m_nCard = m_nMainCard;
  return CTestDialog::OnInitDialog();
}

void CDSPDlg::OnWrite() {
  if (!UpdateData(TRUE)) return;
  if (!IsCardNumberValid()) {
    m_strStatus = "Ungültige Kartennummer";
    UpdateData(FALSE);
    return;
  }
  if (!m_bAbfrage || MessageBox("Wollen Sie wirklich schreiben?", kCaption, MB_YESNO | MB_ICONQUESTION) == IDYES)
    Load(m_strStatus);
  // The next press loads the next card, also when this one was not loaded.
  if (m_bAlleKarten && m_nCard < m_nCards)
    ++m_nCard;
  else
    m_bAlleKarten = FALSE;
  UpdateData(FALSE);
}

void CDSPDlg::OnSave() {
  if (MessageBox("Wollen Sie wirklich sichern?", kCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  if (!UpdateData(TRUE)) return;
  CWinApp* app = AfxGetApp();
  if (!app->WriteProfileString("DSP", "Filename", m_strFileName))
    MessageBox(CString::Formatted("Dateiname konnte nicht gespeichert werden:\n%s\n%s", app->m_pszProfileName.c_str(),
                                  profile::Describe(profile::LastWriteFailure()).c_str()),
               kCaption, MB_OK | MB_ICONERROR);
}

void CDSPDlg::OnAlleKarten() {
  if (!UpdateData(TRUE)) return;
  if (m_bAlleKarten) m_nCard = 1;
  UpdateData(FALSE);
}

void CDSPDlg::ChooseFile() {
  FileDialogRequest request;
  request.filter = "ZORIX7 Firmware (*.hex)|*.hex|*.bin|*.bin|All Files|*.*||";
  CString path;
  if (CurrentUiHost().GetOpenFileName(request, path))
    m_strFileName = path;
  else
    m_strFileName.Empty();
}

BOOL CDSPDlg::Load(CString& text) {
  if (m_strFileName.IsEmpty()) ChooseFile();
  const firmware::Image image = firmware::ReadFirmwareFile(m_strFileName.str());
  if (image.status != firmware::Status::Ok) {
    text = firmware::StatusText(image.status);
    return FALSE;
  }
  const HZORIX7 card = m_hCard[m_nCard - 1];
  DWORD error = 0;
  const BOOL loaded = ZORIX7LoadProm(card, static_cast<BYTE>(image.blocks), image.bytes.data(), &error);
  Sleep(kSettleMs);
  if (!loaded) {
    text.Format("Error %X", error);
    return FALSE;
  }
  return ResetAfterLoad(card, text);
}

BOOL CDSPDlg::ResetAfterLoad(HZORIX7 card, CString& text) {
  ZORIX7ResetCard(card);
  int polls = 0;
  while (!ZORIX7IsReseted(card)) {
    if (++polls >= kResetPolls) break;
    Sleep(kPollMs);
  }
  // A card that reports the reset finished at once has not reset at all.
  if (polls == 0) {
    text = "Reset Error after loading";
    return FALSE;
  }
  text.Format("Karte %u OK (Reset nach %d ms)", m_nCard, polls * static_cast<int>(kPollMs));
  DWORD error = 0;
  if (!ZORIX7WarmUp(card, &error)) {
    text.Format("WarmUp Error %X", error);
    return FALSE;
  }
  return TRUE;
}

BOOL CDSPDlg::Check(CString& result) {
  m_strFileName.Empty();  // the stored name is not used here
  m_nCard = m_nMainCard;
  if (!IsCardNumberValid()) {
    result = "Ungültige Kartennummer";
    return FALSE;
  }
  return Load(result);
}
