#include <gmock/gmock.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamReader>
#include <cstdio>

#include "AppTestSupport.h"
#include "app/HeadlessRun.h"
#include "platform/CWinApp.h"

using ::testing::AnyOf;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {
class HeadlessRun : public MainDialogFixture {
 protected:
  // Runs headless on the loaded bench; the printed text lands in `printed`.
  RunResult Run(HeadlessOptions options = CheckAll()) {
    char* buffer = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&buffer, &size);
    RunResult run = RunHeadless(options, dir.path().toStdString(), out);
    std::fclose(out);
    printed.assign(buffer, size);
    std::free(buffer);
    return run;
  }
  static HeadlessOptions CheckAll() {
    HeadlessOptions o;
    o.checkAll = true;
    return o;
  }
  static std::vector<Verdict> Verdicts(const CardResult& card) {
    std::vector<Verdict> v;
    for (const auto& l : card.lines) v.push_back(l.verdict);
    return v;
  }
  std::string printed;
};

int Count(const std::vector<ResultLine>& lines, Verdict v) {
  return static_cast<int>(std::count_if(lines.begin(), lines.end(), [v](const auto& l) { return l.verdict == v; }));
}
}  // namespace

// The starting configuration that comes with the program, on the built-in bench.
TEST_F(HeadlessRun, EveryCardIsCheckedInColumnOrderAndSummarised) {
  for (const char* name : {"ZORIX7Check.INI", "Kennung-ZORIX7F.txt"})
    ASSERT_TRUE(QFile::copy(QString(ZORIX7_CONFIG_DIR "/") + name, dir.filePath(name)));
  profile::ClearCache();
  zorix7sim::UseBuiltInBench();
  RunResult run = Run();
  ASSERT_EQ(run.cards.size(), 2u);
  for (const CardResult& card : run.cards) {
    ASSERT_FALSE(card.lines.empty());
    // The last line sums up the card; every other line carries its check's verdict.
    const ResultLine& summary = card.lines.back();
    EXPECT_EQ(summary.text, CString::Formatted("Alle Tests: %d OK, %d Fehler", Count(card.lines, Verdict::Pass),
                                               Count(card.lines, Verdict::Fail)));
    EXPECT_EQ(Count(card.lines, Verdict::Fail), 0) << printed;
  }
  EXPECT_EQ(run.cards[1].card.number, 2u);
  EXPECT_EQ(run.cards[1].card.bus, 3u);
  EXPECT_THAT(printed, HasSubstr("== Karte 2\n"));
  EXPECT_THAT(printed, Not(HasSubstr("nur ein Zyklus"))) << "the starting configuration runs every cycle";
  // A window a run without a screen cannot show is said once, not once per card.
  const std::string notShown = "[Anzeige Meßdaten] Dialog kann ohne Bildschirm nicht angezeigt werden.\n";
  ASSERT_NE(printed.find(notShown), std::string::npos) << printed;
  EXPECT_EQ(printed.find(notShown), printed.rfind(notShown)) << printed;
  // The run ends without a question, with every card closed.
  EXPECT_THAT(printed, Not(HasSubstr("Trotzdem beenden")));
  EXPECT_EQ(zorix7sim::JournalOf("Close").size(), 2u);
  // The DSP check needs its firmware file; without one it is skipped, never passed.
  bool dsp = false;
  for (const auto& row : TestColumn()) dsp |= row.buttonId == IDC_DSP && row.factory != nullptr;
  if (dsp) {
    EXPECT_THAT(printed, HasSubstr("DSP-Programm: übersprungen"));
  }
  EXPECT_EQ(run.status, kExitPassed);
}

// Good cards and an empty configuration: only the missing presets fail, and nobody is asked
// (the self-test leaves out the DAC test that needs someone watching).
TEST_F(HeadlessRun, AnEmptyConfigurationFailsOnlyForItsMissingPresetsAndAsksNobody) {
  WriteConfig("");
  zorix7sim::UseBuiltInBench();
  RunResult run = Run();
  EXPECT_EQ(run.status, kExitFailed);
  for (const CardResult& card : run.cards)
    for (const ResultLine& line : card.lines)
      if (line.verdict == Verdict::Fail) {
        EXPECT_THAT(line.text.str(), AnyOf(HasSubstr("Keine Vorgabe für"), HasSubstr("Keine Vorgabendatei")));
      }
  EXPECT_THAT(printed, Not(HasSubstr("DAC-Rampen")));
  EXPECT_THAT(printed, HasSubstr("geprüft wird nur ein Zyklus, keine Blenden.\n"));
}

