#include <gmock/gmock.h>

#include <QTemporaryDir>
#include <algorithm>
#include <fstream>

#include "params/RandomLimits.h"
#include "params/RandomLimitsDlg.h"
#include "params/TAlist.h"
#include "params/TaFile.h"
#include "support/DialogTestSupport.h"

using ::testing::ElementsAre;

namespace {

class Dialogs : public DialogFixture {
 protected:
  Dialogs() { host.SetStrict(true); }
  std::string TaFile(const char* text) {
    std::string path = dir.filePath("t.ta").toStdString();
    std::ofstream(path) << text;
    return path;
  }
  QTemporaryDir dir;
};

TEST_F(Dialogs, ListAsksOnceReadsAndShowsTheTable) {
  ParameterSet p;
  p.Samplerate = 0;
  const std::string file = TaFile("0.5 1.0 2.25 3\n");
  host.QueueFile(CString(file));
  CTAlist first(&p);
  first.InitDialog();
  EXPECT_EQ(first.GetWindowText(), "Tiefenausgleich");
  ASSERT_EQ(host.FileRequests().size(), 1u);
  EXPECT_EQ(host.FileRequests()[0].filter, "TA-Datei (*.ta)|*.ta|All Files (*.*)|*.*||");
  EXPECT_THAT(first.m_listTa.Lines(), ElementsAre("  1:   1.0", "  2:   2.2", "  3:   3.0"));
  EXPECT_EQ(first.GetDlgItemText(CTAlist::IDC_TA_STUETZSTELLEN), "3");
  EXPECT_EQ(first.GetDlgItemText(CTAlist::IDC_TA_ABSTAND), "0.5");
  EXPECT_EQ(p.TAAbstand, 40);
  EXPECT_EQ(p.TaLastIndex, 2);
  EXPECT_EQ(p.TaFileName, file.c_str());

  // Nothing is taken back on "OK".
  SetEditText(first, CTAlist::IDC_TA_STUETZSTELLEN, "9");
  Click(first, IDOK);
  EXPECT_EQ(first.ModalResult(), IDOK);
  EXPECT_EQ(p.TaLastIndex, 2);

  // The second opening shows the held table without asking.
  p.TaTable[0] = 11;
  CTAlist second(&p);
  second.InitDialog();
  EXPECT_EQ(host.FileRequests().size(), 1u);
  EXPECT_THAT(second.m_listTa.Lines(), ElementsAre("  1:   1.1", "  2:   2.2", "  3:   3.0"));
  EXPECT_EQ(second.GetDlgItemText(CTAlist::IDC_TA_ABSTAND), "0.5");
}

// "Save" writes the held table in the form the reader takes, so it reads back the same.
TEST_F(Dialogs, ListSavesTheHeldTableForTheReader) {
  ParameterSet p;
  p.Samplerate = 5;  // 0.2 us steps on a grid of 8
  p.TAAbstand = 24;
  p.TaFileName = "held.ta";
  p.TaLastIndex = 255;
  for (unsigned i = 0; i < kTaMaxPoints; ++i) p.TaTable[i] = static_cast<WORD>(i * 257 + 3);
  CTAlist list(&p);
  list.InitDialog();
  const std::string path = dir.filePath("saved.ta").toStdString();
  host.QueueFile(CString(path));
  Click(list, CTAlist::IDC_TA_SAVE);
  ASSERT_EQ(host.SaveRequests().size(), 1u);
  EXPECT_EQ(host.SaveRequests()[0].filter, "TA-Datei (*.ta)|*.ta|All Files (*.*)|*.*||");

  ParameterSet back;
  const SampleRateRow row = SampleRateRowFor(p.Samplerate);
  auto read = ReadTaFile(path, row.taStepUs, row.divisor);
  ASSERT_TRUE(read);
  StoreTaTable(back, *read);
  EXPECT_EQ(back.TAAbstand, 24);
  EXPECT_EQ(back.TaLastIndex, 255);
  EXPECT_TRUE(std::equal(std::begin(p.TaTable), std::end(p.TaTable), std::begin(back.TaTable)));
  EXPECT_EQ(TaFileText(p, row.taStepUs).substr(0, 13), "4.8\n0.3\n26.0\n");
}

TEST_F(Dialogs, ListWithAMissingFileOrNoChoiceKeepsTheTable) {
  ParameterSet p;
  p.TaTable[1] = 5;
  const std::string missing = dir.filePath("none.ta").toStdString();
  host.QueueFile(CString(missing));
  CTAlist list(&p);
  list.InitDialog();
  EXPECT_EQ(list.GetDlgItemText(CTAlist::IDC_TA_DATEI), "Datei nicht gefunden");
  EXPECT_EQ(p.TaFileName, missing.c_str());  // the next opening does not ask again
  EXPECT_EQ(p.TaLastIndex, 1);
  EXPECT_THAT(list.m_listTa.Lines(), ElementsAre("  1:   0.0", "  2:   0.5"));

  ParameterSet q;
  host.QueueFile(std::nullopt);
  CTAlist aborted(&q);
  aborted.InitDialog();
  EXPECT_EQ(aborted.GetDlgItemText(CTAlist::IDC_TA_DATEI), "");
  EXPECT_TRUE(q.TaFileName.IsEmpty());
}

TEST_F(Dialogs, LimitsEditEveryRowInItsWidthAndOnlyOkWritesBack) {
  RandomLimits l;
  SetRandomLimitDefaults(l);
  const auto& rows = CRandomLimitsDlg::Rows();
  ASSERT_EQ(rows.size(), 24u);
  EXPECT_STREQ(rows[1].caption, "Sendeimplusbreite");
  EXPECT_STREQ(rows[13].caption, "Aufnahme");
  EXPECT_STREQ(rows[23].caption, "Blende 4 Breite");
  const int delay = CRandomLimitsDlg::IDC_MAX_FIRST + 12, vorlauf = CRandomLimitsDlg::IDC_MAX_FIRST + 11;

  CRandomLimitsDlg cancel(&l.min, &l.max);
  cancel.InitDialog();
  EXPECT_EQ(cancel.GetWindowText(), "Random Limits");
  EXPECT_EQ(cancel.GetDlgItemText(CRandomLimitsDlg::IDC_MAX_FIRST + 13), "16000");
  EXPECT_EQ(cancel.GetDlgItemText(CRandomLimitsDlg::IDC_MIN_FIRST + 19), "100");  // gate 0 width
  SetEditText(cancel, delay, "100000");
  Click(cancel, IDCANCEL);
  EXPECT_EQ(l.max.Aufnahmedelay, 100u);

  CRandomLimitsDlg ok(&l.min, &l.max);
  ok.InitDialog();
  SetEditText(ok, delay, "100000");  // 32 bits
  SetEditText(ok, CRandomLimitsDlg::IDC_MIN_FIRST + 9, "3");
  SetEditText(ok, CRandomLimitsDlg::IDC_MAX_FIRST + 23, "4000");
  Click(ok, IDOK);
  EXPECT_EQ(ok.ModalResult(), IDOK);
  EXPECT_EQ(l.max.Aufnahmedelay, 100000u);
  EXPECT_EQ(l.min.Faktor, 3);
  EXPECT_EQ(l.max.Gates.gate[4].end, 4000u);

  CRandomLimitsDlg narrow(&l.min, &l.max);
  narrow.InitDialog();
  SetEditText(narrow, vorlauf, "70000");  // 16 bits: refused, nothing written
  SetEditText(narrow, delay, "5");
  Click(narrow, IDOK);
  EXPECT_FALSE(narrow.IsEnded());
  EXPECT_EQ(l.max.Aufnahmedelay, 100000u);
  ASSERT_EQ(host.Boxes().size(), 1u);
}

}  // namespace
