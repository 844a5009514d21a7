// The comparison logic without a window: configuration image against presets, and the EEPROM
// check's compare-and-repair on a virtual card.
#include <gtest/gtest.h>

#include <map>

#include "card/PciInterface.h"
#include "pci/PciConfigCheck.h"
#include "pci/PciEepromCheck.h"
#include "sim/CardModel.h"
#include "sim/Zorix7Sim.h"

namespace {
using Presets = std::map<std::string, std::string>;

pci::PresetLookup Lookup(const Presets& presets) {
  return [presets](const char* key) -> std::optional<std::string> {
    auto it = presets.find(key);
    if (it == presets.end()) return std::nullopt;
    return it->second;
  };
}

// Card 1 of a bench without PCI keys, as typed by a user: any case, with or without "0x".
const Presets kConfigPresets = {
    {"VendorID", "1E7A"},
    {"DeviceID", "0x7007"},
    {"Command", "7"},
    {"Status", "0280"},
    {"BIST", "00"},
    {"RevisionID", "03"},
    {"Class", "118000"},
    {"HeaderType", "0"},
    {"LatencyTimer", "20"},
    {"CacheLineSize", "08"},
    {"Baseaddress0", "feb01000"},
    {"Baseaddress1", "0000D101"},
    {"Baseaddress2", "FC100000"},
    {"Baseaddress3", "0XFBF10000"},
    {"BaseaddressROM", "0"},
    {"SubsystemID", "0071"},
    {"SubVendorID", "1e7a"},
    {"MaximumLatency", "0"},
    {"MinimumGrant", "0"},
    {"InterruptPin", "01"},
    {"InterruptLine", "0A"},
};

CString CheckConfigWith(const Presets& presets, BOOL expected) {
  const auto image = zorix7sim::MakeDefaultCard(1, zorix7sim::Variant::Zorix7F).config;
  CString text;
  EXPECT_EQ(pci::CheckConfig(ByteView(image.data(), image.size()), Lookup(presets), text), expected) << text.str();
  return text;
}

Presets With(Presets presets, const std::string& key, const std::string& value) {
  presets[key] = value;
  return presets;
}
}  // namespace

TEST(ConfigCheck, ComparesTwentyOneRegistersInTableOrderAndReportsTheFirstDifference) {
  EXPECT_EQ(CheckConfigWith(kConfigPresets, TRUE), "OK");
  EXPECT_EQ(CheckConfigWith({}, FALSE), "Keine Vorgabe für VendorID gespeichert");
  EXPECT_EQ(CheckConfigWith(With(kConfigPresets, "VendorID", "no number"), FALSE), "VendorID soll: 0000 ist: 1E7A");
  // Status comes before the interrupt line and is the only one reported.
  EXPECT_EQ(CheckConfigWith(With(With(kConfigPresets, "InterruptLine", "0B"), "Status", "0290"), FALSE),
            "Status Soll: 0290 Ist: 0280");
  EXPECT_EQ(CheckConfigWith(With(kConfigPresets, "InterruptLine", "0B"), FALSE), "InterruptLine Soll: 0B Ist: 0A");
  // The full preset is compared: more digits than the register never match.
  EXPECT_EQ(CheckConfigWith(With(kConfigPresets, "DeviceID", "17007"), FALSE), "DeviceID Soll: 17007 Ist: 7007");
  EXPECT_EQ(CheckConfigWith(With(kConfigPresets, "Class", "8000"), FALSE), "Class Soll: 008000 Ist: 118000");
  EXPECT_EQ(CheckConfigWith(With(kConfigPresets, "Baseaddress1", "1"), FALSE), "Baseaddress1 Soll: 0001 Ist: D101");
  EXPECT_EQ(CheckConfigWith(With(kConfigPresets, "SubVendorID", "0071"), FALSE),
            "Subsystem VendorID soll: 0071 ist: 1E7A");
  EXPECT_EQ(CheckConfigWith(With(kConfigPresets, "Baseaddress4", "DEADBEEF"), TRUE), "OK");
}

