#pragma once
// Which configuration file a start uses. As on Windows, ZORIX7Check.INI beside the program
// when it is there (a build tree, a portable copy); otherwise the user's own in
// $XDG_CONFIG_HOME/zorix7check (~/.config/zorix7check), which the first start fills with the
// starting configuration and identification presets from the package's data folder. A file
// named on the command line wins over both and is not chosen here. Plain C++.
#include <string>
#include <vector>

namespace config {

inline constexpr const char* kFileName = "ZORIX7Check.INI";

struct Environment {
  std::string programDir;     // folder of the program file
  std::string xdgConfigHome;  // empty when unset
  std::string home;
};

struct Location {
  std::string file;                 // full path of the configuration to use
  std::vector<std::string> seeded;  // files this start copied into the user's folder
  std::string problem;              // why the user's folder could not be filled; empty when fine
};

// The program's own folder and the process environment.
Environment CurrentEnvironment(const std::string& programDir);
// <prefix>/share/zorix7check for a program in <prefix>/bin.
std::string DataDir(const std::string& programDir);
// The files a first start copies: the configuration and the presets file it names.
const std::vector<std::string>& SeedFiles();
// Chooses the file, creating and filling the user's folder when it has no configuration yet;
// a configuration already there is never replaced.
Location Locate(const Environment& env);

}  // namespace config
