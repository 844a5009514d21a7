#include "app/ChannelTable.h"

#include <cstring>

#include "platform/Cp1252.h"

namespace {
int FirstMatchingChannel(const OpenedCard& card, const ChannelEntry (&channels)[kMaxCards],
                         const HZORIX7 (&positions)[kMaxCards]) {
  for (int k = 0; k < kMaxCards; ++k)
    if (!positions[k] && static_cast<DWORD>(channels[k].nBus) == card.bus &&
        static_cast<DWORD>(channels[k].nSlot) == card.slot)
      return k;
  return -1;
}

int FreePositionFrom(int start, const HZORIX7 (&positions)[kMaxCards]) {
  for (int n = 0; n < kMaxCards; ++n) {
    int k = (start + n) % kMaxCards;
    if (!positions[k]) return k;
  }
  return -1;
}
}  // namespace

std::vector<HZORIX7> AssignCardNumbers(const std::vector<OpenedCard>& cards, ChannelEntry (&channels)[kMaxCards]) {
  HZORIX7 positions[kMaxCards] = {};
  std::vector<bool> placed(cards.size(), false);
  // Cards that a channel names first, so that an unnamed card cannot take their place.
  for (size_t i = 0; i < cards.size() && i < kMaxCards; ++i) {
    if (!cards[i].positionKnown || !cards[i].handle) continue;
    int k = FirstMatchingChannel(cards[i], channels, positions);
    if (k < 0) continue;
    positions[k] = cards[i].handle;
    channels[k].strKonfig = cards[i].text;
    placed[i] = true;
  }
  for (size_t i = 0; i < cards.size() && i < kMaxCards; ++i) {
    if (placed[i] || !cards[i].handle) continue;
    int k = FreePositionFrom(static_cast<int>(i), positions);
    if (k < 0) break;
    positions[k] = cards[i].handle;
    channels[k].strKonfig = cards[i].text;
  }
  std::vector<HZORIX7> byNumber;
  for (int p = 0; p < kMaxCards; ++p) {
    if (!positions[p]) continue;
    byNumber.push_back(positions[p]);
    channels[p].nCard = static_cast<int>(byNumber.size());
  }
  return byNumber;
}

std::vector<CString> BusAssignmentLines(const ChannelEntry (&channels)[kMaxCards]) {
  std::vector<CString> lines;
  for (int k = 0; k < kMaxCards; ++k) {
    const ChannelEntry& e = channels[k];
    if (e.nBus == 0) break;
    CString line;
    if (e.nCard != 0) {
      line.Format("Kanal %2d  (Bus %d  Slot %d)  Karte %d   ", k + 1, e.nBus, e.nSlot, e.nCard);
      line += e.strKonfig;
    } else {
      line.Format("Kanal %2d  (Bus %d  Slot %d)", k + 1, e.nBus, e.nSlot);
    }
    lines.push_back(line);
  }
  return lines;
}

CString KarteText(const KennungRecord& record) {
  size_t n = strnlen(record.szKarte, sizeof record.szKarte);
  return CString(cp1252::ToUtf8(std::string_view(record.szKarte, n)));
}
