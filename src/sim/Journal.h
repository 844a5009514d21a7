#pragma once
// The record of every call into the library, newest at the back, bounded in size.
#include <deque>

#include "sim/Zorix7Sim.h"

namespace zorix7sim {

class CallJournal {
 public:
  void Add(JournalEntry entry);
  std::vector<JournalEntry> All() const { return {m_entries.begin(), m_entries.end()}; }
  std::vector<JournalEntry> Of(std::string_view call) const;
  void Clear() { m_entries.clear(); }

 private:
  std::deque<JournalEntry> m_entries;
};

// "ZORIX7GetData", "getdata" and "GetData" all name the same call.
std::string NormalizeCallName(std::string_view call);

}  // namespace zorix7sim
