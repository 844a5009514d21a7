#include "app/ConfigLocation.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace config {
namespace fs = std::filesystem;

namespace {
// An XDG base folder must be absolute; anything else counts as unset.
std::string UserFolder(const Environment& env) {
  if (!env.xdgConfigHome.empty() && env.xdgConfigHome.front() == '/') return env.xdgConfigHome + "/zorix7check";
  if (!env.home.empty()) return env.home + "/.config/zorix7check";
  return {};
}

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}
}  // namespace

Environment CurrentEnvironment(const std::string& programDir) {
  return {programDir, Env("XDG_CONFIG_HOME"), Env("HOME")};
}

std::string DataDir(const std::string& programDir) {
  return (fs::path(programDir).parent_path() / "share" / "zorix7check").string();
}

const std::vector<std::string>& SeedFiles() {
  static const std::vector<std::string> files = {kFileName, "Kennung-ZORIX7F.txt"};
  return files;
}

Location Locate(const Environment& env) {
  Location where;
  const fs::path beside = fs::path(env.programDir) / kFileName;
  std::error_code ec;
  const std::string folder = UserFolder(env);
  if (fs::exists(beside, ec) || folder.empty()) {
    where.file = beside.string();
    if (folder.empty()) where.problem = "weder XDG_CONFIG_HOME noch HOME gesetzt";
    return where;
  }
  where.file = folder + "/" + kFileName;
  if (fs::exists(where.file, ec)) return where;
  if (!fs::create_directories(folder, ec) && ec) {
    where.problem = folder + ": " + ec.message();
    return where;
  }
  const fs::path data = DataDir(env.programDir);
  for (const std::string& name : SeedFiles()) {
    const fs::path to = fs::path(folder) / name;
    if (!fs::copy_file(data / name, to, fs::copy_options::skip_existing, ec)) {
      if (ec) where.problem = (data / name).string() + ": " + ec.message();
      continue;
    }
    // The copy of a read-only shipped file must still take the user's saves.
    fs::permissions(to, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
    where.seeded.push_back(to.string());
  }
  return where;
}

}  // namespace config
