#pragma once
// The application object with the profile functions of the Windows framework, working on
// the INI file named by m_pszProfileName.
#include <optional>
#include <string>

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
  // The value as stored; nullopt when the file has no such key (or no such section).
  std::optional<CString> FindProfileString(const char* section, const char* entry);
  // FALSE when the write was refused or failed (profile::LastWriteFailure says why); the file
  // on disk is then unchanged.
  BOOL WriteProfileInt(const char* section, const char* entry, int value);
  BOOL WriteProfileString(const char* section, const char* entry, const char* value);
};

// The application object in use (the most recently constructed one still alive).
CWinApp* AfxGetApp();

// "yes"/"no" keys: off only when the value starts with n or N (an empty value is on).
BOOL GetProfileYesNo(CWinApp& app, const char* section, const char* key, const char* defaultValue);
BOOL WriteProfileYesNo(CWinApp& app, const char* section, const char* key, BOOL value);

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

// Reads many keys with one look at the file on disk: changes made by others in the meantime
// are seen by the next scope.
class ProfileReadScope {
 public:
  ProfileReadScope();
  ~ProfileReadScope();
  ProfileReadScope(const ProfileReadScope&) = delete;
  ProfileReadScope& operator=(const ProfileReadScope&) = delete;
};

// The profile store behind CWinApp: parsed files are cached and re-read when they change on
// disk; a save writes a temporary file and renames it over the old one. One place for every file in
// this format, so all of them keep the encodings the Windows version reads.
namespace profile {
// Why a write was refused or failed; the file on disk is then unchanged.
enum class Failure {
  None,
  Unreadable,  // the file is there but cannot be read: it is never overwritten unseen
  ReadOnly,    // no write permission in the file's mode bits (checked even for root)
  IsFolder,    // the name is a folder
  NoFolder,    // the folder of the file does not exist
  NotAFolder,  // a part of the path is a file
  NoAccess,    // the folder may not be written, or not be searched
  Name,        // a section or key name that would not read back
  Value,       // a value that would not read back (a line end)
  Character,   // a character Windows-1252 cannot hold
  BrokenText,  // a UTF-16 file with broken characters
  WriteError,  // the system failed the write (disk full, ...)
};
struct WriteFailure {
  Failure failure = Failure::None;
  std::string file;        // full path
  std::string detail;      // the name or key concerned, or the system's message
  char32_t character = 0;  // Failure::Character
  size_t line = 0;         // Failure::Character in a line of the file; 0 when in the written text
};
// The most recent failure of a write or a batch.
const WriteFailure& LastWriteFailure();
// The reason as a sentence for the user (German).
std::string Describe(const WriteFailure& failure);
// The file is there but cannot be read; reads give the defaults and writes are refused.
bool IsUnreadable(const std::string& file);

// Tests only: makes every save fail as a full disk would.
void InjectWriteFailure(bool fail);
// Forget cached files (tests that rewrite files within one second).
void ClearCache();
}  // namespace profile
