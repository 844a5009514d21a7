#include <fstream>

#include "diag/DSPDlg.h"
#include "support/CardDialogFixture.h"

using zorix7sim::JournalOf;

namespace {
constexpr const char* kThreeCards = "[Card 1]\n[Card 2]\n[Card 3]\n";

class DspLoad : public CardDialogFixture {
 protected:
  // Opens the bench's cards 1..n and a dialog on them with current card 1.
  CDSPDlg& Open(const char* bench = kThreeCards, UINT cards = 3) {
    OpenBench(bench);
    for (UINT n = 1; n <= cards; ++n) handles[n - 1] = ZORIX7Open(static_cast<int>(n));
    dlg = std::make_unique<CDSPDlg>(cards, handles, 1);
    dlg->InitDialog();
    return *dlg;
  }
  std::string Firmware(const std::string& name, const std::string& content = "1234\r\nABCD\r\n") {
    std::string path = TempPath(name);
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }
  std::vector<int> LoadedCards() const {
    std::vector<int> cards;
    for (const auto& e : JournalOf("LoadProm")) cards.push_back(e.card);
    return cards;
  }
  HZORIX7 handles[16] = {};
  std::unique_ptr<CDSPDlg> dlg;
};
}  // namespace

TEST_F(DspLoad, WriteLoadsResetsAndWarmsUpEachCardInTurn) {
  CDSPDlg& d = Open();
  EXPECT_EQ(d.m_strFileName, " ") << "the default when nothing is stored";
  EXPECT_TRUE(IsChecked(d, CDSPDlg::IDC_ABFRAGE));
  SetEditText(d, CDSPDlg::IDC_FILENAME, Firmware("dsp.hex").c_str());
  SetEditText(d, CDSPDlg::IDC_KARTE, "3");
  Click(d, CDSPDlg::IDC_ALLE_KARTEN);
  EXPECT_EQ(d.GetDlgItemText(CDSPDlg::IDC_KARTE), "1");
  for (int press = 0; press < 3; ++press) {
    host.QueueAnswer(IDYES);
    Click(d, CDSPDlg::IDC_WRITE);
  }
  EXPECT_EQ(LoadedCards(), std::vector<int>({1, 2, 3}));
  EXPECT_FALSE(IsChecked(d, CDSPDlg::IDC_ALLE_KARTEN));
  EXPECT_EQ(d.GetDlgItemText(CDSPDlg::IDC_STATUS), "Karte 3 OK (Reset nach 50 ms)");
  EXPECT_EQ(JournalOf("WarmUp").size(), 3u);
  ASSERT_EQ(Model(2).program.size(), 128u);
  EXPECT_EQ(Model(2).program[1], 0x12);
  EXPECT_EQ(host.Boxes().back().caption, "DSP-Programm");

  // No loads nothing; the number still steps on.
  SetCheck(d, CDSPDlg::IDC_ALLE_KARTEN, true);
  SetEditText(d, CDSPDlg::IDC_KARTE, "2");
  host.QueueAnswer(IDNO);
  Click(d, CDSPDlg::IDC_WRITE);
  EXPECT_EQ(LoadedCards().size(), 3u);
  EXPECT_EQ(d.GetDlgItemText(CDSPDlg::IDC_KARTE), "3");
}

TEST_F(DspLoad, WhatCannotBeLoadedIsSaidAndNoCardIsTouched) {
  CDSPDlg& d = Open();
  SetCheck(d, CDSPDlg::IDC_ABFRAGE, false);
  auto status = [&](const std::string& file, const char* card = "1") {
    SetEditText(d, CDSPDlg::IDC_FILENAME, file.c_str());
    SetEditText(d, CDSPDlg::IDC_KARTE, card);
    Click(d, CDSPDlg::IDC_WRITE);
    return d.GetDlgItemText(CDSPDlg::IDC_STATUS);
  };
  const std::string good = Firmware("dsp.bin", "x");
  EXPECT_EQ(status(good, "0"), "Ungültige Kartennummer");
  EXPECT_EQ(status(good, "4"), "Ungültige Kartennummer");
  EXPECT_EQ(status(" "), "Datei nicht gefunden");
  EXPECT_TRUE(host.FileRequests().empty()) << "a blank name is a name: no chooser";
  EXPECT_EQ(status(Firmware("DSP.HEX")), "Keine gültige Extension (*.bin/*.hex)");
  EXPECT_EQ(status(Firmware("big.bin", std::string(256 * 128, 'x'))), "Datei zu groß (max. 255 Blöcke)");
  EXPECT_TRUE(JournalOf("LoadProm").empty());
  EXPECT_TRUE(JournalOf("ResetCard").empty());

  ASSERT_TRUE(zorix7sim::AddFault({"LoadProm", 1, 1, 0xE0001234}));
  EXPECT_EQ(status(good), "Error E0001234");
  EXPECT_TRUE(JournalOf("ResetCard").empty()) << "no reset after a failed load";
}

TEST_F(DspLoad, ResetPollingIsBoundedAndAnInstantResetIsAnError) {
  CDSPDlg& d = Open("[Card 1]\nResetMs=0\n", 1);
  d.m_strFileName = Firmware("dsp.hex").c_str();
  CString text;
  EXPECT_FALSE(d.Load(text));
  EXPECT_EQ(text, "Reset Error after loading");
  EXPECT_TRUE(JournalOf("WarmUp").empty());

  // A card that never leaves reset is polled 100 times, then its warm-up tells.
  Open("[Card 1]\nNeverReset=1\n", 1).m_strFileName = Firmware("dsp.hex").c_str();
  zorix7sim::ClearJournal();
  EXPECT_FALSE(dlg->Load(text));
  EXPECT_EQ(text, "WarmUp Error E0000005");
  EXPECT_EQ(JournalOf("IsReseted").size(), 100u);
}

TEST_F(DspLoad, AutomaticModeAlwaysAsksForTheFileAndSaveKeepsTheName) {
  CDSPDlg& d = Open();
  d.m_strFileName = "stored.hex";
  host.QueueFile(CString(Firmware("auto.hex").c_str()));
  CString result;
  EXPECT_TRUE(d.Check(result));
  EXPECT_EQ(result, "Karte 1 OK (Reset nach 50 ms)");
  ASSERT_EQ(host.FileRequests().size(), 1u);
  EXPECT_EQ(host.FileRequests()[0].filter, "ZORIX7 Firmware (*.hex)|*.hex|*.bin|*.bin|All Files|*.*||");
  host.QueueFile(std::nullopt);
  EXPECT_FALSE(d.Check(result));
  EXPECT_EQ(result, "Datei nicht gefunden");

  SetEditText(d, CDSPDlg::IDC_FILENAME, "/fw/dsp.hex");
  host.QueueAnswer(IDNO);
  Click(d, CDSPDlg::IDC_SAVE);
  EXPECT_EQ(app.GetProfileString("DSP", "Filename", "none"), "none");
  host.QueueAnswer(IDYES);
  Click(d, CDSPDlg::IDC_SAVE);
  EXPECT_EQ(app.GetProfileString("DSP", "Filename", "none"), "/fw/dsp.hex");
}
