// INI documents from arbitrary bytes: parsing never fails, an untouched document serialises
// to its input, and what Set stores is what a fresh parse of the output reads.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/IniDocument.h"

namespace {
void Check(bool ok) {
  if (!ok) std::abort();
}

// The view a reader of the serialised text gets must equal the document's own view.
void CheckSameAsReparse(const IniDocument& doc) {
  IniDocument again = IniDocument::Parse(doc.Serialize());
  // A Windows-1252 file whose only invalid UTF-8 byte was overwritten can read as UTF-8
  // afterwards; the bytes hold no mark that would tell the two apart.
  if (again.encoding() != doc.encoding()) return;
  Check(again.Sections().size() == doc.Sections().size());
  for (size_t i = 0; i < doc.Sections().size(); ++i) {
    const auto& a = doc.Sections()[i];
    const auto& b = again.Sections()[i];
    Check(a.name == b.name && a.line == b.line && a.entries.size() == b.entries.size());
    for (size_t k = 0; k < a.entries.size(); ++k) {
      const auto& x = a.entries[k];
      const auto& y = b.entries[k];
      Check(x.key == y.key && x.value == y.value && x.line == y.line);
      Check(doc.Get(a.name, x.key) == again.Get(b.name, y.key));
    }
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  IniDocument doc = IniDocument::Parse(bytes);
  Check(doc.Serialize() == bytes);

  // Names come from the input itself, so lookups hit real sections and keys.
  for (const auto& s : doc.Sections()) {
    const IniDocument::Section* first = doc.FindSection(s.name);
    Check(first != nullptr);
    // Lookups search only the first of repeated sections, and find the first of repeated keys.
    if (first == &s)
      for (const auto& e : s.entries) Check(doc.Get(s.name, e.key).has_value());
    if (&s - doc.Sections().data() > 4) break;
  }

  // Writes: into an existing section and key, a new key, and a new section; the value and
  // names partly come from the input too.
  std::string_view tail = bytes.substr(bytes.size() / 2, 24);
  std::string value(tail);
  std::string section = doc.Sections().empty() ? "Init" : doc.Sections().front().name;
  std::string key = doc.Sections().empty() || doc.Sections().front().entries.empty()
                        ? "Karte"
                        : doc.Sections().front().entries.front().key;
  const std::pair<std::string, std::string> targets[] = {
      {section, key}, {section, "Neu"}, {"Fuzz-Satz", std::string(bytes.substr(0, 8))}};
  for (const auto& [s, k] : targets) {
    doc.Set(s, k, value);
    auto stored = doc.Get(s, k);
    // A name that cannot be a name (empty section, '=' or ']' inside) need not read back.
    size_t first = k.find_first_not_of(" \t\r\n\v\f");
    bool plainNames = s.find(']') == std::string::npos && k.find('=') == std::string::npos &&
                      (first == std::string::npos || (k[first] != '[' && k[first] != ';'));
    if (plainNames) Check(stored.has_value());
    CheckSameAsReparse(doc);
  }
  return 0;
}
