// The main dialog's controls, their layout and their data exchange.
#include <QCheckBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ZORIX7CheckDlg.h"
#include "platform/QtText.h"

namespace {
// Wide enough for the largest value the field takes (a 32-bit number).
QLineEdit* NumberEdit(QLineEdit* edit) {
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance("4294967295") + 16);
  edit->setAlignment(Qt::AlignRight);
  return edit;
}
}  // namespace

void CZORIX7CheckDlg::CreateControls() {
  auto* root = new QHBoxLayout(this);

  // Left: the test column.
  auto* tests = new QGroupBox("Tests", this);
  auto* grid = new QGridLayout(tests);
  grid->setHorizontalSpacing(8);
  int r = 0;
  for (const auto& row : TestColumn()) {
    int id = row.buttonId;
    QPushButton* button = AddButton(id, row.caption, [this, id] { RunTestButton(id); });
    button->setMinimumWidth(130);
    grid->addWidget(button, r, 0);
    QCheckBox* automatic = AddCheck(row.checkId, "");
    // Without caption as on Windows; named for screen readers and the pointer.
    automatic->setAccessibleName(QString::fromUtf8(row.caption) + " automatisch");
    automatic->setToolTip("Gesetzt: Prüfung ohne Dialog, auch bei \"Check All\"");
    grid->addWidget(automatic, r, 1);
    QLabel* status = AddStatic(row.statusId, "");
    // Long status texts wrap, so the window fits a 1024 pixel wide screen.
    status->setWordWrap(true);
    status->setMinimumWidth(160);
    grid->addWidget(status, r, 2);
    ++r;
  }
  QPushButton* checkAll = AddButton(IDC_CHECK_ALL, "Check All", [this] { OnCheckAll(); });
  grid->addWidget(checkAll, r, 0);
  grid->addWidget(AddStatic(0, "Alle Tests ausführen"), r, 2);
  grid->setRowStretch(r + 1, 1);
  root->addWidget(tests);

  // Right: selection, data rate, tools, result list.
  auto* right = new QVBoxLayout();
  auto* top = new QGridLayout();

  auto* selection = new QGroupBox("Auswahl", this);
  auto* sel = new QGridLayout(selection);
  sel->addWidget(AddStatic(0, "Karte"), 0, 0);
  m_editKarte = NumberEdit(AddEdit(IDC_KARTE));
  m_editKarte->installEventFilter(this);
  InstallCardMenu(m_editKarte);
  InstallCardMenu(selection);
  sel->addWidget(m_editKarte, 0, 1);
  sel->addWidget(AddStatic(IDC_KARTEN_LABEL, ""), 0, 2);
  sel->addWidget(AddStatic(0, "Parametersatz"), 1, 0);
  sel->addWidget(NumberEdit(AddEdit(IDC_PARAMSATZ)), 1, 1);
  sel->addWidget(AddStatic(0, "von Satz 0 ... 7"), 1, 2);
  sel->addWidget(AddStatic(0, "Anzeigefaktor"), 2, 0);
  sel->addWidget(NumberEdit(AddEdit(IDC_ANZEIGEFAKTOR)), 2, 1);
  sel->addWidget(AddStatic(0, "Zyklen"), 3, 0);
  sel->addWidget(NumberEdit(AddEdit(IDC_ZYKLEN)), 3, 1);
  sel->addWidget(AddStatic(0, "Time Out in s"), 4, 0);
  QLineEdit* timeout = NumberEdit(AddEdit(IDC_TIMEOUT));
  connect(timeout, &QLineEdit::textEdited, this, [this] { OnChangeTimeOut(); });
  sel->addWidget(timeout, 4, 1);
  top->addWidget(selection, 0, 0);

  auto* rate = new QGroupBox("Datenrate", this);
  auto* rg = new QGridLayout(rate);
  rg->addWidget(AddToolButton(IDC_RATE11, "Karte n Satz n"), 0, 0);
  rg->addWidget(AddToolButton(IDC_RATEN1, "Karte n Sätze 1..n"), 1, 0);
  rg->addWidget(AddToolButton(IDC_RATE1N, "Karten 1..n Satz n"), 2, 0);
  for (int id : {IDC_RATE11, IDC_RATEN1, IDC_RATE1N}) GetDlgItem(id)->setMinimumWidth(140);
  rg->addWidget(AddCheck(IDC_DMA, "DMA"), 0, 1);
  rg->addWidget(AddCheck(IDC_PREPALL, "PrepAll"), 1, 1);
  rg->addWidget(AddCheck(IDC_KONTINUIERLICH, "kontinuierlich"), 2, 1);
  rg->addWidget(AddCheck(IDC_ANZEIGE, "Anzeige"), 3, 0);
  rg->addWidget(AddCheck(IDC_RANDOM, "Random"), 3, 1);
  top->addWidget(rate, 0, 1);

  auto* tools = new QGroupBox("Einstellungen", this);
  auto* tg = new QGridLayout(tools);
  tg->addWidget(AddToolButton(IDC_TIEFENAUSGLEICH, "Tiefenausgleich"), 0, 0);
  tg->addWidget(AddStatic(0, "Tiefenausgleich festlegen"), 0, 1);
  tg->addWidget(AddToolButton(IDC_RANDOM_LIMITS, "Random Limits"), 0, 2);
  tg->addWidget(AddToolButton(IDC_ZORIX9, "ZORIX9"), 1, 0);
  tg->addWidget(AddStatic(0, "ZORIX9-Kennung/Mode aktivieren"), 1, 1);
  tg->addWidget(AddToolButton(IDC_BUSBELEGUNG, "Busbelegung"), 1, 2);
  tg->addWidget(AddButton(IDM_ABOUTBOX, "Info über ZORIX7Check...", [this] { OnSysCommand(IDM_ABOUTBOX); }), 2, 0);
  top->addWidget(tools, 1, 0, 1, 2);
  right->addLayout(top);

  QListWidget* profile = AddListBox(IDC_PROFILE, m_listProfile, [this] { OnDblClkProfile(); });
  profile->setFixedHeight(profile->fontMetrics().height() + 10);
  profile->setToolTip("Doppelklick: andere Konfigurationsdatei wählen");
  right->addWidget(profile);

  QListWidget* results = AddListBox(IDC_RESULT_LIST, m_listResult);
  results->setFont(FixedPitchFont(9));
  results->setMinimumHeight(120);
  AddResultListMenu(results);
  right->addWidget(results, 1);
  right->addWidget(AddStatic(IDC_RUN_STATUS, ""));

  auto* buttons = new QHBoxLayout();
  buttons->addWidget(AddButton(IDC_SAVE, "Save", [this] { OnSave(); }));
  GetDlgItem(IDC_SAVE)->setToolTip("Einstellungen in der Konfigurationsdatei sichern");
  buttons->addWidget(AddButton(IDC_CLEAR_LIST, "Clear List", [this] { OnClearList(); }));
  buttons->addStretch(1);
  buttons->addWidget(AddButton(IDOK, "OK"));
  right->addLayout(buttons);
  root->addLayout(right, 1);
  UpdateTestButtonStates();

  resize(1000, 680);
}

