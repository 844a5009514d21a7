// The main dialog's configuration file: which file, and loading and saving all settings.
#include "app/MainSettings.h"
#include "app/ZORIX7CheckDlg.h"
#include "platform/CWinApp.h"
#include "platform/UiHost.h"

MainSettings CZORIX7CheckDlg::Settings() const {
  MainSettings s;
  for (int ch = 0; ch < kMaxCards; ++ch) s.channel[ch] = {m_channel[ch].nBus, m_channel[ch].nSlot};
  s.card = m_nCard;
  s.paramSet = m_nParamSet;
  s.anzeigefaktor = m_nAnzeigefaktor;
  s.zyklen = m_nZyklen;
  s.dma = m_bDMA;
  s.prepAll = m_bPrepAll;
  s.kontinuierlich = m_bKontinuierlich;
  s.anzeige = m_bAnzeige;
  s.zorix9 = m_bZorix9Mode;
  s.hotPlug = m_bHotPlug;
  for (const auto& row : TestColumn())
    if (row.checkKey) s.checks.push_back({row.checkKey, row.saveRank, this->*row.autoCheck});
  return s;
}

void CZORIX7CheckDlg::ApplySettings(const MainSettings& s) {
  for (int ch = 0; ch < kMaxCards; ++ch) {
    m_channel[ch].nBus = s.channel[ch].bus;
    m_channel[ch].nSlot = s.channel[ch].slot;
  }
  m_nCard = s.card;
  m_nParamSet = s.paramSet;
  m_nAnzeigefaktor = s.anzeigefaktor;
  m_nZyklen = s.zyklen;
  m_bDMA = s.dma;
  m_bPrepAll = s.prepAll;
  m_bKontinuierlich = s.kontinuierlich;
  m_bAnzeige = s.anzeige;
  m_bZorix9Mode = s.zorix9;
  m_bHotPlug = s.hotPlug;
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
}

BOOL CZORIX7CheckDlg::SaveSettings() {
  return WriteSettings(*AfxGetApp(), Settings(), {m_nCards, m_param, m_active});
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
