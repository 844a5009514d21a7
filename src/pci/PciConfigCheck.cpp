#include "pci/PciConfigCheck.h"

#include "card/PciConfig.h"
#include "platform/TextParse.h"

namespace pci {

uint32_t RegisterValue(ByteView image, Register reg) {
  switch (reg.bits) {
    case 8:
      return image.u8(reg.offset);
    case 16:
      return image.u16(reg.offset);
    case 24:
      return image.u24(reg.offset);
    default:
      return image.u32(reg.offset);
  }
}

void StoreRegister(ByteWriter& image, Register reg, uint32_t value) {
  switch (reg.bits) {
    case 8:
      image.u8(reg.offset, value);
      break;
    case 16:
      image.u16(reg.offset, value);
      break;
    case 24:
      image.u24(reg.offset, value);
      break;
    default:
      image.u32(reg.offset, value);
      break;
  }
}

const std::array<ConfigCheckRow, 21>& ConfigCheckRows() {
  // The texts are those of the Windows version, uneven case and digits included.
  static const std::array<ConfigCheckRow, 21> rows = {{
      {"VendorID", {kVendorId, 16}, "VendorID soll: %04X ist: %04X"},
      {"DeviceID", {kDeviceId, 16}, "DeviceID Soll: %04X Ist: %04X"},
      {"Command", {kCommand, 16}, "Command Soll: %04X Ist: %04X"},
      {"Status", {kStatus, 16}, "Status Soll: %04X Ist: %04X"},
      {"BIST", {kBist, 8}, "BIST Soll: %02X Ist: %02X"},
      {"RevisionID", {kRevisionId, 8}, "RevisionID Soll: %02X Ist: %02X"},
      {"Class", {kClassCode, 24}, "Class Soll: %06X Ist: %06X"},
      {"HeaderType", {kHeaderType, 8}, "HeaderType Soll: %02X Ist: %02X"},
      {"LatencyTimer", {kLatencyTimer, 8}, "LatencyTimer Soll: %02X Ist: %02X"},
      {"CacheLineSize", {kCacheLineSize, 8}, "CacheLineSize Soll: %02X Ist: %02X"},
      {"Baseaddress0", {kBaseAddress0, 32}, "Baseaddress0 Soll: %08X Ist: %08X"},
      {"Baseaddress1", {kBaseAddress1, 32}, "Baseaddress1 Soll: %04X Ist: %04X"},
      {"Baseaddress2", {kBaseAddress2, 32}, "BaseAddress2 Soll: %08X Ist: %08X"},
      {"Baseaddress3", {kBaseAddress3, 32}, "BaseAddress3 Soll: %08X Ist: %08X"},
      {"BaseaddressROM", {kExpansionRom, 32}, "BaseAddressROM Soll: %08X Ist: %08X"},
      {"SubsystemID", {kSubsystemId, 16}, "SubsystemID Soll: %04X Ist: %04X"},
      {"SubVendorID", {kSubsystemVendorId, 16}, "Subsystem VendorID soll: %04X ist: %04X"},
      {"MaximumLatency", {kMaximumLatency, 8}, "MaximumLatency Soll: %02X Ist: %02X"},
      {"MinimumGrant", {kMinimumGrant, 8}, "MinimumGrant Soll: %02X Ist: %02X"},
      {"InterruptPin", {kInterruptPin, 8}, "InterruptPin Soll: %02X Ist: %02X"},
      {"InterruptLine", {kInterruptLine, 8}, "InterruptLine Soll: %02X Ist: %02X"},
  }};
  return rows;
}

const std::array<const char*, 22>& ConfigPresetKeys() {
  static const std::array<const char*, 22> keys = {
      "VendorID",       "DeviceID",     "Command",      "Status",         "BIST",         "RevisionID",
      "Class",          "HeaderType",   "LatencyTimer", "CacheLineSize",  "Baseaddress0", "Baseaddress1",
      "Baseaddress2",   "Baseaddress3", "Baseaddress4", "BaseaddressROM", "SubsystemID",  "SubVendorID",
      "MaximumLatency", "MinimumGrant", "InterruptPin", "InterruptLine"};
  return keys;
}

BOOL CheckConfig(ByteView image, const PresetLookup& presets, CString& result) {
  for (const ConfigCheckRow& row : ConfigCheckRows()) {
    const std::optional<std::string> stored = presets(row.key);
    if (!stored) {
      result.Format(kPresetMissing, row.key);
      return FALSE;
    }
    // The full parsed preset is compared, so one wider than its register never matches.
    const uint32_t preset = text::HexOrZero(*stored);
    const uint32_t actual = RegisterValue(image, row.reg);
    if (preset != actual) {
      result.Format(row.mismatch, preset, actual);
      return FALSE;
    }
  }
  result = "OK";
  return TRUE;
}

}  // namespace pci
