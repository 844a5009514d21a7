#include <gmock/gmock.h>

#include <fstream>

#include "params/AnzeigeVorgabenDlg.h"
#include "params/TAlist.h"
#include "support/CardDialogFixture.h"

using ::testing::ElementsAre;
using D = CAnzeigeVorgabenDlg;

namespace {

class Editor : public CardDialogFixture {
 protected:
  // Opens the editor on p without a window, as DoModal would.
  D& Open(ParameterSet& p, const char* bench = kOneZorix7F) {
    if (!card) OpenBench(bench);
    dlg = std::make_unique<D>(card, &p);
    dlg->InitDialog();
    return *dlg;
  }
  std::string Text(int id) { return dlg->GetDlgItemText(id).str(); }
  std::string TaFile(const char* name, const char* text) {
    std::string path = TempPath(name);
    std::ofstream(path) << text;
    return path;
  }
  std::unique_ptr<D> dlg;
};

TEST_F(Editor, StartShowsTheSetAndWhatTheCardIs) {
  ParameterSet p;
  p.Samplerate = 6;
  p.Start = 5;
  p.Verstaerkung = 205;
  p.ESBLevel = 30;
  p.TaTablePointer = p.TaTable;
  p.TaLastIndex = 4;
  p.TaFileName = "tief.ta";
  D& d = Open(p, "[Card 1]\nVariant=ZORIX7F\nReg0x42E=0x12345\n");
  EXPECT_EQ(d.GetWindowText(), "Anzeige Meßparameter");
  for (int id : {D::IDC_RATE40, D::IDC_TAKT16, D::IDC_EINZELMESSUNG, D::IDC_BLENDENMESSUNG, D::IDC_UNIT_SAMPLES,
                 D::IDC_TA_ENABLE})
    EXPECT_TRUE(IsChecked(d, id)) << id;
  EXPECT_FALSE(IsChecked(d, D::IDC_RATE80));
  // The ESB delay shows the low 16 bits of 0x12345.
  const std::pair<int, const char*> shown[] = {
      {D::IDC_VERSTAERKUNG, "20.5"}, {D::IDC_ESB_LEVEL, "7"},   {D::IDC_ESB_DELAY, "9029"}, {D::IDC_STUETZSTELLEN, "5"},
      {D::IDC_TA_DATEI, "tief.ta"},  {D::IDC_VELOCITY, "5920"}, {D::IDC_AUFNAHME, "1600"}};
  for (auto [id, text] : shown) EXPECT_EQ(Text(id), text) << id;
}

TEST_F(Editor, OnAZorix7NeitherGateMeasurementNorEsbDelay) {
  ParameterSet p;
  p.Start = 5;
  D& d = Open(p, "[Card 1]\nVariant=ZORIX7\nReg0x42E=0x22\n");
  EXPECT_FALSE(IsChecked(d, D::IDC_BLENDENMESSUNG));
  EXPECT_FALSE(d.GetDlgItem(D::IDC_BLENDENMESSUNG)->isEnabled());
  EXPECT_EQ(Text(D::IDC_ESB_DELAY), "0");
  EXPECT_TRUE(zorix7sim::JournalOf("ReadRegister").empty());
  SetCheck(d, D::IDC_BLENDENMESSUNG, true);
  Click(d, IDOK);
  EXPECT_EQ(p.Start, 1);
}

TEST_F(Editor, ShotAndOkWriteBackCancelDoesNot) {
  ParameterSet p;
  D& shot = Open(p);
  SetEditText(shot, D::IDC_VERSTAERKUNG, "20.5");
  SetEditText(shot, D::IDC_VORLAUF, "13");  // in "Samples" taken as typed, without the grid
  Click(shot, IDOK);
  EXPECT_EQ(shot.ModalResult(), IDOK);
  EXPECT_TRUE(shot.Stored());
  EXPECT_EQ(p.Verstaerkung, 205);
  EXPECT_EQ(p.PKVorlauf, 13);

  D& ok = Open(p);
  SetEditText(ok, D::IDC_ESB_LEVEL, "30");
  Click(ok, D::IDC_STORE);
  EXPECT_EQ(ok.ModalResult(), IDCANCEL);
  EXPECT_TRUE(ok.Stored());
  EXPECT_EQ(p.ESBLevel, 120);

  D& cancel = Open(p);
  SetEditText(cancel, D::IDC_ESB_LEVEL, "1");
  Click(cancel, IDCANCEL);
  EXPECT_EQ(cancel.ModalResult(), IDCANCEL);
  EXPECT_FALSE(cancel.Stored());
  EXPECT_EQ(p.ESBLevel, 120);

  // Text that is no number keeps the editor open and the set as it was.
  D& bad = Open(p);
  SetEditText(bad, D::IDC_AUFNAHME, "viel");
  Click(bad, IDOK);
  EXPECT_FALSE(bad.IsEnded());
  EXPECT_EQ(p.Aufnahmelaenge, 1600);
  ASSERT_EQ(host.Boxes().size(), 1u);

  // Through the host, as a caller runs it.
  CAnzeigeVorgabenDlg modal(card, &p);
  QueueDialog<D>([](D& d) {
    SetEditText(d, D::IDC_FILTER, "9");
    return ScriptedUiHost::PressOk(d);
  });
  EXPECT_EQ(modal.DoModal(), IDOK);
  EXPECT_EQ(p.Filter, 9);
}

TEST_F(Editor, RadioGroupsUnitsAndSampleRates) {
  ParameterSet p;  // 40 MHz, 1600 samples
  D& d = Open(p);
  Click(d, D::IDC_UNIT_US);
  EXPECT_TRUE(IsChecked(d, D::IDC_UNIT_US));
  EXPECT_FALSE(IsChecked(d, D::IDC_UNIT_SAMPLES));
  EXPECT_EQ(Text(D::IDC_AUFNAHME), "40");
  Click(d, D::IDC_UNIT_MM);
  EXPECT_EQ(Text(D::IDC_AUFNAHME), "118.4");
  SetEditText(d, D::IDC_AUFNAHME, "59.2");  // 20 us
  Click(d, D::IDC_VOLL);
  EXPECT_TRUE(IsChecked(d, D::IDC_VOLL));
  EXPECT_FALSE(IsChecked(d, D::IDC_HF));
  EXPECT_EQ(Text(D::IDC_AUFNAHME), "59.2");  // a click keeps what was typed
  Click(d, D::IDC_PULSE0 + 5);
  Click(d, D::IDC_OUT_READY);
  SetCheck(d, D::IDC_OUT_LOW, true);
  Click(d, IDOK);
  EXPECT_EQ(p.Aufnahmelaenge, 800);
  EXPECT_EQ(p.Gleichrichtung, 3);
  EXPECT_EQ(p.Sendeimpulsbreite, 5);
  EXPECT_EQ(p.Triggerausgangsmode, 7);

  p.Samplerate = 0;
  D& r = Open(p);
  SetEditText(r, D::IDC_VORLAUF, "13");
  Click(r, D::IDC_RATE80);
  EXPECT_EQ(Text(D::IDC_VORLAUF), "16");
  SetEditText(r, D::IDC_VORLAUF, "11");
  Click(r, D::IDC_UNIT_SAMPLES);
  EXPECT_EQ(Text(D::IDC_VORLAUF), "8");
  SetCheck(r, D::IDC_TAKT16, true);
  Click(r, D::IDC_RATE20);
  EXPECT_TRUE(IsChecked(r, D::IDC_RATE20));
  EXPECT_FALSE(IsChecked(r, D::IDC_RATE80));
  EXPECT_TRUE(IsChecked(r, D::IDC_TAKT16));
  Click(r, D::IDC_STORE);
  EXPECT_EQ(p.Samplerate, 7);
}

TEST_F(Editor, LadenReadsInSamplePeriodsAndCancelDropsIt) {
  ParameterSet p;  // 40 MHz: 0.025 us, divisor 4
  const std::string file = TaFile("a.ta", "0.55 1.0 2.25 3\n");
  D& d = Open(p);
  host.QueueFile(CString(file));
  Click(d, D::IDC_LADEN);
  ASSERT_EQ(host.FileRequests().size(), 1u);
  EXPECT_EQ(host.FileRequests()[0].filter, "TA-Datei (*.ta)|*.ta||");
  EXPECT_EQ(Text(D::IDC_TA_DATEI), file);
  EXPECT_EQ(Text(D::IDC_TA_ABSTAND), "22");  // 0.55 / 0.025, before the grid
  EXPECT_EQ(Text(D::IDC_STUETZSTELLEN), "3");
  Click(d, IDCANCEL);
  EXPECT_TRUE(p.TaFileName.IsEmpty());
  EXPECT_EQ(p.TaTable[0], 0);

  D& ok = Open(p);
  SetEditText(ok, D::IDC_TA_DATEI, file.c_str());  // a name in the field is read without asking
  Click(ok, D::IDC_LADEN);
  Click(ok, D::IDC_STORE);
  EXPECT_EQ(host.FileRequests().size(), 1u);
  EXPECT_EQ(p.TaFileName, file.c_str());
  EXPECT_EQ(p.TAAbstand, 24);  // 22 + 2 on the grid of 4
  EXPECT_EQ(p.TaLastIndex, 2);
  EXPECT_EQ(p.TaTable[1], 22);
  EXPECT_EQ(p.TaTablePointer, nullptr);  // "Enable" was not set

  D& missing = Open(p);
  SetEditText(missing, D::IDC_TA_DATEI, TempPath("none.ta").c_str());
  Click(missing, D::IDC_LADEN);
  EXPECT_EQ(Text(D::IDC_TA_DATEI), "Datei nicht gefunden");
  SetEditText(missing, D::IDC_TA_DATEI, "");
  host.QueueFile(std::nullopt);
  Click(missing, D::IDC_LADEN);
  EXPECT_EQ(Text(D::IDC_TA_DATEI), "");
  Click(missing, D::IDC_STORE);
  EXPECT_EQ(p.TaTable[1], 22);  // a failed load changes no table
}

TEST_F(Editor, AnzeigenListsTheEditedTable) {
  ParameterSet p;
  p.Samplerate = 0;
  const std::string file = TaFile("b.ta", "0.5 1 2 3 4\n");
  D& d = Open(p);
  host.QueueFile(CString(file));
  std::vector<CString> lines;
  QueueDialog<CTAlist>([&](CTAlist& list) {
    lines = list.m_listTa.Lines();
    return ScriptedUiHost::PressOk(list);
  });
  Click(d, D::IDC_ANZEIGEN);
  EXPECT_THAT(lines, ElementsAre("  1:   1.0", "  2:   2.0", "  3:   3.0", "  4:   4.0"));
  EXPECT_EQ(Text(D::IDC_TA_DATEI), file);
  EXPECT_EQ(Text(D::IDC_STUETZSTELLEN), "4");
  EXPECT_EQ(Text(D::IDC_TA_ABSTAND), "40");
  SetCheck(d, D::IDC_TA_ENABLE, true);
  Click(d, IDOK);
  EXPECT_EQ(p.TaLastIndex, 3);
  EXPECT_EQ(p.TaTable[3], 40);
  EXPECT_EQ(p.TaTablePointer, p.TaTable);
}

TEST_F(Editor, EsbDelayIsTheEchoStartOfTheLastShot) {
  OpenBench();
  ParameterSet s;
  s.Gates.enable[0] = TRUE;
  DWORD error = 0;
  ASSERT_TRUE(PrepareSetOnCard(s, card, &error));
  EXPECT_EQ(ZORIX7ReadRegister(card, 0x42E), 0u);  // no shot yet
  ASSERT_TRUE(ZORIX7Start(card, &error));
  GateReadout gates{};
  ASSERT_TRUE(ZORIX7GetGates(card, &gates, &error));
  ASSERT_GT(gates.gate[0].t, 0);
  EXPECT_EQ(ZORIX7ReadRegister(card, 0x42E), static_cast<DWORD>(gates.gate[0].t));
  Open(s);
  EXPECT_EQ(Text(D::IDC_ESB_DELAY), std::to_string(gates.gate[0].t));
}

}  // namespace
