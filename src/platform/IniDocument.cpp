#include "platform/IniDocument.h"

#include <tuple>

#include "platform/Cp1252.h"

namespace {
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view Unquote(std::string_view s) {
  if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
    return s.substr(1, s.size() - 2);
  return s;
}

// Readers trim values and drop one pair of quotes, so a value that would lose something that
// way is written inside quotes; Windows drops them on reading too.
std::string Quoted(std::string_view value) {
  if (Trim(value).size() == value.size() && Unquote(value).size() == value.size()) return std::string(value);
  return "\"" + std::string(value) + "\"";
}

bool IsAscii(std::string_view bytes) {
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}
}  // namespace

IniDocument::IniDocument() = default;

std::string IniDocument::Fold(std::string_view s) {
  std::string out(s);
  for (size_t i = 0; i < out.size(); ++i) {
    auto b = static_cast<unsigned char>(out[i]);
    if (b >= 'A' && b <= 'Z') {
      out[i] = static_cast<char>(b + 32);
    } else if (b == 0xC3 && i + 1 < out.size()) {
      auto n = static_cast<unsigned char>(out[i + 1]);
      // Only a real two-byte sequence is folded and skipped; a stray lead byte is left alone
      // so that the byte after it is still folded.
      if (n >= 0x80 && n <= 0xBF) {
        if (n <= 0x9E && n != 0x97) out[i + 1] = static_cast<char>(n + 0x20);
        ++i;
      }
    }
  }
  return out;
}

IniDocument IniDocument::Parse(std::string_view bytes) {
  IniDocument doc;
  if (bytes.substr(0, 2) == "\xFF\xFE") {
    doc.m_encoding = Encoding::Utf16Le;
    doc.SplitLines(utf16::ToUtf8(bytes.substr(2), doc.m_broken));
  } else if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    // Only a file with a byte order mark can be invalid here; its stray bytes are
    // Windows-1252 and go back to disk as the same bytes.
    doc.m_encoding = Encoding::Utf8;
    bytes.remove_prefix(3);
    doc.SplitLines(utf8::IsValid(bytes) ? std::string(bytes) : utf8::Repair(bytes));
  } else if (!IsAscii(bytes) && utf8::IsValid(bytes)) {
    doc.m_encoding = Encoding::Utf8;
    doc.SplitLines(bytes);
  } else {
    // Files of the Windows version; plain ASCII reads the same either way.
    doc.SplitLines(cp1252::ToUtf8(bytes));
  }
  doc.Reindex();
  return doc;
}

void IniDocument::SplitLines(std::string_view text) {
  bool newlineSeen = m_encoding != Encoding::Windows1252;  // the others are written with CR LF
  size_t pos = 0;
  while (pos < text.size()) {
    size_t nl = text.find('\n', pos);
    Line line;
    if (nl == std::string_view::npos) {
      line.text = std::string(text.substr(pos));
      pos = text.size();
    } else {
      size_t end = nl;
      if (end > pos && text[end - 1] == '\r') {
        --end;
        line.eol = "\r\n";
      } else {
        line.eol = "\n";
      }
      line.text = std::string(text.substr(pos, end - pos));
      if (!newlineSeen) {
        m_newline = line.eol;
        newlineSeen = true;
      }
      pos = nl + 1;
    }
    m_lines.push_back(std::move(line));
  }
}

void IniDocument::Reindex() {
  m_sections.clear();
  m_sectionIndex.clear();
  m_keyIndex.clear();
  m_sectionLastLine.clear();
  for (size_t i = 0; i < m_lines.size(); ++i) {
    std::string_view t = Trim(m_lines[i].text);
    if (t.empty() || t.front() == ';') continue;
    if (t.front() == '[') {
      size_t close = t.find(']');
      if (close == std::string_view::npos) continue;  // no header: ignored like any stray line
      Section s;
      s.name = std::string(Trim(t.substr(1, close - 1)));
      s.line = i + 1;
      m_sectionIndex.emplace(Fold(s.name), m_sections.size());
      m_sections.push_back(std::move(s));
      m_keyIndex.emplace_back();
      m_sectionLastLine.push_back(i);
      continue;
    }
    if (m_sections.empty()) continue;
    size_t eq = t.find('=');
    if (eq == std::string_view::npos) continue;
    Entry e;
    e.key = std::string(Trim(t.substr(0, eq)));
    e.value = std::string(Unquote(Trim(t.substr(eq + 1))));
    e.line = i + 1;
    Section& s = m_sections.back();
    m_keyIndex.back().emplace(Fold(e.key), s.entries.size());
    s.entries.push_back(std::move(e));
    m_sectionLastLine.back() = i;
  }
}

const IniDocument::Section* IniDocument::FindSection(std::string_view section) const {
  auto it = m_sectionIndex.find(Fold(Trim(section)));
  return it == m_sectionIndex.end() ? nullptr : &m_sections[it->second];
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  // Names are taken as the file would hold them, so " Init " finds [Init].
  auto it = m_sectionIndex.find(Fold(Trim(section)));
  if (it == m_sectionIndex.end()) return std::nullopt;
  const auto& keys = m_keyIndex[it->second];
  auto k = keys.find(Fold(Trim(key)));
  if (k == keys.end()) return std::nullopt;
  return m_sections[it->second].entries[k->second].value;
}

