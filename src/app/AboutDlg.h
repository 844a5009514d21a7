#pragma once
#include "app/Resource.h"
#include "platform/CDialog.h"

class CAboutDlg : public CDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);

 protected:
  void CreateControls() override;
};
