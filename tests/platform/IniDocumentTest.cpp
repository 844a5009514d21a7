#include <gtest/gtest.h>

#include <QString>
#include <bit>

#include "platform/Cp1252.h"
#include "platform/IniDocument.h"

namespace {
std::string ValueOr(const IniDocument& d, const char* s, const char* k, const char* fallback = "<none>") {
  return d.Get(s, k).value_or(fallback);
}

std::string Bytes(const IniDocument& d) {
  std::string bytes;
  EXPECT_FALSE(d.Serialize(bytes));
  return bytes;
}

// UTF-16LE with byte order mark, made by Qt as an independent encoder.
std::string Utf16(const std::string& utf8Text) {
  static_assert(std::endian::native == std::endian::little);
  QString s = QString::fromUtf8(utf8Text);
  return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(s.utf16()), static_cast<size_t>(s.size()) * 2);
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
  EXPECT_EQ(Bytes(d), text);
  EXPECT_FALSE(d.Set("INIT", "karte", "7"));
  EXPECT_EQ(Bytes(d), "; Kopf\r\n[Init]\r\nKarte=7\r\n\tDMA=yes\r\n\r\n[Check]\r\nDSP=no\r\n");
  // A new key goes after the section's last key, before the blank line.
  d.Set("Init", "Zyklen", "200");
  d.Set("Check", "LCA", "yes");
  d.Set("Neu", "A", "1");
  EXPECT_EQ(Bytes(d),
            "; Kopf\r\n[Init]\r\nKarte=7\r\n\tDMA=yes\r\nZyklen=200\r\n\r\n[Check]\r\nDSP=no\r\nLCA=yes\r\n"
            "[Neu]\r\nA=1\r\n");
  EXPECT_EQ(ValueOr(d, "init", "zyklen"), "200");
  EXPECT_EQ(ValueOr(d, "check", "dsp"), "no");
  // The in-memory view matches what a fresh parse of the output sees.
  IniDocument again = IniDocument::Parse(Bytes(d));
  for (auto [s, k] : {std::pair{"Init", "Karte"}, {"Init", "Zyklen"}, {"Check", "LCA"}, {"Neu", "A"}})
    EXPECT_EQ(ValueOr(again, s, k), ValueOr(d, s, k)) << s << "/" << k;
}

TEST(IniWrite, LastLineWithoutEndAndUnixLineEnds) {
  IniDocument d = IniDocument::Parse("[A]\nx=1");
  d.Set("A", "y", "2");
  EXPECT_EQ(Bytes(d), "[A]\nx=1\ny=2\n");
  IniDocument fresh;
  fresh.Set("Init", "Karte", "1");
  EXPECT_EQ(Bytes(fresh), "[Init]\r\nKarte=1\r\n");  // new files as the Windows version writes them
}

TEST(IniWrite, EveryValueReadsBackAsWrittenAndWhatCannotIsRefused) {
  IniDocument d = IniDocument::Parse("[A]\r\nx=1\r\n");
  // Blanks at the ends and surrounding quotes survive inside quotes, as Windows reads them.
  for (const char* v : {" x ", "\"q\"", "'s'", "\"", "", "a = b ; c", "\t"}) {
    ASSERT_FALSE(d.Set(" A ", "x", v)) << v;
    EXPECT_EQ(ValueOr(d, "A", "x"), v);
    EXPECT_EQ(ValueOr(IniDocument::Parse(Bytes(d)), "a", "X"), v);
  }
  EXPECT_EQ(Bytes(d), "[A]\r\nx=\"\t\"\r\n");

  const std::string before = Bytes(d);
  using Kind = IniDocument::Refusal::Kind;
  const struct {
    const char *section, *key, *value;
    Kind kind;
    const char* text;
  } refused[] = {
      {"a]b", "k", "1", Kind::Name, "a]b"},      {"A", "k=v", "1", Kind::Name, "k=v"},
      {"A", ";k", "1", Kind::Name, ";k"},        {"A", " [k", "1", Kind::Name, "[k"},
      {"A\nB", "k", "1", Kind::Name, "A\nB"},    {"A", "k", "1\r\n[B]\r\ny=3", Kind::Value, "k"},
      {"A", "k", "\xF6", Kind::Value, "k"},      {"A", "Omega", "Ω", Kind::Character, "Omega"},
      {"Prüf€", "Ω", "1", Kind::Character, "Ω"},
  };
  for (const auto& r : refused) {
    IniDocument::Refusal why = d.Set(r.section, r.key, r.value);
    EXPECT_EQ(why.kind, r.kind) << r.section << "/" << r.key;
    EXPECT_EQ(why.text, r.text);
  }
  EXPECT_EQ(d.Set("A", "Omega", "Ω").character, U'Ω');
  EXPECT_EQ(Bytes(d), before);
  EXPECT_EQ(d.Sections().size(), 1u);
}

TEST(IniEncoding, Windows1252FilesComeBackByteForByte) {
  const std::string cpText = cp1252::FromUtf8("; Prüfplatz 3\r\n[Selbstest]\r\nDS_FLAGlöschen=no\n\x80\x81\r\n");
  IniDocument d = IniDocument::Parse(cpText);
  EXPECT_EQ(d.encoding(), IniDocument::Encoding::Windows1252);
  EXPECT_EQ(ValueOr(d, "SELBSTEST", "DS_FLAGLÖSCHEN"), "no");
  EXPECT_EQ(Bytes(d), cpText);
  EXPECT_FALSE(d.Set("Selbstest", "DS_FLAGlöschen", "yes"));
  EXPECT_FALSE(d.Set("Kennung", "Text", "Größe €"));
  EXPECT_EQ(Bytes(d), cp1252::FromUtf8("; Prüfplatz 3\r\n[Selbstest]\r\nDS_FLAGlöschen=yes\n\x80\x81\r\n"
                                       "[Kennung]\r\nText=Größe €\r\n"));
}

