// Depth-compensation files from arbitrary bytes: the first byte picks the sample-rate code,
// the rest is the file. The table is always defined: at most 256 values, the spacing on its
// divisor's grid within 16 bits, the same answer every time; the held table written by "Save"
// reads back the same.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "params/TaFile.h"

namespace {
void Check(bool ok) {
  if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const SampleRateRow row = SampleRateRowFor(data[0]);
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const TaFileTable t = ParseTaText(text, row.taStepUs, row.divisor);
  Check(t.count <= kTaMaxPoints);
  Check(t.abstand % row.divisor == 0);
  Check(std::isfinite(t.spacingUs) && t.spacingSteps >= 0 && t.spacingSteps <= 65535);
  Check(t.hasSpacing || (t.count == 0 && t.abstand == 0));
  for (unsigned i = t.count; i < kTaMaxPoints; ++i) Check(t.table[i] == 0);

  const TaFileTable again = ParseTaText(text, row.taStepUs, row.divisor);
  Check(again.count == t.count && again.abstand == t.abstand &&
        std::memcmp(again.table.data(), t.table.data(), sizeof t.table) == 0);

  ParameterSet set;
  StoreTaTable(set, t);
  Check(set.TaLastIndex == static_cast<BYTE>(t.count - 1));
  for (unsigned i = 0; i < t.count; ++i) Check(TaListLine(i, set.TaTable[i]).GetLength() <= 11);

  const TaFileTable saved = ParseTaText(TaFileText(set, row.taStepUs), row.taStepUs, row.divisor);
  Check(saved.count == set.TaLastIndex + 1u && saved.abstand == set.TAAbstand);
  Check(std::memcmp(saved.table.data(), set.TaTable, saved.count * sizeof(WORD)) == 0);
  return 0;
}
