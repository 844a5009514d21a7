#include "pci/PciEepromCheck.h"

#include "card/PciInterface.h"
#include "platform/TextParse.h"

namespace pci {
namespace {
using namespace pcieeprom;
constexpr const char* kWouldWrite = "nicht geschrieben (nur mit --yes): ";
constexpr uint32_t At(size_t configOffset) { return kConfigImage + static_cast<uint32_t>(configOffset); }

// Texts as on Windows, uneven case and "LocalBaseROM" included.
const std::array<EepromField, kEepromFieldCount> kFields = {{
    {"Signature", "ROM Signature", kSignature, EepromKind::Signature, 4, "Signature: %04X Ist: %04X"},
    {"Length", "Length in 0x200", kLength, EepromKind::Byte, 2, "Length Soll: %02X Ist: %02X"},
    {"Entry", "Entry for INIT", kEntry, EepromKind::Dword, 8, "Entry Soll: %08X Ist: %08X"},
    {"PCIpointer", "Pointer to PCI", kPciPointer, EepromKind::Word, 4, "PCIpointer soll: %04X ist: %04X"},
    {"VendorID", "Vendor ID", At(pci::kVendorId), EepromKind::Word, 4, "VendorID soll: %04X ist: %04X"},
    {"DeviceID", "Device ID", At(pci::kDeviceId), EepromKind::Word, 4, "DeviceID soll: %04X ist: %04X"},
    {"RevisionID", "Revision ID", At(pci::kRevisionId), EepromKind::Byte, 2, "RevisionID Soll: %02X Ist: %02X"},
    {"Class", "Class Code", At(pci::kClassCode), EepromKind::ClassCode, 6, "Class Soll: %06X Ist: %06X"},
    {"Baseaddress0", "Base Address 0", At(pci::kBaseAddress0), EepromKind::Dword, 8,
     "Baseaddress0 Soll: %08X Ist: %08X"},
    {"Baseaddress1", "Base Address 1", At(pci::kBaseAddress1), EepromKind::Dword, 8,
     "Baseaddress1 Soll: %08X Ist: %08X"},
    {"Baseaddress2", "Base Address 2", At(pci::kBaseAddress2), EepromKind::Dword, 8,
     "Baseaddress2 Soll: %08X Ist: %08X"},
    {"Baseaddress3", "Base Address 3", At(pci::kBaseAddress3), EepromKind::Dword, 8,
     "Baseaddress3 Soll: %08X Ist: %08X"},
    {"Baseaddress4", "Base Address 4", At(pci::kBaseAddress4), EepromKind::Dword, 8,
     "Baseaddress4 Soll: %08X Ist: %08X"},
    {"BaseaddressROM", "Expansion ROM", At(pci::kExpansionRom), EepromKind::Dword, 8,
     "LocalBaseROM Soll: %08X Ist: %08X"},
    {"InterruptLine", "Interrupt Line", At(pci::kInterruptLine), EepromKind::Byte, 2,
     "InterruptLine Soll: %02X Ist: %02X"},
    {"InterruptPin", "Interrupt Pin", At(pci::kInterruptPin), EepromKind::Byte, 2, "InterruptPin Soll: %02X Ist: %02X"},
    {"MinimumGrant", "Minimum Grant", At(pci::kMinimumGrant), EepromKind::Byte, 2, "MinimumGrant Soll: %02X Ist: %02X"},
    {"MaximumLatency", "Max Latency", At(pci::kMaximumLatency), EepromKind::Byte, 2,
     "MaximumLatency Soll: %02X Ist: %02X"},
}};

uint32_t WidthMask(EepromKind kind) {
  switch (kind) {
    case EepromKind::Byte:
      return 0xFF;
    case EepromKind::Word:
    case EepromKind::Signature:
      return 0xFFFF;
    case EepromKind::ClassCode:
      return 0xFFFFFF;
    case EepromKind::Dword:
      break;
  }
  return 0xFFFFFFFF;
}

unsigned Bytes(EepromKind kind) { return kind == EepromKind::Byte ? 1 : kind == EepromKind::Word ? 2 : 4; }

void WriteIfDiffers(EepromPort& eeprom, EepromFieldId id, const std::optional<uint32_t>& edit) {
  if (!edit) return;
  const uint32_t value = *edit & WidthMask(EepromFieldOf(id).kind);
  if (ReadField(eeprom, id) != value) WriteField(eeprom, id, value);
}

// Every field that differs from its preset, none written: the check fails naming them.
BOOL CompareEeprom(EepromPort& eeprom, const std::array<uint32_t, kEepromFieldCount>& preset, CString& result,
                   std::vector<CardWrite>& wouldWrite) {
  for (EepromFieldId id : EepromCheckOrder()) {
    const uint32_t value = ReadField(eeprom, id);
    if (value == preset[id]) continue;
    const EepromField& f = EepromFieldOf(id);
    wouldWrite.push_back({f.key, text::FormatHex(value, f.digits), text::FormatHex(preset[id], f.digits)});
  }
  if (wouldWrite.empty()) {
    result = "OK";
    return TRUE;
  }
  result = kWouldWrite;
  for (size_t i = 0; i < wouldWrite.size(); ++i)
    result += CString::Formatted("%s%s %s → %s", i ? ", " : "", wouldWrite[i].field.c_str(), wouldWrite[i].card.c_str(),
                                 wouldWrite[i].preset.c_str());
  return FALSE;
}

void WriteWordIfDiffers(EepromPort& eeprom, uint32_t address, uint32_t value) {
  if ((eeprom.Read(address, 2) & 0xFFFF) != value) eeprom.Write(address, 2, value);
}

// A word of two byte fields (high at address + 1); a half whose text is no number stays.
void WriteBytePair(EepromPort& eeprom, const EepromEdits& edits, EepromFieldId low, EepromFieldId high) {
  const uint32_t address = EepromFieldOf(low).address;
  const uint32_t current = eeprom.Read(address, 2);
  const uint32_t lo = edits[low].value_or(current) & 0xFF;
  const uint32_t hi = edits[high].value_or(current >> 8) & 0xFF;
  WriteWordIfDiffers(eeprom, address, hi << 8 | lo);
}
}  // namespace

uint32_t CardEeprom::Read(uint32_t address, unsigned bytes) {
  switch (bytes) {
    case 1:
      return ZORIX7ReadPCIEEPROMbyte(m_card, address) & 0xFF;
    case 2:
      return ZORIX7ReadPCIEEPROMword(m_card, address) & 0xFFFF;
    default:
      return ZORIX7ReadPCIEEPROMdword(m_card, address);
  }
}

void CardEeprom::Write(uint32_t address, unsigned bytes, uint32_t value) {
  switch (bytes) {
    case 1:
      ZORIX7WritePCIEEPROMbyte(m_card, address, value & 0xFF);
      break;
    case 2:
      ZORIX7WritePCIEEPROMword(m_card, address, value & 0xFFFF);
      break;
    default:
      ZORIX7WritePCIEEPROMdword(m_card, address, value);
      break;
  }
}

const EepromField& EepromFieldOf(EepromFieldId id) { return kFields[id]; }

const std::array<EepromFieldId, kEepromFieldCount>& EepromCheckOrder() {
  static const std::array<EepromFieldId, kEepromFieldCount> order = {
      eSignature,  eLength,       eEntry,        ePciPointer,    eVendorId,     eDeviceId,
      eRevisionId, eClassCode,    eBase0,        eBase1,         eBase2,        eBase3,
      eBase4,      eExpansionRom, eInterruptPin, eInterruptLine, eMinimumGrant, eMaximumLatency};
  return order;
}

const std::array<EepromFieldId, kEepromFieldCount>& EepromSaveOrder() {
  static const std::array<EepromFieldId, kEepromFieldCount> order = {
      eSignature,  eLength,       eEntry,         ePciPointer,   eDeviceId,       eVendorId,
      eRevisionId, eClassCode,    eBase0,         eBase1,        eBase2,          eBase3,
      eBase4,      eExpansionRom, eInterruptLine, eInterruptPin, eMaximumLatency, eMinimumGrant};
  return order;
}

uint32_t ReadField(EepromPort& eeprom, EepromFieldId id) {
  const EepromField& f = EepromFieldOf(id);
  switch (f.kind) {
    case EepromKind::Signature:
      return (eeprom.Read(f.address, 1) & 0xFF) << 8 | (eeprom.Read(f.address + 1, 1) & 0xFF);
    case EepromKind::ClassCode:
      return (eeprom.Read(f.address, 2) & 0xFFFF) | (eeprom.Read(f.address + 2, 1) & 0xFF) << 16;
    default:
      return eeprom.Read(f.address, Bytes(f.kind)) & WidthMask(f.kind);
  }
}

void WriteField(EepromPort& eeprom, EepromFieldId id, uint32_t value) {
  const EepromField& f = EepromFieldOf(id);
  switch (f.kind) {
    case EepromKind::Signature:
      // Byte 0 receives the high byte.
      eeprom.Write(f.address, 2, (value >> 8 & 0xFF) | (value & 0xFF) << 8);
      return;
    case EepromKind::ClassCode:
      eeprom.Write(f.address, 2, value & 0xFFFF);
      eeprom.Write(f.address + 2, 1, value >> 16 & 0xFF);
      return;
    default:
      eeprom.Write(f.address, Bytes(f.kind), value & WidthMask(f.kind));
  }
}

BOOL CheckEeprom(EepromPort& eeprom, const PresetLookup& presets, bool mayWrite, CString& result,
                 std::vector<CardWrite>& wouldWrite) {
  wouldWrite.clear();
  std::array<uint32_t, kEepromFieldCount> preset{};
  for (EepromFieldId id : EepromCheckOrder()) {
    const std::optional<std::string> stored = presets(EepromFieldOf(id).key);
    if (!stored) {
      result.Format(kPresetMissing, EepromFieldOf(id).key);
      return FALSE;
    }
    preset[id] = text::HexOrZero(*stored);
  }
  if (!mayWrite) return CompareEeprom(eeprom, preset, result, wouldWrite);
  bool written = false;
  for (EepromFieldId id : EepromCheckOrder()) {
    const EepromField& f = EepromFieldOf(id);
    if (ReadField(eeprom, id) == preset[id]) continue;
    written = true;
    WriteField(eeprom, id, preset[id]);
    // Only the read-back tells whether the write took; a preset wider than its field never does.
    const uint32_t readBack = ReadField(eeprom, id);
    if (readBack != preset[id]) {
      result.Format(f.checkText, preset[id], readBack);
      return FALSE;
    }
  }
  result = written ? "nach Schreiben OK" : "OK";
  return TRUE;
}

uint16_t ConfigBitsWord(bool pci, bool asyncRead, bool asyncWrite) {
  return static_cast<uint16_t>((pci ? kBitPci : 0) | (asyncRead ? kBitAsyncRead : 0) |
                               (asyncWrite ? kBitAsyncWrite : 0));
}

void WriteChangedFields(EepromPort& eeprom, const EepromEdits& edits, uint16_t configBits) {
  WriteIfDiffers(eeprom, eVendorId, edits[eVendorId]);
  WriteIfDiffers(eeprom, eDeviceId, edits[eDeviceId]);
  WriteWordIfDiffers(eeprom, kConfigBits, configBits);
  for (EepromFieldId id : {eRevisionId, eClassCode, eBase0, eBase1, eBase2, eBase3, eBase4, eExpansionRom})
    WriteIfDiffers(eeprom, id, edits[id]);
  WriteBytePair(eeprom, edits, eMinimumGrant, eMaximumLatency);
  WriteBytePair(eeprom, edits, eInterruptLine, eInterruptPin);
}

}  // namespace pci
