#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "ident/KennungFields.h"

using namespace ident;

namespace {
void Text(char* field, const char* text) { std::memcpy(field, text, std::strlen(text)); }

// Every item used; a list with an entry after its first 0, an empty list, full lists and a
// float with more than two decimals.
KennungRecord FullRecord() {
  KennungRecord r{};
  Text(r.szKarte, "ZORIX7F 1234 Serie A");  // 20 characters, no NUL inside the field
  Text(r.szAufsteckfilter, "AF D\xE4mpfer");
  Text(r.szLcaVersion, "L3.1");
  Text(r.szProgrammversion, "P2.07");
  r.fBandgrenzeUnten = 1.5f;
  r.fBandgrenzeOben = 2.25f;
  r.nAdcBits = 12;
  r.nAufnahmeFifo = 64;
  r.nDatenFifo = 128;
  r.nDynamik = 255;
  const WORD eingang[4] = {50, 75, 0, 9};
  std::memcpy(r.wDaempfungEingang, eingang, sizeof eingang);
  for (int i = 0; i < 8; ++i) r.wEnergieSender[i] = static_cast<WORD>(100 * (i + 1));
  r.wEnergieSender[7] = 65535;
  r.bySamplerate[0] = 100;
  r.bySamplerate[1] = 50;
  r.nMaxSapFolge = 200;
  r.fFilterMitte[0] = 0.5f;
  r.fFilterMitte[1] = 3.14159f;
  for (int i = 0; i < 16; ++i) r.fFilterBandgrenze[i] = 0.25f * static_cast<float>(i + 1);
  r.byGrunddaempfung[0] = 6;
  r.byGrunddaempfung[1] = 12;
  return r;
}

bool Same(const KennungRecord& a, const KennungRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }
}  // namespace

TEST(KennungText, WritesEveryItemInFileOrderAndReadsItBack) {
  const KennungRecord r = FullRecord();
  const std::string text = KennungText(r);
  EXPECT_EQ(text,
            "1,1,20:ZORIX7F 1234 Serie A;\n"
            "2,1,10:AF D\xE4mpfer;\n"
            "3,1,0:;\n"
            "4,1,4:L3.1;\n"
            "5,1,5:P2.07;\n"
            "16,5,2:1.50,2.25;\n"
            "17,2,1:12;\n18,2,1:64;\n19,2,1:128;\n20,2,1:255;\n"
            "32,3,2:50,75;\n"
            "33,3,0;\n"
            "34,3,8:100,200,300,400,500,600,700,65535;\n"
            "35,2,2:100,50;\n"
            "36,2,1:200;\n"
            "37,5,2:0.50,3.14;\n"
            "38,5,16:0.25,0.50,0.75,1.00,1.25,1.50,1.75,2.00,2.25,2.50,2.75,3.00,3.25,3.50,3.75,4.00;\n"
            "39,2,2:6,12;\n"
            "0");
  // Back the same, except the entry behind the first 0 and the float's lost decimals.
  KennungRecord expected = r;
  expected.wDaempfungEingang[3] = 0;
  expected.fFilterMitte[1] = 3.14f;
  EXPECT_TRUE(Same(ParseKennungText(text), expected));

  std::string crlf;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_TRUE(Same(ParseKennungText(crlf), expected));
}

