#include <gmock/gmock.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QListWidget>
#include <cstdio>
#include <set>

#include "AppTestSupport.h"
#include "snapshot/SnapshotCommand.h"
#include "snapshot/SnapshotDiff.h"
#include "snapshot/SnapshotDiffDlg.h"

using namespace snapshot;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {
// Card 2 has a stuck EEPROM byte that holds another "Max Latency", another S/E bit in the
// control LCA's analogue register and another serial number.
constexpr const char* kTwoDifferentCards =
    "[Card 1]\nBus=2\nSlot=5\nKarte=ZORIX7F 1234\n"
    "[Card 2]\nBus=2\nSlot=5\nKarte=ZORIX7F 1235\nEeprom.0x7F=20\nStuckEeprom=0x7F\nReg0x406=0x0100\n";

class Snapshots : public MainDialogFixture {
 protected:
  Snapshot Take(std::initializer_list<int> numbers) {
    Snapshot s;
    s.program = "test";
    for (int n : numbers) {
      HZORIX7 h = ZORIX7Open(n);
      EXPECT_NE(h, 0u);
      s.cards.push_back(TakeCardState(h, n));
      ZORIX7Close(h);
    }
    return s;
  }
  std::string Save(const Snapshot& s, const char* name) {
    std::string path = dir.filePath(name).toStdString(), error;
    EXPECT_TRUE(WriteSnapshotFile(s, path, error)) << error;
    return path;
  }
  // Runs --diff; the printed text lands in `printed`.
  int Diff(const std::string& a, std::optional<std::string> b, int card, bool all) {
    char* buffer = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&buffer, &size);
    int status = RunDiff(a, b, card, all, "test", out);
    std::fclose(out);
    printed.assign(buffer, size);
    std::free(buffer);
    return status;
  }
  static std::vector<std::string> Names(const std::vector<Difference>& d) {
    std::vector<std::string> names;
    for (const Difference& each : d) names.push_back(std::string(AreaName(each.area)) + "/" + each.name);
    return names;
  }
  std::string printed;
};
}  // namespace

// Default bench: written, read back and compared with itself, and taken twice.
TEST_F(Snapshots, SameCardsShowNoDifference) {
  ASSERT_TRUE(zorix7sim::LoadBenchText(kTwoCards));
  const Snapshot first = Take({1, 2});
  ASSERT_EQ(first.cards.size(), 2u);
  for (Area area : kAreas)
    EXPECT_TRUE(std::any_of(first.cards[0].fields.begin(), first.cards[0].fields.end(), [area](const Entry& e) {
      return e.area == area;
    })) << AreaName(area);
  const std::string path = Save(first, "a.json");
  std::string error;
  auto back = ReadSnapshotFile(path, error);
  ASSERT_TRUE(back) << error;
  EXPECT_EQ(ToJson(*back), ToJson(first));
  EXPECT_EQ(Diff(path, path, 0, true), kEqual) << printed;
  EXPECT_THAT(printed, HasSubstr("Keine Unterschiede"));
  EXPECT_EQ(Diff(path, Save(Take({1, 2}), "b.json"), 0, false), kEqual) << printed;
  EXPECT_EQ(Diff(path, std::nullopt, 2, false), kEqual) << printed;  // the live card
}

TEST_F(Snapshots, DiffNamesExactlyTheFieldsThatDiffer) {
  ASSERT_TRUE(zorix7sim::LoadBenchText(kTwoDifferentCards));
  const Snapshot s = Take({1, 2});
  EXPECT_THAT(Names(Compare(s.cards[0], s.cards[1], false)),
              ElementsAre("PCI-EEPROM/Max Latency", "Steuer-LCA/S/E"));
  EXPECT_THAT(Names(Compare(s.cards[0], s.cards[1], true)),
              ElementsAre("PCI-EEPROM/Max Latency", "Steuer-LCA/S/E", "Kennung/Karte"));

  const std::string a = Save(Take({1}), "1.json"), b = Save(Take({2}), "2.json");
  EXPECT_EQ(Diff(a, b, 0, false), kDiffer);
  EXPECT_THAT(printed, HasSubstr("PCI-EEPROM\n  Max Latency: 00 | 20\n"));
  EXPECT_THAT(printed, HasSubstr("Steuer-LCA\n  S/E: aus | ein (roh 0 | 1)\n"));
  EXPECT_THAT(printed, Not(HasSubstr("1235")));
  EXPECT_EQ(Diff(a, b, 0, true), kDiffer);
  EXPECT_THAT(printed, HasSubstr("  Karte: ZORIX7F 1234 | ZORIX7F 1235 (roh 5A4F"));
  EXPECT_EQ(Diff(a, std::nullopt, 2, false), kDiffer);  // against the live card
  EXPECT_THAT(printed, HasSubstr("Unterschiede: 2"));
}

