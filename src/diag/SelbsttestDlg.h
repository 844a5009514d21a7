#pragma once
// "Selbsttest": runs the DSP's built-in self-tests one by one, and chooses which of them the
// main dialog runs in its automatic mode (kept in section "Selbstest").
#include <vector>

#include "card/SelfTest.h"
#include "card/zorix7dll.h"
#include "platform/CTestDialog.h"

class CSelbsttestDlg : public CTestDialog {
 public:
  enum : int {
    IDD = 141,
    IDC_RESULT = 1000,
    IDC_FIRST_TEST = 1010,    // button "Test n" is IDC_FIRST_TEST + n
    IDC_FIRST_CHOICE = 1030,  // its check box IDC_FIRST_CHOICE + n
    IDC_ZYKLISCH = 1050,
    IDC_SPARE = 1051,
    IDC_SAVE = 1052,
  };
  explicit CSelbsttestDlg(HZORIX7 card);

  // Runs one test (0..12) into text; the verdict is the result.
  BOOL RunTest(int test, CString& text);
  // Automatic mode: the chosen tests, each in a line of its own (FurtherLines); result stays
  // empty, so the main line reads "Selbsttest: ". Passes only when a test ran and all passed.
  BOOL Check(CString& result) override;
  std::vector<ResultLine> FurtherLines() const override { return m_lines; }

  void LoadChoices();
  BOOL SaveChoices();

  BOOL OnInitDialog() override;
  void OnTest(int test);
  void OnSave();

  BOOL m_bTest[selftest::kTests] = {};
  BOOL m_bZyklisch = FALSE;
  BOOL m_bSpare = FALSE;  // the check box below the last row; neither stored nor used
  CString m_strResult;

 protected:
  void CreateControls() override;
  void DoDataExchange(CDataExchange* pDX) override;

 private:
  BOOL Command(DWORD code, DWORD word, DWORD& error);
  BOOL TestFifo(CString& text);
  BOOL TestDac(CString& text);
  // Reads the PCI-FIFO until it reports empty; false when it does not within the limit.
  bool DrainFifo();

  HZORIX7 m_hCard;
  std::vector<ResultLine> m_lines;
};