TEST(KennungText, ReadsLinesByTheirItemNumberAlone) {
  const KennungRecord r = ParseKennungText(
      "39,2,1:9;\n"
      "1,1,25:ABCDEFGHIJKLMNOPQRSTUVWXY;\n"  // cut to 20
      "4,1,3:abcdefghijkl;\n"                // cut to 10
      "16,5,2: 1.5, 2.25;\n"
      "34,3,9:1,2,3,4,5,6,7,8,9;\n"  // nine values into eight
      "35,2,4:300,-1,x,4;\n"         // low 8 bits; no number gives 0
      "32,3,3:5,,7;\n"
      "37,5,2:1e39,2.5;\n"  // a float out of range counts as no number
      "17,9,9:5\n"          // no ";": empty value, the field stays
      "18,2,1:70;\n"
      "18,2,1:71;\n"   // a later line replaces an earlier one
      "0,1,1:X;\n"     // item 0
      "2,1:Y;\n"       // header without its count
      "99,1,1:Z;\n"    // no such item
      "33 ,3,1:8;\n"   // header does not parse
      "5,1,2:P;Q;\n"   // value up to the first ";"
      "0");
  EXPECT_EQ(std::string(r.szKarte, 20), "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(std::string(r.szLcaVersion, 10), "abcdefghij");
  EXPECT_EQ(r.szAufsteckfilter[0], '\0');
  EXPECT_STREQ(r.szProgrammversion, "P");
  EXPECT_EQ(r.fBandgrenzeUnten, 1.5f);
  EXPECT_EQ(r.fBandgrenzeOben, 2.25f);
  EXPECT_EQ(r.wEnergieSender[7], 8);
  EXPECT_EQ(r.reserved[0], 0) << "nothing spills behind a list";
  EXPECT_EQ(std::vector<int>(r.bySamplerate, r.bySamplerate + 5), (std::vector<int>{44, 255, 0, 4, 0}));
  EXPECT_EQ(std::vector<int>(r.wDaempfungEingang, r.wDaempfungEingang + 4), (std::vector<int>{5, 0, 7, 0}));
  EXPECT_EQ(r.fFilterMitte[0], 0.0f);
  EXPECT_EQ(r.fFilterMitte[1], 2.5f);
  EXPECT_EQ(r.nAdcBits, 0);
  EXPECT_EQ(r.nAufnahmeFifo, 71);
  EXPECT_EQ(r.wDaempfungSender[0], 0);
  EXPECT_EQ(r.byGrunddaempfung[0], 9);

  // Item 16: a value that does not parse leaves its field; blanks and a new line split lines.
  KennungRecord band = ParseKennungText("16,5,2:1.5,2.25;\x01 16,5,2:3;\t16,5,2:x,4;");
  EXPECT_EQ(band.fBandgrenzeUnten, 3.0f);
  EXPECT_EQ(band.fBandgrenzeOben, 2.25f);
}

TEST(KennungFields, BuildTheRecordFromWhatWasTyped) {
  KennungFields fields = FieldsFromRecord(FullRecord(), 5);
  EXPECT_EQ(fields[1].text, "AF Dämpfer");
  EXPECT_EQ(fields[5].real, 1.5f);
  EXPECT_EQ(fields[10].number, 255u);
  EXPECT_EQ(fields[11].text, "50,75,9");  // zeros are skipped wherever they stand
  EXPECT_EQ(fields[16].text, " 0.50, 3.14");
  EXPECT_EQ(fields[18].text, "  6, 12");

  fields[0].text = "Karte mit fünfundzwanzig Z";
  fields[3].text = "Version 12345";
  fields[7].number = 300;
  fields[13].text = "1,2,3,4,5,6,7,8,9";
  KennungRecord r;
  ASSERT_EQ(RecordFromFields(fields, Destination::Card, r), std::nullopt);
  EXPECT_EQ(std::string(r.szKarte, 20), "Karte mit f\xFCnfundzwa");
  EXPECT_EQ(std::string(r.szLcaVersion, 10), "Version 12");
  EXPECT_EQ(r.nAdcBits, 44);
  EXPECT_EQ(r.wEnergieSender[7], 8);
  EXPECT_EQ(r.wDaempfungEingang[2], 9);
  EXPECT_EQ(r.fFilterMitte[1], 3.14f);

  // Refused texts leave the record as it was.
  const KennungRecord before = r;
  fields[2].text = "Ω-Filter";
  EXPECT_EQ(RecordFromFields(fields, Destination::Card, r),
            CString("PCI EEPROM: Das Zeichen \"Ω\" ist in Windows-1252 nicht darstellbar."));
  fields[2].text = "12345678901234567890Ω";  // the character would be cut off anyway
  EXPECT_EQ(RecordFromFields(fields, Destination::Card, r), std::nullopt);
  fields[2].text = "a;b\tc";
  EXPECT_EQ(RecordFromFields(fields, Destination::Card, r), std::nullopt) << "the card holds any byte";
  const KennungRecord cardRecord = r;
  EXPECT_NE(RecordFromFields(fields, Destination::PresetsFile, r), std::nullopt);
  fields[2].text = "a\tb";
  EXPECT_NE(RecordFromFields(fields, Destination::PresetsFile, r), std::nullopt);
  EXPECT_TRUE(Same(r, cardRecord));
  EXPECT_FALSE(Same(r, before));
}

TEST(KennungCheck, FirstDifferenceAsThePresetsFileHoldsTheValues) {
  const KennungRecord preset = FullRecord();
  KennungRecord card = preset;
  card.wDaempfungEingang[3] = 77;     // behind the first 0: not in the file
  card.fFilterMitte[1] = 3.1409f;     // the same with two decimals
  EXPECT_EQ(FirstDifference(preset, card), std::nullopt);
  card.nAdcBits = 14;
  card.bySamplerate[0] = 25;
  auto d = FirstDifference(preset, card);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->label, "ADC");
  EXPECT_EQ(d->soll, "12");
  EXPECT_EQ(d->ist, "14");
  card = preset;
  card.szAufsteckfilter[0] = 'B';
  d = FirstDifference(preset, card);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->soll + "|" + d->ist, "AF Dämpfer|BF Dämpfer");

  // A "Karte" preset without serial number fits every card of that type, and only those.
  KennungRecord type{};
  std::strcpy(type.szKarte, "ZORIX7F");
  KennungRecord numbered = type;
  std::strcpy(numbered.szKarte, "ZORIX7F 1234");
  EXPECT_EQ(FirstDifference(type, numbered), std::nullopt);
  std::strcpy(numbered.szKarte, "ZORIX7FX");
  EXPECT_TRUE(FirstDifference(type, numbered));
  EXPECT_TRUE(FirstDifference(numbered, type));
}

TEST(KennungFile, UnreadableFilesGiveNothing) {
  const auto dir = std::filesystem::temp_directory_path() / ("kennung-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "k.txt").string();
  EXPECT_EQ(ReadKennungFile(path), std::nullopt);
  EXPECT_EQ(ReadKennungFile(dir.string()), std::nullopt);
  std::ofstream(path, std::ios::binary) << "17,2,1:12;\n0";
  auto read = ReadKennungFile(path);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->nAdcBits, 12);
  std::filesystem::remove_all(dir);
}
