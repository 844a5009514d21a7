#pragma once
// A test's dialog: run modally by its button, or silently as an automatic check that leaves
// "OK", "nach Schreiben OK" or the first difference in result.
#include "platform/CDialog.h"

class CTestDialog : public CDialog {
 public:
  using CDialog::CDialog;
  virtual BOOL Check(CString& result) = 0;
  // Further result lines some tests add after their own line.
  virtual void AppendFurtherLines(CListBox& /*list*/) {}
};
