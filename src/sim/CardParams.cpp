// Measurement parameters as the card reflects them in its registers.
#include <algorithm>

#include "card/ControlLca.h"
#include "sim/CardModel.h"

namespace zorix7sim {

DWORD CardModel::MeasuredRegister(DWORD address) const {
  if (address != lca::kEsbDelay || !isF() || !m_run.lastShotSet) return 0;
  // The response the last shot was measured with, even if the set was prepared anew since.
  const CachedResponse& shot = m_responses[*m_run.lastShotSet];
  if (!shot.valid || shot.response.esPosition < 0) return 0;
  return static_cast<DWORD>(std::min<int64_t>(shot.response.esPosition, 0xFFFF));
}

}  // namespace zorix7sim
