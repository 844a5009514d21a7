#pragma once
// The main dialog: opens and numbers the cards, holds every setting and parameter set, and
// runs the tests from its column of buttons.
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "app/ChannelTable.h"
#include "app/MainSettings.h"
#include "app/Resource.h"
#include "app/TestColumn.h"
#include "card/CardConstants.h"
#include "params/ParameterSet.h"
#include "params/RandomLimits.h"
#include "platform/CDialog.h"
#include "platform/CTestDialog.h"

namespace snapshot {
struct CardState;
}

class QLineEdit;
class QListWidget;
class QTemporaryDir;
class QPushButton;

// What the reports say about one opened card.
struct CardInfo {
  UINT number = 0;
  DWORD bus = 0;
  DWORD slot = 0;
  bool zorix7F = false;
  CString identification;  // the "Karte" text of its identification record
};

class CZORIX7CheckDlg : public CDialog {
  Q_OBJECT

 public:
  explicit CZORIX7CheckDlg(QWidget* parent = nullptr);
  ~CZORIX7CheckDlg() override;

  // Cards
  UINT m_nCards = 0;
  HZORIX7 m_hCard[kMaxCards] = {};
  ChannelEntry m_channel[kMaxCards];
  ParameterSet m_param[kMaxCards][8];
  ActiveSetFlags m_active[kMaxCards] = {};
  BOOL m_bZorix9Mode = TRUE;
  ZorixIdent m_ident[kMaxCards][8] = {};
  RandomLimits m_random;
  DWORD m_nDataBytes = 0;
  BYTE* m_pDataBuffer = nullptr;
  CString m_strResult = "Kein Fehler";
  BOOL m_bPower = FALSE;
  CListBox m_listResult;
  CListBox m_listProfile;

  // Check-boxes beside the test buttons
  BOOL m_bHotPlug = TRUE;
  BOOL m_bPCIconfig = TRUE;
  BOOL m_bPCIEEPROM = TRUE;
  BOOL m_bPCIoperation = TRUE;
  BOOL m_bKennung = TRUE;
  BOOL m_bLCA = TRUE;
  BOOL m_bDataLCA = FALSE;
  BOOL m_bDSP = TRUE;
  BOOL m_bTest = TRUE;
  BOOL m_bCommand = TRUE;
  BOOL m_bBlenden = FALSE;
  BOOL m_bEinzelmessung = TRUE;
  BOOL m_bBlockmessung = TRUE;

  // Fields
  UINT m_nCard = 1;
  int m_nParamSet = 1;
  UINT m_nAnzeigefaktor = 1;
  int m_nZyklen = 200;
  UINT m_nTimeOut = 10;
  BOOL m_bDMA = TRUE;
  BOOL m_bPrepAll = FALSE;
  BOOL m_bKontinuierlich = FALSE;
  BOOL m_bAnzeige = TRUE;
  BOOL m_bRandom = FALSE;

  // Status labels beside the test buttons, fixed after construction; in column order.
  std::vector<CString> m_strStatus;
  CString m_strKarten;

  // Directory the default configuration file lies in (the program's own directory).
  CString m_strModuleDir;

  BOOL OnInitDialog() override;
  void OnOK() override;
  // Closes every card and ends without asking: what "OK" does once the user agreed, and how a
  // headless run ends, whose per-card choices are no settings anybody changed.
  void CloseCardsAndEnd();
  void OnCancel() override;
  void OnDestroy();

  void EnsurePowerOn(BOOL on);
  BOOL PrepareSetOnCard(const ParameterSet& set, HZORIX7 card, DWORD* error);

  // Selected card and set, bounded so that a stray field value never indexes past the tables.
  int CardIndex() const;
  int SetIndex() const;
  HZORIX7 SelectedCard() const { return m_hCard[CardIndex()]; }

