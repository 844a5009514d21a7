#pragma once
// A test's dialog: run modally by its button, or silently as an automatic check that leaves
// "OK", "nach Schreiben OK" or the first difference in result.
#include <optional>
#include <utility>
#include <vector>

#include "platform/CDialog.h"
#include "platform/CardWrite.h"

// What a result line says about the card: the check's own verdict, never the line's wording.
enum class Verdict {
  Pass,
  Fail,
  Info,     // a line that checked nothing
  Skipped,  // a check that could not run here (headless without its file, a plain card)
};

struct ResultLine {
  ResultLine(CString line = {}, Verdict v = Verdict::Info, std::optional<DWORD> word = std::nullopt,
             std::vector<CardWrite> writes = {})
      : text(std::move(line)), verdict(v), errorWord(word), wouldWrite(std::move(writes)) {}
  CString text;
  Verdict verdict = Verdict::Info;
  std::optional<DWORD> errorWord;  // the library's word behind a failure the text does not name
  std::vector<CardWrite> wouldWrite;  // writes the check left undone for want of consent
};

inline Verdict VerdictOf(BOOL ok) { return ok ? Verdict::Pass : Verdict::Fail; }

class CTestDialog : public CDialog {
 public:
  using CDialog::CDialog;
  virtual BOOL Check(CString& result) = 0;
  // Further result lines some tests add after their own line, each with its verdict.
  virtual std::vector<ResultLine> FurtherLines() const { return {}; }
  // The lasting writes the last check would have made without consent to write.
  virtual std::vector<CardWrite> WouldWrite() const { return {}; }
  // The library's error word of the last failing Check, when its text leaves it out.
  virtual std::optional<DWORD> ErrorWord() const { return std::nullopt; }
};
