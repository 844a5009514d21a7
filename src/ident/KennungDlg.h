#pragma once
#include "ident/KennungForm.h"
#include "card/zorix7dll.h"
#include "platform/CTestDialog.h"

// The card's identification record: shown, edited and written into the card, which verifies
// it. Its automatic check compares the card's record with the presets file.
class CKennungDlg : public CTestDialog, public KennungFieldIds {
 public:
  enum : int { IDD = 145, IDC_WRITE = 1095, IDC_VORGABEN = 1202 };

  explicit CKennungDlg(HZORIX7 card, QWidget* parent = nullptr);
  BOOL OnInitDialog() override;
  BOOL Check(CString& result) override;
  void OnWrite();
  void OnVorgaben();

  ident::KennungFields m_fields;

 protected:
  void CreateControls() override;
  void DoDataExchange(CDataExchange* pDX) override;

 private:
  void ShowCardRecord();
  HZORIX7 m_hCard;
};
