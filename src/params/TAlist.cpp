#include "params/TAlist.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <fstream>

#include "params/TaFile.h"
#include "platform/UiHost.h"

CTAlist::CTAlist(ParameterSet* set, QWidget* parent) : CDialog(IDD, parent), m_pParam(set) {
  SetWindowText("Tiefenausgleich");
}

void CTAlist::CreateControls() {
  auto* grid = new QGridLayout(this);
  grid->addWidget(AddListBox(IDC_TA_LIST, m_listTa), 0, 0, 1, 2);
  grid->addWidget(AddStatic(0, "Datei"), 1, 0);
  grid->addWidget(AddEdit(IDC_TA_DATEI), 1, 1);
  grid->addWidget(AddStatic(0, "Stützstellen"), 2, 0);
  grid->addWidget(AddEdit(IDC_TA_STUETZSTELLEN), 2, 1);
  grid->addWidget(AddStatic(0, "Abstand in µs"), 3, 0);
  grid->addWidget(AddEdit(IDC_TA_ABSTAND), 3, 1);
  grid->addWidget(AddButton(IDOK, "OK"), 4, 0);
  grid->addWidget(AddButton(IDC_TA_SAVE, "Save", [this] { OnSave(); }), 4, 1);
}

void CTAlist::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_TA_DATEI, m_strDatei);
  DDX_Text(pDX, IDC_TA_STUETZSTELLEN, m_nStuetzstellen);
  DDX_Text(pDX, IDC_TA_ABSTAND, m_fAbstand);
}

BOOL CTAlist::OnInitDialog() {
  CDialog::OnInitDialog();
  m_listTa.ResetContent();
  if (!m_pParam) return TRUE;
  ParameterSet& set = *m_pParam;
  const SampleRateRow row = SampleRateRowFor(set.Samplerate);
  m_fAbstand = static_cast<float>(set.TAAbstand * row.taStepUs);
  m_nStuetzstellen = set.TaLastIndex + 1u;
  m_strDatei = set.TaFileName;
  if (m_strDatei.IsEmpty()) {
    CString path;
    if (CurrentUiHost().GetOpenFileName(FileDialogRequest{"", "TA-Datei (*.ta)|*.ta|All Files (*.*)|*.*||", "ta", ""},
                                        path))
      m_strDatei = path;
    if (!m_strDatei.IsEmpty()) ReadFile(row);
  }
  for (unsigned i = 0; i < m_nStuetzstellen && i < kTaMaxPoints; ++i) m_listTa.AddString(TaListLine(i, set.TaTable[i]));
  UpdateData(FALSE);
  return TRUE;
}

void CTAlist::OnSave() {
  if (!m_pParam) return;
  CString path;
  if (!CurrentUiHost().GetSaveFileName({"", "TA-Datei (*.ta)|*.ta|All Files (*.*)|*.*||", "ta", ""}, path)) return;
  std::ofstream out(path.str(), std::ios::binary | std::ios::trunc);
  out << TaFileText(*m_pParam, SampleRateRowFor(m_pParam->Samplerate).taStepUs);
  if (!out.flush())
    MessageBox(CString::Formatted("Datei %s konnte nicht geschrieben werden.", path.c_str()), GetWindowText(),
               MB_OK | MB_ICONERROR);
}

void CTAlist::ReadFile(const SampleRateRow& row) {
  m_pParam->TaFileName = m_strDatei;
  auto read = ReadTaFile(m_strDatei.str(), row.taStepUs, row.divisor);
  if (!read) {
    m_strDatei = "Datei nicht gefunden";
    return;
  }
  if (read->hasSpacing) m_fAbstand = static_cast<float>(read->spacingUs);
  StoreTaTable(*m_pParam, *read);
  m_nStuetzstellen = read->count;
}
