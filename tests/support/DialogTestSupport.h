#pragma once
// Every dialog test runs against a scripted UI host and a virtual clock, so boxes are
// answered from the test and long waits take no real time. A script error (a dialog of the
// wrong type, in strict mode an unanswered question) and answers left unused fail the test.
#include <gtest/gtest.h>

#include <vector>

#include "platform/CDialog.h"
#include "platform/Clock.h"
#include "platform/UiHost.h"

class DialogFixture : public ::testing::Test {
 protected:
  DialogFixture();
  ~DialogFixture() override;
  void TearDown() override;

  // The next modal dialog must be a T; handler(T&) returns the modal result.
  template <typename T, typename Handler>
  void QueueDialog(Handler handler) {
    host.QueueDialogOf<T>(handler);
  }

  ScriptedUiHost host;
  VirtualClock clock;

 private:
  ScopedUiHost m_hostScope;
  ScopedClock m_clockScope;
  MissingControlHandler m_previousMissing;
};

// Act on a control as a user would. The dialog's controls are built first if need be; a
// missing control or one of another kind fails the test.
void SetEditText(CDialog& dlg, int id, const CString& text);
void SetCheck(CDialog& dlg, int id, bool checked);
void Click(CDialog& dlg, int id);
bool IsChecked(CDialog& dlg, int id);
// The lines a list box control shows (empty when there is no such list).
std::vector<CString> ListLines(CDialog& dlg, int id);
