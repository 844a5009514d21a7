#include "params/RandomLimits.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

void SetRandomLimitDefaults(RandomLimits& l) {
  l.min.IFF = 0;
  l.max.IFF = 0;
  l.min.Average = 0;
  l.max.Average = 7;
  l.min.Samplerate = 0;
  l.max.Samplerate = 4;
  l.min.PKVorlauf = 0;
  l.max.PKVorlauf = 0;
  l.min.Aufnahmelaenge = 16;
  l.max.Aufnahmelaenge = 16000;
  l.min.Aufnahmedelay = 0;
  l.max.Aufnahmedelay = 100;
  l.min.Faktor = 0;
  l.max.Faktor = 25;
  l.min.Gleichrichtung = 0;
  l.max.Gleichrichtung = 3;
  l.min.Sendeimpulsbreite = 0;
  l.max.Sendeimpulsbreite = 5;
  l.min.Sendeenergie = 0;
  l.max.Sendeenergie = 0;
  l.min.Senderdaempfung = 0;
  l.max.Senderdaempfung = 0;
  l.min.Eingangsdaempfung = 0;
  l.max.Eingangsdaempfung = 0;
  l.min.Filter = 3;
  l.max.Filter = 3;
  l.min.Verstaerkung = 0;
  l.max.Verstaerkung = 900;
  for (int k = 0; k < 5; ++k) {
    l.min.Gates.gate[k].start = 0;
    l.max.Gates.gate[k].start = 6000;
    l.min.Gates.gate[k].end = 100;
    l.max.Gates.gate[k].end = 2000;
  }
}

namespace {
// rand() modulo (max - min + 1) plus min, in 64 bits so that no width overflows.
uint64_t Draw(uint64_t min, uint64_t max) {
  const auto r = static_cast<uint64_t>(std::rand());
  return max < min ? min : r % (max - min + 1) + min;
}

uint64_t Clamp(uint64_t v, uint64_t min, uint64_t max) {
  if (max < min) return min;
  return v < min ? min : v > max ? max : v;
}
}  // namespace

WORD RandomPositionMask(BYTE samplerate) {
  switch (samplerate) {
    case 0:
    case 5:
      return 0xFFF8;
    case 1:
    case 6:
      return 0xFFFC;
    case 2:
    case 7:
      return 0xFFFE;
    case 3:
      return 0xFFFF;
    default:
      return 0xFFF0;
  }
}

void DrawRandomParamBlock(const RandomLimits& l, ParamBlock& b) {
  const ParameterSet& lo = l.min;
  const ParameterSet& hi = l.max;
  b.Average = static_cast<BYTE>(Draw(lo.Average, hi.Average));
  b.Samplerate = static_cast<BYTE>(Draw(lo.Samplerate, hi.Samplerate));
  const WORD mask = RandomPositionMask(b.Samplerate);
  b.IFF = static_cast<DWORD>(Draw(lo.IFF, hi.IFF) & mask);
  b.PKVorlauf = static_cast<WORD>(Draw(lo.PKVorlauf, hi.PKVorlauf) & mask);
  b.Aufnahmelaenge = static_cast<WORD>(Draw(lo.Aufnahmelaenge, hi.Aufnahmelaenge) & mask);
  b.Aufnahmedelay = static_cast<DWORD>(Draw(lo.Aufnahmedelay, hi.Aufnahmedelay) & mask);
  b.Faktor = static_cast<BYTE>(Draw(lo.Faktor, hi.Faktor));
  b.Gleichrichtung = static_cast<BYTE>(Draw(lo.Gleichrichtung, hi.Gleichrichtung));
  b.Sendeimpulsbreite = static_cast<BYTE>(Draw(lo.Sendeimpulsbreite, hi.Sendeimpulsbreite));
  b.Sendeenergie = static_cast<BYTE>(Draw(lo.Sendeenergie, hi.Sendeenergie));
  b.Verstaerkung = static_cast<WORD>(Draw(lo.Verstaerkung, hi.Verstaerkung));
  if (b.Aufnahmelaenge < b.Faktor) b.Faktor = static_cast<BYTE>(b.Aufnahmelaenge);
  b.ASCAN = b.Faktor != 0 ? 1 : 0;
  b.Senderdaempfung = static_cast<BYTE>(Clamp(std::rand() & 1, lo.Senderdaempfung, hi.Senderdaempfung));
  b.Eingangsdaempfung = static_cast<BYTE>(Clamp(std::rand() & 1, lo.Eingangsdaempfung, hi.Eingangsdaempfung));
  b.Filter = static_cast<BYTE>(std::max<uint64_t>(static_cast<uint64_t>(std::rand()) % (hi.Filter + 1u), lo.Filter));
  uint64_t start[5], width[5];
  for (int k = 0; k < 5; ++k) {
    start[k] = Draw(lo.Gates.gate[k].start, hi.Gates.gate[k].start) & mask;
    width[k] = Draw(lo.Gates.gate[k].end, hi.Gates.gate[k].end) & mask;
  }
  for (int k = 0; k < 5; ++k) {
    const uint64_t end = start[k] + width[k];
    b.Gate[k].start = static_cast<DWORD>(start[k]);
    b.Gate[k].end = static_cast<DWORD>(end > 0xFFFF ? mask : end);
  }
}
