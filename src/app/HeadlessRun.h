#pragma once
// The check run without a window: the main dialog's start-up and "Check All" on every card (or
// one), printed line by line, with the exit status a production line can trust and reports.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/ZORIX7CheckDlg.h"

// Exit status of headless runs.
enum ExitStatus : int {
  kExitPassed = 0,    // every check passed
  kExitFailed = 1,    // a check failed, a card error at start-up or close, or nothing was checked
  kExitUsage = 2,     // bad command line, report file not writable
  kExitNoCard = 3,    // no card opened (driver or bench not usable)
};

struct HeadlessOptions {
  bool checkAll = false;
  int card = 0;                 // 0: every opened card in turn
  std::optional<int> set;
  bool yes = false;             // answer write and save questions Yes
  bool interactive = false;     // ask questions on the terminal
  std::optional<CString> firmware;  // what the DSP check's file chooser gets
  std::string junitPath;
  std::string jsonPath;
};

struct CardResult {
  CardInfo card;
  std::vector<ResultLine> lines;
};

struct RunResult {
  std::vector<CardResult> cards;
  std::vector<CString> cardErrors;  // start-up and closing
  int status = kExitPassed;
};

// Runs start-up, the checks and closing on a new main dialog; prints to out as it goes.
RunResult RunHeadless(const HeadlessOptions& options, const CString& moduleDir, FILE* out);

// Reports. False with a reason when the file cannot be written.
bool WriteJUnitReport(const RunResult& run, const std::string& path, std::string& error);
bool WriteJsonReport(const RunResult& run, const std::string& path, std::string& error);
// Writes the reports the options name; a report that cannot be written makes the status
// kExitUsage. Returns the run's exit status.
int WriteReports(const HeadlessOptions& options, RunResult& run, FILE* err = stderr);
// Whether a report could be created there, checked before any card is touched.
bool CanWriteReport(const std::string& path, std::string& error);
