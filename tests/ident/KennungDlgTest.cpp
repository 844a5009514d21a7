#include <gmock/gmock.h>

#include <QLineEdit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ident/KennungDlg.h"
#include "ident/KennungVorgabenDlg.h"
#include "support/CardDialogFixture.h"

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;

namespace {
bool Same(const KennungRecord& a, const KennungRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class Kennung : public CardDialogFixture {
 protected:
  std::string PresetsPath() const { return TempPath("kennung.txt"); }
  void NamePresets(const std::string& path) { WriteConfig("[Kennung]\r\nFilename=" + path + "\r\n"); }
  std::string ReadFile(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::vector<std::string> Boxes() const {
    std::vector<std::string> out;
    for (const auto& b : host.Boxes()) out.push_back(b.caption.str() + "|" + b.text.str());
    return out;
  }
  // The number fields refuse empty text: a presets dialog opened on no file needs them.
  void FillNumbers(CDialog& dlg) {
    for (int id : {KennungFieldIds::IDC_BANDGRENZE_UNTEN, KennungFieldIds::IDC_BANDGRENZE_OBEN, KennungFieldIds::IDC_ADC,
                   KennungFieldIds::IDC_AUFNAHME_FIFO, KennungFieldIds::IDC_DATEN_FIFO, KennungFieldIds::IDC_DYNAMIK,
                   KennungFieldIds::IDC_MAX_SAP_FOLGE})
      SetEditText(dlg, id, "0");
  }
};

TEST_F(Kennung, ShowsTheCardsRecordAndWritesTheEditedOne) {
  OpenBench();
  CKennungDlg dlg(card);
  dlg.InitDialog();
  EXPECT_EQ(dlg.GetDlgItemText(CKennungDlg::IDC_KARTE), "ZORIX7F 1234");
  EXPECT_EQ(dlg.GetDlgItemText(CKennungDlg::IDC_BANDGRENZE_UNTEN), "0.5");
  EXPECT_EQ(dlg.GetDlgItemText(CKennungDlg::IDC_DAEMPFUNG_EINGANG), "50,75,1000");
  EXPECT_EQ(dlg.GetDlgItemText(CKennungDlg::IDC_FILTER_MITTE), " 1.00, 2.25, 5.00,10.00,15.00");
  EXPECT_EQ(dlg.GetDlgItemText(CKennungDlg::IDC_GRUNDDAEMPFUNG), "  6, 12");

  SetEditText(dlg, CKennungDlg::IDC_KARTE, "ZORIX7F 4711 Prüfling 1234");  // 25 characters
  SetEditText(dlg, CKennungDlg::IDC_SAMPLERATE, "5,0,7");
  SetEditText(dlg, CKennungDlg::IDC_ENERGIE_SENDER, "1,2,3,4,5,6,7,8,9");
  SetEditText(dlg, CKennungDlg::IDC_ADC, "270");
  host.QueueAnswer(IDYES);
  Click(dlg, CKennungDlg::IDC_WRITE);

  const KennungRecord k = Model().Kennung();
  EXPECT_EQ(std::string(k.szKarte, 20), "ZORIX7F 4711 Pr\xFC" "flin");
  EXPECT_EQ(std::vector<int>(k.bySamplerate, k.bySamplerate + 4), (std::vector<int>{5, 0, 7, 0}));
  EXPECT_EQ(k.wEnergieSender[7], 8);
  EXPECT_EQ(k.nAdcBits, 14);
  EXPECT_EQ(k.fFilterMitte[1], 2.25f);
  EXPECT_THAT(Boxes(), ElementsAre("Kennung|Wollen Sie wirklich schreiben?"));
  // Shown again as the card holds it.
  EXPECT_EQ(dlg.GetDlgItemText(CKennungDlg::IDC_SAMPLERATE), "5,7");
  EXPECT_EQ(dlg.GetDlgItemText(CKennungDlg::IDC_KARTE), "ZORIX7F 4711 Prüflin");
  EXPECT_EQ(dlg.GetDlgItemText(CKennungDlg::IDC_ADC), "14");
}

TEST_F(Kennung, NoAndUnstorableTextsLeaveCardAndFields) {
  OpenBench();
  const KennungRecord before = Model().Kennung();
  CKennungDlg dlg(card);
  dlg.InitDialog();
  SetEditText(dlg, CKennungDlg::IDC_KARTE, "neu");
  host.QueueAnswer(IDNO);
  Click(dlg, CKennungDlg::IDC_WRITE);
  SetEditText(dlg, CKennungDlg::IDC_LCA_VERSION, "Ω 1");
  host.QueueAnswer(IDYES);
  Click(dlg, CKennungDlg::IDC_WRITE);
  EXPECT_TRUE(Same(Model().Kennung(), before));
  EXPECT_TRUE(zorix7sim::JournalOf("PutKonfig").empty());
  EXPECT_EQ(dlg.GetDlgItemText(CKennungDlg::IDC_KARTE), "neu");
  EXPECT_EQ(dlg.GetDlgItemText(CKennungDlg::IDC_LCA_VERSION), "Ω 1");
  ASSERT_EQ(host.Boxes().size(), 3u);
  EXPECT_EQ(host.Boxes()[2].text, "LCA-Version: Das Zeichen \"Ω\" ist in Windows-1252 nicht darstellbar.");
}

TEST_F(Kennung, RefusedByteIsReportedThenTheCardsRecordShown) {
  OpenBench("[Card 1]\nAdcBits=12\nStuckKennung=0x58\n");  // the ADC byte
  CKennungDlg dlg(card);
  dlg.InitDialog();
  SetEditText(dlg, CKennungDlg::IDC_ADC, "14");
  SetEditText(dlg, CKennungDlg::IDC_KARTE, "NEU");
  host.QueueAnswer(IDYES);
  Click(dlg, CKennungDlg::IDC_WRITE);
  EXPECT_THAT(Boxes(), ElementsAre("Kennung|Wollen Sie wirklich schreiben?",
                                   "Test|PutKonfig Error Adr: 0x158 Soll: 0xE Ist: 0xC"));
  EXPECT_EQ(dlg.GetDlgItemText(CKennungDlg::IDC_ADC), "12");
  EXPECT_EQ(dlg.GetDlgItemText(CKennungDlg::IDC_KARTE), "NEU");
}

TEST_F(Kennung, PresetsAreSavedAndShownAgain) {
  OpenBench();
  NamePresets(PresetsPath());
  CKennungVorgabenDlg dlg;
  dlg.InitDialog();
  EXPECT_EQ(dlg.GetDlgItemText(CKennungVorgabenDlg::IDC_DATEINAME), "") << "no file: every field empty";
  EXPECT_EQ(dlg.GetDlgItemText(CKennungVorgabenDlg::IDC_ADC), "");
  FillNumbers(dlg);
  SetEditText(dlg, CKennungVorgabenDlg::IDC_KARTE, "Prüfkarte");
  SetEditText(dlg, CKennungVorgabenDlg::IDC_BANDGRENZE_OBEN, "20.5");
  SetEditText(dlg, CKennungVorgabenDlg::IDC_DAEMPFUNG_EINGANG, "1,2,0,4");
  SetEditText(dlg, CKennungVorgabenDlg::IDC_FILTER_MITTE, "1.234,15");
  SetEditText(dlg, CKennungVorgabenDlg::IDC_DATEINAME, TempPath("typed.txt"));
  host.QueueAnswer(IDYES);
  Click(dlg, CKennungVorgabenDlg::IDC_SAVE);
  EXPECT_EQ(dlg.GetDlgItemText(CKennungVorgabenDlg::IDC_DATEINAME), PresetsPath());
  EXPECT_FALSE(std::filesystem::exists(TempPath("typed.txt")));
  const std::string file = ReadFile(PresetsPath());
  EXPECT_THAT(file, HasSubstr("1,1,9:Pr\xFC" "fkarte;\n"));
  EXPECT_THAT(file, HasSubstr("\n32,3,2:1,2;\n33,3,0;\n34,3,0;\n"));
  EXPECT_THAT(file, EndsWith("\n39,2,0;\n0"));

  CKennungVorgabenDlg again;
  again.InitDialog();
  using V = CKennungVorgabenDlg;
  const std::pair<int, std::string> shown[] = {{V::IDC_DATEINAME, PresetsPath()},   {V::IDC_KARTE, "Prüfkarte"},
                                               {V::IDC_BANDGRENZE_OBEN, "20.5"},    {V::IDC_DAEMPFUNG_EINGANG, "1,2"},
                                               {V::IDC_FILTER_MITTE, "1.23,15.00"}, {V::IDC_SAMPLERATE, ""}};
  for (const auto& [id, text] : shown) EXPECT_EQ(again.GetDlgItemText(id), text) << id;
}

TEST_F(Kennung, PresetsThatCannotBeSavedAreReportedAndNothingIsWritten) {
  OpenBench();
  CKennungVorgabenDlg dlg;  // no name in the configuration: a single blank
  dlg.InitDialog();
  FillNumbers(dlg);
  host.QueueAnswer(IDNO);
  Click(dlg, CKennungVorgabenDlg::IDC_SAVE);
  host.QueueAnswer(IDYES);
  Click(dlg, CKennungVorgabenDlg::IDC_SAVE);
  const std::string missing = TempPath("no-such-folder/kennung.txt");
  NamePresets(missing);
  host.QueueAnswer(IDYES);
  Click(dlg, CKennungVorgabenDlg::IDC_SAVE);
  NamePresets(PresetsPath());
  SetEditText(dlg, CKennungVorgabenDlg::IDC_AUFSTECKFILTER, "a;b");
  host.QueueAnswer(IDYES);
  Click(dlg, CKennungVorgabenDlg::IDC_SAVE);
  EXPECT_THAT(Boxes(),
              ElementsAre("Kennung Vorgaben|Wollen Sie wirklich sichern?", "Kennung Vorgaben|Wollen Sie wirklich sichern?",
                          "Kennung Vorgaben|Keine Vorgabendatei eingetragen (Abschnitt \"Kennung\", Schlüssel \"Filename\")",
                          "Kennung Vorgaben|Wollen Sie wirklich sichern?",
                          "Kennung Vorgaben|Datei \"" + missing + "\" kann nicht geschrieben werden",
                          "Kennung Vorgaben|Wollen Sie wirklich sichern?",
                          "Kennung Vorgaben|Aufsteckfilter: Das Zeichen \";\" kann in der Vorgabendatei nicht gespeichert "
                          "werden."));
  EXPECT_FALSE(std::filesystem::exists(PresetsPath()));
}

TEST_F(Kennung, AutomaticCheckComparesTheCardWithThePresets) {
  OpenBench();
  CKennungDlg dlg(card);
  CString result;
  NamePresets(PresetsPath());
  EXPECT_FALSE(dlg.Check(result));
  EXPECT_EQ(result, "Vorgabendatei \"" + PresetsPath() + "\" kann nicht gelesen werden");

  KennungRecord preset = Model().Kennung();
  std::ofstream(PresetsPath(), std::ios::binary) << ident::KennungText(preset);
  EXPECT_TRUE(dlg.Check(result));
  EXPECT_EQ(result, "OK");

  preset.nDatenFifo = 64;
  std::ofstream(PresetsPath(), std::ios::binary) << ident::KennungText(preset);
  EXPECT_FALSE(dlg.Check(result));
  EXPECT_EQ(result, "Daten-FIFO Soll: 64 Ist: 128");

  zorix7sim::AddFault({"GetKonfig", 1, 0, 0xE0000042});
  EXPECT_FALSE(dlg.Check(result));
  EXPECT_EQ(result, "GetKonfig Error E0000042");
}

TEST_F(Kennung, VorgabenButtonOpensThePresetsEditor) {
  OpenBench();
  CKennungDlg dlg(card);
  dlg.InitDialog();
  QueueDialog<CKennungVorgabenDlg>([](CKennungVorgabenDlg& d) { return ScriptedUiHost::PressOk(d); });
  Click(dlg, CKennungDlg::IDC_VORGABEN);
  ASSERT_EQ(host.Dialogs().size(), 1u);
  EXPECT_EQ(host.Dialogs()[0].title, "Kennung Vorgaben");
}
}  // namespace
