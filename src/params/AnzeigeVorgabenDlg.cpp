#include "params/AnzeigeVorgabenDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "card/ControlLca.h"
#include "params/TAlist.h"
#include "params/TaFile.h"
#include "platform/UiHost.h"

using params::DisplayUnit;
using params::EditorValues;

namespace {
RadioField Field(std::initializer_list<RadioButtonDef> buttons) { return RadioField(buttons); }

// A group box whose contents are laid out in a grid.
QGridLayout* Box(QGridLayout* parent, const char* title, int row, int column, int rowSpan = 1) {
  auto* box = new QGroupBox(QString::fromUtf8(title));
  auto* grid = new QGridLayout(box);
  parent->addWidget(box, row, column, rowSpan, 1);
  return grid;
}
}  // namespace

CAnzeigeVorgabenDlg::CAnzeigeVorgabenDlg(HZORIX7 card, ParameterSet* set, QWidget* parent)
    : CDialog(IDD, parent), m_hCard(card), m_pParam(set) {
  SetWindowText("Anzeige Meßparameter");
  m_rateField = Field({{IDC_RATE80, "80 (5.00) MHz", &m_nRate[0]},
                       {IDC_RATE40, "40 (2.50) MHz", &m_nRate[1]},
                       {IDC_RATE20, "20 (1.25) MHz", &m_nRate[2]},
                       {IDC_RATE10, "10 (0.68) MHz", &m_nRate[3]},
                       {IDC_RATE160, "160 MHz (virtuell)", &m_nRate[4]}});
  m_unitField = Field(
      {{IDC_UNIT_SAMPLES, "Samples", &m_nUnit[0]}, {IDC_UNIT_US, "µs", &m_nUnit[1]}, {IDC_UNIT_MM, "mm", &m_nUnit[2]}});
  static const char* const kPulse[8] = {"65 ns", "85 ns", "135 ns", "185 ns", "280 ns", "480 ns", "880 ns", "1680 ns"};
  RadioField pulse;
  for (int i = 0; i < 8; ++i) pulse.push_back({IDC_PULSE0 + i, kPulse[i], &m_nImpulsbreite[i]});
  RadioField energy;
  static const char* const kEnergy[4] = {"Energie 1", "Energie 2", "Energie 3", "Energie 4"};
  for (int i = 0; i < 4; ++i) energy.push_back({IDC_ENERGIE1 + i, kEnergy[i], &m_nEnergie[i]});
  m_groups = {
      {m_rateField, &EditorValues::rate},
      {Field({{IDC_KEINE_MESSUNG, "keine Messung", &m_nMessung[0]},
              {IDC_EINZELMESSUNG, "Einzelmessung", &m_nMessung[1]}}),
       &EditorValues::messung},
      {Field({{IDC_HF, "HF", &m_nGleichrichtung[0]},
              {IDC_POSITIV, "positiv", &m_nGleichrichtung[1]},
              {IDC_NEGATIV, "negativ", &m_nGleichrichtung[2]},
              {IDC_VOLL, "Voll", &m_nGleichrichtung[3]}}),
       &EditorValues::gleichrichtung},
      {Field({{IDC_IN_MASTER, "Master", &m_nEingang[0]}, {IDC_IN_EINZEL, "Einzel", &m_nEingang[1]}}),
       &EditorValues::eingang},
      {Field({{IDC_OUT_MASTERSTART, "Master Start", &m_nAusgang[0]},
              {IDC_OUT_MASTERSTOP, "Master Stop", &m_nAusgang[1]},
              {IDC_OUT_EINZELSAP, "Einzel SAP", &m_nAusgang[2]},
              {IDC_OUT_READY, "Ready", &m_nAusgang[3]}}),
       &EditorValues::ausgang},
      {pulse, &EditorValues::impulsbreite},
      {energy, &EditorValues::energie},
  };
}

