#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <string>

#include "diag/Firmware.h"

using namespace firmware;

namespace {
std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

std::string HexLines(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) text += "0A1b\r\n";
  return text;
}

class FirmwareFile : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& content) {
    std::string path = dir.path().toStdString() + "/" + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }
  QTemporaryDir dir;
};
}  // namespace

TEST(Firmware, HexGroupsBecomeWordsLowByteFirstInWholeBlocks) {
  Image image = ImageFromBytes(Format::Hex, Bytes("1234\r\nABCD\r\n"));
  ASSERT_EQ(image.status, Status::Ok);
  EXPECT_EQ(image.blocks, 1u);
  ASSERT_EQ(image.bytes.size(), kBlockBytes);
  EXPECT_EQ(std::vector<uint8_t>(image.bytes.begin(), image.bytes.begin() + 5),
            std::vector<uint8_t>({0x34, 0x12, 0xCD, 0xAB, 0x00}));
  // Lower case reads as upper case; a tail of four digits without line end counts, shorter is ignored.
  EXPECT_EQ(ConvertHex(Bytes("abcd\r\nEF01")), std::vector<uint8_t>({0xCD, 0xAB, 0x01, 0xEF}));
  EXPECT_EQ(ConvertHex(Bytes("abcd\r\nEF0")), std::vector<uint8_t>({0xCD, 0xAB}));

  EXPECT_EQ(ImageFromBytes(Format::Hex, Bytes(HexLines(64))).blocks, 1u);
  EXPECT_EQ(ImageFromBytes(Format::Hex, Bytes(HexLines(65))).blocks, 2u);
  EXPECT_EQ(ImageFromBytes(Format::Hex, Bytes(HexLines(255 * 64))).status, Status::Ok);
  EXPECT_EQ(ImageFromBytes(Format::Hex, Bytes(HexLines(255 * 64 + 1))).status, Status::TooLarge);
  EXPECT_EQ(ImageFromBytes(Format::Hex, Bytes("12\r")).status, Status::NoExtension);
}

TEST(Firmware, ExtensionIsFoundCaseSensitiveAfterTheFirstCharacterAndBinWins) {
  const std::pair<const char*, Format> names[] = {{"/opt/fw/dsp.hex", Format::Hex}, {"dsp.bin", Format::Bin},
                                                  {"dsp.hex.bin", Format::Bin},     {"dsp.bin.hex", Format::Bin},
                                                  {"DSP.HEX", Format::None},        {".hex", Format::None},
                                                  {"x.hexfile", Format::Hex}};
  for (auto [name, format] : names) EXPECT_EQ(FormatOf(name), format) << name;
}

// Names in upper case and a blank name: DSPDlgTest, with their texts.
TEST_F(FirmwareFile, FilesAreReadOrRefusedWithTheirReason) {
  Image bin = ReadFirmwareFile(Write("a.bin", std::string(129, '\x7F')));
  ASSERT_EQ(bin.status, Status::Ok);
  EXPECT_EQ(bin.blocks, 2u);
  EXPECT_EQ(bin.bytes[128], 0x7F);
  EXPECT_EQ(bin.bytes[129], 0x00);
  EXPECT_EQ(ReadFirmwareFile(Write("full.bin", std::string(255 * 128, 'x'))).blocks, 255u);
  EXPECT_EQ(ReadFirmwareFile(Write("big.bin", std::string(255 * 128 + 1, 'x'))).status, Status::TooLarge);
  EXPECT_EQ(ReadFirmwareFile(Write("b.hex", "1234\r\nABCD\r\n")).bytes[3], 0xAB);

  EXPECT_EQ(ReadFirmwareFile(Write("empty.bin", "")).status, Status::NoExtension);
  EXPECT_EQ(ReadFirmwareFile(dir.path().toStdString() + "/missing.hex").status, Status::NotFound);
  const std::string folder = dir.path().toStdString() + "/folder.hex";
  std::filesystem::create_directory(folder);
  EXPECT_EQ(ReadFirmwareFile(folder).status, Status::NotFound);
}
