#include "diag/LcaCheck.h"

#include <cstdio>

#include "card/ControlLca.h"
#include "card/DataLca.h"

namespace diag {
namespace {
bool CheckId(const regmap::ReadFn& read, uint16_t reg, std::string& text) {
  const uint16_t id = read(reg);
  if (IsLcaIdValid(id)) return true;
  char line[40];
  std::snprintf(line, sizeof line, "LCA-ID %04X ungültig", id);
  text = line;
  return false;
}
}  // namespace

bool IsLcaIdValid(uint16_t id) { return id != 0x0000 && id != 0xFFFF; }

bool CheckControlLca(const regmap::ReadFn& read, std::string& text) {
  if (!CheckId(read, lca::kId, text)) return false;
  const regmap::Registers regs = {{lca::kStatus, read(lca::kStatus)}, {lca::kFifoStatus, read(lca::kFifoStatus)}};
  for (lca::FieldId id : lca::ControlLcaErrorFlags()) {
    const regmap::Field& flag = lca::ControlLcaField(id);
    if (regmap::Decode(flag, regs)) {
      text = flag.caption;
      return false;
    }
  }
  text = "OK";
  return true;
}

bool CheckDataLca(const regmap::ReadFn& read, std::string& text) {
  if (!CheckId(read, datalca::kId, text)) return false;
  text = "OK";
  return true;
}

}  // namespace diag
