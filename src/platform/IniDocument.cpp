#include "platform/IniDocument.h"

#include "platform/Cp1252.h"

namespace {
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

// A line end inside a name or value would split the line and change the file's structure.
std::string OneLine(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c == '\n') c = ' ';  // a lone CR does not end a line
  return out;
}

std::string_view Unquote(std::string_view s) {
  if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
    return s.substr(1, s.size() - 2);
  return s;
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

std::string IniDocument::Decode(std::string_view bytes) const {
  if (m_encoding == Encoding::Windows1252) return cp1252::ToUtf8(bytes);
  // Only a file with a byte order mark can be invalid here; text inside is UTF-8 all the same.
  return utf8::IsValid(bytes) ? std::string(bytes) : utf8::Repair(bytes);
}

std::string IniDocument::Encode(std::string_view utf8) const {
  // A UTF-8 file must stay valid UTF-8, or the next read would take it for Windows-1252.
  if (m_encoding == Encoding::Utf8) return utf8::IsValid(utf8) ? std::string(utf8) : utf8::Repair(utf8);
  return cp1252::FromUtf8(utf8);
}

IniDocument IniDocument::Parse(std::string_view bytes) {
  IniDocument doc;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    doc.m_bom = std::string(bytes.substr(0, 3));
    bytes.remove_prefix(3);
    doc.m_encoding = Encoding::Utf8;
  } else {
    bool ascii = true;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (size_t i = 0, n = bytes.size(); i < n; ++i)
      if (p[i] >= 0x80) {
        ascii = false;
        break;
      }
    // Files of the original tool are Windows-1252; plain ASCII files stay compatible with it.
    doc.m_encoding = (!ascii && utf8::IsValid(bytes)) ? Encoding::Utf8 : Encoding::Windows1252;
  }
  bool newlineSeen = false;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t nl = bytes.find('\n', pos);
    Line line;
    if (nl == std::string_view::npos) {
      line.raw = std::string(bytes.substr(pos));
      pos = bytes.size();
    } else {
      size_t end = nl;
      if (end > pos && bytes[end - 1] == '\r') {
        --end;
        line.eol = "\r\n";
      } else {
        line.eol = "\n";
      }
      line.raw = std::string(bytes.substr(pos, end - pos));
      if (!newlineSeen) {
        doc.m_newline = line.eol;
        newlineSeen = true;
      }
      pos = nl + 1;
    }
    doc.m_lines.push_back(std::move(line));
  }
  doc.Reindex();
  return doc;
}

void IniDocument::Reindex() {
  m_sections.clear();
  m_sectionIndex.clear();
  m_keyIndex.clear();
  m_sectionLastLine.clear();
  for (size_t i = 0; i < m_lines.size(); ++i) {
    std::string_view raw = m_lines[i].raw;
    std::string_view t = Trim(raw);
    if (t.empty() || t.front() == ';') continue;
    if (t.front() == '[') {
      size_t close = t.find(']');
      if (close == std::string_view::npos) continue;  // no header: ignored like any stray line
      Section s;
      s.name = Decode(Trim(t.substr(1, close - 1)));
      s.line = i + 1;
      std::string folded = Fold(s.name);
      m_sectionIndex.emplace(folded, m_sections.size());
      m_sections.push_back(std::move(s));
      m_keyIndex.emplace_back();
      m_sectionLastLine.push_back(i);
      continue;
    }
    if (m_sections.empty()) continue;
    size_t eq = t.find('=');
    if (eq == std::string_view::npos) continue;
    Entry e;
    e.key = Decode(Trim(t.substr(0, eq)));
    e.value = Decode(Unquote(Trim(t.substr(eq + 1))));
    e.line = i + 1;
    Section& s = m_sections.back();
    m_keyIndex.back().emplace(Fold(e.key), s.entries.size());
    s.entries.push_back(std::move(e));
    m_sectionLastLine.back() = i;
  }
}

std::string IniDocument::Name(std::string_view name) const { return Decode(Encode(Trim(OneLine(name)))); }

