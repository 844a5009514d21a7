#pragma once
// One shot's data as the card hands it over: noisy samples of a set's response, framed
// plain or headed, gate records, compact records, control words and the gate readout.
#include <cstdint>
#include <vector>

#include "sim/Specimen.h"

namespace zorix7sim {

inline constexpr size_t kHeaderBytes = 6;
inline constexpr size_t kTimeStampBytes = 8;
inline constexpr size_t kGateRecordBytes = 56;
inline constexpr size_t kCompactRecordBytes = 24;
inline constexpr DWORD kEndOfCycle = 0xFFFFEFFF;
inline constexpr BYTE kTypePacked12 = 0x10;
inline constexpr BYTE kTypeAscan14 = 0x14;
inline constexpr BYTE kTypeAscan60 = 0x60;
inline constexpr BYTE kTypeGates = 0x40;

// Deterministic noise per card: a table of Gaussian values, read from a random place
// with a random stride each shot, so a shot costs one add per sample.
class NoiseSource {
 public:
  explicit NoiseSource(uint64_t seed) : m_state(seed) {}
  uint64_t Next();
  // Samples of one shot: response plus noise, clipped to 16 bits and rectified.
  void Shot(const SetResponse& r, std::vector<int16_t>& out);
  // The same, written straight into a 16-bit framing's room (see AppendAscanFrame).
  void Shot16(const SetResponse& r, BYTE* to);

 private:
  void Noisy(const SetResponse& r, void* out, bool framed);
  uint64_t m_state;
  std::vector<int16_t> m_table;  // sigma 1024, made on first use
};

struct AscanFraming {
  bool headed = false;
  BYTE type = kTypeAscan14;  // headed only
  bool eightBit = false;     // plain only
  int16_t kennung = 0;
  bool timeStamped = false;  // headed only
  DWORD time = 0;
};

size_t AscanBytes(size_t samples, const AscanFraming& f);
// Plain 16-bit and headed 0x14 and 0x60 A-scans: 16-bit samples at ADC resolution.
inline bool Samples16(const AscanFraming& f) { return f.headed ? f.type != kTypePacked12 : !f.eightBit; }
// Appends an A-scan's time stamp, header and zeroed room for its samples; returns where the
// samples go.
size_t AppendAscanFrame(std::vector<BYTE>& out, size_t samples, const AscanFraming& f);
// Appends the samples in the framing's format (ADC resolution: 10 bits for 16-bit and
// 8-bit samples, 12 bits packed).
void AppendAscan(std::vector<BYTE>& out, const std::vector<int16_t>& samples, const AscanFraming& f);

// Headed: a GateRecord of the set's gates (slot k = B(k+1), slot 4 = B0), behind a time
// stamp when asked. The record's spare bytes carry the echo start and the shot number.
void AppendGateRecord(std::vector<BYTE>& out, const SetResponse& r, int16_t kennung, bool timeStamped,
                      DWORD time, DWORD shot);
// Plain: a CompactGateRecord (gate k = Bk, times in samples).
void AppendCompactRecord(std::vector<BYTE>& out, const SetResponse& r);
void AppendWord(std::vector<BYTE>& out, DWORD w);

GateReadout MakeReadout(const SetResponse& r);

// The echo start on the A-scan's sample scale, 0 without one.
int64_t EchoStartOnRecord(const SetResponse& r);

}  // namespace zorix7sim
