#include <gmock/gmock.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "AppTestSupport.h"
#include "WindowGallery.h"

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

// Laid out on a screen (less a title bar): every control lies inside the window (or inside
// the scroll area that holds it), every button is in view without scrolling, no two controls
// overlap.
void ExpectFitsScreen(QWidget& w, QSize screen) {
  const QSize available(screen.width(), screen.height() - 40);
  EXPECT_LE(w.minimumSizeHint().width(), available.width());
  EXPECT_LE(w.minimumSizeHint().height(), available.height());
  w.resize(w.sizeHint().expandedTo(w.minimumSizeHint()).boundedTo(available));
  w.show();
  QApplication::processEvents();
  std::vector<std::tuple<QWidget*, int, QRect>> controls;  // frame, id, rectangle in it
  for (QWidget* c : w.findChildren<QWidget*>()) {
    if (!c->property("ctrlId").isValid() || !c->isVisible()) continue;
    const int id = c->property("ctrlId").toInt();
    QWidget* frame = &w;
    bool grouped = false;  // a button of a group of fields may scroll with its fields
    for (QWidget* p = c->parentWidget(); p && p != &w; p = p->parentWidget()) {
      if (auto* area = qobject_cast<QScrollArea*>(p)) frame = area->widget();
      grouped |= qobject_cast<QGroupBox*>(p) != nullptr;
    }
    const QRect r(c->mapTo(frame, QPoint(0, 0)), c->size());
    EXPECT_TRUE(frame->rect().contains(r)) << "control " << id << " clipped";
    if (qobject_cast<QPushButton*>(c) && !grouped) {
      EXPECT_EQ(frame, &w) << "button " << id << " needs scrolling";
    }
    controls.emplace_back(frame, id, r);
  }
  for (size_t i = 0; i < controls.size(); ++i)
    for (size_t j = i + 1; j < controls.size(); ++j)
      if (std::get<0>(controls[i]) == std::get<0>(controls[j])) {
        EXPECT_FALSE(std::get<2>(controls[i]).intersects(std::get<2>(controls[j])))
            << "controls " << std::get<1>(controls[i]) << " and " << std::get<1>(controls[j]) << " overlap";
      }
}

TEST_F(MainDialogView, FitsSmallScreensWithoutClippingOrOverlap) {
  auto& d = Start();
  for (int i = 0; i < 5; ++i) d.AppendResultLine(CString::Formatted("PCI Configuration: OK %d", i));
  for (QSize screen : {QSize(1280, 720), QSize(1024, 768)}) {
    SCOPED_TRACE(screen.width());
    ExpectFitsScreen(d, screen);
    auto* results = qobject_cast<QListWidget*>(d.GetDlgItem(IDC_RESULT_LIST));
    EXPECT_GE(results->height(), 5 * results->fontMetrics().height());
    d.hide();
  }
  auto* number = qobject_cast<QLineEdit*>(d.GetDlgItem(IDC_ZYKLEN));
  EXPECT_GE(number->width(), number->fontMetrics().horizontalAdvance("4294967295"));
}

// Dialog classes declared under src/ that derive from CDialog and are no base of another one.
std::set<std::string> ConcreteDialogClasses() {
  std::map<std::string, std::string> base;
  const std::regex decl(R"(class\s+(C\w+)\s*(?:final\s*)?:\s*public\s+(C\w+))");
  for (const auto& entry : std::filesystem::recursive_directory_iterator(ZORIX7_SRC_DIR)) {
    if (entry.path().extension() != ".h") continue;
    std::ifstream in(entry.path());
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    for (std::sregex_iterator m(text.begin(), text.end(), decl), e; m != e; ++m) base[(*m)[1]] = (*m)[2];
  }
  auto isDialog = [&](std::string c) {
    while (base.count(c)) c = base[c];
    return c == "CDialog";
  };
  std::set<std::string> dialogs;
  for (const auto& [c, b] : base)
    if (isDialog(c)) dialogs.insert(c);
  for (const auto& [c, b] : base) dialogs.erase(b);
  return dialogs;
}

// Every window of the program fits the smallest bench screen; a dialog class the gallery
// misses fails.
TEST_F(MainDialogView, EveryDialogFitsTheSmallestBenchScreen) {
  auto& d = Start();
  host.SetStrict(false);  // a dialog may ask for a file or a card while it starts
  WindowGallery gallery(d);
  std::set<std::string> seen = {"CZORIX7CheckDlg"};
  for (const auto& [name, make] : gallery.Windows()) {
    SCOPED_TRACE(name);
    std::unique_ptr<CDialog> dlg = make();
    dlg->InitDialog();
    seen.insert(ScriptedUiHost::DialogClassName(*dlg));
    ExpectFitsScreen(*dlg, QSize(1024, 768));
    dlg->hide();
  }
  for (const std::string& c : ConcreteDialogClasses()) EXPECT_TRUE(seen.count(c)) << c << " is not laid out here";
  host.Clear();
}

// Colours come from the verdict, never from the wording; the menu saves and copies the list
// with a header and each line's time of day.
TEST_F(MainDialogView, ResultListShowsVerdictsExplainsErrorWordsAndSavesAsText) {
  auto& d = Start();
  d.AppendResultLine("Kennung: OK", Verdict::Pass);
  d.AppendResultLine("Blockmessung Kanal 1: Fehler B: E0000007 OK", Verdict::Fail);
  d.AppendResultLine("DSP-Programm: keine Datei", Verdict::Skipped);
  d.AppendResultLine("GetCardPosition 1 Error E0000123", Verdict::Info);  // a word the library cannot explain
  auto* list = qobject_cast<QListWidget*>(d.GetDlgItem(IDC_RESULT_LIST));
  const QColor grey(110, 110, 110), colours[] = {QBrush().color(), QColor(200, 0, 0), grey, grey};
  const char* tips[] = {"", "E0000007: keine Daten vorhanden", "", ""};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(list->item(i)->foreground().color(), colours[i]) << i;
    EXPECT_EQ(list->item(i)->toolTip().toStdString(), tips[i]);
  }

  QTemporaryDir out;
  host.QueueFile(CString(out.filePath("liste.txt").toStdString()));
  ASSERT_EQ(list->actions().size(), 2);
  EXPECT_EQ(list->actions()[1]->text(), "Kopieren");
  list->actions()[0]->trigger();  // "Liste speichern…"
  QFile file(out.filePath("liste.txt"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const std::string text = file.readAll().toStdString();
  EXPECT_THAT(text, ::testing::ContainsRegex("^ZORIX7Check .*\nKonfiguration: " + ConfigPath() +
                                             "\n.*\nKarte 2: Bus 3 Slot 7 ZORIX7F Karte \"ZORIX7F 1235\"\n"
                                             "Gespeichert: 20[0-9-]+ [0-9:]+\n\n"
                                             "[0-2][0-9]:[0-5][0-9]:[0-5][0-9]  OK +Kennung: OK\n"
                                             "[0-9:]{8}  FEHLER +Blockmessung Kanal 1: Fehler B: E0000007 OK\n"
                                             "[0-9:]{8}  übersprungen  DSP-Programm: keine Datei\n"
                                             "[0-9:]{8} +GetCardPosition 1 Error E0000123\n$"));
  list->actions()[1]->trigger();
  EXPECT_EQ(QApplication::clipboard()->text().section("\n\n", 1), QString::fromStdString(text).section("\n\n", 1));
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
