#include <gmock/gmock.h>

#include <QApplication>
#include <QKeyEvent>

#include "AppTestSupport.h"
#include "params/ParameterProfile.h"
#include "platform/Cp1252.h"
#include "platform/IniDocument.h"

#include <fstream>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {
class ConfigFile : public MainDialogFixture {
 protected:
  void SaveAnswering(int answer) {
    host.QueueAnswer(answer);
    Click(*dlg, IDC_SAVE);
  }
};

TEST_F(ConfigFile, FreshStartGivesTheDefaults) {
  auto& d = Start();
  EXPECT_EQ(d.m_nCard, 1u);
  EXPECT_EQ(d.m_nParamSet, 1);
  EXPECT_EQ(d.m_nAnzeigefaktor, 1u);
  EXPECT_EQ(d.m_nZyklen, 200);
  EXPECT_TRUE(d.m_bDMA);
  EXPECT_FALSE(d.m_bPrepAll);
  EXPECT_FALSE(d.m_bKontinuierlich);
  EXPECT_TRUE(d.m_bAnzeige);
  EXPECT_TRUE(d.m_bZorix9Mode);
  for (BOOL b : {d.m_bPCIconfig, d.m_bPCIEEPROM, d.m_bPCIoperation, d.m_bKennung, d.m_bLCA, d.m_bDSP, d.m_bTest,
                 d.m_bCommand, d.m_bEinzelmessung, d.m_bBlockmessung})
    EXPECT_TRUE(b);
  const ParameterSet& p = d.m_param[1][7];
  EXPECT_EQ(p.Aufnahmelaenge, 1600);
  EXPECT_EQ(p.Filter, 3);
  EXPECT_EQ(p.Gates.gate[4].end, 1400u);
  EXPECT_EQ(p.Gates.gate[0].threshold, 30 * 16);
  EXPECT_FALSE(p.Gates.enable[0]);
  EXPECT_TRUE(p.Gates.enable[4]);
  EXPECT_FALSE(d.m_active[1].flag[7]);
  EXPECT_EQ(d.m_listProfile.GetText(0), ConfigPath());
}

TEST_F(ConfigFile, YesNoIsOffOnlyForValuesStartingWithN) {
  WriteConfig("[Init]\nDMA=No\nAnzeige=n\nPrepAll=0\nKontinuierlich=\nZORIX9=nein\n[Check]\nTest=NO\nDSP=y\n");
  auto& d = Start();
  EXPECT_FALSE(d.m_bDMA);
  EXPECT_FALSE(d.m_bAnzeige);
  EXPECT_TRUE(d.m_bPrepAll);
  EXPECT_TRUE(d.m_bKontinuierlich);
  EXPECT_FALSE(d.m_bZorix9Mode);
  EXPECT_FALSE(d.m_bTest);
  EXPECT_TRUE(d.m_bDSP);
}

TEST_F(ConfigFile, ThresholdsAreHeldTimesSixteenAndWrittenBackDivided) {
  WriteConfig("[Karte1-Satz2]\nB2-Schwelle=50\nActive=yes\n");
  auto& d = Start();
  EXPECT_EQ(d.m_param[0][2].Gates.gate[2].threshold, 800);
  EXPECT_TRUE(d.m_active[0].flag[2]);
  d.m_param[0][3].Gates.gate[2].threshold = 805;
  SaveAnswering(IDYES);
  IniDocument doc = IniDocument::Parse(ReadConfig());
  EXPECT_EQ(doc.Get("Karte1-Satz2", "B2-Schwelle"), "50");
  EXPECT_EQ(doc.Get("Karte1-Satz3", "B2-Schwelle"), "50");
  EXPECT_EQ(doc.Get("Karte1-Satz2", "Active"), "yes");
}

