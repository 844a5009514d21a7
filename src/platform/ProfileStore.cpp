#include "platform/ProfileStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "platform/CWinApp.h"
#include "platform/Cp1252.h"
#include "platform/IniDocument.h"

namespace {
using profile::Failure;

// What tells a changed file from the one read: a chmod or a replacement changes ctime.
struct Stamp {
  bool exists = false;
  ino_t inode = 0;
  off_t size = 0;
  timespec mtime{}, ctime{};
  bool operator==(const Stamp& o) const {
    return exists == o.exists && inode == o.inode && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
           mtime.tv_nsec == o.mtime.tv_nsec && ctime.tv_sec == o.ctime.tv_sec && ctime.tv_nsec == o.ctime.tv_nsec;
  }
};

struct CachedFile {
  IniDocument doc;
  Stamp stamp;
  bool unreadable = false;  // there, but not read: writes must not replace it
  bool dirty = false;       // changed in a batch, not yet saved
};

std::map<std::string, CachedFile> g_files;
std::set<std::string> g_pending;
int g_batchDepth = 0;
bool g_batchRefused = false;
bool g_failWrites = false;
profile::WriteFailure g_lastFailure;
int g_readDepth = 0;
std::string g_lookedAt;  // inside a read scope: the file already compared with the disk

std::string Absolute(const std::string& file) {
  // Every key read comes here with the same name; an absolute one does not depend on the
  // working directory, so its answer is kept.
  static std::string lastName, lastPath;
  if (!file.empty() && file.front() == '/' && file == lastName) return lastPath;
  std::error_code ec;
  auto p = std::filesystem::absolute(file, ec);
  std::string path = ec ? file : p.lexically_normal().string();
  if (!file.empty() && file.front() == '/') lastName = file, lastPath = path;
  return path;
}

Stamp StampOf(const struct stat& st) { return Stamp{true, st.st_ino, st.st_size, st.st_mtim, st.st_ctim}; }

// Root reads and writes regardless of the mode bits, so they are checked here as well:
// a file nobody may read or write is treated as such for everyone, as on Windows.
bool MayRead(const std::string& path, const struct stat& st) {
  return (st.st_mode & 0444) != 0 && ::access(path.c_str(), R_OK) == 0;
}
bool MayWrite(const std::string& path, const struct stat& st) {
  return (st.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK) == 0;
}

bool ReadAll(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// The parsed file, re-read when it changed on disk since the last look.
CachedFile& Load(const std::string& path) {
  auto it = g_files.find(path);
  if (it != g_files.end() && it->second.dirty) return it->second;  // pending writes win
  if (it != g_files.end() && g_readDepth > 0 && g_lookedAt == path) return it->second;
  if (g_readDepth > 0) g_lookedAt = path;
  struct stat st {};
  const bool present = ::stat(path.c_str(), &st) == 0;
  const bool absent = !present && (errno == ENOENT || errno == ENOTDIR);
  Stamp stamp = present ? StampOf(st) : Stamp{};
  if (it != g_files.end() && it->second.stamp == stamp && (present || absent)) return it->second;
  CachedFile f;
  f.stamp = stamp;
  std::string bytes;
  // Special files are not opened: a pipe would block the program.
  if (present && S_ISREG(st.st_mode) && MayRead(path, st) && ReadAll(path, bytes))
    f.doc = IniDocument::Parse(bytes);
  else
    f.unreadable = !absent;
  return g_files[path] = std::move(f);
}

// What stands in the way of replacing the file, found before anything is written.
Failure Obstacle(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return Failure::IsFolder;
    if (!S_ISREG(st.st_mode) || !MayRead(path, st)) return Failure::Unreadable;
    if (!MayWrite(path, st)) return Failure::ReadOnly;
  } else if (errno == ENOTDIR) {
    return Failure::NotAFolder;
  } else if (errno != ENOENT) {
    return Failure::NoAccess;
  }
  const std::string dir = std::filesystem::path(path).parent_path().string();
  if (::stat(dir.c_str(), &st) != 0) return errno == ENOENT ? Failure::NoFolder : errno == ENOTDIR ? Failure::NotAFolder : Failure::NoAccess;
  if (!S_ISDIR(st.st_mode)) return Failure::NotAFolder;
  // The new file is made beside the old one and renamed over it.
  if (::access(dir.c_str(), W_OK | X_OK) != 0) return Failure::NoAccess;
  return Failure::None;
}

bool Fail(const std::string& path, Failure failure, std::string detail = {}, char32_t character = 0, size_t line = 0) {
  g_lastFailure = profile::WriteFailure{failure, path, std::move(detail), character, line};
  return false;
}

bool Fail(const std::string& path, const IniDocument::Refusal& r) {
  using Kind = IniDocument::Refusal::Kind;
  Failure failure = r.kind == Kind::Name        ? Failure::Name
                    : r.kind == Kind::Value     ? Failure::Value
                    : r.kind == Kind::Character ? Failure::Character
                                                : Failure::BrokenText;
  return Fail(path, failure, r.text, r.character, r.line);
}

// Where the bytes of `path` really go: a link is followed, so the link stays a link.
std::string Target(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_symlink(path, ec)) return path;
  auto target = std::filesystem::canonical(path, ec);
  return ec ? path : target.string();
}

