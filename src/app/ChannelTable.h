#pragma once
// Bus assignment: which PCI bus and slot each of the 16 channels stands for, and the card
// numbers given to the opened cards by channel order.
#include <cstdint>
#include <vector>

#include "card/zorix7dll.h"
#include "platform/CString.h"

#include "card/CardConstants.h"

struct ChannelEntry {
  int nCard = 0;  // 0 = no card on this channel
  int nBus = 0;
  int nSlot = 0;
  CString strKonfig;
};

using ZorixIdent = int16_t;

// What start-up learnt of one opened card, in opening order.
struct OpenedCard {
  HZORIX7 handle = 0;
  bool positionKnown = false;
  DWORD bus = 0;
  DWORD slot = 0;
  CString text;  // "Karte" text of its identification record
};

// Places the cards on channels and numbers them by channel order: a card goes to the first
// channel naming its bus and slot, a card that no free channel names keeps its opening
// position (or the next free one). Returns the handles by card number (element n-1).
std::vector<HZORIX7> AssignCardNumbers(const std::vector<OpenedCard>& cards, ChannelEntry (&channels)[kMaxCards]);

// The lines of the bus assignment view; stops at the first channel whose bus is 0.
std::vector<CString> BusAssignmentLines(const ChannelEntry (&channels)[kMaxCards]);

// The "Karte" text of an identification record, up to its first NUL, as UTF-8.
CString KarteText(const KennungRecord& record);
