#pragma once
// The card's PCI interface chip: its serial EEPROM and its operation registers, shared by
// the virtual cards and the PCI checks.
#include <cstdint>

#include "card/PciConfig.h"

namespace pcieeprom {
// Expansion-ROM header at the start of the part.
enum Address : uint32_t {
  kSignature = 0x00,   // 0x55, 0xAA
  kLength = 0x02,      // image length in units of 0x200 bytes
  kEntry = 0x03,       // entry for INIT
  kPciPointer = 0x18,  // pointer to the PCI data structure
  // From here the configuration header: each register at its configuration offset plus this.
  kConfigImage = 0x40,
  kConfigBits = kConfigImage + pci::kCommand,  // the interface's configuration bits
};
enum ConfigBit : uint16_t {
  kBitPci = 0x8000,
  kBitAsyncRead = 0x4000,
  kBitAsyncWrite = 0x2000,
};
}  // namespace pcieeprom

// Operation registers: byte offsets in the block behind ZORIX7ReadRegister/WriteRegister.
namespace pciop {
enum Offset : uint32_t {
  kInMailbox1 = 0x00,  // host to card
  kInMailbox2 = 0x04,
  kInMailbox3 = 0x08,
  kInMailbox4 = 0x0C,
  kOutMailbox1 = 0x10,  // card to host, read-only for the host
  kOutMailbox2 = 0x14,
  kOutMailbox3 = 0x18,
  kOutMailbox4 = 0x1C,
  kFifo = 0x20,
  kWriteAddress = 0x24,  // bus-master transfers
  kWriteCount = 0x28,
  kReadAddress = 0x2C,
  kReadCount = 0x30,
  kMailboxStatus = 0x34,
  kInterruptStatus = 0x38,
  kMasterStatus = 0x3C,
  kBlockBytes = 0x40,
};
// Mailbox status: one "full" bit per mailbox byte; in mailboxes in bits 0-15, out in 16-31.
constexpr uint32_t kInMailboxFullBits = 0x0000FFFF;
constexpr uint32_t kOutMailboxFullBits = 0xFFFF0000;
// Bus-master addresses are dword-aligned, counts hold 26 bits.
constexpr uint32_t kAddressMask = 0xFFFFFFFC;
constexpr uint32_t kCountMask = 0x03FFFFFF;
// Interrupt status: flags cleared by writing 1, and the summary of them (read-only).
constexpr uint32_t kInterruptFlags = 0x007F0000;
constexpr uint32_t kInterruptAsserted = 0x00800000;
// Master status: FIFO state bits are read-only, reset bits act once and read 0.
constexpr uint32_t kMasterFifoState = 0x000000FF;
constexpr uint32_t kMasterResets = 0x0F000000;
constexpr uint32_t kMasterResetMailboxFlags = 0x08000000;  // clears the in mailboxes' full bits
}  // namespace pciop