QPushButton* CZORIX7CheckDlg::AddToolButton(int id, const CString& caption) {
  for (const auto& tool : ToolButtons())
    if (tool.buttonId == id && tool.handler) return AddButton(id, caption, [this, h = tool.handler] { (this->*h)(); });
  return AddButton(id, caption, [] {});
}

void CZORIX7CheckDlg::DoDataExchange(CDataExchange* pDX) {
  const auto& rows = TestColumn();
  for (size_t i = 0; i < rows.size(); ++i) {
    DDX_Check(pDX, rows[i].checkId, this->*rows[i].autoCheck);
    DDX_Text(pDX, rows[i].statusId, m_strStatus[i]);
  }
  DDX_Text(pDX, IDC_KARTE, m_nCard);
  DDX_Text(pDX, IDC_PARAMSATZ, m_nParamSet);
  DDX_Text(pDX, IDC_ANZEIGEFAKTOR, m_nAnzeigefaktor);
  DDX_Text(pDX, IDC_ZYKLEN, m_nZyklen);
  DDX_Text(pDX, IDC_TIMEOUT, m_nTimeOut);
  DDX_Check(pDX, IDC_DMA, m_bDMA);
  DDX_Check(pDX, IDC_PREPALL, m_bPrepAll);
  DDX_Check(pDX, IDC_KONTINUIERLICH, m_bKontinuierlich);
  DDX_Check(pDX, IDC_ANZEIGE, m_bAnzeige);
  DDX_Check(pDX, IDC_RANDOM, m_bRandom);
  DDX_Text(pDX, IDC_KARTEN_LABEL, m_strKarten);
}