TEST_F(ConfigFile, BusValuesPlaceChannelsAndBadValuesLeaveThem) {
  WriteConfig(
      "[Bus]\nKanal3=Bus 2 Slot 7\nKanal4=Slot 9\nKanal5=Bus 4\nKanal6=Bus 99999999999 Slot 1\n"
      "Kanal7=Bus\t-3  Slot+8 Rest\nKanal8=bus 1 slot 2\n");
  auto& d = Start();
  EXPECT_EQ(d.m_channel[5].nBus, 0);  // beyond 32 bits: does not parse
  EXPECT_EQ(d.m_channel[6].nBus, -3);
  EXPECT_EQ(d.m_channel[6].nSlot, 8);
  EXPECT_EQ(d.m_channel[7].nSlot, 0);  // the words are matched as written
  EXPECT_EQ(d.m_channel[2].nBus, 2);
  EXPECT_EQ(d.m_channel[2].nSlot, 7);
  EXPECT_EQ(d.m_channel[2].nCard, 0);  // no card sits at bus 2 slot 7
  EXPECT_EQ(d.m_channel[0].nCard, 1);
  EXPECT_EQ(d.m_channel[3].nBus, 0);
  EXPECT_EQ(d.m_channel[4].nBus, 0);
}

TEST_F(ConfigFile, SaveWritesSectionsOfPresentCardsOnlyAndLeavesOthersByteForByte) {
  const std::string foreign =
      "[PCIconfiguration]\r\nVendorID = 10B5 ; kept\r\n\r\n[Karte5-Satz0]\r\nIFF=77\r\n[Kennung]\r\nDatei=x.txt\r\n";
  WriteConfig(foreign);
  Start();
  SaveAnswering(IDYES);
  std::string saved = ReadConfig();
  EXPECT_EQ(saved.substr(0, foreign.size()), foreign);
  IniDocument doc = IniDocument::Parse(saved);
  int cardSections = 0;
  for (const auto& s : doc.Sections())
    if (s.name.rfind("Karte", 0) == 0 && s.name != "Karte5-Satz0") ++cardSections;
  EXPECT_EQ(cardSections, 16);
  EXPECT_FALSE(doc.FindSection("Karte3-Satz0"));
  EXPECT_EQ(doc.Get("Init", "Zyklen"), "200");
  EXPECT_EQ(doc.Get("Init", "DMA"), "yes");
  EXPECT_EQ(doc.Get("Check", "Blockmessung"), "yes");
  EXPECT_EQ(doc.Get("Karte2-Satz7", "Aufnahmelaenge"), "1600");
  EXPECT_FALSE(doc.Get("Bus", "Kanal1"));
}

TEST_F(ConfigFile, SaveAsksFirstAndNoWritesNothing) {
  Start();
  SaveAnswering(IDNO);
  EXPECT_THAT(BoxTexts(), ElementsAre("Check|Wollen Sie wirklich sichern?"));
  EXPECT_EQ(ReadConfig(), "");

  // A refused field stops the save: not even the valid fields are written.
  host.Clear();
  SetEditText(*dlg, IDC_ZYKLEN, "77");
  SetEditText(*dlg, IDC_TIMEOUT, "x9");
  SaveAnswering(IDYES);
  EXPECT_THAT(BoxTexts(),
              ElementsAre("Check|Wollen Sie wirklich sichern?", "ZORIX7 Check|Time Out in s: Bitte eine ganze Zahl eingeben."));
  EXPECT_EQ(ReadConfig(), "");
  EXPECT_TRUE(dlg->GetDlgItem(IDC_TIMEOUT)->hasFocus() || !dlg->isActiveWindow());
  // A number out of range: the message names the field and its range.
  host.Clear();
  SetEditText(*dlg, IDC_TIMEOUT, "9");
  SetEditText(*dlg, IDC_ZYKLEN, "2147483648");
  SaveAnswering(IDYES);
  EXPECT_EQ(BoxTexts().back(), "ZORIX7 Check|Zyklen: Bitte eine ganze Zahl zwischen -2147483648 und 2147483647 eingeben.");
  EXPECT_EQ(ReadConfig(), "");
}