const IniDocument::Section* IniDocument::FindSection(std::string_view section) const {
  auto it = m_sectionIndex.find(Fold(Name(section)));
  return it == m_sectionIndex.end() ? nullptr : &m_sections[it->second];
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  // Names are taken as the file would hold them, so " Init " finds [Init].
  auto it = m_sectionIndex.find(Fold(Name(section)));
  if (it == m_sectionIndex.end()) return std::nullopt;
  const auto& keys = m_keyIndex[it->second];
  auto k = keys.find(Fold(Name(key)));
  if (k == keys.end()) return std::nullopt;
  return m_sections[it->second].entries[k->second].value;
}

void IniDocument::AppendLine(std::string raw) {
  if (!m_lines.empty() && m_lines.back().eol.empty()) m_lines.back().eol = m_newline;
  m_lines.push_back(Line{std::move(raw), m_newline});
}

void IniDocument::Set(std::string_view sectionIn, std::string_view keyIn, std::string_view valueIn) {
  const std::string sectionLine = Name(sectionIn);
  const std::string keyLine = Name(keyIn);
  const std::string valueLine = OneLine(valueIn);
  const std::string_view section = sectionLine, key = keyLine, value = valueLine;
  const std::string stored = Decode(Encode(Unquote(Trim(value))));
  // A name a reader would take for something else (";x" is a comment, "a=b" a different key,
  // "a]b" a different section) is written as given, and the index rebuilt from the lines so
  // that it shows what a reader of the file will see.
  const bool readable = section.find(']') == std::string_view::npos && key.find('=') == std::string_view::npos &&
                        (key.empty() || (key.front() != ';' && key.front() != '['));
  SetLine(section, key, value, stored);
  if (!readable) Reindex();
}

void IniDocument::SetLine(std::string_view section, std::string_view key, std::string_view value,
                          const std::string& stored) {
  auto it = m_sectionIndex.find(Fold(section));
  if (it == m_sectionIndex.end()) {
    AppendLine("[" + Encode(section) + "]");
    Section s;
    s.name = std::string(section);
    s.line = m_lines.size();
    m_sectionIndex.emplace(Fold(s.name), m_sections.size());
    m_sections.push_back(std::move(s));
    m_keyIndex.emplace_back();
    m_sectionLastLine.push_back(m_lines.size() - 1);
    it = m_sectionIndex.find(Fold(section));
  }
  size_t si = it->second;
  const auto& keys = m_keyIndex[si];
  auto k = keys.find(Fold(key));
  if (k != keys.end()) {
    const Entry& e = m_sections[si].entries[k->second];
    m_lines[e.line - 1].raw = Encode(e.key) + "=" + Encode(value);
    m_sections[si].entries[k->second].value = stored;
    return;
  }
  size_t at = m_sectionLastLine[si] + 1;
  std::string raw = Encode(key) + "=" + Encode(value);
  if (at < m_lines.size()) {
    // Inserted inside the file: everything after it moves down one line. Shifting the line
    // numbers is much cheaper than a reindex, which decodes and folds every name again.
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(raw), m_newline});
    for (auto& sec : m_sections) {
      if (sec.line > at) ++sec.line;
      for (auto& e : sec.entries)
        if (e.line > at) ++e.line;
    }
    for (auto& last : m_sectionLastLine)
      if (last >= at) ++last;
    Entry e;
    e.key = std::string(key);
    e.value = stored;
    e.line = at + 1;
    m_keyIndex[si].emplace(Fold(e.key), m_sections[si].entries.size());
    m_sections[si].entries.push_back(std::move(e));
    m_sectionLastLine[si] = at;
    return;
  }
  // Appending to the last section, the common case of a new file, needs no full reindex.
  AppendLine(std::move(raw));
  Entry e;
  e.key = std::string(key);
  e.value = stored;
  e.line = m_lines.size();
  m_keyIndex[si].emplace(Fold(e.key), m_sections[si].entries.size());
  m_sections[si].entries.push_back(std::move(e));
  m_sectionLastLine[si] = m_lines.size() - 1;
}

std::string IniDocument::Serialize() const {
  std::string out = m_bom;
  size_t total = m_bom.size();
  for (const auto& l : m_lines) total += l.raw.size() + l.eol.size();
  out.reserve(total);
  for (const auto& l : m_lines) {
    out += l.raw;
    out += l.eol;
  }
  return out;
}
