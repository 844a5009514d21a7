#pragma once
// Depth-compensation files (".ta"): the point spacing in microseconds, then up to 256 values,
// numbers separated by white space. One reader for the depth-compensation list and the
// parameter editor.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "params/ParameterSet.h"

inline constexpr unsigned kTaMaxPoints = 256;
// A file holds at most 257 numbers; only this many leading bytes are read, so a huge or
// endless file costs no more than a small one.
inline constexpr size_t kTaReadLimit = 1 << 20;

struct TaFileTable {
  bool hasSpacing = false;                 // false: the file does not start with a number
  double spacingUs = 0;                    // the first number, within float range (NaN counts 0)
  double spacingSteps = 0;                 // spacing / step, as the editor's field keeps it
  WORD abstand = 0;                        // spacing in steps on the divisor's grid, within 16 bits
  unsigned count = 0;                      // values read, at most 256
  std::array<WORD, kTaMaxPoints> table{};  // value x 10, truncated into 0..65535
};

// Reads like "%f" until the 256th value, the end or the first item that is no number.
// step: microseconds per step the spacing is counted in; divisor: its grid.
TaFileTable ParseTaText(std::string_view bytes, double stepUs, unsigned divisor);
// nullopt when the file cannot be opened (or is no regular file); reads at most kTaReadLimit bytes.
std::optional<TaFileTable> ReadTaFile(const std::string& path, double stepUs, unsigned divisor);

// The nearest multiple of the divisor (half rounds up), kept within 16 bits.
WORD TaStepsOnGrid(double steps, unsigned divisor);

// Takes a read table into a set: TA-Abstand (when a spacing was read), the values and
// TaLastIndex = count - 1 (255 for a file without values, as on Windows).
void StoreTaTable(ParameterSet& set, const TaFileTable& read);

// The held table of a set as the reader takes it: the spacing in microseconds, then its
// TaLastIndex + 1 values, one number a line.
std::string TaFileText(const ParameterSet& set, double stepUs);

// List line of point i (0-based): "%3d: %5.1f".
CString TaListLine(unsigned index, WORD value);
