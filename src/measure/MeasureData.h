#pragma once
// Records of the measured data the card library hands over, and their decoders.
//
// Every reader takes the bytes and their count and never looks past them. A field that
// would lie behind the data reads as zero - the fetch buffer is zeroed before each fetch,
// so that is what the card "delivered" there. Record walks only take records that lie
// wholly inside the data; a trailing fragment ends the walk.
#include <cstddef>
#include <cstdint>
#include <string>

#include "card/ByteImage.h"
#include "card/CardConstants.h"
#include "card/zorix7dll.h"

namespace measure {

// Bounded little-endian reads, shared with every other byte image.
using ::ByteView;

// ---- data types -------------------------------------------------------------------------

enum : uint8_t {
  kTypePacked12 = 0x10,   // A-scan, four 12-bit samples in three words
  kTypeAscan14 = 0x14,    // A-scan, signed 16-bit samples
  kTypeGates = 0x40,      // GateRecords
  kTypeAscan60 = 0x60,    // A-scan, signed 16-bit samples
  kTypeTimeStamp = 0xFF,  // TimeStampPrefix
};

using ::kDataBufferBytes;
constexpr size_t kMaxSamples = kDataBufferBytes / 2;  // 65536

bool isAscanType(uint8_t type);

// ---- records ----------------------------------------------------------------------------

struct BlockHeader {
  static constexpr size_t kSize = 6;
  uint8_t type = 0;
  uint32_t length = 0;  // 24 bits, header included, time-stamp prefix not
  int16_t kennung = 0;
};
BlockHeader readBlockHeader(ByteView v, size_t offset = 0);

struct TimeStampPrefix {
  static constexpr size_t kSize = 8;
  uint32_t time = 0;
};
bool startsWithTimeStamp(ByteView v, size_t offset = 0);
TimeStampPrefix readTimeStampPrefix(ByteView v, size_t offset = 0);

struct GateSlot {
  static constexpr size_t kSize = 8;
  uint16_t amplitudeRaw = 0;
  uint16_t time = 0;  // in half units of the gate limits
  uint16_t flags = 0;

  bool present() const { return (flags & 0x8000) != 0; }
  bool marker() const { return (flags & 0x4000) != 0; }
  int value() const { return amplitudeRaw >> 2; }
};
GateSlot readGateSlot(ByteView v, size_t offset);

struct GateRecord {
  static constexpr size_t kSize = 56;
  static constexpr size_t kSlotOffset = 8;
  BlockHeader header;
  GateSlot slot[5];
};
GateRecord readGateRecord(ByteView v, size_t offset);

// One gate of a CompactGateRecord.
struct CompactGate {
  uint32_t time = 0;  // 20 bits
  bool marker = false;
  bool present = false;
  int value = 0;  // 0..1023
};
struct CompactGateRecord {
  static constexpr size_t kSize = 24;
  uint32_t d = 0;  // 20 bits
  CompactGate gate[5];
};
CompactGateRecord readCompactGateRecord(ByteView v, size_t offset);

// ---- control words ----------------------------------------------------------------------

enum class ControlCode { EndTest, EndTrack, EndCycle, Other };

struct ControlWord {
  static constexpr size_t kSize = 4;
  uint32_t value = 0;

  ControlCode code() const;
  uint16_t high() const { return static_cast<uint16_t>(value >> 16); }
  uint16_t low() const { return static_cast<uint16_t>(value); }
};

// A control word stands between records: all four bytes present, upper half 0xFFFF.
bool isControlWordAt(ByteView v, size_t offset);
// "Ende Prüfung", "Ende Prüfspur", "Ende Prüfzyklus" or "Steuerzeichen %X-%X".
std::string controlWordText(ControlWord w);

// ---- gate readout -----------------------------------------------------------------------

constexpr size_t kGateReadoutBytes = 68;
// Decodes the 68-byte readout of ZORIX7GetGates from raw bytes.
GateReadout readGateReadout(ByteView v);

// ---- samples ----------------------------------------------------------------------------

// Microseconds per sample, by the low three bits of the Samplerate field.
double sampleTimeMicroseconds(uint8_t samplerate);

// The "ADC" scale: -512..511, truncating toward zero.
inline int adcCount(int16_t s) { return s / 64; }
inline double percentOfFullScale(int16_t s) { return s * 2 / 655.36; }
inline double percentOfFullScale8(int8_t b) { return b / 1.28; }

// Number of samples that `words` packed words give (a last incomplete group keeps the
// samples whose words are all there).
size_t packedSampleCount(size_t words);

// Unpacks packed 12-bit samples (type 0x10) from `words` words at `packed`, at most
// `maxSamples` of them, into `out`; returns the number written. `packed` needs
// 2 * words readable bytes, no alignment.
size_t unpackPacked12(const uint8_t* packed, size_t words, int16_t* out, size_t maxSamples);

}  // namespace measure
