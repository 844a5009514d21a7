#pragma once
// "DSP-Programm laden": loads a firmware file into a card, resets and warms it up, and can
// step through all cards one "Write" at a time.
#include "card/zorix7dll.h"
#include "platform/CTestDialog.h"

class CDSPDlg : public CTestDialog {
 public:
  enum : int {
    IDD = 140,
    IDC_FILENAME = 1000,
    IDC_STATUS = 1001,
    IDC_ALLE_KARTEN = 1002,
    IDC_KARTE = 1003,
    IDC_ABFRAGE = 1004,
    IDC_WRITE = 1005,
    IDC_SAVE = 1006,
  };
  // The main dialog's cards (card number n uses hCard[n - 1]) and its current card.
  CDSPDlg(UINT nCards, const HZORIX7* hCard, UINT nCard);

  // Loads m_strFileName (chosen first when empty) into card m_nCard; the outcome in text.
  BOOL Load(CString& text);
  // Automatic mode: one load into the main dialog's card, always through the file chooser.
  BOOL Check(CString& result) override;

  BOOL OnInitDialog() override;
  void OnWrite();
  void OnSave();
  void OnAlleKarten();

  CString m_strFileName;
  CString m_strStatus;
  BOOL m_bAlleKarten = FALSE;
  UINT m_nCard = 0;
  BOOL m_bAbfrage = FALSE;

 protected:
  void CreateControls() override;
  void DoDataExchange(CDataExchange* pDX) override;

 private:
  bool IsCardNumberValid() const { return m_nCard >= 1 && m_nCard <= m_nCards; }
  void ChooseFile();
  BOOL ResetAfterLoad(HZORIX7 card, CString& text);

  UINT m_nCards;
  const HZORIX7* m_hCard;
  UINT m_nMainCard;
};
