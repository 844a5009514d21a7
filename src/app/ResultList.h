#pragma once
// The result list as plain text for a file or the clipboard, and the library error words its
// lines name; without Qt.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace resultlist {

struct Header {
  std::string version;
  std::string configuration;
  std::vector<std::string> cards;
  std::string savedAt;  // date and time of the save
};

struct Entry {
  std::string timeOfDay;  // "HH:MM:SS" when the line was appended
  std::string verdict;    // "OK", "FEHLER", … or empty for a line that checked nothing
  std::string text;
};

// A header, a blank line, then one line per entry: time, verdict, text.
std::string Text(const Header& header, const std::vector<Entry>& entries);

// Hexadecimal error words a line reports: the word after "Error" or after the colon of
// "Fehler …:", as the program writes them with "%X".
std::vector<uint32_t> ErrorWords(std::string_view line);

}  // namespace resultlist
