#pragma once
#include "card/zorix7dll.h"
#include "measure/ListingDlg.h"
#include "platform/CListBox.h"

// A buffer of gate results as text, one line per record, in the framing of the card's
// mode. It only displays; the buffer and the active flags stay the caller's.
class CDataBlendenDlg : public CListingDlg {
  Q_OBJECT

 public:
  enum : int { IDD = 170, IDC_BLENDENLIST = 1001 };
  CDataBlendenDlg(const void* data, UINT bytes, const ActiveSetFlags* active, BOOL zorix9Mode,
                  QWidget* parent = nullptr);
  BOOL OnInitDialog() override;

  const BYTE* m_pData;
  UINT m_nBytes;
  const ActiveSetFlags* m_pActive;
  BOOL m_bZorix9Mode;
  CListBox m_listBlenden;
};
