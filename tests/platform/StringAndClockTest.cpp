#include <gtest/gtest.h>

#include "platform/CString.h"
#include "platform/Cp1252.h"

TEST(CStringFormat, ResultsLongerThanTheStackBufferAreComplete) {
  std::string expected;
  CString s;
  s.Format("%s|%s|%d", std::string(300, 'a').c_str(), std::string(255, 'b').c_str(), 42);
  expected = std::string(300, 'a') + "|" + std::string(255, 'b') + "|42";
  EXPECT_EQ(s.str(), expected);
  // Exactly at the buffer edge.
  s.Format("%s", std::string(256, 'x').c_str());
  EXPECT_EQ(s.GetLength(), 256);
  s.Format("%s", std::string(255, 'x').c_str());
  EXPECT_EQ(s.GetLength(), 255);
}

TEST(CStringPieces, LeftMidRightClampAtTheEdges) {
  CString s("ABCDEF");
  EXPECT_EQ(s.Left(0), "");
  EXPECT_EQ(s.Left(-3), "");
  EXPECT_EQ(s.Left(99), "ABCDEF");
  EXPECT_EQ(s.Mid(2), "CDEF");
  EXPECT_EQ(s.Mid(2, 2), "CD");
  EXPECT_EQ(s.Mid(5, 10), "F");
  EXPECT_EQ(s.Mid(6), "");
  EXPECT_EQ(s.Mid(-1, 2), "AB");
  EXPECT_EQ(s.Right(2), "EF");
  EXPECT_EQ(s.Right(99), "ABCDEF");
  EXPECT_EQ(s.Right(0), "");
  EXPECT_EQ(s.Find("CD"), 2);
  EXPECT_EQ(s.Find("CD", 3), -1);
  EXPECT_EQ(s.ReverseFind('A'), 0);
  CString t("  x y \t\r\n");
  t.Trim();
  EXPECT_EQ(t, "x y");
}

TEST(Cp1252, EveryByteSurvivesTheRoundTripThroughUtf8) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  std::string u = cp1252::ToUtf8(all);
  EXPECT_TRUE(utf8::IsValid(u));
  EXPECT_EQ(cp1252::FromUtf8(u), all);
  EXPECT_EQ(cp1252::ToUtf8("\x80 \xF6"), "€ ö");
  EXPECT_EQ(cp1252::FromUtf8("Ω"), "?");
  EXPECT_EQ(utf8::Repair("a\xF6z"), "aöz");
}