// The mode a replacement keeps: the old file's, or what a new file would get under the umask.
mode_t ModeFor(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) return st.st_mode & 07777;
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool WriteAll(int fd, const std::string& bytes) {
  for (size_t done = 0; done < bytes.size();) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// The new bytes go to a temporary file beside the old one, which is renamed over it only when
// all of them are on disk: a save that fails leaves the old file as it was.
bool WriteBytes(const std::string& path, const std::string& bytes) {
  if (g_failWrites) return Fail(path, Failure::WriteError, std::strerror(ENOSPC));
  const std::string target = Target(path);
  const std::filesystem::path where(target);
  std::string temp = (where.parent_path() / ("." + where.filename().string() + ".XXXXXX")).string();
  int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return Fail(path, Failure::WriteError, std::strerror(errno));
  errno = 0;
  int error = 0;
  if (::fchmod(fd, ModeFor(target)) != 0 || !WriteAll(fd, bytes) || ::fsync(fd) != 0) error = errno ? errno : EIO;
  if (::close(fd) != 0 && !error) error = errno;
  if (!error && ::rename(temp.c_str(), target.c_str()) != 0) error = errno;
  if (!error) return true;
  ::unlink(temp.c_str());
  return Fail(path, Failure::WriteError, std::strerror(error));
}

bool Save(const std::string& path, CachedFile& f) {
  std::string bytes;
  bool ok = false;
  if (Failure obstacle = Obstacle(path); obstacle != Failure::None)
    Fail(path, obstacle);
  else if (IniDocument::Refusal r = f.doc.Serialize(bytes))
    Fail(path, r);
  else
    ok = WriteBytes(path, bytes);
  if (!ok) {
    // The disk still holds the old file; forget the change so reads show what is there.
    g_files.erase(path);
    return false;
  }
  f.dirty = false;
  struct stat st {};
  f.stamp = ::stat(path.c_str(), &st) == 0 ? StampOf(st) : Stamp{};
  return true;
}

// A refused write inside a batch fails the whole batch: a save is written whole or not at all.
bool Refuse(bool failed) {
  if (g_batchDepth > 0) g_batchRefused = true;
  return failed;
}
}  // namespace

namespace profile {
std::optional<std::string> Read(const std::string& file, const char* section, const char* entry) {
  if (!section || !entry) return std::nullopt;
  return Load(Absolute(file)).doc.Get(section, entry);
}

bool Write(const std::string& file, const char* section, const char* entry, const char* value) {
  std::string path = Absolute(file);
  if (!section || !entry) return Refuse(Fail(path, Failure::Name));
  CachedFile& f = Load(path);
  if (f.unreadable) {
    Failure obstacle = Obstacle(path);
    return Refuse(Fail(path, obstacle == Failure::None ? Failure::Unreadable : obstacle));
  }
  if (IniDocument::Refusal r = f.doc.Set(section, entry, value ? value : "")) return Refuse(Fail(path, r));
  if (g_batchDepth > 0) {
    f.dirty = true;
    g_pending.insert(path);
    return true;
  }
  return Save(path, f);
}

void BeginRead() { ++g_readDepth; }

void EndRead() {
  if (g_readDepth > 0 && --g_readDepth == 0) g_lookedAt.clear();
}

void BeginBatch() {
  if (g_batchDepth++ == 0) g_batchRefused = false;
}

bool EndBatch() {
  if (g_batchDepth == 0 || --g_batchDepth > 0) return true;
  bool ok = !g_batchRefused;
  std::set<std::string> pending;
  pending.swap(g_pending);
  for (const auto& path : pending) {
    auto it = g_files.find(path);
    if (it == g_files.end() || !it->second.dirty) continue;
    if (!ok)
      g_files.erase(it);  // nothing of a refused save is written, nor kept in memory
    else if (!Save(path, it->second))
      ok = false;
  }
  return ok;
}

const WriteFailure& LastWriteFailure() { return g_lastFailure; }

bool IsUnreadable(const std::string& file) { return Load(Absolute(file)).unreadable; }

std::string Describe(const WriteFailure& f) {
  switch (f.failure) {
    case Failure::None:
      return {};
    case Failure::Unreadable:
      return "Die Datei ist nicht lesbar und wird deshalb nicht überschrieben.";
    case Failure::ReadOnly:
      return "Die Datei ist schreibgeschützt.";
    case Failure::IsFolder:
      return "Der Name bezeichnet einen Ordner, keine Datei.";
    case Failure::NoFolder:
      return "Der Ordner existiert nicht.";
    case Failure::NotAFolder:
      return "Ein Teil des Pfads ist eine Datei, kein Ordner.";
    case Failure::NoAccess:
      return "Keine Schreibberechtigung für den Ordner.";
    case Failure::Name:
      return "Der Name „" + f.detail + "“ wäre in der Datei nicht wieder lesbar.";
    case Failure::Value:
      return "Der Wert von „" + f.detail + "“ wäre in der Datei nicht wieder lesbar.";
    case Failure::Character: {
      std::string where = f.line ? CString::Formatted("in Zeile %zu", f.line).str()
                                 : "in „" + f.detail + "“";
      return "Das Zeichen „" + utf8::FromCodePoint(f.character) + "“ (" +
             CString::Formatted("U+%04X", static_cast<unsigned>(f.character)).str() + ") " + where +
             " gibt es in Windows-1252 nicht.";
    }
    case Failure::BrokenText:
      return "Die Datei enthält ungültigen UTF-16-Text.";
    case Failure::WriteError:
      return "Schreibfehler: " + f.detail;
  }
  return {};
}

void InjectWriteFailure(bool fail) { g_failWrites = fail; }

void ClearCache() {
  // Pending batch writes are kept: dropping them would lose the user's settings silently.
  for (auto it = g_files.begin(); it != g_files.end();)
    it = it->second.dirty ? std::next(it) : g_files.erase(it);
}
}  // namespace profile
