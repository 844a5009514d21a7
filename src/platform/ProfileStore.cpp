#include "platform/ProfileStore.h"

#include <sys/stat.h>

#include <QSaveFile>
#include <QString>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "platform/CWinApp.h"
#include "platform/IniDocument.h"

namespace {
struct CachedFile {
  IniDocument doc;
  bool onDisk = false;
  off_t size = 0;
  timespec mtime{};
  bool dirty = false;  // changed in a batch, not yet saved
};

std::map<std::string, CachedFile> g_files;
std::set<std::string> g_pending;
int g_batchDepth = 0;
bool g_failWrites = false;

std::string Absolute(const std::string& file) {
  std::error_code ec;
  auto p = std::filesystem::absolute(file, ec);
  return ec ? file : p.lexically_normal().string();
}

bool StatRegular(const std::string& path, struct stat& st) {
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool SameStamp(const CachedFile& f, const struct stat& st) {
  return f.onDisk && f.size == st.st_size && f.mtime.tv_sec == st.st_mtim.tv_sec &&
         f.mtime.tv_nsec == st.st_mtim.tv_nsec;
}

// The parsed file, re-read when it changed on disk since the last look.
CachedFile& Load(const std::string& path) {
  auto it = g_files.find(path);
  if (it != g_files.end() && it->second.dirty) return it->second;  // pending writes win
  struct stat st {};
  bool exists = StatRegular(path, st);
  if (it != g_files.end() && (exists ? SameStamp(it->second, st) : !it->second.onDisk)) return it->second;
  CachedFile f;
  if (exists) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    f.doc = IniDocument::Parse(bytes.str());
    f.onDisk = true;
    f.size = st.st_size;
    f.mtime = st.st_mtim;
  }
  return g_files[path] = std::move(f);
}

bool Save(const std::string& path, CachedFile& f) {
  bool ok = false;
  if (!g_failWrites) {
    QSaveFile out(QString::fromStdString(path));
    if (out.open(QIODevice::WriteOnly)) {
      std::string bytes = f.doc.Serialize();
      qint64 written = out.write(bytes.data(), static_cast<qint64>(bytes.size()));
      if (written == static_cast<qint64>(bytes.size()))
        ok = out.commit();
      else
        out.cancelWriting();
    }
  }
  if (!ok) {
    // The disk still holds the old file; forget the change so reads show what is there.
    g_files.erase(path);
    return false;
  }
  f.dirty = false;
  struct stat st {};
  if (StatRegular(path, st)) {
    f.onDisk = true;
    f.size = st.st_size;
    f.mtime = st.st_mtim;
  }
  return true;
}
}  // namespace

namespace profile {
std::optional<std::string> Read(const std::string& file, const char* section, const char* entry) {
  if (!section || !entry) return std::nullopt;
  return Load(Absolute(file)).doc.Get(section, entry);
}

bool Write(const std::string& file, const char* section, const char* entry, const char* value) {
  if (!section || !entry) return false;
  std::string path = Absolute(file);
  CachedFile& f = Load(path);
  f.doc.Set(section, entry, value ? value : "");
  if (g_batchDepth > 0) {
    f.dirty = true;
    g_pending.insert(path);
    return true;
  }
  return Save(path, f);
}

void BeginBatch() { ++g_batchDepth; }

bool EndBatch() {
  if (g_batchDepth == 0 || --g_batchDepth > 0) return true;
  bool ok = true;
  std::set<std::string> pending;
  pending.swap(g_pending);
  for (const auto& path : pending) {
    auto it = g_files.find(path);
    if (it == g_files.end() || !it->second.dirty) continue;
    if (!Save(path, it->second)) ok = false;
  }
  return ok;
}

void InjectWriteFailure(bool fail) { g_failWrites = fail; }

void ClearCache() {
  // Pending batch writes are kept: dropping them would lose the user's settings silently.
  for (auto it = g_files.begin(); it != g_files.end();)
    it = it->second.dirty ? std::next(it) : g_files.erase(it);
}
}  // namespace profile
