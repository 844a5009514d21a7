#pragma once
// The differences between a reference card from a snapshot file and a card, grouped by area
// as "--diff" prints them; lines can be selected and copied.
#include "platform/CDialog.h"
#include "platform/CListBox.h"
#include "snapshot/CardSnapshot.h"

class CSnapshotDiffDlg : public CDialog {
  Q_OBJECT

 public:
  enum : int { IDD = 180, IDC_LIST = 1000, IDC_ALL = 1001, IDC_COPY = 1002 };
  CSnapshotDiffDlg(snapshot::CardState reference, snapshot::CardState card, QWidget* parent = nullptr);

  // Without a window: the lines for the current choice of fields.
  void Fill();
  const CListBox& List() const { return m_list; }
  // The selected lines, one a line; every line when none is selected.
  CString SelectedText() const;
  void OnCopy();

  BOOL m_bAll = FALSE;  // also the fields that differ on every card by nature

 protected:
  void CreateControls() override;
  void DoDataExchange(CDataExchange* pDX) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  snapshot::CardState m_reference;
  snapshot::CardState m_card;
  CListBox m_list;
};
