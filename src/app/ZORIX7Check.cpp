#include "app/ZORIX7Check.h"

#include "app/ZORIX7CheckDlg.h"

CZORIX7CheckApp::CZORIX7CheckApp() : CWinApp("ZORIX7Check") {}

int CZORIX7CheckApp::InitInstance(const CString& moduleDir) {
  CZORIX7CheckDlg dlg;
  dlg.m_strModuleDir = moduleDir;
  return static_cast<int>(dlg.DoModal());
}
