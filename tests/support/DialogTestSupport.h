#pragma once
// Every dialog test runs against a scripted UI host and a virtual clock, so boxes are
// answered from the test and long waits take no real time.
#include <gtest/gtest.h>

#include "platform/CDialog.h"
#include "platform/Clock.h"
#include "platform/UiHost.h"

class DialogFixture : public ::testing::Test {
 protected:
  DialogFixture() : m_hostScope(host), m_clockScope(clock) {}

  ScriptedUiHost host;
  VirtualClock clock;

 private:
  ScopedUiHost m_hostScope;
  ScopedClock m_clockScope;
};

// Act on a control as a user would. The dialog's controls are built first if need be; a
// missing control or one of another kind fails the test.
void SetEditText(CDialog& dlg, int id, const CString& text);
void SetCheck(CDialog& dlg, int id, bool checked);
void Click(CDialog& dlg, int id);
