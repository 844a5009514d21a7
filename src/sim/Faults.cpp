#include "sim/Faults.h"

#include "record/CallList.h"
#include "sim/Journal.h"

namespace zorix7sim {

bool IsCallName(std::string_view call) {
  std::string want = NormalizeCallName(call);
  for (const char* name : session::kCallNames)
    if (NormalizeCallName(name) == want) return true;
  return false;
}

bool FaultTable::Add(const Fault& fault) {
  if (!IsCallName(fault.call) || fault.card < 0 || fault.card > kMaxCards) return false;
  m_faults.push_back(Armed{NormalizeCallName(fault.call), fault, 0});
  return true;
}

std::optional<DWORD> FaultTable::Check(std::string_view call, int card) {
  std::string name = NormalizeCallName(call);
  std::optional<DWORD> fired;
  for (auto& a : m_faults) {
    if (a.call != name || (a.fault.card != 0 && a.fault.card != card)) continue;
    ++a.seen;
    bool fires = a.fault.nth == 0 || a.seen == a.fault.nth;
    if (fires && !fired) fired = a.fault.error;
  }
  return fired;
}

}  // namespace zorix7sim
