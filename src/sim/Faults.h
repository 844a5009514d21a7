#pragma once
// Injected failures: which call on which card fails, and with what error word.
#include <optional>

#include "sim/Zorix7Sim.h"

namespace zorix7sim {

class FaultTable {
 public:
  // False for an unknown call name or a card number out of range.
  bool Add(const Fault& fault);
  void Clear() { m_faults.clear(); }
  // Counts the call against every matching fault; the error word of the first that fires.
  std::optional<DWORD> Check(std::string_view call, int card);

 private:
  struct Armed {
    std::string call;  // normalized
    Fault fault;
    unsigned seen = 0;
  };
  std::vector<Armed> m_faults;
};

}  // namespace zorix7sim
