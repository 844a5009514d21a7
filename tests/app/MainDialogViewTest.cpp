#include <gmock/gmock.h>

#include <QApplication>
#include <QImage>
#include <QListWidget>
#include <QPushButton>

#include "AppTestSupport.h"

using ::testing::ElementsAre;

namespace {
class MainDialogView : public MainDialogFixture {};

TEST_F(MainDialogView, EveryControlCarriesItsIdAndCaption) {
  auto& d = Start();
  const std::pair<int, const char*> buttons[] = {
      {IDC_HOTPLUG, "Hot Plug"},       {IDC_PCICONFIG, "PCI Configuration"}, {IDC_PCIEEPROM, "PCI EEPROM"},
      {IDC_PCIOPERATION, "PCI  Operation"}, {IDC_KENNUNG, "Kennung"},       {IDC_LCA, "Steuer-LCA"},
      {IDC_DATALCA, "Daten-LCA"},      {IDC_DSP, "DSP"},                     {IDC_TEST, "Test"},
      {IDC_COMMAND, "Command"},        {IDC_BLENDEN, "Blenden"},             {IDC_SHOT, "Parameter/Shot"},
      {IDC_BLOCKMESSUNG, "Blockmessung"}, {IDC_RATE11, "Karte n Satz n"},    {IDC_RATEN1, "Karte n Sätze 1..n"},
      {IDC_RATE1N, "Karten 1..n Satz n"}, {IDC_TIEFENAUSGLEICH, "Tiefenausgleich"},
      {IDC_RANDOM_LIMITS, "Random Limits"}, {IDC_BUSBELEGUNG, "Busbelegung"}, {IDC_ZORIX9, "ZORIX9"},
      {IDC_SAVE, "Save"},              {IDC_CLEAR_LIST, "Clear List"},       {IDC_CHECK_ALL, "Check All"},
      {IDOK, "OK"}};
  for (auto [id, caption] : buttons) {
    auto* b = qobject_cast<QPushButton*>(d.GetDlgItem(id));
    ASSERT_NE(b, nullptr) << id;
    EXPECT_EQ(b->text().toStdString(), caption);
  }
  EXPECT_EQ(d.GetDlgItemText(IDC_STATUS_HOTPLUG), "Betriebsspannung ist EIN");
  EXPECT_EQ(d.GetDlgItemText(IDC_STATUS_SHOT), "Parameter setzen/Einzelmessung ausführen");
  EXPECT_EQ(d.GetDlgItemText(IDC_KARTEN_LABEL), "von 2 Karten");
  EXPECT_EQ(d.GetWindowText(), "ZORIX7 Check");
}

TEST_F(MainDialogView, RendersOffscreenWithTheResultListAsTheLargestArea) {
  auto& d = Start();
  for (int i = 0; i < 5; ++i) d.AppendResultLine(CString::Formatted("PCI Configuration: OK %d", i));
  d.show();
  QApplication::processEvents();
  QImage image = d.grab().toImage();
  EXPECT_GE(image.width(), 900);
  const char* out = std::getenv("ZORIX7_SCREENSHOT_DIR");
  if (out) image.save(QString(out) + "/main-dialog.png");
  auto* results = qobject_cast<QListWidget*>(d.GetDlgItem(IDC_RESULT_LIST));
  ASSERT_NE(results, nullptr);
  EXPECT_GT(results->height(), d.height() / 2);
  EXPECT_EQ(results->count(), 5);
  EXPECT_EQ(results->currentRow(), 4);
  d.hide();
}

TEST_F(MainDialogView, HeadlessSummaryListsBusAssignmentAndCards) {
  WriteConfig("[Bus]\nKanal1=Bus 2 Slot 5\nKanal2=Bus 3 Slot 7\n");
  auto& d = Start();
  EXPECT_THAT(d.CardSummaryLines(),
              ElementsAre("Kanal  1  (Bus 2  Slot 5)  Karte 1   ZORIX7F 1234",
                          "Kanal  2  (Bus 3  Slot 7)  Karte 2   ZORIX7F 1235",
                          "Karte 1: Bus 2 Slot 5 ZORIX7F Karte \"ZORIX7F 1234\"",
                          "Karte 2: Bus 3 Slot 7 ZORIX7F Karte \"ZORIX7F 1235\""));
}
}  // namespace
