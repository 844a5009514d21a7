#pragma once
// The operation registers the operation register dialog shows, and those its "Write" sets.
#include <array>
#include <cstddef>
#include <cstdint>

#include "card/PciInterface.h"

namespace pci {

struct OperationRegister {
  uint32_t offset;
  const char* label;
};

// Offset 0x20 (the FIFO) is never touched: a read would take data from it.
inline constexpr std::array<OperationRegister, 15> kOperationRegisters = {{
    {pciop::kInMailbox1, "In Mailbox 1"},
    {pciop::kInMailbox2, "In Mailbox 2"},
    {pciop::kInMailbox3, "In Mailbox 3"},
    {pciop::kInMailbox4, "In Mailbox 4"},
    {pciop::kOutMailbox1, "Out Mailbox 1"},
    {pciop::kOutMailbox2, "Out Mailbox 2"},
    {pciop::kOutMailbox3, "Out Mailbox 3"},
    {pciop::kOutMailbox4, "Out Mailbox 4"},
    {pciop::kWriteAddress, "Write Address"},
    {pciop::kWriteCount, "Write Count"},
    {pciop::kReadAddress, "Read Address"},
    {pciop::kReadCount, "Read Count"},
    {pciop::kMailboxStatus, "Mailbox Status"},
    {pciop::kInterruptStatus, "Interrupt Status"},
    {pciop::kMasterStatus, "Master Status"},
}};

// Written by "Write" in this order, each from its own field; the out mailboxes and the
// mailbox status belong to the card and are never written.
inline constexpr std::array<uint32_t, 9> kOperationWriteOrder = {
    pciop::kInMailbox2,  pciop::kInMailbox3, pciop::kInMailbox4,      pciop::kWriteAddress, pciop::kWriteCount,
    pciop::kReadAddress, pciop::kReadCount,  pciop::kInterruptStatus, pciop::kMasterStatus};

// Index of a register in kOperationRegisters; the table's size for an offset not in it.
constexpr size_t OperationIndex(uint32_t offset) {
  size_t i = 0;
  while (i < kOperationRegisters.size() && kOperationRegisters[i].offset != offset) ++i;
  return i;
}
static_assert([] {
  for (uint32_t offset : kOperationWriteOrder)
    if (OperationIndex(offset) == kOperationRegisters.size()) return false;
  return true;
}());

}  // namespace pci
