#include "params/RandomLimitsDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
using FieldRef = CRandomLimitsDlg::FieldRef;

template <int Gate>
FieldRef GateStart(ParameterSet& p) {
  return &p.Gates.gate[Gate].start;
}
// The gate end fields of the limits hold the gate width.
template <int Gate>
FieldRef GateWidth(ParameterSet& p) {
  return &p.Gates.gate[Gate].end;
}
}  // namespace

const std::vector<CRandomLimitsDlg::Row>& CRandomLimitsDlg::Rows() {
  static const std::vector<Row> rows = {
      {"max. SAP", [](ParameterSet& p) -> FieldRef { return &p.IFF; }},
      {"Sendeimplusbreite", [](ParameterSet& p) -> FieldRef { return &p.Sendeimpulsbreite; }},
      {"Sendeenergie", [](ParameterSet& p) -> FieldRef { return &p.Sendeenergie; }},
      {"Senderdämpfung", [](ParameterSet& p) -> FieldRef { return &p.Senderdaempfung; }},
      {"Eingangsdämpfung", [](ParameterSet& p) -> FieldRef { return &p.Eingangsdaempfung; }},
      {"Filter", [](ParameterSet& p) -> FieldRef { return &p.Filter; }},
      {"Verstärkung", [](ParameterSet& p) -> FieldRef { return &p.Verstaerkung; }},
      {"Samplefrequenz", [](ParameterSet& p) -> FieldRef { return &p.Samplerate; }},
      {"Average", [](ParameterSet& p) -> FieldRef { return &p.Average; }},
      {"A-Scan", [](ParameterSet& p) -> FieldRef { return &p.Faktor; }},
      {"Gleichrichtung", [](ParameterSet& p) -> FieldRef { return &p.Gleichrichtung; }},
      {"Vorlauf", [](ParameterSet& p) -> FieldRef { return &p.PKVorlauf; }},
      {"Delay", [](ParameterSet& p) -> FieldRef { return &p.Aufnahmedelay; }},
      {"Aufnahme", [](ParameterSet& p) -> FieldRef { return &p.Aufnahmelaenge; }},
      {"Blende 0 Anfang", GateStart<0>},
      {"Blende 1 Anfang", GateStart<1>},
      {"Blende 2 Anfang", GateStart<2>},
      {"Blende 3 Anfang", GateStart<3>},
      {"Blende 4 Anfang", GateStart<4>},
      {"Blende 0 Breite", GateWidth<0>},
      {"Blende 1 Breite", GateWidth<1>},
      {"Blende 2 Breite", GateWidth<2>},
      {"Blende 3 Breite", GateWidth<3>},
      {"Blende 4 Breite", GateWidth<4>},
  };
  return rows;
}

CRandomLimitsDlg::CRandomLimitsDlg(ParameterSet* min, ParameterSet* max, QWidget* parent)
    : CDialog(IDD, parent), m_pMin(min), m_pMax(max) {
  SetWindowText("Random Limits");
}

void CRandomLimitsDlg::CreateControls() {
  auto* outer = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  grid->addWidget(AddStatic(0, "Minimum"), 0, 1);
  grid->addWidget(AddStatic(0, "Maximum"), 0, 2);
  const auto& rows = Rows();
  for (size_t i = 0; i < rows.size(); ++i) {
    const int r = static_cast<int>(i);
    grid->addWidget(AddStatic(0, rows[i].caption), r + 1, 0);
    grid->addWidget(AddEdit(IDC_MIN_FIRST + r), r + 1, 1);
    grid->addWidget(AddEdit(IDC_MAX_FIRST + r), r + 1, 2);
  }
  AddScrolledBody(outer, grid);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(AddButton(IDOK, "OK"));
  buttons->addWidget(AddButton(IDCANCEL, "Cancel"));
  outer->addLayout(buttons);
}

void CRandomLimitsDlg::DoDataExchange(CDataExchange* pDX) {
  const auto& rows = Rows();
  for (size_t i = 0; i < rows.size(); ++i) {
    const int r = static_cast<int>(i);
    std::visit([&](auto* v) { DDX_Text(pDX, IDC_MIN_FIRST + r, *v); }, rows[i].field(m_min));
    std::visit([&](auto* v) { DDX_Text(pDX, IDC_MAX_FIRST + r, *v); }, rows[i].field(m_max));
  }
}

BOOL CRandomLimitsDlg::OnInitDialog() {
  if (m_pMin) m_min = *m_pMin;
  if (m_pMax) m_max = *m_pMax;
  return CDialog::OnInitDialog();
}

void CRandomLimitsDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  if (m_pMin) *m_pMin = m_min;
  if (m_pMax) *m_pMax = m_max;
  EndDialog(IDOK);
}