// Escape never ends the main window; "OK" and the close box ask before changed settings are lost.
TEST_F(ConfigFile, LeavingAsksOnlyWhenSettingsChangedSinceLoadOrSave) {
  Start();
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(dlg.get(), &escape);
  EXPECT_FALSE(dlg->IsEnded());

  SetEditText(*dlg, IDC_ZYKLEN, "77");
  host.QueueAnswer(IDNO);
  Click(*dlg, IDOK);
  host.QueueAnswer(IDNO);
  dlg->reject();  // the close box
  EXPECT_FALSE(dlg->IsEnded());
  EXPECT_THAT(BoxTexts(), ElementsAre("ZORIX7 Check|Einstellungen wurden geändert. Trotzdem beenden?",
                                      "ZORIX7 Check|Einstellungen wurden geändert. Trotzdem beenden?"));
  EXPECT_TRUE(zorix7sim::JournalOf("Close").empty());

  host.Clear();
  SaveAnswering(IDYES);
  EXPECT_FALSE(dlg->SettingsChanged());
  SetCheck(*dlg, IDC_DMA, false);
  EXPECT_TRUE(dlg->SettingsChanged());
  host.QueueAnswer(IDYES);
  dlg->reject();
  EXPECT_THAT(BoxTexts(), ElementsAre("Check|Wollen Sie wirklich sichern?",
                                      "ZORIX7 Check|Einstellungen wurden geändert. Trotzdem beenden?"));
  EXPECT_TRUE(dlg->IsEnded());
  EXPECT_EQ(dlg->ModalResult(), IDCANCEL);
}

// A file as the Windows version writes it: Windows-1252 with CR LF.
TEST_F(ConfigFile, WindowsFileLoadsAndSavesWithoutDisturbingForeignSections) {
  std::string windowsFile = cp1252::FromUtf8(
      "[Bus]\r\nKanal1=Bus 3 Slot 7\r\nKanal2=Bus 2 Slot 5\r\n"
      "[Init]\r\nKarte=2\r\nParametersatz=3\r\nAnzeigefaktor=5\r\nZyklen=1000\r\nDMA=no\r\nPrepAll=yes\r\n"
      "Kontinuierlich=yes\r\nAnzeige=no\r\nZORIX9=yes\r\nHotPlug=no\r\n"
      "[Check]\r\nPCIconfig=no\r\nPCIEEPROM=yes\r\nPCIoperation=no\r\nKennung=yes\r\nLCA=no\r\nDSP=yes\r\n"
      "Test=no\r\nCommand=yes\r\nEinzelmessung=no\r\nBlockmessung=yes\r\n"
      "[DSP]\r\nDS_FLAGlöschen=yes\r\nDatei=C:\\Prüfung\\dsp.hex\r\n"
      "[Karte2-Satz3]\r\nActive=yes\r\nIFF=-1\r\nSamplerate=6\r\nVerstaerkung=355\r\nB1-Schwelle=12\r\n"
      "ESB-relativ=yes\r\nSAP-Delay=70000\r\nTriggerdelay=4000000000\r\n");
  WriteConfig(windowsFile);
  auto& d = Start();
  EXPECT_EQ(d.m_nCard, 2u);
  EXPECT_EQ(d.m_nParamSet, 3);
  EXPECT_EQ(d.m_nAnzeigefaktor, 5u);
  EXPECT_EQ(d.m_nZyklen, 1000);
  EXPECT_FALSE(d.m_bDMA);
  EXPECT_TRUE(d.m_bPrepAll);
  EXPECT_TRUE(d.m_bKontinuierlich);
  EXPECT_FALSE(d.m_bAnzeige);
  EXPECT_FALSE(d.m_bHotPlug);
  EXPECT_FALSE(d.m_bPCIconfig);
  EXPECT_TRUE(d.m_bKennung);
  EXPECT_FALSE(d.m_bEinzelmessung);
  const ParameterSet& p = d.m_param[1][3];
  EXPECT_TRUE(d.m_active[1].flag[3]);
  EXPECT_EQ(p.IFF, 0xFFFFFFFFu);
  EXPECT_EQ(p.Samplerate, 6);
  EXPECT_EQ(p.Verstaerkung, 355);
  EXPECT_EQ(p.Gates.gate[1].threshold, 12 * 16);
  EXPECT_TRUE(p.ESBrelativ);
  EXPECT_EQ(p.SAPDelay, 70000 & 0xFFFF);
  EXPECT_EQ(p.Triggerdelay, 4000000000u);

  // Encoding, line ends and foreign lines through Save: ConfigOnDisk.
  SaveAnswering(IDYES);
  IniDocument doc = IniDocument::Parse(ReadConfig());
  EXPECT_EQ(doc.Get("Karte2-Satz3", "IFF"), "-1");
  EXPECT_EQ(doc.Get("Karte2-Satz3", "Triggerdelay"), "-294967296");
  EXPECT_EQ(doc.Get("Karte2-Satz3", "SAP-Delay"), "4464");
}

