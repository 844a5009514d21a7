#include <gmock/gmock.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
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

// Laid out on a laptop screen (less a title bar), every control lies inside the window and no
// two overlap; long lists still show a useful number of lines.
TEST_F(MainDialogView, FitsSmallScreensWithoutClippingOrOverlap) {
  auto& d = Start();
  for (int i = 0; i < 5; ++i) d.AppendResultLine(CString::Formatted("PCI Configuration: OK %d", i));
  for (QSize screen : {QSize(1280, 720), QSize(1024, 768)}) {
    SCOPED_TRACE(screen.width());
    QSize available(screen.width(), screen.height() - 40);
    EXPECT_LE(d.minimumSizeHint().width(), available.width());
    EXPECT_LE(d.minimumSizeHint().height(), available.height());
    d.resize(available);
    d.show();
    QApplication::processEvents();
    std::vector<std::pair<int, QRect>> controls;
    for (QWidget* w : d.findChildren<QWidget*>()) {
      if (!w->property("ctrlId").isValid() || !w->isVisible()) continue;
      QRect r(w->mapTo(&d, QPoint(0, 0)), w->size());
      EXPECT_TRUE(d.rect().contains(r)) << "control " << w->property("ctrlId").toInt() << " clipped";
      controls.emplace_back(w->property("ctrlId").toInt(), r);
    }
    for (size_t i = 0; i < controls.size(); ++i)
      for (size_t j = i + 1; j < controls.size(); ++j)
        EXPECT_FALSE(controls[i].second.intersects(controls[j].second))
            << "controls " << controls[i].first << " and " << controls[j].first << " overlap";
    auto* results = qobject_cast<QListWidget*>(d.GetDlgItem(IDC_RESULT_LIST));
    EXPECT_GE(results->height(), 5 * results->fontMetrics().height());
    if (const char* out = std::getenv("ZORIX7_SCREENSHOT_DIR"))
      d.grab().toImage().save(QString("%1/main-dialog-%2.png").arg(out).arg(screen.width()));
    d.hide();
  }
  auto* number = qobject_cast<QLineEdit*>(d.GetDlgItem(IDC_ZYKLEN));
  EXPECT_GE(number->width(), number->fontMetrics().horizontalAdvance("4294967295"));
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
