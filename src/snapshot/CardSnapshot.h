#pragma once
// A card's whole state in one file: the PCI header, the PCI EEPROM fields, the operation
// registers, both LCAs' registers and the identification record, each field named as the
// dialogs label it with its raw and its shown value. Taking one only reads from the card.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "card/zorix7dll.h"

namespace snapshot {

enum class Area { PciHeader, Eeprom, Operation, ControlLca, DataLca, Identification };
inline constexpr std::array<Area, 6> kAreas = {Area::PciHeader,  Area::Eeprom,  Area::Operation,
                                               Area::ControlLca, Area::DataLca, Area::Identification};
const char* AreaName(Area area);

struct Entry {
  Area area;
  std::string name;   // as the dialogs label it; unique within its area
  std::string raw;    // the bits on the card, hexadecimal
  std::string shown;  // as the dialog shows it
};

struct CardState {
  int number = 0;
  bool positionKnown = false;
  uint32_t bus = 0;
  uint32_t slot = 0;
  bool zorix7F = false;
  std::array<uint8_t, 256> pciConfig{};
  std::array<uint8_t, sizeof(KennungRecord)> kennung{};
  std::map<uint16_t, uint16_t> lcaRegisters;  // both LCAs, ZORIX7F only
  std::vector<Entry> fields;                  // by area, in the dialogs' order
};

struct Snapshot {
  std::string program;  // "zorix7check 1.0.0"
  std::string time;     // UTC, ISO 8601
  std::string driver;   // the card library's file and version
  std::string bench;    // the virtual cards' bench file, empty for the built-in one or a driver
  std::vector<CardState> cards;
};

inline constexpr const char* kKind = "zorix7check-zustand";
inline constexpr int kVersion = 1;

// The card numbered n, or the only card of a file that holds one.
std::optional<CardState> CardOf(const Snapshot& snapshot, int n);

// Reads everything of one opened card; number is how the caller counts it.
CardState TakeCardState(HZORIX7 card, int number);
// Where the cards come from: the library's file and version, and a bench file if one is used.
void DescribeSource(Snapshot& snapshot);

std::string ToJson(const Snapshot& snapshot);
// nullopt and the reason for a file of another kind or version, or one that is malformed.
std::optional<Snapshot> FromJson(std::string_view text, std::string& error);

// Whole files, for the command line and the main window. Writing replaces the file only once
// the new one is complete.
std::optional<Snapshot> ReadSnapshotFile(const std::string& path, std::string& error);
bool WriteSnapshotFile(const Snapshot& snapshot, const std::string& path, std::string& error);

}  // namespace snapshot
