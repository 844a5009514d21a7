// Prints one default A-scan of a virtual card as numbers: range and echo positions, and
// the gate readout. For a look at what the cards measure without a display.
//   zorix7sim_dump [card] [set] [file for the samples, one a line]
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "card/zorix7dll.h"
#include "sim/Specimen.h"

int main(int argc, char** argv) {
  const int card = argc > 1 ? std::atoi(argv[1]) : 1;
  const BYTE set = static_cast<BYTE>(argc > 2 ? std::atoi(argv[2]) : 0);
  HZORIX7 h = ZORIX7Open(card);
  DWORD error = 0;
  if (!h || !ZORIX7PrepAllGatesParam(h, set, zorix7sim::DefaultParamBlock(), &error) || !ZORIX7Start(h, &error)) {
    std::fprintf(stderr, "card %d: cannot measure (error %X)\n", card, error);
    return 1;
  }
  std::vector<BYTE> buffer(0x20000);
  DWORD count = static_cast<DWORD>(buffer.size());
  if (!ZORIX7GetData(h, &count, buffer.data(), &error)) {
    std::fprintf(stderr, "GetData Error %X\n", error);
    return 1;
  }
  const size_t n = count / 2;
  std::vector<int> s(n);
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<int16_t>(buffer[2 * i] | buffer[2 * i + 1] << 8);
  int lo = 0, hi = 0;
  for (int v : s) {
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  std::printf("%u bytes, %zu samples, min %d (%.1f %%), max %d (%.1f %%)\n", count, n, lo, lo * 2 / 655.36, hi,
              hi * 2 / 655.36);
  // Echoes: local peaks of the magnitude above 10 % outside the transmit pulse's ringing.
  const int level = 3277;
  for (size_t i = 1; i + 1 < n; ++i) {
    int a = std::abs(s[i]);
    if (a < level || a < std::abs(s[i - 1]) || a < std::abs(s[i + 1])) continue;
    size_t j = i;
    int peak = a;
    for (size_t k = i; k < n && k < i + 40; ++k)
      if (std::abs(s[k]) > peak) peak = std::abs(s[j = k]);
    std::printf("echo peak at sample %zu: %.1f %%\n", j, peak * 100 / 32768.0);
    i = j + 40;
  }
  if (argc > 3)
    if (FILE* f = std::fopen(argv[3], "w")) {
      for (int v : s) std::fprintf(f, "%d\n", v);
      std::fclose(f);
    }
  GateReadout r{};
  if (ZORIX7GetGates(h, &r, &error)) {
    std::printf("ES d=%d", r.d);
    for (int g = 0; g < 5; ++g) std::printf(" | B%d t=%d v=%d%s", g, r.gate[g].t, r.gate[g].amplitudeRaw >> 2, r.gate[g].marker ? "^" : "");
    std::printf("\n");
  }
  ZORIX7Close(h);
  return 0;
}