TEST_F(HeadlessRun, NothingCheckedIsNoSuccessAndNoCardIsStatusThree) {
  WriteConfig(
      "[Check]\nPCIconfig=no\nPCIEEPROM=no\nPCIoperation=no\nKennung=no\nLCA=no\nDSP=no\nTest=no\nCommand=no\n"
      "Einzelmessung=no\nBlockmessung=no\n");
  ASSERT_TRUE(zorix7sim::LoadBenchText(kTwoCards));
  RunResult run = Run();
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_THAT(printed, HasSubstr("Kein automatischer Test verfügbar"));

  ASSERT_TRUE(zorix7sim::LoadBenchText("; no card\n"));
  EXPECT_EQ(Run().status, kExitNoCard);

  // Each card on its own: a plain card on which the one ticked test cannot run was not checked.
  WriteConfig(
      "[Check]\nPCIconfig=no\nPCIEEPROM=no\nPCIoperation=no\nKennung=no\nLCA=yes\nDSP=no\nTest=no\nCommand=no\n"
      "Einzelmessung=no\nBlockmessung=no\n");
  ASSERT_TRUE(zorix7sim::LoadBenchText("[Card 1]\n[Card 2]\nVariant=ZORIX7\n"));
  run = Run();
  ASSERT_EQ(run.cards.size(), 2u);
  EXPECT_EQ(Verdicts(run.cards[0]), (std::vector<Verdict>{Verdict::Pass, Verdict::Info}));
  EXPECT_EQ(Verdicts(run.cards[1]), (std::vector<Verdict>{Verdict::Skipped, Verdict::Info}));
  EXPECT_EQ(run.cards[1].lines[0].text, "LCA-Register: Keine ZORIX7F!");
  EXPECT_THAT(printed, HasSubstr("Karte 2: nichts geprüft"));
  EXPECT_EQ(run.status, kExitFailed);
}

TEST_F(HeadlessRun, AStartUpCardErrorFailsTheRunAndIsReported) {
  ASSERT_TRUE(zorix7sim::LoadBenchText(kTwoCards));
  ASSERT_TRUE(zorix7sim::AddFault({"WarmUp", 2, 0}));
  HeadlessOptions options;  // --cards
  RunResult run = Run(options);
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_THAT(run.cardErrors, ::testing::ElementsAre(CString::Formatted("WarmUp Karte 2 Error %X", zorix7sim::kErrInjected)));
  EXPECT_THAT(printed, HasSubstr("[Init] WarmUp Karte 2 Error E00000FF"));
}

