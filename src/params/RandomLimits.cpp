#include "params/RandomLimits.h"

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
