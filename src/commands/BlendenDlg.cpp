#include "commands/BlendenDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "commands/DataBlendenDlg.h"
#include "measure/DataListDlg.h"
#include "platform/UiHost.h"

using gates::Unit;

CBlendenDlg::CBlendenDlg(HZORIX7 card, ParameterSet* set, const ActiveSetFlags* active, BOOL zorix9Mode,
                         const BYTE* data, DWORD dataBytes, QWidget* parent)
    : CTestDialog(IDD, parent),
      m_hCard(card),
      m_pSet(set),
      m_pActive(active),
      m_bZorix9Mode(zorix9Mode),
      m_pData(data),
      m_nDataBytes(std::min<DWORD>(dataBytes, kDataBufferBytes)) {
  SetWindowText("Blenden");
}

void CBlendenDlg::CreateControls() {
  auto* layout = new QVBoxLayout(this);

  auto* esb = new QGroupBox("Echostartblende", this);
  auto* esbGrid = new QGridLayout(esb);
  esbGrid->addWidget(AddStatic(0, "Time"), 0, 0);
  esbGrid->addWidget(AddEdit(IDC_ESB_TIME), 0, 1);
  esbGrid->addWidget(AddStatic(0, "Level"), 0, 2);
  esbGrid->addWidget(AddEdit(IDC_LEVEL), 0, 3);
  esbGrid->addWidget(AddCheck(IDC_RELATIV, "relativ"), 1, 0);
  esbGrid->addWidget(AddCheck(IDC_ALWAYS, "always"), 1, 1);
  esbGrid->addWidget(AddCheck(IDC_ESB_B0, "ESB = B0"), 1, 2);
  esbGrid->addWidget(AddStatic(0, "Delay"), 1, 3);
  esbGrid->addWidget(AddStatic(IDC_DELAY, ""), 1, 4);
  layout->addWidget(esb);

  auto* gatesBox = new QGroupBox("Messblenden", this);
  auto* grid = new QGridLayout(gatesBox);
  for (int i = 0; i < kGatesPerSet; ++i) {
    grid->addWidget(AddStatic(0, CString::Formatted("Anfang %d", i)), i, 0);
    grid->addWidget(AddEdit(IDC_ANFANG0 + i), i, 1);
    grid->addWidget(AddStatic(0, CString::Formatted("Ende %d", i)), i, 2);
    grid->addWidget(AddEdit(IDC_ENDE0 + i), i, 3);
    grid->addWidget(AddStatic(0, CString::Formatted("Schwelle %d", i)), i, 4);
    grid->addWidget(AddEdit(IDC_SCHWELLE0 + i), i, 5);
    grid->addWidget(AddCheck(IDC_ENABLE0 + i, "Enable"), i, 6);
    grid->addWidget(AddStatic(0, CString::Formatted("Time %d", i)), i, 7);
    grid->addWidget(AddStatic(IDC_TIME0 + i, ""), i, 8);
    grid->addWidget(AddStatic(0, CString::Formatted("Maximum %d", i)), i, 9);
    grid->addWidget(AddStatic(IDC_MAXIMUM0 + i, ""), i, 10);
  }
  layout->addWidget(gatesBox);
  connect(qobject_cast<QLineEdit*>(GetDlgItem(IDC_ANFANG0)), &QLineEdit::textChanged, this,
          [this] { OnChangeAnfang0(); });
  connect(qobject_cast<QLineEdit*>(GetDlgItem(IDC_SCHWELLE0)), &QLineEdit::textChanged, this,
          [this] { OnChangeSchwelle0(); });

  auto* row = new QHBoxLayout;
  row->addWidget(AddButton(IDC_SAMPLES, "Samples", [this] { OnUnit(Unit::Samples); }));
  row->addWidget(AddButton(IDC_US, "µs", [this] { OnUnit(Unit::Us); }));
  row->addWidget(AddButton(IDC_MM, "mm", [this] { OnUnit(Unit::Mm); }));
  row->addWidget(AddStatic(0, "Schallgeschwindigkeit (m/s)"));
  row->addWidget(AddEdit(IDC_VELOCITY));
  layout->addLayout(row);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(AddStatic(0, "Fehler"));
  bottom->addWidget(AddStatic(IDC_FEHLER, ""), 1);
  bottom->addWidget(AddButton(IDC_RESULTS, "Results", [this] { OnResults(); }));
  bottom->addWidget(AddButton(IDC_DATA_LIST, "Data List", [this] { OnDataList(); }));
  bottom->addWidget(AddButton(IDOK, "OK"));
  bottom->addWidget(AddButton(IDCANCEL, "Abbrechen"));
  layout->addLayout(bottom);
}

