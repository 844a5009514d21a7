#pragma once
// The PCI EEPROM: its fields, how each is read and written, the check that compares them
// with the presets of section "PCIEEPROM" and repairs them, and the write of edited fields.
// Plain C++; the EEPROM is reached through an EepromPort.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "card/zorix7dll.h"
#include "pci/PciConfigCheck.h"
#include "platform/CardWrite.h"

namespace pci {

// Byte, word and dword access to the EEPROM (little-endian, as the library delivers them).
class EepromPort {
 public:
  virtual ~EepromPort() = default;
  virtual uint32_t Read(uint32_t address, unsigned bytes) = 0;
  virtual void Write(uint32_t address, unsigned bytes, uint32_t value) = 0;
};

// The card's EEPROM through the library calls; their results are not examined.
class CardEeprom final : public EepromPort {
 public:
  explicit CardEeprom(HZORIX7 card) : m_card(card) {}
  uint32_t Read(uint32_t address, unsigned bytes) override;
  void Write(uint32_t address, unsigned bytes, uint32_t value) override;

 private:
  HZORIX7 m_card;
};

enum class EepromKind {
  Byte,
  Word,
  Dword,
  Signature,  // byte 0 high, byte 1 low
  ClassCode,  // word at the address, then the byte above it as bits 16-23
};

struct EepromField {
  const char* key;    // preset key
  const char* label;  // as the dialogs show it
  uint32_t address;
  EepromKind kind;
  int digits;
  const char* checkText;  // printf text with preset and value read back
};

// The fields in the order the dialogs list them.
enum EepromFieldId {
  eSignature,
  eLength,
  eEntry,
  ePciPointer,
  eVendorId,
  eDeviceId,
  eRevisionId,
  eClassCode,
  eBase0,
  eBase1,
  eBase2,
  eBase3,
  eBase4,
  eExpansionRom,
  eInterruptLine,
  eInterruptPin,
  eMinimumGrant,
  eMaximumLatency,
  kEepromFieldCount
};
const EepromField& EepromFieldOf(EepromFieldId id);
// The order of the check, and the order the presets are saved in.
const std::array<EepromFieldId, kEepromFieldCount>& EepromCheckOrder();
const std::array<EepromFieldId, kEepromFieldCount>& EepromSaveOrder();

inline constexpr const char* kEepromSection = "PCIEEPROM";

uint32_t ReadField(EepromPort& eeprom, EepromFieldId id);
void WriteField(EepromPort& eeprom, EepromFieldId id, uint32_t value);

// Compares each field with its preset and writes the preset where they differ, stopping at the
// first field that stays wrong: FALSE and its text; else TRUE and "OK" or "nach Schreiben OK".
// Nothing is written unless every preset is stored. Without mayWrite nothing is written
// either: every differing field lands in wouldWrite and the check fails naming them.
BOOL CheckEeprom(EepromPort& eeprom, const PresetLookup& presets, bool mayWrite, CString& result,
                 std::vector<CardWrite>& wouldWrite);

// What the register dialog's fields hold: nullopt for a text that is no number, which leaves
// its field as it is on the part.
using EepromEdits = std::array<std::optional<uint32_t>, kEepromFieldCount>;
// The configuration word holds the three check-box bits and nothing else.
uint16_t ConfigBitsWord(bool pci, bool asyncRead, bool asyncWrite);
// Writes the editable fields and the configuration word, each only where it differs.
void WriteChangedFields(EepromPort& eeprom, const EepromEdits& edits, uint16_t configBits);

}  // namespace pci