void CAnzeigeVorgabenDlg::CreateControls() {
  auto* outer = new QVBoxLayout(this);
  auto* top = new QGridLayout;
  auto edit = [this](QGridLayout* g, int row, const char* label, int id, int column = 0) {
    g->addWidget(AddStatic(0, label), row, column);
    g->addWidget(AddEdit(id), row, column + 1);
  };
  auto radios = [](QGridLayout* g, const std::vector<QRadioButton*>& buttons, int firstRow, int column) {
    for (size_t i = 0; i < buttons.size(); ++i) g->addWidget(buttons[i], firstRow + static_cast<int>(i), column);
  };
  auto field = [this](size_t group) { return AddRadioField(m_groups[group].field); };

  QGridLayout* g = Box(top, "Allgemein", 0, 0);
  edit(g, 0, "max. SAP", IDC_MAXSAP);
  g->addWidget(AddCheck(IDC_TAKTEXTERN, "Takt extern"), 1, 0, 1, 2);
  g->addWidget(AddCheck(IDC_8BIT, "8 Bit"), 2, 0, 1, 2);
  edit(g, 3, "Average", IDC_AVERAGE);
  edit(g, 4, "SAP-Delay", IDC_SAPDELAY);

  g = Box(top, "Trigger", 1, 0);
  edit(g, 0, "Delay", IDC_TRIGGERDELAY);
  g->addWidget(AddCheck(IDC_DELAY25NS, "25 ns (1 µs)"), 1, 0, 1, 2);
  g->addWidget(AddCheck(IDC_EXTERN, "extern"), 2, 0, 1, 2);
  g->addWidget(AddStatic(0, "Eingang"), 3, 0);
  radios(g, field(3), 4, 0);
  g->addWidget(AddCheck(IDC_IN_LOW, "Low"), 6, 0);
  g->addWidget(AddStatic(0, "Ausgang"), 3, 1);
  radios(g, field(4), 4, 1);
  g->addWidget(AddCheck(IDC_OUT_LOW, "Low"), 8, 1);

  g = Box(top, "Samplerate", 0, 1);
  std::vector<QRadioButton*> rate;
  for (size_t i = 0; i < m_rateField.size(); ++i)
    rate.push_back(
        AddRadio(m_rateField[i].id, m_rateField[i].caption, [this, i] { OnSampleRate(static_cast<int>(i)); }));
  radios(g, rate, 0, 0);
  g->addWidget(AddCheck(IDC_TAKT16, "Takt/16"), 5, 0);

  g = Box(top, "Messung", 1, 1);
  radios(g, field(1), 0, 0);
  g->addWidget(AddCheck(IDC_BLENDENMESSUNG, "Blendenmessung"), 2, 0);

  g = Box(top, "Aufnahme", 0, 2);
  edit(g, 0, "Vorlauf", IDC_VORLAUF);
  edit(g, 1, "Aufnahme", IDC_AUFNAHME);
  edit(g, 2, "Delay", IDC_DELAY);
  edit(g, 3, "A-Scan", IDC_ASCAN);
  edit(g, 4, "Blende", IDC_BLENDE);
  g->addWidget(AddStatic(0, "Gleichrichtung"), 5, 0);
  radios(g, field(2), 6, 0);

  g = Box(top, "Sender", 1, 2);
  radios(g, field(5), 0, 0);
  radios(g, field(6), 0, 1);
  g->addWidget(AddCheck(IDC_SE, "S/E"), 4, 1);
  g->addWidget(AddCheck(IDC_SPERRE, "Sperre"), 5, 1);

  g = Box(top, "Empfänger", 0, 3);
  edit(g, 0, "Senderdämpfung", IDC_SENDERDAEMPFUNG);
  edit(g, 1, "Eingangsdämpfung", IDC_EINGANGSDAEMPFUNG);
  edit(g, 2, "Filter", IDC_FILTER);
  edit(g, 3, "Verstärkung", IDC_VERSTAERKUNG);

  g = Box(top, "Echostartblende", 1, 3);
  edit(g, 0, "Time", IDC_ESB_TIME);
  edit(g, 1, "Level", IDC_ESB_LEVEL);
  g->addWidget(AddCheck(IDC_ESB_RELATIV, "relativ"), 2, 0);
  g->addWidget(AddCheck(IDC_ESB_ALWAYS, "always"), 2, 1);
  g->addWidget(AddCheck(IDC_ESB_ENABLE, "Enable"), 3, 0);
  edit(g, 4, "ESB-Delay", IDC_ESB_DELAY);
  static_cast<QLineEdit*>(GetDlgItem(IDC_ESB_DELAY))->setReadOnly(true);

  g = Box(top, "Tiefenausgleich", 2, 0);
  g->addWidget(AddCheck(IDC_TA_ENABLE, "Enable"), 0, 0);
  edit(g, 1, "Delay", IDC_TA_DELAY);
  edit(g, 2, "Abstand", IDC_TA_ABSTAND);
  edit(g, 3, "Stützstellen", IDC_STUETZSTELLEN);
  edit(g, 4, "Datei", IDC_TA_DATEI);
  g->addWidget(AddButton(IDC_LADEN, "Laden", [this] { OnLaden(); }), 5, 0);
  g->addWidget(AddButton(IDC_ANZEIGEN, "Anzeigen", [this] { OnAnzeigen(); }), 5, 1);

  g = Box(top, "Anzeige", 2, 1);
  std::vector<QRadioButton*> unit;
  for (size_t i = 0; i < m_unitField.size(); ++i)
    unit.push_back(AddRadio(m_unitField[i].id, m_unitField[i].caption, [this, i] { OnUnit(static_cast<int>(i)); }));
  radios(g, unit, 0, 0);
  g->addWidget(AddStatic(0, "Schallgeschwindigkeit in m/s"), 3, 0);
  g->addWidget(AddEdit(IDC_VELOCITY), 4, 0);

  AddScrolledBody(outer, top);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(AddButton(IDOK, "Shot"));
  buttons->addWidget(AddButton(IDC_STORE, "OK", [this] { OnStore(); }));
  buttons->addWidget(AddButton(IDCANCEL, "Cancel"));
  outer->addLayout(buttons);
}

void CAnzeigeVorgabenDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_MAXSAP, m_v.maxSap);
  DDX_Check(pDX, IDC_TAKTEXTERN, m_v.taktExtern);
  DDX_Check(pDX, IDC_8BIT, m_v.achtBit);
  DDX_Text(pDX, IDC_AVERAGE, m_v.average);
  DDX_Text(pDX, IDC_TRIGGERDELAY, m_v.triggerDelay);
  DDX_Check(pDX, IDC_DELAY25NS, m_v.delay25ns);
  DDX_Text(pDX, IDC_SAPDELAY, m_v.sapDelay);
  DDX_Check(pDX, IDC_TAKT16, m_v.takt16);
  DDX_Check(pDX, IDC_BLENDENMESSUNG, m_v.blendenmessung);
  DDX_Text(pDX, IDC_VORLAUF, m_v.pos.vorlauf);
  DDX_Text(pDX, IDC_AUFNAHME, m_v.pos.aufnahme);
  DDX_Text(pDX, IDC_DELAY, m_v.pos.delay);
  DDX_Text(pDX, IDC_ASCAN, m_v.ascan);
  DDX_Check(pDX, IDC_EXTERN, m_v.externerTrigger);
  DDX_Text(pDX, IDC_BLENDE, m_v.blende);
  DDX_Check(pDX, IDC_IN_LOW, m_v.eingangLow);
  DDX_Check(pDX, IDC_OUT_LOW, m_v.ausgangLow);
  DDX_Check(pDX, IDC_SPERRE, m_v.sperre);
  DDX_Check(pDX, IDC_SE, m_v.se);
  DDX_Text(pDX, IDC_SENDERDAEMPFUNG, m_v.senderdaempfung);
  DDX_Text(pDX, IDC_EINGANGSDAEMPFUNG, m_v.eingangsdaempfung);
  DDX_Text(pDX, IDC_FILTER, m_v.filter);
  DDX_Text(pDX, IDC_VERSTAERKUNG, m_v.verstaerkung);
  DDX_Text(pDX, IDC_ESB_TIME, m_v.pos.esbTime);
  DDX_Text(pDX, IDC_ESB_LEVEL, m_v.esbLevel);
  DDX_Check(pDX, IDC_ESB_RELATIV, m_v.esbRelativ);
  DDX_Check(pDX, IDC_ESB_ALWAYS, m_v.esbAlways);
  DDX_Check(pDX, IDC_ESB_ENABLE, m_v.esbEnable);
  DDX_Text(pDX, IDC_ESB_DELAY, m_v.pos.esbDelay);
  DDX_Check(pDX, IDC_TA_ENABLE, m_v.taEnable);
  DDX_Text(pDX, IDC_TA_DELAY, m_v.pos.taDelay);
  DDX_Text(pDX, IDC_TA_ABSTAND, m_v.pos.taAbstand);
  DDX_Text(pDX, IDC_STUETZSTELLEN, m_v.stuetzstellen);
  DDX_Text(pDX, IDC_TA_DATEI, m_v.datei);
  DDX_Text(pDX, IDC_VELOCITY, m_fVelocity);
  for (const Group& group : m_groups)
    for (const RadioButtonDef& b : group.field) DDX_Radio(pDX, b.id, *b.member);
  for (const RadioButtonDef& b : m_unitField) DDX_Radio(pDX, b.id, *b.member);
}

