#include "sim/Journal.h"

#include <cstdio>

namespace zorix7sim {

std::string NormalizeCallName(std::string_view call) {
  std::string s;
  for (char c : call) s += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  if (s.rfind("zorix7", 0) == 0) s.erase(0, 6);
  return s;
}

std::string JournalEntry::ToString() const {
  char tail[64];
  std::snprintf(tail, sizeof tail, ") -> %lu%s error %lX", static_cast<unsigned long>(result),
                ok ? "" : " FAILED", static_cast<unsigned long>(error));
  return call + " card " + std::to_string(card) + " (" + args + tail;
}

void CallJournal::Add(JournalEntry entry) {
  if (m_entries.size() >= kJournalLimit) m_entries.pop_front();
  m_entries.push_back(std::move(entry));
}

std::vector<JournalEntry> CallJournal::Of(std::string_view call) const {
  std::string want = NormalizeCallName(call);
  std::vector<JournalEntry> out;
  for (const auto& e : m_entries)
    if (NormalizeCallName(e.call) == want) out.push_back(e);
  return out;
}

}  // namespace zorix7sim