IniDocument::Refusal IniDocument::CheckText(std::string_view text, Refusal::Kind kind, std::string_view name) const {
  if (!utf8::IsValid(text) || text.find_first_of("\r\n") != std::string_view::npos)
    return Refusal{kind, utf8::Repair(name), 0, 0};
  std::string bytes;
  if (m_encoding != Encoding::Utf16Le)
    if (auto c = cp1252::FromUtf8Strict(text, bytes)) return Refusal{Refusal::Kind::Character, std::string(name), *c, 0};
  return {};
}

IniDocument::Refusal IniDocument::Set(std::string_view sectionIn, std::string_view keyIn, std::string_view value) {
  using Kind = Refusal::Kind;
  const std::string_view section = Trim(sectionIn), key = Trim(keyIn);
  // A name a reader would take for something else: "a]b" is section "a", "a=b" key "a",
  // ";x" a comment, "[x" no key at all.
  if (section.find(']') != std::string_view::npos) return Refusal{Kind::Name, utf8::Repair(section), 0, 0};
  if (key.find('=') != std::string_view::npos || (!key.empty() && (key.front() == ';' || key.front() == '[')))
    return Refusal{Kind::Name, utf8::Repair(key), 0, 0};
  for (auto [text, kind, name] : {std::tuple{section, Kind::Name, section}, {key, Kind::Name, key}, {value, Kind::Value, key}})
    if (Refusal r = CheckText(text, kind, name)) return r;
  SetLine(section, key, std::string(key) + "=" + Quoted(value), value);
  return {};
}

void IniDocument::AppendLine(std::string text) {
  if (!m_lines.empty() && m_lines.back().eol.empty()) m_lines.back().eol = m_newline;
  m_lines.push_back(Line{std::move(text), m_newline});
}

void IniDocument::SetLine(std::string_view section, std::string_view key, std::string line, std::string_view value) {
  auto it = m_sectionIndex.find(Fold(section));
  if (it == m_sectionIndex.end()) {
    AppendLine("[" + std::string(section) + "]");
    Section s;
    s.name = std::string(section);
    s.line = m_lines.size();
    it = m_sectionIndex.emplace(Fold(s.name), m_sections.size()).first;
    m_sections.push_back(std::move(s));
    m_keyIndex.emplace_back();
    m_sectionLastLine.push_back(m_lines.size() - 1);
  }
  size_t si = it->second;
  const auto& keys = m_keyIndex[si];
  auto k = keys.find(Fold(key));
  if (k != keys.end()) {
    Entry& e = m_sections[si].entries[k->second];
    // The key keeps its spelling in the file.
    m_lines[e.line - 1].text = e.key + line.substr(key.size());
    e.value = std::string(value);
    return;
  }
  Entry e{std::string(key), std::string(value), 0};
  size_t at = m_sectionLastLine[si] + 1;
  if (at < m_lines.size()) {
    // Inserted inside the file: everything after it moves down one line. Shifting the line
    // numbers is much cheaper than a reindex, which folds every name again.
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(line), m_newline});
    for (auto& sec : m_sections) {
      if (sec.line > at) ++sec.line;
      for (auto& other : sec.entries)
        if (other.line > at) ++other.line;
    }
    for (auto& last : m_sectionLastLine)
      if (last >= at) ++last;
    e.line = at + 1;
  } else {
    // Appending to the last section, the common case of a new file.
    AppendLine(std::move(line));
    e.line = m_lines.size();
  }
  m_sectionLastLine[si] = e.line - 1;
  m_keyIndex[si].emplace(Fold(e.key), m_sections[si].entries.size());
  m_sections[si].entries.push_back(std::move(e));
}

IniDocument::Refusal IniDocument::Serialize(std::string& bytes) const {
  bytes.clear();
  if (m_broken) return Refusal{Refusal::Kind::BrokenText, {}, 0, 0};
  if (m_encoding == Encoding::Utf16Le) bytes = "\xFF\xFE";
  std::string line;
  for (size_t i = 0; i < m_lines.size(); ++i) {
    const Line& l = m_lines[i];
    // A file read as UTF-8 or UTF-16 is written as the Windows version writes: CR LF.
    std::string_view eol = m_encoding != Encoding::Windows1252 && !l.eol.empty() ? std::string_view("\r\n") : l.eol;
    if (m_encoding == Encoding::Utf16Le) {
      bytes += utf16::FromUtf8(l.text);
      bytes += utf16::FromUtf8(eol);
      continue;
    }
    if (auto c = cp1252::FromUtf8Strict(l.text, line)) {
      bytes.clear();
      return Refusal{Refusal::Kind::Character, {}, *c, i + 1};
    }
    bytes += line;
    bytes += eol;
  }
  return {};
}
