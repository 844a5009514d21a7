#pragma once
// The application object with the profile functions of the original framework, working on
// the INI file named by m_pszProfileName.
#include "platform/CString.h"
#include "platform/WinTypes.h"

class CWinApp {
 public:
  explicit CWinApp(const char* appName = "ZORIX7Check");
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  CString m_pszAppName;
  CString m_pszProfileName;  // full path of the INI file; "<app name>.INI" at first

  UINT GetProfileInt(const char* section, const char* entry, int defaultValue);
  CString GetProfileString(const char* section, const char* entry, const char* defaultValue = nullptr);
  // FALSE when the file could not be written; the file on disk is then unchanged.
  BOOL WriteProfileInt(const char* section, const char* entry, int value);
  BOOL WriteProfileString(const char* section, const char* entry, const char* value);
};

// The application object in use (the most recently constructed one still alive).
CWinApp* AfxGetApp();

// Collects the writes of one save into a single atomic file write at the end of the scope.
class ProfileWriteBatch {
 public:
  ProfileWriteBatch();
  ~ProfileWriteBatch();  // writes, unless Commit already did
  bool Commit();         // false when the file could not be written
  ProfileWriteBatch(const ProfileWriteBatch&) = delete;
  ProfileWriteBatch& operator=(const ProfileWriteBatch&) = delete;

 private:
  bool m_done = false;
  bool m_ok = true;
};

// The profile store behind CWinApp: parsed files are cached and re-read when they change on
// disk; saves go through QSaveFile (temporary file, then rename).
namespace profile {
// Tests only: makes every save fail as a full disk would.
void InjectWriteFailure(bool fail);
// Forget cached files (tests that rewrite files within one second).
void ClearCache();
}  // namespace profile
