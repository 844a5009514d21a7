#pragma once
#include "measure/ListingDlg.h"
#include "platform/CListBox.h"

// One A-scan buffer sample by sample: time, percent of full scale, index, value and word.
// Opened modally from the A-scan display and the gates dialog; never owns the buffer.
class CDataListDlg : public CListingDlg {
  Q_OBJECT

 public:
  enum : int { IDD = 140, IDC_DATALIST = 1000 };
  explicit CDataListDlg(QWidget* parent = nullptr);
  BOOL OnInitDialog() override;
  // The context menu's entries: the window as shown, the samples listed.
  void OnSavePng();
  void OnSaveCsv();

  BOOL m_b8Bit = FALSE;
  BOOL m_bHeader = FALSE;
  const BYTE* m_pData = nullptr;
  UINT m_nBytes = 0;
  BYTE m_nSampleRate = 0;
  CListBox m_listData;

 protected:
  void CreateControls() override;
};
