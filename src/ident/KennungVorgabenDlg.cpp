#include "ident/KennungVorgabenDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QLineEdit>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QVBoxLayout>

#include "platform/CWinApp.h"
#include "platform/QtText.h"
#include "platform/TextParse.h"
#include "platform/UiHost.h"

namespace {
constexpr const char* kCaption = "Kennung Vorgaben";
// Floats in lists as "%.2f,".
constexpr int kFloatListWidth = 0;

// A relative name is taken beside the configuration file, wherever the program was started.
QString Resolved(const CString& name) {
  QString path = ToQ(text::Trim(name.str()));
  CWinApp* app = AfxGetApp();
  if (QFileInfo(path).isAbsolute() || !app) return path;
  return QFileInfo(ToQ(app->m_pszProfileName)).absoluteDir().filePath(path);
}

// Reading also finds the presets that come with the program, when the configuration's folder
// has none: beside the program, or in its installed data folder.
QString ResolvedForReading(const CString& name) {
  QString beside = Resolved(name);
  if (QFileInfo(beside).isAbsolute() && QFileInfo::exists(beside)) return beside;
  QString path = ToQ(text::Trim(name.str()));
  if (QFileInfo(path).isAbsolute()) return path;
  const QDir program(QCoreApplication::applicationDirPath());
  for (QString candidate : {program.filePath(path), program.filePath("../share/zorix7check/" + path)})
    if (QFileInfo::exists(candidate)) return candidate;
  return beside;
}

// The file is replaced as a whole or not at all.
bool WriteAtomically(const CString& name, const std::string& bytes) {
  QSaveFile file(Resolved(name));
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

bool IsBlank(const CString& name) { return text::Trim(name.str()).empty(); }
const char* const kNoName = "Keine Vorgabendatei eingetragen (Abschnitt \"Kennung\", Schlüssel \"Filename\")";
}  // namespace

CKennungVorgabenDlg::CKennungVorgabenDlg(QWidget* parent) : CDialog(IDD, parent) { SetWindowText(kCaption); }

CString CKennungVorgabenDlg::FileName() {
  CWinApp* app = AfxGetApp();
  return app ? app->GetProfileString("Kennung", "Filename", " ") : CString(" ");
}

std::optional<CString> CKennungVorgabenDlg::ReadPresets(const CString& name, KennungRecord& record) {
  if (IsBlank(name)) return CString(kNoName);
  auto read = ident::ReadKennungFile(ResolvedForReading(name).toStdString());
  if (!read) return CString::Formatted("Vorgabendatei \"%s\" kann nicht gelesen werden", name.c_str());
  record = *read;
  return std::nullopt;
}

void CKennungVorgabenDlg::CreateControls() {
  auto* top = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  LayoutKennungFields(
      grid, [this](int id) { return AddEdit(id); }, [this](const CString& text) { return AddStatic(0, text); });
  top->addLayout(grid);
  auto* file = new QHBoxLayout;
  file->addWidget(AddStatic(0, "Dateiname"));
  file->addWidget(AddEdit(IDC_DATEINAME), 1);
  top->addLayout(file);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(AddButton(IDC_SAVE, "Save", [this] { OnSave(); }));
  buttons->addStretch();
  buttons->addWidget(AddButton(IDOK, "OK"));
  top->addLayout(buttons);
}

void CKennungVorgabenDlg::DoDataExchange(CDataExchange* pDX) {
  ExchangeKennungFields(pDX, m_fields);
  DDX_Text(pDX, IDC_DATEINAME, m_strDateiname);
}

// As on Windows a file that cannot be read leaves every field empty, its name too.
BOOL CKennungVorgabenDlg::OnInitDialog() {
  m_strDateiname = FileName();
  KennungRecord record{};
  if (ReadPresets(m_strDateiname, record)) return TRUE;
  m_fields = ident::FieldsFromRecord(record, kFloatListWidth);
  UpdateData(FALSE);
  return TRUE;
}

void CKennungVorgabenDlg::OnSave() {
  if (MessageBox("Wollen Sie wirklich sichern?", kCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  if (!UpdateData(TRUE)) return;
  KennungRecord record{};
  if (auto problem = ident::RecordFromFields(m_fields, ident::Destination::PresetsFile, record)) {
    MessageBox(*problem, kCaption, MB_OK | MB_ICONWARNING);
    return;
  }
  // The name typed into the field is never used.
  m_strDateiname = FileName();
  SetDlgItemText(IDC_DATEINAME, m_strDateiname);
  if (IsBlank(m_strDateiname)) {
    MessageBox(kNoName, kCaption, MB_OK | MB_ICONWARNING);
    return;
  }
  if (!WriteAtomically(m_strDateiname, ident::KennungText(record)))
    MessageBox(CString::Formatted("Datei \"%s\" kann nicht geschrieben werden", m_strDateiname.c_str()), kCaption,
               MB_OK | MB_ICONWARNING);
}