  // Handlers
  void OnHotPlug();
  void OnSave();
  void OnClearList();
  void OnCheckAll();
  void OnBusbelegung();
  void OnZorix9();
  void OnTiefenausgleich();  // ZORIX7CheckDlgParams.cpp
  void OnRandomLimits();
  void OnKillFocusKarte();
  void OnChangeTimeOut();
  void OnDblClkProfile();
  void OnSysCommand(UINT id);
  // The selected card's state into a file, and compared with a reference file
  // (ZORIX7CheckDlgSnapshot.cpp); both from the context menu of the card selection.
  void OnSaveState();
  void OnCompareReference();

  // Measurement runs (ZORIX7CheckDlgRuns.cpp): "Parameter/Shot", "Blockmessung" and the
  // data-rate tests; a status line shows the cycle in progress.
  enum : int { IDC_RUN_STATUS = 1312 };
  void OnShot();
  void OnBlockmessung();
  void OnRate11();
  void OnRateN1();
  void OnRate1N();

  // Configuration file
  void ChooseProfileFile();
  void LoadSettings();
  BOOL SaveSettings();
  // The settings Save would write now differ from those last loaded or saved.
  bool SettingsChanged();
  MainSettings Settings() const;
  void ApplySettings(const MainSettings& settings);
  // Sends every set's identification (or 0 outside ZORIX9 mode) to the ZORIX7F cards.
  void SendIdentifications(bool onlyZorix7F);

  // Test buttons. The column's factories come from TestDialogs.cpp; a test may replace one.
  void SetTestFactory(int buttonId, TestDialogFactory factory);
  bool IsButtonLive(int buttonId) const;
  void RunTestButton(int buttonId);
  // Appends and selects a line; its verdict is kept beside it for headless runs and reports.
  void AppendResultLine(const CString& line, Verdict verdict = Verdict::Info,
                        std::optional<DWORD> errorWord = std::nullopt);
  void AppendResultLine(ResultLine line);
  const std::vector<ResultLine>& ResultLines() const { return m_resultLines; }
  // Told of every line as it is appended (headless runs print them as they come).
  std::function<void(const ResultLine&)> m_onResultLine;
  // The result list as plain text: a header (version, configuration, cards, time), then each
  // line with its time of day and verdict. Its menu saves it to a file or copies it.
  CString ResultListText() const;
  void SaveResultList();
  void CopyResultList();
  // Automatic tests "Check All" would run now (ticked and available), in column order.
  std::vector<int> CheckAllButtons() const;

  // The cards' bus assignment lines and one line per card, for headless runs.
  std::vector<CString> CardSummaryLines() const;
  CardInfo CardInfoOf(UINT number) const;
  // Card errors of start-up and closing (position, warm-up, close), also shown in boxes.
  std::vector<CString> m_cardErrors;

  // "Check All": every ticked, available test in column order (a test skip() names is
  // logged as skipped), then the line "Alle Tests: %d OK, %d Fehler".
  void RunCheckAll(const std::function<bool(const TestColumnRow&)>& skip = {});

 protected:
  void CreateControls() override;
  void DoDataExchange(CDataExchange* pDX) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void OpenCards(int& highestNumber);
  void InstallCardMenu(QWidget* area);
  snapshot::CardState SelectedCardState();
  void PlaceCards();
  void WarmUpCards();
  void UpdateTestButtonStates();
  void ReportCardError(const CString& text, const char* caption);
  QPushButton* AddToolButton(int id, const CString& caption);
  const TestColumnRow* FindRow(int buttonId) const;
  void RunAutomatic(const TestColumnRow& row, CTestDialog& dlg);
  bool ConfirmExit();
  std::string SettingsText();
  void ShowResultLine(int index, const ResultLine& line);
  void AddResultListMenu(QListWidget* list);

  std::vector<BYTE> m_dataBuffer;
  std::map<int, TestDialogFactory> m_testFactories;
  std::vector<ResultLine> m_resultLines;
  std::vector<std::string> m_resultTimes;  // time of day of each line
  std::string m_savedSettings;             // as Save would write them, at the last load or save
  std::shared_ptr<QTemporaryDir> m_settingsScratch;  // one scratch file for SettingsText
  std::string m_libraryMessage;  // the card library's message last shown in the list
  bool m_cardsClosed[kMaxCards] = {};
  bool m_destroyed = false;
  QLineEdit* m_editKarte = nullptr;
};
