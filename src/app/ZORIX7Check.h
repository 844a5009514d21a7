#pragma once
#include "platform/CWinApp.h"

// The application object: runs the main dialog; the program ends with it.
class CZORIX7CheckApp : public CWinApp {
 public:
  CZORIX7CheckApp();
  // Runs the main dialog modally; returns its result.
  int InitInstance(const CString& moduleDir);
};
