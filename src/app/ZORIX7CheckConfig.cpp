// The main dialog's configuration file: which file, and loading and saving all settings.
#include <QFile>
#include <QTemporaryDir>

#include "app/MainSettings.h"
#include "app/ZORIX7CheckDlg.h"
#include "platform/CWinApp.h"
#include "platform/QtText.h"
#include "platform/UiHost.h"

namespace {
using Dlg = CZORIX7CheckDlg;

// Which dialog member holds which setting, for both directions.
template <class T>
struct Link {
  T Dlg::*member;
  T MainSettings::*setting;
};
constexpr Link<UINT> kUintLinks[] = {{&Dlg::m_nCard, &MainSettings::card}, {&Dlg::m_nAnzeigefaktor, &MainSettings::anzeigefaktor}};
constexpr Link<int> kIntLinks[] = {{&Dlg::m_nParamSet, &MainSettings::paramSet}, {&Dlg::m_nZyklen, &MainSettings::zyklen}};
constexpr Link<BOOL> kBoolLinks[] = {
    {&Dlg::m_bDMA, &MainSettings::dma},         {&Dlg::m_bPrepAll, &MainSettings::prepAll},
    {&Dlg::m_bKontinuierlich, &MainSettings::kontinuierlich}, {&Dlg::m_bAnzeige, &MainSettings::anzeige},
    {&Dlg::m_bZorix9Mode, &MainSettings::zorix9}, {&Dlg::m_bHotPlug, &MainSettings::hotPlug},
};

template <class T, size_t N>
void Copy(const Link<T> (&links)[N], const Dlg& from, MainSettings& to) {
  for (const auto& l : links) to.*l.setting = from.*l.member;
}
template <class T, size_t N>
void Copy(const Link<T> (&links)[N], const MainSettings& from, Dlg& to) {
  for (const auto& l : links) to.*l.member = from.*l.setting;
}
}  // namespace

MainSettings CZORIX7CheckDlg::Settings() const {
  MainSettings s;
  for (int ch = 0; ch < kMaxCards; ++ch) s.channel[ch] = {m_channel[ch].nBus, m_channel[ch].nSlot};
  Copy(kUintLinks, *this, s);
  Copy(kIntLinks, *this, s);
  Copy(kBoolLinks, *this, s);
  for (const auto& row : TestColumn())
    if (row.checkKey) s.checks.push_back({row.checkKey, row.saveRank, this->*row.autoCheck});
  return s;
}

void CZORIX7CheckDlg::ApplySettings(const MainSettings& s) {
  for (int ch = 0; ch < kMaxCards; ++ch) {
    m_channel[ch].nBus = s.channel[ch].bus;
    m_channel[ch].nSlot = s.channel[ch].slot;
  }
  Copy(kUintLinks, s, *this);
  Copy(kIntLinks, s, *this);
  Copy(kBoolLinks, s, *this);
  auto check = s.checks.begin();
  for (const auto& row : TestColumn())
    if (row.checkKey && check != s.checks.end()) this->*row.autoCheck = (check++)->on;
}

void CZORIX7CheckDlg::ChooseProfileFile() {
  CWinApp* app = AfxGetApp();
  CString name = app->m_pszProfileName;
  // An absolute name (one chosen on the command line) is used as it stands.
  if (name.IsEmpty() || name.GetAt(0) != '/') {
    CString dir = m_strModuleDir;
    if (!dir.IsEmpty() && dir.Right(1) != "/") dir += "/";
    name = dir + name;
  }
  app->m_pszProfileName = name;
  m_listProfile.ResetContent();
  m_listProfile.AddString(name);
}

void CZORIX7CheckDlg::LoadSettings() {
  CWinApp& app = *AfxGetApp();
  // Such a file gives the defaults and is never overwritten by Save; say so once.
  if (profile::IsUnreadable(app.m_pszProfileName.str()))
    MessageBox(CString::Formatted("Konfiguration %s nicht lesbar, Vorgaben werden verwendet", app.m_pszProfileName.c_str()),
               "Check", MB_OK | MB_ICONWARNING);
  MainSettings settings = Settings();
  ReadSettings(app, settings, {m_nCards, m_param, m_active});
  ApplySettings(settings);
  m_savedSettings = SettingsText();
}

BOOL CZORIX7CheckDlg::SaveSettings() {
  BOOL ok = WriteSettings(*AfxGetApp(), Settings(), {m_nCards, m_param, m_active});
  if (ok) m_savedSettings = SettingsText();
  return ok;
}

std::string CZORIX7CheckDlg::SettingsText() {
  // What Save would write, written to a scratch file: one rule for saving and comparing. Every
  // write has the same keys, so one file (and one entry in the profile cache) serves them all.
  if (!m_settingsScratch) m_settingsScratch = std::make_shared<QTemporaryDir>();
  CWinApp& app = *AfxGetApp();
  const CString real = app.m_pszProfileName;
  app.m_pszProfileName = FromQ(m_settingsScratch->filePath("settings.ini"));
  WriteSettings(app, Settings(), {m_nCards, m_param, m_active});
  QFile file(ToQ(app.m_pszProfileName));
  app.m_pszProfileName = real;
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

bool CZORIX7CheckDlg::SettingsChanged() {
  // A field that does not take its text counts as a change the user has not saved.
  if (!UpdateData(TRUE)) return true;
  return SettingsText() != m_savedSettings;
}

void CZORIX7CheckDlg::OnSave() {
  if (MessageBox("Wollen Sie wirklich sichern?", "Check", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  // A refused field (its box shown, the field focused) stops the save: nothing is written.
  if (!UpdateData(TRUE)) return;
  // Nothing on disk changes when the write fails; say so rather than lose the settings silently.
  if (!SaveSettings())
    MessageBox(CString::Formatted("Konfiguration konnte nicht gespeichert werden:\n%s\n%s",
                                  AfxGetApp()->m_pszProfileName.c_str(),
                                  profile::Describe(profile::LastWriteFailure()).c_str()),
               "Check", MB_OK | MB_ICONERROR);
}

void CZORIX7CheckDlg::OnDblClkProfile() {
  FileDialogRequest request;
  request.filter = "*.ini|*.ini||";
  request.defaultExt = "*.*";
  request.initialName = "*.ini";
  CString path;
  if (!CurrentUiHost().GetOpenFileName(request, path)) return;
  m_listProfile.ResetContent();
  m_listProfile.AddString(path);
  CString chosen = m_listProfile.GetText(0);
  if (chosen.IsEmpty()) return;
  AfxGetApp()->m_pszProfileName = chosen;
  LoadSettings();
  UpdateData(FALSE);
}
