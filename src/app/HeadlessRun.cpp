#include "app/HeadlessRun.h"

#include <algorithm>

#include "platform/CWinApp.h"
#include "platform/UiHost.h"

namespace {
bool AnyFailed(const std::vector<ResultLine>& lines) {
  for (const auto& l : lines)
    if (l.verdict == Verdict::Fail) return true;
  return false;
}

// Nobody answers the manual loop's first "ASCAN?" but Cancel; say how little that checks.
void NoteManualBlockLoop(const HeadlessOptions& options, const CZORIX7CheckDlg& dlg, FILE* out) {
  const std::vector<int> run = dlg.CheckAllButtons();
  if (!options.checkAll || options.interactive || dlg.m_bKontinuierlich ||
      std::find(run.begin(), run.end(), IDC_BLOCKMESSUNG) == run.end())
    return;
  std::fprintf(out, "Blockmessung ohne \"kontinuierlich\": ohne Fenster endet sie bei der ersten Frage "
                    "\"ASCAN?\", geprüft wird nur ein Zyklus, keine Blenden.\n");
}

// Only a passed or failed line checked something; information and skipped lines did not.
bool CheckedSomething(const std::vector<ResultLine>& lines) {
  for (const auto& l : lines)
    if (l.verdict == Verdict::Pass || l.verdict == Verdict::Fail) return true;
  return false;
}
}  // namespace

RunResult RunHeadless(const HeadlessOptions& options, const CString& moduleDir, FILE* out) {
  RunResult run;
  TerminalUiHost host(out, options.interactive, options.yes ? IDYES : IDNO);
  host.SetFileAnswer(options.firmware);
  host.SetCardChangeConsent(options.yes);
  ScopedUiHost scoped(host);
  CZORIX7CheckDlg dlg;
  dlg.m_strModuleDir = moduleDir;
  dlg.InitDialog();
  if (dlg.IsEnded()) {
    run.status = kExitNoCard;
    return run;
  }
  std::fprintf(out, "Konfiguration: %s\n", AfxGetApp() ? AfxGetApp()->m_pszProfileName.c_str() : "");
  for (const CString& line : dlg.CardSummaryLines()) std::fprintf(out, "%s\n", line.c_str());
  NoteManualBlockLoop(options, dlg, out);
  std::fflush(out);

  bool checkedSomething = true;
  if (options.checkAll) {
    if (dlg.CheckAllButtons().empty())
      std::fprintf(out, "Kein automatischer Test verfügbar: kein Test ist angekreuzt und in diesem Build vorhanden.\n");
    dlg.m_onResultLine = [out](const ResultLine& line) {
      std::fprintf(out, "%s\n", line.text.c_str());
      std::fflush(out);
    };
    // The DSP check would ask for its firmware file; without one it is skipped, not passed.
    auto skip = [&](const TestColumnRow& row) { return row.buttonId == IDC_DSP && !options.firmware; };
    for (UINT n = 1; n <= dlg.m_nCards; ++n) {
      if (options.card && static_cast<UINT>(options.card) != n) continue;
      std::fprintf(out, "== Karte %u\n", n);
      dlg.m_nCard = n;
      if (options.set) dlg.m_nParamSet = *options.set;
      dlg.UpdateData(FALSE);
      size_t first = dlg.ResultLines().size();
      dlg.RunCheckAll(skip);
      CardResult card{dlg.CardInfoOf(n), {}};
      card.lines.assign(dlg.ResultLines().begin() + static_cast<long>(first), dlg.ResultLines().end());
      // Each card must have been checked: one card's passes do not stand for another.
      if (!CheckedSomething(card.lines)) {
        std::fprintf(out, "Karte %u: nichts geprüft\n", n);
        checkedSomething = false;
      }
      run.cards.push_back(std::move(card));
    }
    checkedSomething &= !run.cards.empty();
  } else {
    for (UINT n = 1; n <= dlg.m_nCards; ++n) run.cards.push_back({dlg.CardInfoOf(n), {}});
  }
  dlg.CloseCardsAndEnd();
  run.cardErrors = dlg.m_cardErrors;
  bool failed = !run.cardErrors.empty() || !checkedSomething;
  for (const auto& c : run.cards) failed |= AnyFailed(c.lines);
  run.status = failed ? kExitFailed : kExitPassed;
  return run;
}