TEST_F(HeadlessRun, ReportsReadBackAsJUnitXmlAndJson) {
  RunResult run;
  run.status = kExitFailed;
  run.cards.push_back({{1, 2, 5, true, "ZORIX7F 1234"},
                       {{"PCI Configuration: OK", Verdict::Pass},
                        {"PCI Operation: OK", Verdict::Info},
                        {"PCI EEPROM: Length Soll: 1FF Ist: FF", Verdict::Fail},
                        {"Command: Reset: Command Error", Verdict::Fail, 0xE00000FF},
                        {"DSP-Programm: übersprungen", Verdict::Skipped},
                        {"LCA-Register: Keine ZORIX7F!", Verdict::Skipped},
                        {"Alle Tests: 1 OK, 2 Fehler", Verdict::Info}}});
  run.cardErrors.push_back("Karte 2 Close Error");
  std::string xmlPath = dir.path().toStdString() + "/r.xml", jsonPath = dir.path().toStdString() + "/r.json", why;
  ASSERT_TRUE(WriteJUnitReport(run, xmlPath, why)) << why;
  ASSERT_TRUE(WriteJsonReport(run, jsonPath, why)) << why;

  QFile xmlFile(QString::fromStdString(xmlPath));
  ASSERT_TRUE(xmlFile.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&xmlFile);
  int suites = 0, cases = 0, failures = 0, skipped = 0;
  QStringList properties;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    suites += xml.name() == u"testsuite";
    cases += xml.name() == u"testcase";
    failures += xml.name() == u"failure";
    skipped += xml.name() == u"skipped";
    if (xml.name() == u"property")
      properties << xml.attributes().value("name").toString() + "=" + xml.attributes().value("value").toString();
  }
  ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(suites, 2);    // the card, and the start-up/closing errors
  EXPECT_EQ(cases, 7);     // six checks (the summary is no case) and one closing error
  EXPECT_EQ(failures, 3);  // PCI Operation is neither failed nor skipped
  EXPECT_EQ(skipped, 2);
  EXPECT_EQ(properties,
            QStringList({"bus=2", "slot=5", "variant=ZORIX7F", "identification=ZORIX7F 1234", "verdict=info"}));

  QFile jsonFile(QString::fromStdString(jsonPath));
  ASSERT_TRUE(jsonFile.open(QIODevice::ReadOnly));
  QJsonDocument doc = QJsonDocument::fromJson(jsonFile.readAll());
  ASSERT_TRUE(doc.isObject());
  QJsonArray checks = doc["cards"][0]["checks"].toArray();
  ASSERT_EQ(checks.size(), 7);
  EXPECT_EQ(checks[1].toObject()["verdict"].toString(), "info");
  EXPECT_EQ(checks[2].toObject()["verdict"].toString(), "failed");
  EXPECT_FALSE(checks[2].toObject().contains("errorWord"));
  EXPECT_EQ(checks[3].toObject()["errorWord"].toInteger(), 0xE00000FF);
  EXPECT_EQ(checks[3].toObject()["errorMeaning"].toString(), "eingespeister Fehler (virtuelle Karte)");
  EXPECT_EQ(checks[5].toObject()["verdict"].toString(), "skipped");
  EXPECT_EQ(doc["exitStatus"].toInt(), 1);

  // A report that cannot be written after the run: status 2, also in the report that could.
  HeadlessOptions options;
  options.junitPath = dir.path().toStdString() + "/gone/r.xml";
  options.jsonPath = jsonPath;
  FILE* sink = std::fopen("/dev/null", "w");
  EXPECT_EQ(WriteReports(options, run, sink), kExitUsage);
  std::fclose(sink);
  jsonFile.close();
  ASSERT_TRUE(jsonFile.open(QIODevice::ReadOnly));
  EXPECT_EQ(QJsonDocument::fromJson(jsonFile.readAll())["exitStatus"].toInt(), kExitUsage);

  EXPECT_FALSE(CanWriteReport(dir.path().toStdString() + "/missing/r.xml", why));
  EXPECT_EQ(why, "Ordner fehlt");
  EXPECT_FALSE(CanWriteReport(dir.path().toStdString(), why));
}

// Headless, a card is changed for good only with --yes, and never against a preset not stored.
TEST_F(HeadlessRun, TheEepromIsRepairedOnlyWithYesAndOnlyAgainstStoredPresets) {
  const std::string onlyEeprom = "[Check]\nPCIconfig=no\nPCIoperation=no\nKennung=no\nLCA=no\nDSP=no\nTest=no\n"
                                 "Command=no\nEinzelmessung=no\nBlockmessung=no\n";
  QFile shipped(ZORIX7_CONFIG_DIR "/ZORIX7Check.INI");
  ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
  WriteConfig(onlyEeprom + shipped.readAll().toStdString());
  ASSERT_TRUE(zorix7sim::LoadBenchText("[Card 1]\nEeprom.0x48=04\n"));
  RunResult run = Run();
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_EQ(run.cards.at(0).lines.at(0).text, "PCI EEPROM: nicht geschrieben (nur mit --yes): RevisionID 04 → 03");
  std::string json = dir.path().toStdString() + "/r.json", why;
  ASSERT_TRUE(WriteJsonReport(run, json, why)) << why;
  QFile file(QString::fromStdString(json));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(QJsonDocument::fromJson(file.readAll())["cards"][0]["checks"][0]["wouldWrite"][0].toObject(),
            QJsonObject({{"field", "RevisionID"}, {"card", "04"}, {"preset", "03"}}));
  EXPECT_TRUE(zorix7sim::JournalOf("WritePCIEEPROMbyte").empty());

  HeadlessOptions yes = CheckAll();
  yes.yes = true;
  EXPECT_EQ(Run(yes).cards.at(0).lines.at(0).text, "PCI EEPROM: nach Schreiben OK");
  WriteConfig(onlyEeprom);
  ASSERT_TRUE(zorix7sim::LoadBenchText("[Card 1]\nEeprom.0x48=04\n"));
  EXPECT_EQ(Run(yes).cards.at(0).lines.at(0).text, "PCI EEPROM: Keine Vorgabe für Signature gespeichert");
  EXPECT_EQ(ZORIX7ReadPCIEEPROMbyte(ZORIX7Open(1), 0x48), 0x04u);
}
