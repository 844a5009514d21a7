#pragma once
// An INI file held in memory with the rules of the Windows profile functions:
// sections and keys match without regard to case, the first match wins, values are
// trimmed; a write replaces the value in place or appends, every other line stays byte
// for byte. Reads UTF-8 and Windows-1252 files and writes each back in its own encoding.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class IniDocument {
 public:
  enum class Encoding { Utf8, Windows1252 };

  struct Entry {
    std::string key;    // UTF-8, as spelt in the file
    std::string value;  // UTF-8, trimmed, surrounding quotes removed
    size_t line = 0;    // 1-based
  };
  struct Section {
    std::string name;  // UTF-8, as spelt in the file
    size_t line = 0;   // 1-based line of the header
    std::vector<Entry> entries;
  };

  IniDocument();
  // Never fails: whatever cannot be read as a section or key line is kept and ignored.
  static IniDocument Parse(std::string_view bytes);

  std::string Serialize() const;
  Encoding encoding() const { return m_encoding; }
  bool IsEmpty() const { return m_lines.empty(); }

  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  void Set(std::string_view section, std::string_view key, std::string_view value);

  // Sections in file order (a repeated section appears again; lookups use the first).
  const std::vector<Section>& Sections() const { return m_sections; }
  const Section* FindSection(std::string_view section) const;

  // Case folding used for names: ASCII and the Latin-1 letters (so "Ö" matches "ö").
  static std::string Fold(std::string_view utf8);

 private:
  struct Line {
    std::string raw;  // bytes as in the file, without the line end
    std::string eol;  // "\r\n", "\n" or "" for a last line without end
  };

  void Reindex();
  std::string Decode(std::string_view bytes) const;
  std::string Encode(std::string_view utf8) const;
  // A name as a reader of the saved file sees it: one line, trimmed, and without the
  // characters the file's encoding lacks.
  std::string Name(std::string_view name) const;
  void AppendLine(std::string raw);
  void SetLine(std::string_view section, std::string_view key, std::string_view value, const std::string& stored);

  std::vector<Line> m_lines;
  std::string m_bom;
  std::string m_newline = "\r\n";
  Encoding m_encoding = Encoding::Windows1252;
  std::vector<Section> m_sections;
  std::unordered_map<std::string, size_t> m_sectionIndex;                   // folded name -> first section
  std::vector<std::unordered_map<std::string, size_t>> m_keyIndex;          // per section: folded key -> entry
  std::vector<size_t> m_sectionLastLine;                                    // 0-based last line of each section
};
