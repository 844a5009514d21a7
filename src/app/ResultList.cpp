#include "app/ResultList.h"

#include <algorithm>
#include <cctype>

namespace resultlist {
namespace {
bool IsHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

// The hex word starting at pos (after blanks), if it is one and ends at a word boundary.
bool HexWordAt(std::string_view line, size_t pos, uint32_t& word) {
  while (pos < line.size() && line[pos] == ' ') ++pos;
  size_t end = pos;
  while (end < line.size() && IsHex(line[end])) ++end;
  if (end == pos || end - pos > 8) return false;
  if (end < line.size() && std::isalnum(static_cast<unsigned char>(line[end]))) return false;
  word = static_cast<uint32_t>(std::stoul(std::string(line.substr(pos, end - pos)), nullptr, 16));
  return true;
}
}  // namespace

std::string Text(const Header& header, const std::vector<Entry>& entries) {
  std::string out = "ZORIX7Check " + header.version + "\n";
  out += "Konfiguration: " + header.configuration + "\n";
  for (const auto& card : header.cards) out += card + "\n";
  out += "Gespeichert: " + header.savedAt + "\n\n";
  for (const auto& e : entries) {
    std::string verdict = e.verdict;
    verdict.resize(std::max<size_t>(verdict.size(), 12), ' ');
    out += e.timeOfDay + "  " + verdict + "  " + e.text + "\n";
  }
  return out;
}

std::vector<uint32_t> ErrorWords(std::string_view line) {
  std::vector<uint32_t> words;
  uint32_t word = 0;
  for (size_t at = line.find("Error"); at != std::string_view::npos; at = line.find("Error", at + 5))
    if (HexWordAt(line, at + 5, word)) words.push_back(word);
  for (size_t at = line.find("Fehler"); at != std::string_view::npos; at = line.find("Fehler", at + 6)) {
    size_t colon = line.find(':', at);
    if (colon != std::string_view::npos && HexWordAt(line, colon + 1, word)) words.push_back(word);
  }
  return words;
}

}  // namespace resultlist
