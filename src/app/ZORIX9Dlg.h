#pragma once
#include "app/ChannelTable.h"
#include "app/Resource.h"
#include "platform/CDialog.h"

// Edits one ZORIX9 identification; shows and takes the number with the opposite sign.
class CZORIX9Dlg : public CDialog {
  Q_OBJECT

 public:
  CZORIX9Dlg(ZorixIdent* ident, QWidget* parent = nullptr);
  BOOL OnInitDialog() override;
  void OnOK() override;
  short m_nKennung = 0;

 protected:
  void CreateControls() override;
  void DoDataExchange(CDataExchange* pDX) override;

 private:
  ZorixIdent* m_pIdent;
};
