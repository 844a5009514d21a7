#include <gmock/gmock.h>

#include "AppTestSupport.h"
#include "record/Session.h"
#include "sim/Replay.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {
// A test dialog whose check and modal run are observable.
class FakeTestDlg : public CTestDialog {
 public:
  FakeTestDlg(HZORIX7 card, int* checks, int* modals, bool further, bool pass)
      : CTestDialog(further ? 999 : 998), m_card(card), m_checks(checks), m_modals(modals), m_pass(pass) {}
  // The verdict is the BOOL, whatever the text says.
  BOOL Check(CString& result) override {
    ++*m_checks;
    result = CString::Formatted("OK 0x%X", m_card);
    return m_pass;
  }
  std::vector<ResultLine> FurtherLines() const override {
    if (TemplateId() == 999) return {{"further", Verdict::Fail}};
    return {};
  }
  BOOL OnInitDialog() override {
    ++*m_modals;
    return CTestDialog::OnInitDialog();
  }

 private:
  HZORIX7 m_card;
  int* m_checks;
  int* m_modals;
  bool m_pass;
};

class TestButtons : public MainDialogFixture {
 protected:
  // The column's own dialogs are switched off, so only the fakes below run.
  CZORIX7CheckDlg& Start(const char* bench = kTwoCards) {
    auto& d = MainDialogFixture::Start(bench);
    for (const auto& row : TestColumn())
      if (!row.handler) d.SetTestFactory(row.buttonId, nullptr);
    return d;
  }
  // Only the self-test adds lines of its own after its result line.
  void Register(int buttonId) {
    dlg->SetTestFactory(buttonId, [this, buttonId](CZORIX7CheckDlg& d) {
      return std::make_unique<FakeTestDlg>(d.SelectedCard(), &checks, &modals, buttonId == IDC_TEST,
                                           buttonId != IDC_DSP);
    });
  }
  int checks = 0;
  int modals = 0;
};

TEST_F(TestButtons, ButtonsWithoutTheirDialogAreDisabled) {
  auto& d = Start();
  EXPECT_FALSE(d.GetDlgItem(IDC_PCICONFIG)->isEnabled());
  Register(IDC_PCICONFIG);
  EXPECT_TRUE(d.GetDlgItem(IDC_PCICONFIG)->isEnabled());
  // Buttons outside the column follow the same rule.
  EXPECT_TRUE(d.GetDlgItem(IDC_BUSBELEGUNG)->isEnabled());
  EXPECT_EQ(d.GetDlgItem(IDC_RATE11)->isEnabled(), d.IsButtonLive(IDC_RATE11));
  EXPECT_TRUE(d.GetDlgItem(IDC_HOTPLUG)->isEnabled());
}

TEST_F(TestButtons, AutomaticModeRunsTheCheckOnTheSelectedCardAndSelectsTheLine) {
  auto& d = Start();
  Register(IDC_PCICONFIG);
  d.AppendResultLine("earlier");
  SetEditText(d, IDC_KARTE, "2");
  SetCheck(d, IDC_CHECK_PCICONFIG, true);
  Click(d, IDC_PCICONFIG);
  EXPECT_EQ(checks, 1);
  EXPECT_EQ(modals, 0);
  ASSERT_EQ(d.m_listResult.GetCount(), 2);
  EXPECT_EQ(d.m_listResult.GetText(1), CString::Formatted("PCI Configuration: OK 0x%X", d.m_hCard[1]));
  EXPECT_EQ(d.m_listResult.GetCurSel(), 1);
}

TEST_F(TestButtons, TestButtonSwitchesThePowerOnFirst) {
  auto& d = Start();
  Register(IDC_PCICONFIG);
  Click(d, IDC_HOTPLUG);
  ASSERT_FALSE(d.m_bPower);
  Click(d, IDC_PCICONFIG);
  EXPECT_TRUE(d.m_bPower);
  EXPECT_EQ(checks, 1);
}

