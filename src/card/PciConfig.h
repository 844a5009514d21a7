#pragma once
// Offsets of the PCI configuration header, shared by the virtual cards and the PCI checks.
#include <cstddef>

namespace pci {
constexpr size_t kConfigBytes = 256;
enum ConfigOffset : size_t {
  kVendorId = 0x00,
  kDeviceId = 0x02,
  kCommand = 0x04,
  kStatus = 0x06,
  kRevisionId = 0x08,
  kClassCode = 0x09,  // 24 bits, 0x09..0x0B
  kCacheLineSize = 0x0C,
  kLatencyTimer = 0x0D,
  kHeaderType = 0x0E,
  kBist = 0x0F,
  kBaseAddress0 = 0x10,
  kBaseAddress1 = 0x14,
  kBaseAddress2 = 0x18,
  kBaseAddress3 = 0x1C,
  kBaseAddress4 = 0x20,
  kBaseAddress5 = 0x24,
  kCardbusCis = 0x28,
  kSubsystemVendorId = 0x2C,
  kSubsystemId = 0x2E,
  kExpansionRom = 0x30,
  kInterruptLine = 0x3C,
  kInterruptPin = 0x3D,
  kMinimumGrant = 0x3E,
  kMaximumLatency = 0x3F,
};
}  // namespace pci