namespace {
class EepromCheck : public ::testing::Test {
 protected:
  ~EepromCheck() override { zorix7sim::Reset(); }
  pci::CardEeprom& Open(const std::string& bench) {
    zorix7sim::Reset();
    EXPECT_TRUE(zorix7sim::LoadBenchText("[Card 1]\n" + bench)) << zorix7sim::BenchError();
    card = ZORIX7Open(1);
    return eeprom = pci::CardEeprom(card);
  }
  CString Check(const Presets& presets, BOOL expected) {
    CString text;
    std::vector<CardWrite> wouldWrite;
    EXPECT_EQ(pci::CheckEeprom(eeprom, Lookup(presets), true, text, wouldWrite), expected) << text.str();
    return text;
  }
  BYTE Byte(DWORD address) { return static_cast<BYTE>(ZORIX7ReadPCIEEPROMbyte(card, address)); }
  static size_t Writes() {
    return zorix7sim::JournalOf("WritePCIEEPROMbyte").size() + zorix7sim::JournalOf("WritePCIEEPROMword").size() +
           zorix7sim::JournalOf("WritePCIEEPROMdword").size();
  }
  HZORIX7 card = 0;
  pci::CardEeprom eeprom{0};
};

const Presets kEepromPresets = {
    {"Signature", "55AA"},        {"Length", "1"},          {"Entry", "00003DE9"},        {"PCIpointer", "1C"},
    {"VendorID", "1E7A"},         {"DeviceID", "7007"},     {"RevisionID", "3"},          {"Class", "118000"},
    {"Baseaddress0", "FEB01000"}, {"Baseaddress1", "D101"}, {"Baseaddress2", "FC100000"}, {"Baseaddress3", "FBF10000"},
    {"Baseaddress4", "0"},        {"BaseaddressROM", "0"},  {"InterruptPin", "1"},        {"InterruptLine", "A"},
    {"MinimumGrant", "0"},        {"MaximumLatency", "0"},
};
}  // namespace

TEST_F(EepromCheck, MatchingPartIsNotWrittenAndOneWrongFieldIsRepaired) {
  Open("");
  EXPECT_EQ(Check(kEepromPresets, TRUE), "OK");
  EXPECT_EQ(Writes(), 0u);
  Open("Eeprom.0x49=00 00 12\n");  // class code 120000
  EXPECT_EQ(Check(kEepromPresets, TRUE), "nach Schreiben OK");
  EXPECT_EQ(Byte(0x4A), 0x80);
  EXPECT_EQ(Byte(0x4B), 0x11);
  EXPECT_EQ(Check(kEepromPresets, TRUE), "OK");
}

TEST_F(EepromCheck, BlankPartReceivesTheSignatureHighByteFirst) {
  Open("EepromFill=FF\n");
  EXPECT_EQ(Check(kEepromPresets, TRUE), "nach Schreiben OK");
  EXPECT_EQ(Byte(0), 0x55);
  EXPECT_EQ(Byte(1), 0xAA);
  EXPECT_EQ(Byte(0x7C), 0x0A);
  EXPECT_EQ(Byte(0x7D), 0x01);
}

TEST_F(EepromCheck, FieldThatStaysWrongStopsTheCheck) {
  // A preset wider than its field is written as its low byte and fails the read-back.
  Open("Eeprom.0x03=00 00 00 00\n");
  EXPECT_EQ(Check(With(kEepromPresets, "Length", "1FF"), FALSE), "Length Soll: 1FF Ist: FF");
  EXPECT_EQ(ZORIX7ReadPCIEEPROMdword(card, 0x03), 0u) << "fields after the failing one are not written";
  // A stuck byte keeps the device ID's low byte.
  Open("Eeprom.0x42=00 70\nStuckEeprom=0x42\n");
  EXPECT_EQ(Check(kEepromPresets, FALSE), "DeviceID soll: 7007 ist: 7000");
  Open("Eeprom.0x00=12 34\nStuckEeprom=0,1\n");
  EXPECT_EQ(Check(kEepromPresets, FALSE), "Signature: 55AA Ist: 1234");
}

TEST_F(EepromCheck, NothingIsWrittenWhileAPresetIsMissing) {
  Open("EepromFill=00\n");
  Presets missing = kEepromPresets;
  missing.erase("MaximumLatency");
  EXPECT_EQ(Check(missing, FALSE), "Keine Vorgabe für MaximumLatency gespeichert");
  EXPECT_EQ(Writes(), 0u);
}
