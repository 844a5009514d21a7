// A configuration image and an EEPROM from the card, checked against preset texts. The input
// is 256 bytes of image/EEPROM followed by preset texts, one per line in key order; an empty
// line is a preset the configuration does not hold.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "pci/PciConfigCheck.h"
#include "pci/PciEepromCheck.h"

namespace {
// An EEPROM of plain memory that counts its writes.
class MemoryEeprom final : public pci::EepromPort {
 public:
  explicit MemoryEeprom(const std::array<uint8_t, 256>& bytes) : m_bytes(bytes) {}
  uint32_t Read(uint32_t address, unsigned bytes) override {
    const ByteView view(m_bytes.data(), m_bytes.size());
    return bytes == 1 ? view.u8(address) : bytes == 2 ? view.u16(address) : view.u32(address);
  }
  void Write(uint32_t address, unsigned bytes, uint32_t value) override {
    ByteWriter w(m_bytes.data(), m_bytes.size());
    bytes == 1 ? w.u8(address, value) : bytes == 2 ? w.u16(address, value) : w.u32(address, value);
    ++writes;
  }
  int writes = 0;

 private:
  std::array<uint8_t, 256> m_bytes;
};

bool IsPass(const CString& text) { return text == "OK" || text == "nach Schreiben OK"; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::array<uint8_t, 256> image{};
  const size_t imageBytes = size < image.size() ? size : image.size();
  std::copy(data, data + imageBytes, image.begin());
  std::vector<std::string> texts;
  std::string line;
  for (size_t i = imageBytes; i < size; ++i) {
    if (data[i] != '\n') {
      line += static_cast<char>(data[i]);
      continue;
    }
    texts.push_back(line);
    line.clear();
  }
  texts.push_back(line);
  size_t next = 0;
  std::map<std::string, std::string> presets;
  const pci::PresetLookup lookup = [&](const char* key) -> std::optional<std::string> {
    auto it = presets.find(key);
    if (it == presets.end()) it = presets.emplace(key, next < texts.size() ? texts[next++] : "0").first;
    if (it->second.empty()) return std::nullopt;
    return it->second;
  };

  CString text;
  BOOL ok = pci::CheckConfig(ByteView(data, imageBytes), lookup, text);
  if ((ok != FALSE) != (text == "OK")) abort();

  // Without consent nothing is written, and the check passes only on a part that needs nothing.
  std::vector<CardWrite> wouldWrite;
  MemoryEeprom eeprom(image);
  ok = pci::CheckEeprom(eeprom, lookup, false, text, wouldWrite);
  if (eeprom.writes != 0 || (ok != FALSE) != (text == "OK") || (ok && !wouldWrite.empty())) abort();
  const bool needsNothing = ok;

  ok = pci::CheckEeprom(eeprom, lookup, true, text, wouldWrite);
  if ((ok != FALSE) != IsPass(text)) abort();
  if ((text == "OK" && eeprom.writes != 0) || (text == "nach Schreiben OK" && eeprom.writes == 0)) abort();
  if (needsNothing && text != "OK") abort();
  // A part that passed holds every preset: checked again, it needs no write.
  if (ok) {
    eeprom.writes = 0;
    if (!pci::CheckEeprom(eeprom, lookup, false, text, wouldWrite) || text != "OK" || eeprom.writes != 0) abort();
  }
  return 0;
}
