#pragma once
#include "app/ChannelTable.h"
#include "app/Resource.h"
#include "platform/CDialog.h"

// Lists the sixteen channels with their bus and slot and the card found there.
class CBusbelegungDlg : public CDialog {
  Q_OBJECT

 public:
  CBusbelegungDlg(const ChannelEntry (&channels)[kMaxCards], QWidget* parent = nullptr);
  BOOL OnInitDialog() override;
  CListBox m_list;

 protected:
  void CreateControls() override;

 private:
  const ChannelEntry (&m_channels)[kMaxCards];
};
