// The A-scan CSV: the comment header names what the window knows, one row per sample.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "measure/AscanCsv.h"
#include "measure/BufferBuilder.h"
#include "measure/DataListText.h"

using measure::test::Buf;

namespace {

std::string csv(const Buf& b, bool headed, bool eightBit, uint8_t samplerate) {
  return measure::ascanCsv({b.data(), b.size(), headed, eightBit, samplerate});
}

TEST(AscanCsv, PlainBuffersOfSixteenAndEightBitSamples) {
  Buf b;
  b.words({0x0080, 0x7FC0, 0x8000});
  EXPECT_EQ(csv(b, false, false, 1),
            "# ZORIX7Check A-Scan\n"
            "# Rahmen: ohne Kopf\n"
            "# Bytes: 6\n"
            "# 8Bit: 0\n"
            "# Samplerate: 1\n"
            "# Abtastzeit_us: 0.025\n"
            "# Proben: 3\n"
            "# adc: Probe / 64 (-512..511)\n"
            "index;time_us;percent;adc\n"
            "0;0.00000;0.391;2\n"
            "1;0.02500;99.805;511\n"
            "2;0.05000;-100.000;-512\n");

  // A German number locale must not turn the decimal points into commas.
  const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  Buf bytes;
  bytes.u8(0x80).u8(0x40).u8(0xFF);
  const std::string eight = csv(bytes, false, true, 0);
  std::setlocale(LC_ALL, "C");
  EXPECT_NE(eight.find("# 8Bit: 1\n# Samplerate: 0\n# Abtastzeit_us: 0.0125\n# Proben: 3\n"
                       "# adc: 8-Bit-Wert (-128..127)\n"),
            std::string::npos) << eight;
  EXPECT_NE(eight.find("index;time_us;percent;adc\n0;0.00000;-100.000;-128\n1;0.01250;50.000;64\n"
                       "2;0.02500;-0.781;-1\n"),
            std::string::npos) << eight << (german ? "" : " (no German locale installed)");

  // No buffer: the header alone.
  EXPECT_NE(measure::ascanCsv({nullptr, 100, false, false, 0}).find("# Bytes: 0\n# 8Bit: 0"), std::string::npos);
}

TEST(AscanCsv, HeadedBlocksNameTheirHeaderAndListWhatTheDataListLists) {
  Buf b;
  b.stamp(1234).header(0x14, 12, -3).words({0x0080, 0xFFC0, 0x0000}).u32(0xFFFFEFFE);
  // The 8-bit flag belongs to plain framing only.
  const std::string text = csv(b, true, true, 4);
  EXPECT_EQ(text,
            "# ZORIX7Check A-Scan\n"
            "# Rahmen: mit Kopf (ZORIX9)\n"
            "# Bytes: 24\n"
            "# 8Bit: 0\n"
            "# Samplerate: 4\n"
            "# Abtastzeit_us: 0.00625\n"
            "# Zeit: 1234\n"
            "# Datentyp: 0x14\n"
            "# Blocklänge: 12\n"
            "# Kennung: -3\n"
            "# Proben: 3\n"
            "# adc: Probe / 64 (-512..511)\n"
            "index;time_us;percent;adc\n"
            "0;0.00000;0.391;2\n"
            "1;0.00625;-0.195;-1\n"
            "2;0.01250;0.000;0\n");

  // Packed: three words give four samples; a block longer than its data stops at the data.
  Buf p;
  p.header(0x10, 100, 1).words({0x0ABC, 0x3DEF, 0x1234});
  const std::string packed = csv(p, true, false, 0);
  EXPECT_NE(packed.find("# Proben: 4\n"), std::string::npos) << packed;
  EXPECT_NE(packed.find("0;0.00000;-65.820;-337\n1;0.01250;-13.281;-68\n2;0.02500;52.979;271\n"
                        "3;0.03750;14.209;72\n"),
            std::string::npos) << packed;
  const auto listed = measure::dataListLines(p.data(), p.size(), true, false, 0);
  EXPECT_EQ(listed.size(), 3u + 4u);
  EXPECT_EQ(measure::listedSamples(p.data(), p.size(), true, false).values.size(), 4u);

  // A header cut short lists no samples and reads nothing past the data.
  Buf cut;
  cut.u8(0x14).u8(0x40);
  EXPECT_NE(csv(cut, true, false, 0).find("# Proben: 0\n# adc: Probe / 64 (-512..511)\nindex;time_us;percent;adc\n"), std::string::npos);
}

}  // namespace
