// INI documents from arbitrary bytes: parsing never fails, a Windows-1252 document serialises
// to its input, a write is either refused and changes nothing or reads back exactly, and the
// written file reads back as the document holds it.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/IniDocument.h"

namespace {
void Check(bool ok) {
  if (!ok) std::abort();
}

std::string Bytes(const IniDocument& doc, bool& refused) {
  std::string out;
  refused = static_cast<bool>(doc.Serialize(out));
  return out;
}

// Windows-1252 text such as "Ã¼" is valid UTF-8 as well; the bytes hold no mark that would tell
// the two apart, so a reread is compared only when it takes the encoding the file was written in.
bool ReadsAsWritten(const IniDocument& doc, const IniDocument& again) {
  return again.encoding() == (doc.encoding() == IniDocument::Encoding::Utf16Le ? IniDocument::Encoding::Utf16Le
                                                                                : IniDocument::Encoding::Windows1252);
}

// The view a reader of the written file gets must equal the document's own view.
void CheckSameAsReread(const IniDocument& doc) {
  bool refused = false;
  std::string bytes = Bytes(doc, refused);
  if (refused) return;
  IniDocument again = IniDocument::Parse(bytes);
  if (!ReadsAsWritten(doc, again)) return;
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

// Names and values no reader could take for anything else are never refused.
bool Plain(std::string_view s) {
  for (char c : s)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_'))
      return false;
  return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  IniDocument doc = IniDocument::Parse(bytes);
  bool refused = false;
  if (doc.encoding() == IniDocument::Encoding::Windows1252) Check(Bytes(doc, refused) == bytes && !refused);
  CheckSameAsReread(doc);

  // Names come from the input itself, so lookups hit real sections and keys.
  for (const auto& s : doc.Sections()) {
    const IniDocument::Section* first = doc.FindSection(s.name);
    Check(first != nullptr);
    // Lookups search only the first of repeated sections, and find the first of repeated keys.
    if (first == &s)
      for (const auto& e : s.entries) Check(doc.Get(s.name, e.key).has_value());
    if (&s - doc.Sections().data() > 4) break;
  }

  // Writes after reading: into an existing section and key, a new key, a new section, and
  // plain names; values and names partly come from the input too.
  std::string value(bytes.substr(bytes.size() / 2, 24));
  std::string section = doc.Sections().empty() ? "Init" : doc.Sections().front().name;
  std::string key = doc.Sections().empty() || doc.Sections().front().entries.empty()
                        ? "Karte"
                        : doc.Sections().front().entries.front().key;
  const std::pair<std::string, std::string> targets[] = {
      {section, key}, {section, "Neu"}, {"Fuzz-Satz", std::string(bytes.substr(0, 8))}, {"Selbstest", "DS_FLAGsetzen"}};
  for (const auto& [s, k] : targets) {
    const std::string before = Bytes(doc, refused);
    const bool wasRefused = refused;
    if (IniDocument::Refusal why = doc.Set(s, k, value)) {
      Check(!(Plain(s) && Plain(k) && Plain(value)));
      Check(Bytes(doc, refused) == before && refused == wasRefused);
      continue;
    }
    Check(doc.Get(s, k) == value);
    std::string written = Bytes(doc, refused);
    if (!refused) {
      IniDocument again = IniDocument::Parse(written);
      if (ReadsAsWritten(doc, again)) Check(again.Get(s, k) == value);
    }
    CheckSameAsReread(doc);
  }
  return 0;
}