TEST_F(TestButtons, ClearCheckBoxRunsTheDialogAndWritesNoLine) {
  auto& d = Start();
  Register(IDC_COMMAND);
  SetCheck(d, IDC_CHECK_COMMAND, false);
  Click(d, IDC_COMMAND);
  EXPECT_EQ(modals, 1);
  EXPECT_EQ(checks, 0);
  EXPECT_EQ(d.m_listResult.GetCount(), 0);
  ASSERT_EQ(host.Dialogs().size(), 1u);
  EXPECT_EQ(host.Dialogs()[0].className, "(anonymous namespace)::FakeTestDlg");
}

TEST_F(TestButtons, EachButtonWritesItsOwnPrefix) {
  auto& d = Start();
  for (int id : {IDC_PCIOPERATION, IDC_PCIEEPROM, IDC_DSP, IDC_TEST}) Register(id);
  Click(d, IDC_PCIOPERATION);
  Click(d, IDC_PCIEEPROM);
  Click(d, IDC_DSP);
  Click(d, IDC_TEST);
  const CString ok = CString::Formatted("OK 0x%X", d.m_hCard[0]);
  EXPECT_THAT(d.m_listResult.Lines(),
              ElementsAre("PCI Operation: " + ok, "PCI EEPROM: " + ok, "DSP-Programm: " + ok,
                          "Selbsttest: " + ok, "further"));
  // Each line keeps its check's verdict: the DSP check said FALSE although its text reads "OK".
  // PCI Operation touches no card and the self-test's own line only heads its tests: both inform.
  std::vector<Verdict> verdicts;
  for (const auto& line : d.ResultLines()) verdicts.push_back(line.verdict);
  EXPECT_THAT(verdicts, ElementsAre(Verdict::Info, Verdict::Pass, Verdict::Fail, Verdict::Info, Verdict::Fail));
  Click(d, IDC_CLEAR_LIST);
  EXPECT_TRUE(d.ResultLines().empty());
}

TEST_F(TestButtons, ZorixFOnlyButtonsRefusePlainCards) {
  auto& d = Start("[Card 1]\nVariant=ZORIX7\nBus=2\nSlot=5\n");
  Register(IDC_LCA);
  SetCheck(d, IDC_CHECK_LCA, false);
  Click(d, IDC_LCA);
  EXPECT_THAT(BoxTexts(), ElementsAre("Steuer-LCA|Keine ZORIX7F!"));
  EXPECT_EQ(modals, 0);
}

TEST_F(TestButtons, CheckAllRunsTheCheckedAvailableTestsInColumnOrder) {
  auto& d = Start();
  Register(IDC_TEST);
  Register(IDC_PCICONFIG);
  SetCheck(d, IDC_CHECK_PCICONFIG, false);
  for (int id : {IDC_CHECK_SHOT, IDC_CHECK_BLOCKMESSUNG}) SetCheck(d, id, false);
  Click(d, IDC_CHECK_ALL);
  ASSERT_EQ(d.m_listResult.GetCount(), 3);
  EXPECT_THAT(d.m_listResult.GetText(0).str(), ::testing::StartsWith("Selbsttest: "));
  // The summary counts verdicts, not texts: the self-test's further line failed, and counts once.
  EXPECT_EQ(d.m_listResult.GetText(2), "Alle Tests: 0 OK, 1 Fehler");
  EXPECT_EQ(checks, 1);
}
}  // namespace

TEST_F(TestButtons, WhatTheCardLibraryReportsMeanwhileIsListedButIsNoResult) {
  auto& d = MainDialogFixture::Start();  // the column's own PCI check
  const std::string empty = dir.filePath("empty.zx7").toStdString();
  session::SessionWriter writer;
  std::string why;
  ASSERT_TRUE(writer.Open(empty, why)) << why;
  writer.Close();
  ASSERT_TRUE(zorix7sim::StartReplay(empty, true));
  SetCheck(d, IDC_CHECK_PCICONFIG, true);
  Click(d, IDC_PCICONFIG);
  zorix7sim::StopReplay();
  ASSERT_EQ(d.m_listResult.GetCount(), 2);
  EXPECT_EQ(d.m_listResult.GetText(0), "PCI Configuration: PCI-Konfiguration nicht lesbar");
  EXPECT_THAT(d.m_listResult.GetText(1).c_str(), testing::HasSubstr("weicht ab bei Aufruf 1: die Aufzeichnung ist zu Ende"));
  EXPECT_EQ(d.ResultLines().size(), 1u);
}
