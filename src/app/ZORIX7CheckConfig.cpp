// The main dialog's configuration file: which file, and loading and saving all settings.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string_view>
#include <vector>

#include "app/ZORIX7CheckDlg.h"
#include "params/ParameterProfile.h"
#include "platform/CWinApp.h"
#include "platform/TextParse.h"
#include "platform/UiHost.h"

namespace {
struct YesNoKey {
  const char* key;
  BOOL CZORIX7CheckDlg::*member;
};

// Section "Init" yes/no keys, in file order.
constexpr YesNoKey kInitYesNo[] = {
    {"DMA", &CZORIX7CheckDlg::m_bDMA},       {"PrepAll", &CZORIX7CheckDlg::m_bPrepAll},
    {"Kontinuierlich", &CZORIX7CheckDlg::m_bKontinuierlich}, {"Anzeige", &CZORIX7CheckDlg::m_bAnzeige},
    {"ZORIX9", &CZORIX7CheckDlg::m_bZorix9Mode}, {"HotPlug", &CZORIX7CheckDlg::m_bHotPlug},
};
constexpr const char* kInitYesNoDefaults[] = {"yes", "no", "no", "yes", "yes", "yes"};

// Section "Check": the column's keys, read in column order and saved by rank.
std::vector<const TestColumnRow*> CheckKeys(bool saveOrder) {
  std::vector<const TestColumnRow*> keys;
  for (const auto& row : TestColumn())
    if (row.checkKey) keys.push_back(&row);
  if (saveOrder)
    std::stable_sort(keys.begin(), keys.end(), [](auto* a, auto* b) { return a->saveRank < b->saveRank; });
  return keys;
}

// Reads "Bus %d Slot %d" as sscanf matches it (blanks in the format match any run of white
// space, trailing text is ignored); a number beyond 32 bits does not parse, where sscanf's
// behaviour would be undefined.
bool ParseBusSlot(const CString& value, int& bus, int& slot) {
  std::string_view in = value.str();
  auto skipSpace = [&] {
    while (!in.empty() && std::isspace(static_cast<unsigned char>(in.front()))) in.remove_prefix(1);
  };
  auto literal = [&](std::string_view word) {
    if (in.substr(0, word.size()) != word) return false;
    in.remove_prefix(word.size());
    return true;
  };
  auto number = [&](int& out) {
    skipSpace();
    size_t n = (!in.empty() && (in[0] == '+' || in[0] == '-')) ? 1 : 0;
    while (n < in.size() && in[n] >= '0' && in[n] <= '9') ++n;
    auto v = text::ParseInteger(in.substr(0, n), INT32_MIN, INT32_MAX);
    if (!v) return false;
    out = static_cast<int>(*v);
    in.remove_prefix(n);
    return true;
  };
  int b = 0, s = 0;
  if (!literal("Bus") || !number(b)) return false;
  skipSpace();
  if (!literal("Slot") || !number(s)) return false;
  bus = b;
  slot = s;
  return true;
}
}  // namespace

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
  for (int ch = 1; ch <= kMaxCards; ++ch) {
    CString value = app.GetProfileString("Bus", CString::Formatted("Kanal%d", ch), "Bus 0 Slot 0");
    ParseBusSlot(value, m_channel[ch - 1].nBus, m_channel[ch - 1].nSlot);
  }
  m_nCard = app.GetProfileInt("Init", "Karte", 1);
  m_nParamSet = static_cast<int>(app.GetProfileInt("Init", "Parametersatz", 1));
  m_nAnzeigefaktor = app.GetProfileInt("Init", "Anzeigefaktor", 1);
  m_nZyklen = static_cast<int>(app.GetProfileInt("Init", "Zyklen", 200));
  for (size_t i = 0; i < std::size(kInitYesNo); ++i)
    this->*kInitYesNo[i].member = GetProfileYesNo(app, "Init", kInitYesNo[i].key, kInitYesNoDefaults[i]);
  for (const auto* row : CheckKeys(false)) this->*row->autoCheck = GetProfileYesNo(app, "Check", row->checkKey, "yes");
  for (UINT c = 1; c <= m_nCards; ++c)
    for (int s = 0; s < 8; ++s)
      LoadParameterSet(app, ParameterSectionName(c, s), m_param[c - 1][s], m_active[c - 1].flag[s]);
}

BOOL CZORIX7CheckDlg::SaveSettings() {
  CWinApp& app = *AfxGetApp();
  ProfileWriteBatch batch;
  BOOL ok = TRUE;
  ok &= app.WriteProfileInt("Init", "Parametersatz", m_nParamSet);
  ok &= app.WriteProfileInt("Init", "Anzeigefaktor", static_cast<int>(m_nAnzeigefaktor));
  ok &= app.WriteProfileInt("Init", "Zyklen", m_nZyklen);
  ok &= app.WriteProfileInt("Init", "Karte", static_cast<int>(m_nCard));
  for (const auto& k : kInitYesNo) ok &= WriteProfileYesNo(app, "Init", k.key, this->*k.member);
  for (const auto* row : CheckKeys(true)) ok &= WriteProfileYesNo(app, "Check", row->checkKey, this->*row->autoCheck);
  for (UINT c = 1; c <= m_nCards; ++c)
    for (int s = 0; s < 8; ++s)
      ok &= SaveParameterSet(app, ParameterSectionName(c, s), m_param[c - 1][s], m_active[c - 1].flag[s]);
  return batch.Commit() && ok;
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
