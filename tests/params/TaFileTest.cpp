#include <gmock/gmock.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <fstream>

#include "params/TaFile.h"

using ::testing::ElementsAre;

namespace {

std::string WriteFile(const QTemporaryDir& dir, const char* name, const std::string& bytes) {
  std::string path = dir.filePath(name).toStdString();
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

TaFileTable Parse(std::string_view text, BYTE samplerate) {
  const SampleRateRow row = SampleRateRowFor(samplerate);
  return ParseTaText(text, row.taStepUs, row.divisor);
}

TEST(TaFile, SpacingOnTheDivisorsGridAndValuesInTenths) {
  TaFileTable t = Parse("0.5\n1.0\t2.25\r\n3", 0);
  ASSERT_TRUE(t.hasSpacing);
  EXPECT_EQ(t.abstand, 40);
  ASSERT_EQ(t.count, 3u);
  EXPECT_THAT(std::vector<WORD>(t.table.begin(), t.table.begin() + 3), ElementsAre(10, 22, 30));
  EXPECT_EQ(Parse("0.5 1", 1).abstand, 40);   // a multiple of 4 as well
  EXPECT_EQ(Parse("0.51 1", 0).abstand, 40);  // 40.8 + 4 = 44.8 -> 40
  EXPECT_EQ(Parse("0.5 1", 4).abstand, 80);   // 0.00625 us steps
  EXPECT_EQ(Parse("0.4 1", 0).abstand, 32);   // 32 exactly
  EXPECT_EQ(Parse("0.45 1", 0).abstand, 40);  // 36 + 4 rounds up
  EXPECT_EQ(Parse("0.8 1", 6).abstand, 4);    // "Takt/16": 0.4 us steps, divisor 4 -> 2 + 2 = 4
  // One decimal place reads back exactly over the whole range, not one tenth below.
  for (int tenths : {7, 9, 13, 14, 18, 655, 65535})
    EXPECT_EQ(Parse("1 " + std::to_string(tenths / 10) + "." + std::to_string(tenths % 10), 0).table[0], tenths);

  ParameterSet set;
  StoreTaTable(set, t);
  EXPECT_EQ(set.TAAbstand, 40);
  EXPECT_EQ(set.TaLastIndex, 2);
  EXPECT_EQ(TaListLine(0, set.TaTable[0]), "  1:   1.0");
  EXPECT_EQ(TaListLine(1, set.TaTable[1]), "  2:   2.2");
  EXPECT_EQ(TaListLine(255, 65535), "256: 6553.5");
}

TEST(TaFile, SpacingOnlyAndOverlongFiles) {
  ParameterSet set;
  set.TaTable[0] = 77;
  TaFileTable spacingOnly = Parse("0.5\n", 0);
  EXPECT_TRUE(spacingOnly.hasSpacing);
  EXPECT_EQ(spacingOnly.count, 0u);
  StoreTaTable(set, spacingOnly);
  EXPECT_EQ(set.TaLastIndex, 255);  // count - 1 in 8 bits, as on Windows
  EXPECT_EQ(set.TaTable[0], 77);

  std::string many = "1";
  for (int i = 0; i < 300; ++i) many += " " + std::to_string(i);
  TaFileTable t = Parse(many, 0);
  EXPECT_EQ(t.count, 256u);
  EXPECT_EQ(t.table[255], 2550);
  StoreTaTable(set, t);
  EXPECT_EQ(set.TaLastIndex, 255);
}

TEST(TaFile, BadNumbersGiveADefinedTable) {
  // Binary garbage: no spacing, no values; the spacing a set has stays.
  ParameterSet set;
  set.TAAbstand = 24;
  TaFileTable garbage = Parse(std::string("\x00\xFF\x7F"
                                          "abc 1 2",
                                          7),
                              0);
  EXPECT_FALSE(garbage.hasSpacing);
  EXPECT_EQ(garbage.count, 0u);
  StoreTaTable(set, garbage);
  EXPECT_EQ(set.TAAbstand, 24);

  // Values out of range are clamped into 16 bits; the spacing into the largest grid position.
  TaFileTable t = Parse("1e39 -5 1e39 6553.6 inf -inf nan 1e400 -1e400 1e-400 0.00001 +2.5", 0);
  EXPECT_EQ(t.abstand, 65528);
  EXPECT_DOUBLE_EQ(t.spacingSteps, 65535);
  EXPECT_LE(t.spacingUs, 3.5e38);  // the list's float field can hold it
  EXPECT_THAT(std::vector<WORD>(t.table.begin(), t.table.begin() + t.count),
              ElementsAre(0, 65535, 65535, 65535, 0, 0, 65535, 0, 0, 0, 25));
  EXPECT_EQ(Parse("-5 1", 0).abstand, 0);
  EXPECT_DOUBLE_EQ(Parse("-5 1", 0).spacingSteps, 0);

  // Reading stops at the first item that is no number, as "%f" does.
  EXPECT_EQ(Parse("1 2 1,5 3", 0).count, 2u);  // "1" read, then ",5" ends it
  EXPECT_EQ(Parse("1 2.5abc 4", 0).count, 1u);
  EXPECT_EQ(Parse("1 - 4", 0).count, 0u);
}

TEST(TaFile, FilesAreReadBoundedAndOnlyWhenTheyAreFiles) {
  QTemporaryDir dir;
  const SampleRateRow row = SampleRateRowFor(0);
  EXPECT_FALSE(ReadTaFile(dir.filePath("missing.ta").toStdString(), row.taStepUs, row.divisor));
  EXPECT_FALSE(ReadTaFile(dir.path().toStdString(), row.taStepUs, row.divisor));
  EXPECT_FALSE(ReadTaFile("", row.taStepUs, row.divisor));
  // A named pipe with no writer would block an open for reading.
  std::string fifo = dir.filePath("pipe.ta").toStdString();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(ReadTaFile(fifo, row.taStepUs, row.divisor));

  auto ok = ReadTaFile(WriteFile(dir, "a.ta", "0.5 1.0 2.25 3\n"), row.taStepUs, row.divisor);
  ASSERT_TRUE(ok);
  EXPECT_EQ(ok->count, 3u);

  // 100 MB: a table at the front, then zeros (sparse, so the test writes little). Only the
  // front is read.
  std::string big = WriteFile(dir, "big.ta", "0.5 1 2 ");
  ASSERT_EQ(::truncate(big.c_str(), 100LL << 20), 0);
  auto t = ReadTaFile(big, row.taStepUs, row.divisor);
  ASSERT_TRUE(t);
  EXPECT_EQ(t->count, 2u);

  // Blanks beyond the read limit hide what follows them.
  auto blanks =
      ReadTaFile(WriteFile(dir, "blank.ta", "1 2" + std::string(kTaReadLimit, ' ') + "3"), row.taStepUs, row.divisor);
  ASSERT_TRUE(blanks);
  EXPECT_EQ(blanks->count, 1u);
}

}  // namespace
