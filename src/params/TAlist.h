#pragma once
#include "params/ParameterSet.h"
#include "platform/CDialog.h"
#include "platform/CListBox.h"

// Lists the depth-compensation table of one parameter set ("Tiefenausgleich"); a set that
// has no file yet gets one chosen and read. Nothing is written back on "OK".
class CTAlist : public CDialog {
  Q_OBJECT

 public:
  enum : int {
    IDD = 166,
    IDC_TA_LIST = 1297,
    IDC_TA_DATEI = 1293,
    IDC_TA_STUETZSTELLEN = 1300,
    IDC_TA_ABSTAND = 1301,
    IDC_TA_SAVE = 1302,
  };

  explicit CTAlist(ParameterSet* set, QWidget* parent = nullptr);
  BOOL OnInitDialog() override;
  // Writes the held table to a ".ta" file chosen in a save chooser.
  void OnSave();

  ParameterSet* m_pParam;
  CListBox m_listTa;
  CString m_strDatei;
  UINT m_nStuetzstellen = 0;
  float m_fAbstand = 0;

 protected:
  void CreateControls() override;
  void DoDataExchange(CDataExchange* pDX) override;

 private:
  void ReadFile(const SampleRateRow& row);
};
