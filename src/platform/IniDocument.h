#pragma once
// An INI file held in memory with the rules of the Windows profile functions:
// sections and keys match without regard to case, the first match wins, values are
// trimmed; a write replaces the value in place or appends, every other line stays.
// On disk the file is what the Windows version reads: Windows-1252, or UTF-16LE with its byte
// order mark and CR LF. A file read as UTF-8 (edited on Linux) is written back whole in
// Windows-1252 with CR LF.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class IniDocument {
 public:
  enum class Encoding { Windows1252, Utf8, Utf16Le };

  // Why a write or the file's bytes were refused; the document then stays as it was.
  struct Refusal {
    enum class Kind {
      None,
      Name,        // a section or key name a reader would take for something else
      Value,       // a value with a line end, or not UTF-8
      Character,   // a character Windows-1252 cannot hold
      BrokenText,  // a UTF-16 file with broken characters would be written with U+FFFD
    };
    Kind kind = Kind::None;
    std::string text;        // the name, or the key of the value
    char32_t character = 0;  // Kind::Character
    size_t line = 0;         // 1-based line of the file that holds the character; 0 for a write
    explicit operator bool() const { return kind != Kind::None; }
  };

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

  // The bytes for the disk. A Windows-1252 file comes back byte for byte.
  Refusal Serialize(std::string& bytes) const;
  Encoding encoding() const { return m_encoding; }
  bool IsEmpty() const { return m_lines.empty(); }

  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  // Refused unless a fresh read of the written file gives exactly this value back.
  Refusal Set(std::string_view section, std::string_view key, std::string_view value);

  // Sections in file order (a repeated section appears again; lookups use the first).
  const std::vector<Section>& Sections() const { return m_sections; }
  const Section* FindSection(std::string_view section) const;

  // Case folding used for names: ASCII and the Latin-1 letters (so "Ö" matches "ö").
  static std::string Fold(std::string_view utf8);

 private:
  struct Line {
    std::string text;  // UTF-8, without the line end
    std::string eol;   // "\r\n", "\n" or "" for a last line without end
  };

  void SplitLines(std::string_view text);
  void Reindex();
  Refusal CheckText(std::string_view text, Refusal::Kind kind, std::string_view name) const;
  void AppendLine(std::string text);
  void SetLine(std::string_view section, std::string_view key, std::string line, std::string_view value);

  std::vector<Line> m_lines;
  std::string m_newline = "\r\n";
  Encoding m_encoding = Encoding::Windows1252;
  bool m_broken = false;  // UTF-16 text that did not decode
  std::vector<Section> m_sections;
  std::unordered_map<std::string, size_t> m_sectionIndex;           // folded name -> first section
  std::vector<std::unordered_map<std::string, size_t>> m_keyIndex;  // per section: folded key -> entry
  std::vector<size_t> m_sectionLastLine;                            // 0-based last line of each section
};
