#include "pci/PresetsDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cassert>
#include <cstring>

#include "pci/PciLayout.h"
#include "platform/CWinApp.h"
#include "platform/UiHost.h"

pci::PresetLookup ProfilePresets(const char* section) {
  return [section](const char* key) -> std::optional<std::string> {
    if (auto stored = AfxGetApp()->FindProfileString(section, key)) return stored->str();
    return std::nullopt;
  };
}

CPresetsDlg::CPresetsDlg(Setup setup, QWidget* parent)
    : CDialog(setup.templateId, parent), m_setup(std::move(setup)), m_values(m_setup.fields.size()) {
  SetWindowText(m_setup.title);
}

const CString& CPresetsDlg::ValueOf(const char* key) const {
  size_t i = 0;
  while (i + 1 < m_setup.fields.size() && std::strcmp(m_setup.fields[i].key, key) != 0) ++i;
  assert(std::strcmp(m_setup.fields[i].key, key) == 0 && "every saved key has its field");
  return m_values[i];
}

void CPresetsDlg::CreateControls() {
  auto* outer = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  outer->addLayout(grid);
  for (size_t i = 0; i < m_setup.fields.size(); ++i) {
    const Field& f = m_setup.fields[i];
    QWidget* field = f.editable ? static_cast<QWidget*>(AddEdit(f.id)) : AddStatic(f.id, "");
    pci::PlacePair(grid, static_cast<int>(i), m_setup.perColumn, AddStatic(0, f.label), field);
    // Presets are hexadecimal; text that is none is saved as typed but read as 0.
    if (f.editable) SetFieldRule(f.id, {FieldRule::Kind::Hex});
  }
  auto* buttons = new QHBoxLayout;
  outer->addLayout(buttons);
  buttons->addWidget(AddButton(m_setup.saveId, "Save", [this] { OnSave(); }));
  buttons->addWidget(AddButton(IDOK, "OK"));
}

void CPresetsDlg::DoDataExchange(CDataExchange* pDX) {
  for (size_t i = 0; i < m_setup.fields.size(); ++i) DDX_Text(pDX, m_setup.fields[i].id, m_values[i]);
}

BOOL CPresetsDlg::OnInitDialog() {
  CWinApp& app = *AfxGetApp();
  for (size_t i = 0; i < m_setup.fields.size(); ++i)
    m_values[i] = app.GetProfileString(m_setup.section, m_setup.fields[i].key, "0");
  return CDialog::OnInitDialog();
}

void CPresetsDlg::OnSave() {
  if (MessageBox(WithIgnoredFields("Wollen Sie wirklich sichern?"), m_setup.saveCaption, MB_YESNO | MB_ICONQUESTION) !=
      IDYES)
    return;
  UpdateData(TRUE);
  CWinApp& app = *AfxGetApp();
  ProfileWriteBatch batch;
  bool ok = true;
  for (const char* key : m_setup.saveOrder) ok &= app.WriteProfileString(m_setup.section, key, ValueOf(key)) != FALSE;
  if (batch.Commit() && ok) return;
  // Nothing on disk changed; the texts stay in the dialog for another try.
  MessageBox(CString::Formatted("Vorgaben konnten nicht gespeichert werden:\n%s\n%s", app.m_pszProfileName.c_str(),
                                profile::Describe(profile::LastWriteFailure()).c_str()),
             m_setup.saveCaption, MB_OK | MB_ICONERROR);
}
