#include <gmock/gmock.h>

#include "AppTestSupport.h"
#include "app/BusbelegungDlg.h"
#include "sim/CardModel.h"

using ::testing::ElementsAre;

namespace {
class Zorix9 : public MainDialogFixture {
 protected:
  // Opens the identification dialog on card/set, records what it showed, enters a number.
  void Enter(int card, int set, const char* number) {
    dlg->m_nCard = card;
    dlg->m_nParamSet = set;
    dlg->UpdateData(FALSE);
    host.QueueDialog([this, number](CDialog& d) {
      shown = d.GetDlgItemText(IDC_ZORIX9_KENNUNG);
      if (!number) return ScriptedUiHost::PressCancel(d);
      SetEditText(d, IDC_ZORIX9_KENNUNG, number);
      return ScriptedUiHost::PressOk(d);
    });
    Click(*dlg, IDC_ZORIX9);
  }
  CString shown;
};

TEST_F(Zorix9, DialogShowsTheNumberWithoutItsSign) {
  Start();
  Enter(2, 3, nullptr);
  EXPECT_EQ(shown, "23");
  EXPECT_EQ(dlg->m_ident[1][3], -23);
}

TEST_F(Zorix9, ThousandOrMoreRenumbersEverySetOfEveryCard) {
  Start();
  zorix7sim::ClearJournal();
  Enter(2, 5, "1234");
  EXPECT_EQ(dlg->m_ident[0][0], -1210);
  EXPECT_EQ(dlg->m_ident[1][7], -1227);
  EXPECT_EQ(zorix7sim::Card(2)->sets[7].zorix9Ident, -1227);
  EXPECT_EQ(zorix7sim::JournalOf("SetZORIX9").size(), 16u);
  EXPECT_TRUE(dlg->m_bZorix9Mode);
  Enter(1, 0, nullptr);
  EXPECT_EQ(shown, "1210");
}

TEST_F(Zorix9, BelowThousandChangesOnlyTheSelectedSet) {
  Start();
  zorix7sim::ClearJournal();
  Enter(1, 4, "999");
  EXPECT_EQ(dlg->m_ident[0][4], -999);
  EXPECT_EQ(dlg->m_ident[0][5], -15);
  EXPECT_EQ(dlg->m_ident[1][4], -24);
  auto calls = zorix7sim::JournalOf("SetZORIX9");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args, "set 4, ident -999");
}

TEST_F(Zorix9, ZeroSwitchesTheModeOffForCardsUpToTheSelectedOne) {
  Start();
  zorix7sim::ClearJournal();
  Enter(1, 2, "0");
  EXPECT_FALSE(dlg->m_bZorix9Mode);
  EXPECT_EQ(dlg->m_ident[0][2], -12);
  auto calls = zorix7sim::JournalOf("SetZORIX9");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].card, 1);
  EXPECT_EQ(calls[0].args, "set 0, ident 0");
}

TEST_F(Zorix9, CancelChangesNothingAndPlainCardsAreRefused) {
  Start("[Card 1]\nVariant=ZORIX7\nBus=1\nSlot=1\n");
  Click(*dlg, IDC_ZORIX9);
  EXPECT_THAT(BoxTexts(), ElementsAre("ZORIX9|Keine ZORIX7F!"));
  EXPECT_TRUE(host.Dialogs().empty());
}

TEST(BusView, LinesStopAtTheFirstChannelWithoutBus) {
  ChannelEntry channels[kMaxCards];
  channels[0] = {1, 2, 5, "ZORIX7F 1234"};
  channels[1] = {0, 0, 0, ""};
  channels[2] = {2, 3, 7, "ZORIX7F 1235"};
  EXPECT_THAT(BusAssignmentLines(channels), ElementsAre("Kanal  1  (Bus 2  Slot 5)  Karte 1   ZORIX7F 1234"));
}

TEST_F(Zorix9, BusViewDialogListsTheConfiguredChannels) {
  WriteConfig("[Bus]\nKanal1=Bus 3 Slot 7\nKanal2=Bus 6 Slot 6\nKanal3=Bus 2 Slot 5\n");
  Start();
  std::vector<CString> listed;
  host.QueueDialog([&listed](CDialog& d) {
    listed = static_cast<CBusbelegungDlg&>(d).m_list.Lines();
    return ScriptedUiHost::PressOk(d);
  });
  Click(*dlg, IDC_BUSBELEGUNG);
  EXPECT_THAT(listed, ElementsAre("Kanal  1  (Bus 3  Slot 7)  Karte 1   ZORIX7F 1235", "Kanal  2  (Bus 6  Slot 6)",
                                  "Kanal  3  (Bus 2  Slot 5)  Karte 2   ZORIX7F 1234"));
}
}  // namespace
