#include <gtest/gtest.h>

#include <chrono>

#include "platform/Cp1252.h"
#include "platform/IniDocument.h"

namespace {
std::string ValueOr(const IniDocument& d, const char* s, const char* k, const char* fallback = "<none>") {
  return d.Get(s, k).value_or(fallback);
}
}  // namespace

TEST(IniLookup, FollowsTheWindowsProfileRules) {
  IniDocument d = IniDocument::Parse(
      "top=ignored\n"
      "[Init]\n"
      "  Karte = 3  \n"
      "karte=4\n"
      "Name=\"  quoted  \"\n"
      "Single='x'\n"
      "Half=\"open\n"
      "; Zyklen=1\n"
      "NoEquals\n"
      "Empty=\n"
      "[INIT]\n"
      "Zyklen=999\n"
      "[ Other ]\n"
      "Zyklen=5\n");
  EXPECT_EQ(ValueOr(d, "init", "KARTE"), "3");  // case-insensitive, first key wins, trimmed
  EXPECT_EQ(ValueOr(d, "Init", "Name"), "  quoted  ");
  EXPECT_EQ(ValueOr(d, "Init", "Single"), "x");
  EXPECT_EQ(ValueOr(d, "Init", "Half"), "\"open");
  EXPECT_EQ(ValueOr(d, "Init", "Zyklen"), "<none>");  // comment, and the repeated section is not searched
  EXPECT_EQ(ValueOr(d, "Init", "NoEquals"), "<none>");
  EXPECT_EQ(ValueOr(d, "Init", "Empty"), "");
  EXPECT_EQ(ValueOr(d, "Other", "Zyklen"), "5");
  EXPECT_EQ(ValueOr(d, "", "top"), "<none>");
  EXPECT_EQ(d.Sections().size(), 3u);
}

TEST(IniWrite, ReplacesInPlaceAndKeepsEveryOtherByte) {
  const std::string text =
      "; Kopf\r\n[Init]\r\nKarte = 1 ; old\r\n\tDMA=yes\r\n\r\n[Check]\r\nDSP=no\r\n";
  IniDocument d = IniDocument::Parse(text);
  EXPECT_EQ(d.Serialize(), text);
  d.Set("INIT", "karte", "7");
  EXPECT_EQ(d.Serialize(), "; Kopf\r\n[Init]\r\nKarte=7\r\n\tDMA=yes\r\n\r\n[Check]\r\nDSP=no\r\n");
  // A new key goes after the section's last key, before the blank line.
  d.Set("Init", "Zyklen", "200");
  d.Set("Check", "LCA", "yes");
  d.Set("Neu", "A", "1");
  EXPECT_EQ(d.Serialize(),
            "; Kopf\r\n[Init]\r\nKarte=7\r\n\tDMA=yes\r\nZyklen=200\r\n\r\n[Check]\r\nDSP=no\r\nLCA=yes\r\n"
            "[Neu]\r\nA=1\r\n");
  EXPECT_EQ(ValueOr(d, "init", "zyklen"), "200");
  EXPECT_EQ(ValueOr(d, "check", "dsp"), "no");
  // The in-memory view matches what a fresh parse of the output sees.
  IniDocument again = IniDocument::Parse(d.Serialize());
  for (auto [s, k] : {std::pair{"Init", "Karte"}, {"Init", "Zyklen"}, {"Check", "LCA"}, {"Neu", "A"}})
    EXPECT_EQ(ValueOr(again, s, k), ValueOr(d, s, k)) << s << "/" << k;
}

TEST(IniWrite, LastLineWithoutEndAndUnixLineEnds) {
  IniDocument d = IniDocument::Parse("[A]\nx=1");
  d.Set("A", "y", "2");
  EXPECT_EQ(d.Serialize(), "[A]\nx=1\ny=2\n");
  IniDocument fresh;
  fresh.Set("Init", "Karte", "1");
  EXPECT_EQ(fresh.Serialize(), "[Init]\r\nKarte=1\r\n");  // new files as the original writes them
}

TEST(IniWrite, LineEndsInAValueCannotSplitTheLine) {
  IniDocument d = IniDocument::Parse("[A]\nx=1\n");
  d.Set("A", "x", "2\r\n[B]\ny=3");
  IniDocument again = IniDocument::Parse(d.Serialize());
  EXPECT_EQ(again.FindSection("B"), nullptr);
  EXPECT_EQ(ValueOr(again, "A", "x"), ValueOr(d, "A", "x"));
}