TEST(IniEncoding, Utf8FilesAreWrittenBackWholeInWindows1252) {
  for (const std::string bom : {"", "\xEF\xBB\xBF"}) {
    IniDocument d = IniDocument::Parse(bom + "; Prüfplatz 3\n[DSP]\nDatei=C:\\Prüfung\\dsp.hex\n[Selbstest]\nDS_FLAGlöschen=no");
    EXPECT_EQ(d.encoding(), IniDocument::Encoding::Utf8);
    EXPECT_EQ(ValueOr(d, "dsp", "datei"), "C:\\Prüfung\\dsp.hex");
    EXPECT_FALSE(d.Set("Selbstest", "DS_FLAGLÖSCHEN", "yes"));
    const std::string windows = cp1252::FromUtf8(
        "; Prüfplatz 3\r\n[DSP]\r\nDatei=C:\\Prüfung\\dsp.hex\r\n[Selbstest]\r\nDS_FLAGlöschen=yes");
    EXPECT_EQ(Bytes(d), windows);
    IniDocument again = IniDocument::Parse(windows);
    EXPECT_EQ(again.encoding(), IniDocument::Encoding::Windows1252);
    EXPECT_EQ(ValueOr(again, "DSP", "Datei"), "C:\\Prüfung\\dsp.hex");
  }
  // A character Windows-1252 lacks anywhere in the file refuses the whole file.
  IniDocument d = IniDocument::Parse("[Kennung]\nText=Prüfkopf\n; Ω-Sonde\n");
  EXPECT_FALSE(d.Set("Kennung", "Text", "ä"));
  std::string bytes = "unchanged";
  IniDocument::Refusal why = d.Serialize(bytes);
  EXPECT_EQ(why.kind, IniDocument::Refusal::Kind::Character);
  EXPECT_EQ(why.character, U'Ω');
  EXPECT_EQ(why.line, 3u);
  EXPECT_EQ(bytes, "");
}

TEST(IniEncoding, Utf16FilesAreReadAndWrittenBackInUtf16WithCrLf) {
  const std::string text = "; Prüfplatz Ω 🙂\r\n[Selbstest]\r\nDS_FLAGlöschen=no\r\n[DSP]\nDatei=C:\\Prüfung\\dsp.hex";
  IniDocument d = IniDocument::Parse(Utf16(text));
  EXPECT_EQ(d.encoding(), IniDocument::Encoding::Utf16Le);
  EXPECT_EQ(ValueOr(d, "selbstest", "ds_flaglöschen"), "no");
  EXPECT_EQ(ValueOr(d, "DSP", "Datei"), "C:\\Prüfung\\dsp.hex");
  EXPECT_FALSE(d.Set("Selbstest", "DS_FLAGlöschen", "yes"));
  EXPECT_FALSE(d.Set("DSP", "Sonde", "Ω 🙂"));  // UTF-16 holds every character
  EXPECT_EQ(Bytes(d), Utf16("; Prüfplatz Ω 🙂\r\n[Selbstest]\r\nDS_FLAGlöschen=yes\r\n[DSP]\r\n"
                            "Datei=C:\\Prüfung\\dsp.hex\r\nSonde=Ω 🙂\r\n"));

  // Broken UTF-16 reads, but writing it back would replace the broken characters.
  for (const auto& broken : {Utf16("[A]\r\nx=1\r\n") + std::string("\x00\xD8" "a\x00", 4), Utf16("[A]\r\nx=1\r\n") + "a"}) {
    IniDocument b = IniDocument::Parse(broken);
    EXPECT_EQ(ValueOr(b, "A", "x"), "1");
    std::string bytes;
    EXPECT_EQ(b.Serialize(bytes).kind, IniDocument::Refusal::Kind::BrokenText);
  }
}

TEST(IniBadInput, GarbageLongLinesAndBrokenHeadersAreKeptAndIgnored) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) & 0xFF);
  std::string text = garbage + "\n[Broken\nk=v\n[Good]\nk=" + std::string(1 << 20, 'x') + "\n";
  IniDocument d = IniDocument::Parse(text);
  EXPECT_EQ(Bytes(d), text);
  EXPECT_EQ(ValueOr(d, "Good", "k").size(), size_t{1} << 20);
  EXPECT_EQ(ValueOr(d, "Broken", "k"), "<none>");
  d.Set("Good", "k", "short");
  EXPECT_EQ(ValueOr(IniDocument::Parse(Bytes(d)), "Good", "k"), "short");
  IniDocument empty = IniDocument::Parse("");
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_EQ(Bytes(empty), "");
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
  IniDocument d = IniDocument::Parse(text);
  EXPECT_EQ(ValueOr(d, "karte1000-satz0", "key99"), "99" + std::string(80, 'v'));
  d.Set("Karte0-Satz0", "Neu", "1");  // an insertion far from the end
  EXPECT_EQ(Bytes(d).size(), text.size() + 7);
}
