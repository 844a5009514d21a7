#pragma once
#include "platform/CDialog.h"
#include "platform/CListBox.h"

// A dialog that is one fixed-pitch listing and an OK button; the derived dialog fills the list.
class CListingDlg : public CDialog {
  Q_OBJECT

 public:
  CListingDlg(UINT templateId, int listId, CListBox& list, QWidget* parent);

 protected:
  void CreateControls() override;

 private:
  int m_listId;
  CListBox& m_list;
};
