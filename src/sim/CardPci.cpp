// The card's PCI interface chip as the host sees it: the operation register block with the
// write rules of its mailboxes, bus-master registers and status registers.
#include "card/PciInterface.h"
#include "sim/CardModel.h"

namespace zorix7sim {
namespace {
using namespace pciop;

// The "full" bits of the mailbox at offset base + 4 n: one per byte, four per mailbox.
DWORD MailboxFullBits(DWORD address, DWORD base, unsigned firstBit) {
  return 0xFu << (firstBit + 4 * ((address - base) / 4));
}
}  // namespace

void AddOperationRegisterDefaults(CardSpec& card) {
  // The firmware greets the host with its version in out mailbox 1, which is therefore full.
  card.registers[kOutMailbox1] = 0x00000207;
  card.registers[kMailboxStatus] = MailboxFullBits(kOutMailbox1, kOutMailbox1, 16);
}

bool CardModel::IsOperationRegister(DWORD address) { return address < kBlockBytes && address % 4 == 0; }

void CardModel::WriteOperationRegister(DWORD address, DWORD value) {
  DWORD& reg = m_registers[address];
  switch (address) {
    case kInMailbox1:
    case kInMailbox2:
    case kInMailbox3:
    case kInMailbox4:
      reg = value;
      m_registers[kMailboxStatus] |= MailboxFullBits(address, kInMailbox1, 0);
      return;
    case kOutMailbox1:
    case kOutMailbox2:
    case kOutMailbox3:
    case kOutMailbox4:
    case kMailboxStatus:
      return;  // the card's side writes these
    case kWriteAddress:
    case kReadAddress:
      reg = value & kAddressMask;
      return;
    case kWriteCount:
    case kReadCount:
      reg = value & kCountMask;
      return;
    case kInterruptStatus: {
      const DWORD flags = reg & kInterruptFlags & ~value;
      reg = (value & ~(kInterruptFlags | kInterruptAsserted)) | flags | (flags ? kInterruptAsserted : 0);
      return;
    }
    case kMasterStatus:
      reg = (reg & kMasterFifoState) | (value & ~(kMasterFifoState | kMasterResets));
      if (value & kMasterResetMailboxFlags) m_registers[kMailboxStatus] &= ~kInMailboxFullBits;
      return;
    default:
      reg = value;
  }
}

}  // namespace zorix7sim
