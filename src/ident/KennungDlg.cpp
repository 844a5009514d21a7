#include "ident/KennungDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ident/KennungVorgabenDlg.h"
#include "platform/UiHost.h"

namespace {
// Floats in lists as "%5.2f,".
constexpr int kFloatListWidth = 5;
}  // namespace

CKennungDlg::CKennungDlg(HZORIX7 card, QWidget* parent) : CTestDialog(IDD, parent), m_hCard(card) {
  SetWindowText("Kennung");
}

void CKennungDlg::CreateControls() {
  auto* top = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  LayoutKennungFields(
      grid, [this](int id) { return AddEdit(id); }, [this](const CString& text) { return AddStatic(0, text); });
  top->addLayout(grid);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(AddButton(IDC_WRITE, "Write", [this] { OnWrite(); }));
  buttons->addWidget(AddButton(IDC_VORGABEN, "Vorgaben", [this] { OnVorgaben(); }));
  buttons->addStretch();
  buttons->addWidget(AddButton(IDOK, "OK"));
  top->addLayout(buttons);
}

void CKennungDlg::DoDataExchange(CDataExchange* pDX) { ExchangeKennungFields(pDX, m_fields); }

BOOL CKennungDlg::OnInitDialog() {
  ShowCardRecord();
  return TRUE;
}

// As on Windows the read's result is not examined: a failed read shows the zeroed record.
void CKennungDlg::ShowCardRecord() {
  KennungRecord record{};
  DWORD error = 0;
  ZORIX7GetKonfig(m_hCard, &record, &error);
  m_fields = ident::FieldsFromRecord(record, kFloatListWidth);
  UpdateData(FALSE);
}

void CKennungDlg::OnWrite() {
  if (MessageBox("Wollen Sie wirklich schreiben?", "Kennung", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  if (!UpdateData(TRUE)) return;
  KennungRecord record{};
  if (auto problem = ident::RecordFromFields(m_fields, ident::Destination::Card, record)) {
    MessageBox(*problem, "Kennung", MB_OK | MB_ICONWARNING);
    return;
  }
  DWORD error = 0;
  if (!ZORIX7PutKonfig(m_hCard, &record, &error))
    MessageBox(CString::Formatted("PutKonfig Error Adr: 0x%X Soll: 0x%X Ist: 0x%X", error >> 16, (error >> 8) & 0xFF,
                                  error & 0xFF),
               "Test", MB_OK);
  ShowCardRecord();
}

void CKennungDlg::OnVorgaben() {
  CKennungVorgabenDlg dlg(this);
  dlg.DoModal();
}

BOOL CKennungDlg::Check(CString& result) {
  KennungRecord preset{};
  if (auto problem = CKennungVorgabenDlg::ReadPresets(CKennungVorgabenDlg::FileName(), preset)) {
    result = *problem;
    return FALSE;
  }
  KennungRecord card{};
  DWORD error = 0;
  if (!ZORIX7GetKonfig(m_hCard, &card, &error)) {
    result.Format("GetKonfig Error %X", error);
    return FALSE;
  }
  if (auto d = ident::FirstDifference(preset, card)) {
    result = d->label + " Soll: " + d->soll + " Ist: " + d->ist;
    return FALSE;
  }
  result = "OK";
  return TRUE;
}