TEST_F(ConfigFile, ChoosingAnotherFileShowsItsValuesAtOnceAndKeepsCardNumbers) {
  auto& d = Start();
  HZORIX7 first = d.m_hCard[0];
  std::string other = dir.path().toStdString() + "/other.ini";
  std::ofstream(other) << "[Init]\nZyklen=77\nDMA=no\n[Bus]\nKanal1=Bus 8 Slot 1\n";
  host.QueueFile(CString(other));
  d.OnDblClkProfile();
  EXPECT_EQ(AfxGetApp()->m_pszProfileName, other);
  EXPECT_EQ(d.m_listProfile.GetText(0), other);
  EXPECT_EQ(d.GetDlgItemText(IDC_ZYKLEN), "77");
  EXPECT_EQ(d.m_nZyklen, 77);
  EXPECT_FALSE(d.m_bDMA);
  EXPECT_EQ(d.m_channel[0].nBus, 8);
  EXPECT_EQ(d.m_channel[0].nCard, 1);
  EXPECT_EQ(d.m_hCard[0], first);
  EXPECT_THAT(BusAssignmentLines(d.m_channel)[0].str(), HasSubstr("(Bus 8  Slot 1)  Karte 1"));
}

TEST_F(ConfigFile, CancelledFileChoiceChangesNothing) {
  auto& d = Start();
  host.QueueFile(std::nullopt);
  d.OnDblClkProfile();
  EXPECT_EQ(AfxGetApp()->m_pszProfileName, ConfigPath());
}

TEST_F(ConfigFile, GarbageValuesLoadWithFallbacksAndNeverCrash) {
  std::string garbage =
      "[Init]\nKarte=-3\nParametersatz=abc\nZyklen=12abc\nAnzeigefaktor=99999999999\n"
      "[Karte1-Satz0]\nAufnahmelaenge=70000\nSamplerate=300\nB1-Schwelle=-1\nFilter=\n[Bus\nKanal1=Bus x Slot y\n";
  garbage += std::string("\x00\xFF\x01[\x80", 5);
  WriteConfig(garbage);
  auto& d = Start();
  EXPECT_EQ(d.m_nCard, 2u);  // a huge card number is brought to the cards present
  EXPECT_EQ(d.m_nParamSet, 0);
  EXPECT_EQ(d.m_nZyklen, 12);
  EXPECT_EQ(d.m_param[0][0].Aufnahmelaenge, 70000 & 0xFFFF);
  EXPECT_EQ(d.m_param[0][0].Samplerate, 300 & 0xFF);
  EXPECT_EQ(d.m_param[0][0].Gates.gate[1].threshold, 0xFFF0);
  EXPECT_EQ(d.m_param[0][0].Filter, 3);
  EXPECT_EQ(d.SetIndex(), 0);
}
}  // namespace