void CBlendenDlg::DoDataExchange(CDataExchange* pDX) {
  m_bShowing = !pDX->m_bSaveAndValidate;
  DDX_Text(pDX, IDC_ESB_TIME, m_edit.esbTime);
  DDX_Text(pDX, IDC_LEVEL, m_edit.level);
  DDX_Check(pDX, IDC_RELATIV, m_edit.relativ);
  DDX_Check(pDX, IDC_ALWAYS, m_edit.always);
  DDX_Check(pDX, IDC_ESB_B0, m_bEsbB0);
  DDX_Text(pDX, IDC_DELAY, m_text.delay);
  for (int i = 0; i < kGatesPerSet; ++i) {
    DDX_Text(pDX, IDC_ANFANG0 + i, m_edit.begin[i]);
    DDX_Text(pDX, IDC_ENDE0 + i, m_edit.end[i]);
    DDX_Text(pDX, IDC_SCHWELLE0 + i, m_edit.threshold[i]);
    DDX_Check(pDX, IDC_ENABLE0 + i, m_edit.enable[i]);
    DDX_Text(pDX, IDC_TIME0 + i, m_text.time[i]);
    DDX_Text(pDX, IDC_MAXIMUM0 + i, m_text.maximum[i]);
  }
  DDX_Text(pDX, IDC_VELOCITY, m_fVelocity);
  DDX_Text(pDX, IDC_FEHLER, m_strFehler);
  m_bShowing = false;
}

BOOL CBlendenDlg::OnInitDialog() {
  m_unit = Unit::Samples;
  m_fVelocity = gates::kDefaultVelocity;
  m_fFactor = 1.0f;
  m_bEsbB0 = TRUE;
  const gates::Timing timing = gates::TimingFor(m_pSet->Samplerate);
  m_fSamplePeriod = timing.samplePeriodUs;
  m_nGranularity = timing.granularity;
  m_edit = gates::LoadGateEdit(*m_pSet);
  m_strFehler.Empty();
  DWORD error = 0;
  m_bReadout = ZORIX7GetGates(m_hCard, &m_readout, &error) != FALSE;
  if (!m_bReadout) m_strFehler += CString::Formatted(" B: %X", error);
  ShowReadout();
  return CDialog::OnInitDialog();
}

void CBlendenDlg::ShowReadout() {
  m_text = m_bReadout ? gates::ReadoutText(m_readout, m_unit == Unit::Samples, Step()) : gates::ReadoutTexts{};
}

void CBlendenDlg::ToSamples() {
  if (m_unit != Unit::Samples) gates::PositionsToSamples(m_edit, Step(), m_nGranularity);
}

void CBlendenDlg::OnUnit(Unit unit) {
  if (!UpdateData(TRUE)) return;
  if (unit == Unit::Mm && !(m_fVelocity > 0.0f)) {
    MessageBox("Bitte eine Schallgeschwindigkeit über 0 m/s eingeben.", GetWindowText(), MB_OK | MB_ICONWARNING);
    return;
  }
  ToSamples();
  m_unit = unit;
  m_fFactor = gates::UnitFactor(unit, m_fVelocity);
  if (unit != Unit::Samples) gates::PositionsToUnit(m_edit, Step());
  ShowReadout();
  UpdateData(FALSE);
}

void CBlendenDlg::FollowGate0(int from, int to) {
  if (m_bShowing) return;
  auto* coupled = qobject_cast<QCheckBox*>(GetDlgItem(IDC_ESB_B0));
  if (coupled && coupled->isChecked()) SetDlgItemText(to, GetDlgItemText(from));
}

void CBlendenDlg::OnChangeAnfang0() { FollowGate0(IDC_ANFANG0, IDC_ESB_TIME); }
void CBlendenDlg::OnChangeSchwelle0() { FollowGate0(IDC_SCHWELLE0, IDC_LEVEL); }

void CBlendenDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  ToSamples();
  gates::StoreGateEdit(m_edit, *m_pSet);
  EndDialog(IDOK);
}

void CBlendenDlg::OnResults() {
  std::vector<BYTE> buffer(kDataBufferBytes);
  DWORD count = static_cast<DWORD>(buffer.size());
  DWORD error = 0;
  const BOOL ok = ZORIX7GetResults(m_hCard, 0, &count, buffer.data(), &error);
  count = std::min<DWORD>(count, static_cast<DWORD>(buffer.size()));
  if (!ok)
    m_strFehler = CString::Formatted("GetResults Error %X", error);
  else if (count == 0)
    m_strFehler = "GetResults no Data ";
  else
    m_strFehler = CString::Formatted("%d Bytes OK", static_cast<int>(count));
  SetDlgItemText(IDC_FEHLER, m_strFehler);
  if (!ok || count == 0) return;
  CDataBlendenDlg values(buffer.data(), count, m_pActive, m_bZorix9Mode);
  values.DoModal();
}

void CBlendenDlg::OnDataList() {
  CDataListDlg list;
  list.m_pData = m_pData;
  list.m_nBytes = m_pData ? m_nDataBytes : 0;
  list.m_b8Bit = m_pSet->b8Bit;
  list.m_bHeader = m_bZorix9Mode;
  list.m_nSampleRate = m_pSet->Samplerate;
  list.DoModal();
}

BOOL CBlendenDlg::Check(CString& result) {
  DWORD error = 0;
  m_bReadout = ZORIX7GetGates(m_hCard, &m_readout, &error) != FALSE;
  result = m_bReadout ? CString("OK") : CString::Formatted("GetGates Error %X", error);
  return m_bReadout ? TRUE : FALSE;
}