TEST(IniEncoding, UmlautKeysMatchInUtf8AndWindows1252Files) {
  const std::string utf8Text = "[Selbstest]\r\nDS_FLAGlöschen=yes\r\n";
  const std::string cpText = cp1252::FromUtf8(utf8Text);
  ASSERT_NE(cpText, utf8Text);
  for (const std::string& text : {utf8Text, cpText}) {
    IniDocument d = IniDocument::Parse(text);
    EXPECT_EQ(ValueOr(d, "Selbstest", "DS_FLAGlöschen"), "yes");
    EXPECT_EQ(ValueOr(d, "SELBSTEST", "DS_FLAGLÖSCHEN"), "yes");
    EXPECT_EQ(d.Serialize(), text);
  }
  EXPECT_EQ(IniDocument::Parse(utf8Text).encoding(), IniDocument::Encoding::Utf8);
  EXPECT_EQ(IniDocument::Parse(cpText).encoding(), IniDocument::Encoding::Windows1252);
}

TEST(IniEncoding, AWriteKeepsTheFilesEncoding) {
  IniDocument cp = IniDocument::Parse(cp1252::FromUtf8("[Kennung]\nText=Prüfkopf\n"));
  cp.Set("Kennung", "Text", "Größe");
  cp.Set("Kennung", "Neu", "ä");
  EXPECT_EQ(cp.Serialize(), cp1252::FromUtf8("[Kennung]\nText=Größe\nNeu=ä\n"));

  IniDocument u = IniDocument::Parse("[Kennung]\nText=Prüfkopf\n");
  u.Set("KENNUNG", "text", "Größe");
  EXPECT_EQ(u.Serialize(), "[Kennung]\nText=Größe\n");

  // A UTF-8 file stays UTF-8 even when a caller hands over stray 8-bit bytes.
  u.Set("Kennung", "Roh", "\xF6");
  IniDocument again = IniDocument::Parse(u.Serialize());
  EXPECT_EQ(again.encoding(), IniDocument::Encoding::Utf8);
  EXPECT_EQ(ValueOr(again, "Kennung", "Text"), "Größe");
  EXPECT_EQ(ValueOr(again, "Kennung", "Roh"), ValueOr(u, "Kennung", "Roh"));

  // Characters the file cannot hold read back as the file will.
  cp.Set("Kennung", "Omega", "Ω");
  EXPECT_EQ(ValueOr(cp, "Kennung", "Omega"), ValueOr(IniDocument::Parse(cp.Serialize()), "Kennung", "Omega"));
}

TEST(IniBadInput, GarbageLongLinesAndBrokenHeadersAreKeptAndIgnored) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) & 0xFF);
  std::string text = garbage + "\n[Broken\nk=v\n[Good]\nk=" + std::string(1 << 20, 'x') + "\n";
  IniDocument d = IniDocument::Parse(text);
  EXPECT_EQ(d.Serialize(), text);
  EXPECT_EQ(ValueOr(d, "Good", "k").size(), size_t{1} << 20);
  EXPECT_EQ(ValueOr(d, "Broken", "k"), "<none>");
  d.Set("Good", "k", "short");
  EXPECT_EQ(ValueOr(IniDocument::Parse(d.Serialize()), "Good", "k"), "short");
  IniDocument empty = IniDocument::Parse("");
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_EQ(empty.Serialize(), "");
}

TEST(IniBadInput, FiftyMegabytesParseAndWriteInReasonableTime) {
  std::string text;
  text.reserve(52u << 20);
  std::string body;
  for (int k = 0; k < 100; ++k) body += "Key" + std::to_string(k) + "=" + std::to_string(k) + std::string(80, 'v') + "\r\n";
  for (int s = 0; text.size() < (50u << 20); ++s) {
    text += "[Karte" + std::to_string(s) + "-Satz0]\r\n";
    text += body;
  }
  auto start = std::chrono::steady_clock::now();
  IniDocument d = IniDocument::Parse(text);
  EXPECT_EQ(ValueOr(d, "karte1000-satz0", "key99"), "99" + std::string(80, 'v'));
  d.Set("Karte0-Satz0", "Neu", "1");  // an insertion far from the end
  EXPECT_EQ(d.Serialize().size(), text.size() + 7);
  // Generous: only a quadratic slip shows up here, not a slow machine.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
}
