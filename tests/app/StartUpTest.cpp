#include <gmock/gmock.h>

#include "AppTestSupport.h"
#include "sim/CardModel.h"

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {
DWORD BusOf(HZORIX7 h) {
  DWORD bus = 0, slot = 0, error = 0;
  ZORIX7GetCardPosition(h, &bus, &slot, &error);
  return bus;
}

class StartUp : public MainDialogFixture {};

TEST_F(StartUp, GapInCardNumbersIsReportedAndTheCardsFoundAreUsed) {
  auto& d = Start("[Card 1]\nBus=2\nSlot=5\n[Card 3]\nBus=4\nSlot=1\n");
  EXPECT_THAT(BoxTexts(), ElementsAre("ZORIX7Open|2 Karten -> 3 Devices"));
  EXPECT_EQ(d.m_nCards, 2u);
  EXPECT_NE(d.m_hCard[0], 0u);
  EXPECT_NE(d.m_hCard[1], 0u);
  EXPECT_NE(d.m_hCard[0], d.m_hCard[1]);
  EXPECT_FALSE(d.IsEnded());
}

TEST_F(StartUp, NoCardEndsTheProgram) {
  auto& d = Start("; no cards on this bench\n");
  EXPECT_THAT(BoxTexts(), ElementsAre("Program Cancel|Treiber ZORIX7.sys ist nicht aktiv!"));
  EXPECT_TRUE(d.IsEnded());
  EXPECT_EQ(d.ModalResult(), 0);

  // A bench the library cannot use: its reason stands below the message.
  host.Clear();
  zorix7sim::LoadBenchText("[Card 1]\nVariant=ZORIX8\n", "broken.ini");
  StartOnLoadedBench();
  ASSERT_EQ(host.Boxes().size(), 1u);
  EXPECT_THAT(host.Boxes()[0].text.str(),
              ::testing::StartsWith("Treiber ZORIX7.sys ist nicht aktiv!\n\nBench file \"broken.ini\", line 2: "));
}

TEST_F(StartUp, CardsAreNumberedByChannelOrder) {
  WriteConfig("[Bus]\nKanal1=Bus 3 Slot 7\nKanal2=Bus 2 Slot 5\n");
  auto& d = Start();
  EXPECT_EQ(BusOf(d.m_hCard[0]), 3u);
  EXPECT_EQ(BusOf(d.m_hCard[1]), 2u);
  EXPECT_EQ(d.m_channel[0].nCard, 1);
  EXPECT_EQ(d.m_channel[0].strKonfig, "ZORIX7F 1235");
  EXPECT_EQ(d.m_channel[1].nCard, 2);
  EXPECT_EQ(d.m_channel[1].strKonfig, "ZORIX7F 1234");
}

TEST_F(StartUp, ChannelNamingTheSecondCardGivesItNumberOneAndKeepsTheOther) {
  WriteConfig("[Bus]\nKanal1=Bus 3 Slot 7\n");
  auto& d = Start();
  ASSERT_EQ(d.m_nCards, 2u);
  EXPECT_EQ(BusOf(d.m_hCard[0]), 3u);
  EXPECT_EQ(BusOf(d.m_hCard[1]), 2u);
}

TEST_F(StartUp, WithoutMatchingChannelsCardsKeepOpeningOrder) {
  WriteConfig("[Bus]\nKanal1=Bus 9 Slot 9\n");
  auto& d = Start();
  EXPECT_EQ(BusOf(d.m_hCard[0]), 2u);
  EXPECT_EQ(BusOf(d.m_hCard[1]), 3u);
  EXPECT_EQ(d.m_channel[0].nCard, 1);
  EXPECT_EQ(d.m_channel[0].nBus, 9);
}

TEST_F(StartUp, StoredCardNumberIsClampedAndTypedZeroBecomesOne) {
  WriteConfig("[Init]\nKarte=5\n");
  auto& d = Start();
  EXPECT_EQ(d.m_nCard, 2u);
  EXPECT_EQ(d.GetDlgItemText(IDC_KARTE), "2");
  SetEditText(d, IDC_KARTE, "0");
  d.OnKillFocusKarte();
  EXPECT_EQ(d.m_nCard, 1u);
  EXPECT_EQ(d.GetDlgItemText(IDC_KARTE), "1");
  EXPECT_EQ(d.m_strKarten, "von 2 Karten");
}

TEST_F(StartUp, PlainCardForcesSetZeroAndSwitchesZorix9Off) {
  WriteConfig("[Init]\nParametersatz=5\nZORIX9=yes\n");
  auto& d = Start("[Card 1]\nBus=2\nSlot=5\n[Card 2]\nVariant=ZORIX7\nBus=3\nSlot=7\n");
  EXPECT_EQ(d.m_nParamSet, 0);
  EXPECT_FALSE(d.m_bZorix9Mode);
  // Only the ZORIX7F card hears of identifications, and outside ZORIX9 mode they are 0.
  auto calls = zorix7sim::JournalOf("SetZORIX9");
  ASSERT_EQ(calls.size(), 8u);
  for (const auto& c : calls) {
    EXPECT_EQ(c.card, 1);
    EXPECT_THAT(c.args, ::testing::EndsWith("ident 0"));
  }
}

TEST_F(StartUp, WarmUpFailureIsReportedPerCardAndStartUpGoesOn) {
  EXPECT_TRUE(zorix7sim::LoadBenchText(kTwoCards));
  zorix7sim::AddFault({"WarmUp", 2, 0, 0x1234});
  StartOnLoadedBench();
  EXPECT_THAT(BoxTexts(), ElementsAre("Init|WarmUp Karte 2 Error 1234"));
  EXPECT_EQ(zorix7sim::Card(2)->sets[0].zorix9Ident, -20);
}

TEST_F(StartUp, UnreadablePositionStopsThePositionSearchButKeepsTheCards) {
  EXPECT_TRUE(zorix7sim::LoadBenchText(kTwoCards));
  zorix7sim::AddFault({"GetCardPosition", 1, 1, 0xBAD});
  WriteConfig("[Bus]\nKanal1=Bus 3 Slot 7\n");
  StartOnLoadedBench();
  EXPECT_THAT(BoxTexts(), ElementsAre("Init|GetCardPosition 1 Error BAD"));
  EXPECT_EQ(zorix7sim::JournalOf("GetCardPosition").size(), 1u);
  EXPECT_EQ(dlg->m_nCards, 2u);
  EXPECT_NE(dlg->m_hCard[0], 0u);
  EXPECT_NE(dlg->m_hCard[1], 0u);
}

TEST_F(StartUp, OkClosesEveryCardAndReportsCloseFailures) {
  auto& d = Start();
  zorix7sim::AddFault({"Close", 2, 0, 1});
  d.OnOK();
  EXPECT_THAT(BoxTexts(), ElementsAre("Close|Karte 2 Close Error"));
  EXPECT_EQ(zorix7sim::JournalOf("Close").size(), 2u);
  EXPECT_EQ(d.ModalResult(), IDOK);
  EXPECT_EQ(d.m_pDataBuffer, nullptr);
}

TEST_F(StartUp, CloseBoxClosesTheCardsWithoutChecking) {
  auto& d = Start();
  zorix7sim::AddFault({"Close", 0, 0, 1});
  d.OnCancel();
  EXPECT_THAT(BoxTexts(), IsEmpty());
  EXPECT_EQ(zorix7sim::JournalOf("Close").size(), 2u);
  dlg.reset();
  EXPECT_EQ(zorix7sim::JournalOf("Close").size(), 2u);
}

TEST_F(StartUp, TimeOutGoesToTheCardsUpToTheSelectedOneOnlyWhenEdited) {
  auto& d = Start();
  EXPECT_THAT(zorix7sim::JournalOf("SetDataTimeOut"), IsEmpty());
  EXPECT_EQ(d.GetDlgItemText(IDC_TIMEOUT), "10");
  d.m_nCard = 1;
  d.UpdateData(FALSE);
  SetEditText(d, IDC_TIMEOUT, "25");
  d.OnChangeTimeOut();
  auto calls = zorix7sim::JournalOf("SetDataTimeOut");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].card, 1);
  EXPECT_EQ(calls[0].args, "25 s");
  EXPECT_EQ(d.m_nTimeOut, 25u);
}

TEST_F(StartUp, HotPlugTogglesThePowerFlag) {
  auto& d = Start();
  EXPECT_TRUE(d.m_bPower);
  Click(d, IDC_HOTPLUG);
  EXPECT_FALSE(d.m_bPower);
  d.EnsurePowerOn(TRUE);
  EXPECT_TRUE(d.m_bPower);
}

TEST_F(StartUp, ClearListEmptiesTheResultsAndTheNextLineIsFirst) {
  auto& d = Start();
  d.AppendResultLine("a");
  d.AppendResultLine("b");
  Click(d, IDC_CLEAR_LIST);
  EXPECT_EQ(d.m_listResult.GetCount(), 0);
  d.AppendResultLine("c");
  EXPECT_EQ(d.m_listResult.GetText(0), "c");
  EXPECT_EQ(d.m_listResult.GetCurSel(), 0);
}
}  // namespace