TEST_F(Snapshots, TakingOneOnlyReads) {
  ASSERT_TRUE(zorix7sim::LoadBenchText(kTwoCards));
  HZORIX7 h = ZORIX7Open(1);
  zorix7sim::ClearJournal();
  TakeCardState(h, 1);
  const std::set<std::string> reads = {"ZORIX7GetCardPosition",   "ZORIX7IsVersion3",        "ZORIX7ReadConfigData",
                                       "ZORIX7GetKonfig",         "ZORIX7ReadRegister",      "ZORIX7ReadPCIEEPROMbyte",
                                       "ZORIX7ReadPCIEEPROMword", "ZORIX7ReadPCIEEPROMdword"};
  std::set<std::string> called;
  for (const auto& entry : zorix7sim::Journal()) called.insert(entry.call);
  EXPECT_EQ(called, reads);
  ZORIX7Close(h);
}

TEST_F(Snapshots, FilesOfAnotherKindOrVersionOrShapeAreRefused) {
  ASSERT_TRUE(zorix7sim::LoadBenchText(kTwoCards));
  std::string good = ToJson(Take({1}));
  auto refused = [](std::string text) {
    std::string error;
    EXPECT_FALSE(FromJson(text, error));
    return error;
  };
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return refused(text);
  };
  EXPECT_EQ(replaced("\"version\": 1", "\"version\": 2"), "Zustandsdatei der Version 2, gelesen wird Version 1");
  EXPECT_EQ(replaced("zorix7check-zustand", "zorix7check-bericht"), "keine Zustandsdatei von ZORIX7Check");
  EXPECT_THAT(replaced("\"Steuer-LCA\"", "\"Steuer\""), HasSubstr("unbekannter Bereich \"Steuer\""));
  EXPECT_THAT(replaced("\"pciConfig\": \"7A", "\"pciConfig\": \""), HasSubstr("256"));
  EXPECT_EQ(refused("{\"kind\": \"zorix7check-zustand\",\n \"version\": 1,\n \"cards\": [}"), "Zeile 3: Wert erwartet");
  EXPECT_EQ(refused("[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]"),
            "Zeile 1: zu tief verschachtelt");
  EXPECT_EQ(refused(good + "x"),
            "Zeile " + std::to_string(std::count(good.begin(), good.end(), '\n') + 1) + ": Text nach dem Ende");
  std::string error;
  EXPECT_FALSE(ReadSnapshotFile(dir.filePath("missing.json").toStdString(), error));
  EXPECT_EQ(Diff(dir.filePath("missing.json").toStdString(), std::nullopt, 1, false), kBadFile);
}

// The main window: the selected card saved, then compared with a reference in the list window.
TEST_F(Snapshots, MainWindowSavesAndComparesTheSelectedCard) {
  CZORIX7CheckDlg& main = Start(kTwoDifferentCards);
  const std::string reference = dir.filePath("ref.json").toStdString();
  host.QueueFile(CString(reference));
  main.OnSaveState();
  main.m_nCard = 2;
  main.UpdateData(FALSE);
  host.QueueFile(CString(reference));
  QueueDialog<CSnapshotDiffDlg>([](CSnapshotDiffDlg& dlg) {
    EXPECT_THAT(ListLines(dlg, CSnapshotDiffDlg::IDC_LIST),
                ElementsAre(HasSubstr("Referenz Karte 1"), "PCI-EEPROM", HasSubstr("Max Latency"), "Steuer-LCA",
                            HasSubstr("S/E"), "Unterschiede: 2"));
    SetCheck(dlg, CSnapshotDiffDlg::IDC_ALL, true);
    EXPECT_EQ(dlg.List().GetText(7).str(), "Unterschiede: 3");
    dlg.m_bAll = FALSE;
    dlg.Fill();
    QListWidget* list = dlg.List().Widget();
    list->item(2)->setSelected(true);
    QKeyEvent copy(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
    QApplication::sendEvent(list, &copy);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "  Max Latency: 00 | 20\n");
    list->clearSelection();
    EXPECT_EQ(dlg.SelectedText().str(),
              "Referenz Karte 1 (ZORIX7F, Bus 2 Slot 5) | Karte 2 (ZORIX7F, Bus 2 Slot 5)\n"
              "PCI-EEPROM\n  Max Latency: 00 | 20\nSteuer-LCA\n"
              "  S/E: aus | ein (roh 0 | 1)\nUnterschiede: 2\n");
    return IDOK;
  });
  main.OnCompareReference();
}
