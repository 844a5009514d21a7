#pragma once
// DSP firmware files: ".hex" text of 6-character groups (four digits and CR LF) or a ".bin"
// image, turned into whole 128-byte blocks for the card. Plain C++, no Qt.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace firmware {

constexpr size_t kBlockBytes = 128;
// The card takes the block count as an 8-bit number.
constexpr size_t kMaxBlocks = 255;
constexpr size_t kGroupChars = 6;

enum class Format { None, Hex, Bin };
// ".hex" or ".bin" anywhere after the first character, case-sensitive; ".bin" wins.
Format FormatOf(std::string_view fileName);

size_t BlockCount(size_t bytes);  // rounded up
// Groups a ".hex" text of this length holds: one per 6 characters, a tail of 4 or 5 counts.
size_t HexGroups(size_t textLength);

// Words of a ".hex" text, low byte first; digits as on Windows: a character above '9' is
// lowered by 7, and its low 4 bits count, so no character is refused.
std::vector<uint8_t> ConvertHex(std::span<const uint8_t> text);

enum class Status {
  Ok,
  NotFound,     // "Datei nicht gefunden"
  Unreadable,   // the file opened but could not be read
  NoExtension,  // neither ".hex" nor ".bin", or no block at all
  TooLarge,     // more than 255 blocks; so the image never needs more than 32,640 bytes
};
const char* StatusText(Status status);

struct Image {
  Status status = Status::NotFound;
  std::vector<uint8_t> bytes;  // blocks * 128 bytes, the tail of the last block zero
  size_t blocks = 0;
};

// The image a file of this format and content gives (Ok, NoExtension, TooLarge).
Image ImageFromBytes(Format format, std::span<const uint8_t> content);
// Reads a firmware file; what cannot make an image is said in the status.
Image ReadFirmwareFile(const std::string& path);

}  // namespace firmware
