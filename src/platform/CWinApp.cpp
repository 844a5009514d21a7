#include "platform/CWinApp.h"

#include <algorithm>
#include <vector>

#include "platform/ProfileStore.h"

namespace {
std::vector<CWinApp*>& LiveApps() {
  static std::vector<CWinApp*> apps;
  return apps;
}

// GetPrivateProfileInt's reading: blanks, a sign, the leading digits; the rest is ignored.
UINT ParseProfileInt(const std::string& s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  UINT v = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) v = v * 10u + static_cast<UINT>(s[i] - '0');
  return negative ? 0u - v : v;
}
}  // namespace

CWinApp::CWinApp(const char* appName) : m_pszAppName(appName ? appName : "") {
  m_pszProfileName = m_pszAppName + ".INI";
  LiveApps().push_back(this);
}

CWinApp::~CWinApp() {
  auto& apps = LiveApps();
  apps.erase(std::remove(apps.begin(), apps.end(), this), apps.end());
}

CWinApp* AfxGetApp() { return LiveApps().empty() ? nullptr : LiveApps().back(); }

UINT CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue) {
  auto v = profile::Read(m_pszProfileName.str(), section, entry);
  if (!v || v->empty()) return static_cast<UINT>(defaultValue);
  return ParseProfileInt(*v);
}

CString CWinApp::GetProfileString(const char* section, const char* entry, const char* defaultValue) {
  return FindProfileString(section, entry).value_or(CString(defaultValue ? defaultValue : ""));
}

std::optional<CString> CWinApp::FindProfileString(const char* section, const char* entry) {
  auto v = profile::Read(m_pszProfileName.str(), section, entry);
  if (!v) return std::nullopt;
  return CString(std::move(*v));
}

BOOL CWinApp::WriteProfileInt(const char* section, const char* entry, int value) {
  return WriteProfileString(section, entry, CString::Formatted("%d", value));
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const char* value) {
  return profile::Write(m_pszProfileName.str(), section, entry, value) ? TRUE : FALSE;
}

ProfileReadScope::ProfileReadScope() { profile::BeginRead(); }

ProfileReadScope::~ProfileReadScope() { profile::EndRead(); }

ProfileWriteBatch::ProfileWriteBatch() { profile::BeginBatch(); }

ProfileWriteBatch::~ProfileWriteBatch() {
  if (!m_done) Commit();
}

bool ProfileWriteBatch::Commit() {
  if (m_done) return m_ok;
  m_done = true;
  m_ok = profile::EndBatch();
  return m_ok;
}

BOOL GetProfileYesNo(CWinApp& app, const char* section, const char* key, const char* defaultValue) {
  CString v = app.GetProfileString(section, key, defaultValue);
  if (!v.IsEmpty() && (v.GetAt(0) == 'n' || v.GetAt(0) == 'N')) return FALSE;
  return TRUE;
}

BOOL WriteProfileYesNo(CWinApp& app, const char* section, const char* key, BOOL value) {
  return app.WriteProfileString(section, key, value ? "yes" : "no");
}
