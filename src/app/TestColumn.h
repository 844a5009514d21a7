#pragma once
// The main dialog's column of test buttons as one table: it drives the layout, the data
// exchange, the configuration keys, "Check All" and what each button does.
#include <functional>
#include <memory>
#include <vector>

#include "platform/CTestDialog.h"

class CZORIX7CheckDlg;

// How a test button behaves when the check-box beside it is set.
enum class AutoMode {
  RunCheck,  // run the dialog's silent check, log prefix + verdict
  RunInfo,   // run it, but its own line checked nothing; further lines carry the verdicts
  Nothing,   // do nothing at all
};

// Builds a test's dialog for the selected card.
using TestDialogFactory = std::function<std::unique_ptr<CTestDialog>(CZORIX7CheckDlg&)>;
// A button that runs in the main dialog itself (Hot Plug, measurements, data-rate tests).
using MainHandler = void (CZORIX7CheckDlg::*)();

struct TestColumnRow {
  int buttonId;
  const char* caption;  // button text, also the caption of "Keine ZORIX7F!"
  int checkId;          // the check-box beside it
  int statusId;
  const char* statusText;
  BOOL CZORIX7CheckDlg::*autoCheck;
  const char* checkKey;  // key in section "Check"; nullptr: not stored there
  int saveRank;          // position among the "Check" keys when saving
  const char* prefix;    // result line prefix
  AutoMode autoMode;
  bool needsZorix7F;
  bool resendIdentsAfterModal;  // the dialog may have reloaded the DSP program
  TestDialogFactory factory;    // one of factory and handler; neither: the button is greyed
  MainHandler handler;
};

// Buttons outside the column that follow the same rule: live exactly when a handler exists.
struct ToolButton {
  int buttonId;
  MainHandler handler;
};

// Defined in TestDialogs.cpp, where every dialog is registered.
const std::vector<TestColumnRow>& TestColumn();
const std::vector<ToolButton>& ToolButtons();