BOOL CAnzeigeVorgabenDlg::OnInitDialog() {
  m_bStored = false;
  m_bZorix7F = ZORIX7IsVersion3(m_hCard) != 0;
  const WORD esbDelay = m_bZorix7F ? static_cast<WORD>(ZORIX7ReadRegister(m_hCard, lca::kEsbDelay)) : 0;
  if (m_pParam) m_work = *m_pParam;
  m_v = params::EditorValuesFromSet(m_work, m_bZorix7F, esbDelay);
  m_scale = params::EditorScale{SampleRateRowFor(m_work.Samplerate), DisplayUnit::Samples, 1};
  m_fVelocity = params::kDefaultVelocity;
  RadiosFromValues();
  EnsureControls();
  GetDlgItem(IDC_BLENDENMESSUNG)->setEnabled(m_bZorix7F);
  GetDlgItem(IDC_ESB_DELAY)->setEnabled(m_bZorix7F);
  UpdateData(FALSE);
  return TRUE;
}

void CAnzeigeVorgabenDlg::RadiosFromValues() {
  for (const Group& group : m_groups) SelectRadio(group.field, m_v.*group.index);
  SelectRadio(m_unitField, static_cast<int>(m_scale.unit));
}

void CAnzeigeVorgabenDlg::ValuesFromRadios() {
  for (const Group& group : m_groups) m_v.*group.index = SelectedRadio(group.field);
}

void CAnzeigeVorgabenDlg::ShowRadios(const RadioField& field) {
  for (const RadioButtonDef& b : field)
    if (auto* r = qobject_cast<QRadioButton*>(GetDlgItem(b.id))) r->setChecked(*b.member == 0);
}

void CAnzeigeVorgabenDlg::OnSampleRate(int index) {
  if (!UpdateData(TRUE)) {
    ShowRadios(m_rateField);
    return;
  }
  SelectRadio(m_rateField, index);
  params::ChooseSampleRate(m_v.pos, m_scale, static_cast<BYTE>(index));
  UpdateData(FALSE);
}

void CAnzeigeVorgabenDlg::OnUnit(int index) {
  if (!UpdateData(TRUE)) {
    ShowRadios(m_unitField);
    return;
  }
  SelectRadio(m_unitField, index);
  params::ChooseUnit(m_v.pos, m_scale, static_cast<DisplayUnit>(index), m_fVelocity);
  UpdateData(FALSE);
}

bool CAnzeigeVorgabenDlg::WriteBack() {
  if (!m_pParam || !UpdateData(TRUE)) return false;
  ValuesFromRadios();
  EditorValues v = m_v;
  params::ToSamples(v.pos, m_scale);
  params::StoreEditorValues(v, m_work, m_bZorix7F);
  *m_pParam = m_work;
  m_bStored = true;
  return true;
}

void CAnzeigeVorgabenDlg::OnOK() {
  if (WriteBack()) EndDialog(IDOK);
}

void CAnzeigeVorgabenDlg::OnStore() {
  if (WriteBack()) EndDialog(IDCANCEL);
}

void CAnzeigeVorgabenDlg::OnCancel() { EndDialog(IDCANCEL); }

void CAnzeigeVorgabenDlg::OnLaden() {
  if (!UpdateData(TRUE)) return;
  if (m_v.datei.IsEmpty()) {
    CString path;
    if (CurrentUiHost().GetOpenFileName(FileDialogRequest{"", "TA-Datei (*.ta)|*.ta||", "ta", ""}, path))
      m_v.datei = path;
  }
  if (!m_v.datei.IsEmpty()) {
    m_work.TaFileName = m_v.datei;
    // Counted in sample periods here, where the list counts in TA steps.
    auto read = ReadTaFile(m_v.datei.str(), m_scale.row.samplePeriodUs, m_scale.row.divisor);
    if (!read) {
      m_v.datei = "Datei nicht gefunden";
    } else {
      StoreTaTable(m_work, *read);
      m_v.stuetzstellen = read->count;
      if (read->hasSpacing) {
        params::EditorPositions shown;
        shown.taAbstand = read->spacingSteps;
        params::ToUnit(shown, m_scale);
        m_v.pos.taAbstand = shown.taAbstand;
      }
    }
  }
  UpdateData(FALSE);
}

void CAnzeigeVorgabenDlg::OnAnzeigen() {
  if (!UpdateData(TRUE)) return;
  const CString before = m_work.TaFileName;
  CTAlist dlg(&m_work, this);
  dlg.DoModal();
  // A file read there shows here too, so that "Shot" and "OK" do not send stale counts.
  if (m_work.TaFileName == before) return;
  ShowTaTable();
}

void CAnzeigeVorgabenDlg::ShowTaTable() {
  m_v.datei = m_work.TaFileName;
  m_v.stuetzstellen = m_work.TaLastIndex + 1u;
  params::EditorPositions shown;
  shown.taAbstand = m_work.TAAbstand;
  params::ToUnit(shown, m_scale);
  m_v.pos.taAbstand = shown.taAbstand;
  UpdateData(FALSE);
}
