#include "app/BusbelegungDlg.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CBusbelegungDlg::CBusbelegungDlg(const ChannelEntry (&channels)[kMaxCards], QWidget* parent)
    : CDialog(IDD_BUSBELEGUNG, parent), m_channels(channels) {
  SetWindowText("Busbelegung");
}

void CBusbelegungDlg::CreateControls() {
  auto* layout = new QVBoxLayout(this);
  QListWidget* list = AddListBox(IDC_BUS_LIST, m_list);
  list->setMinimumSize(480, 300);
  layout->addWidget(list);
  layout->addWidget(AddButton(IDOK, "OK", [this] { OnOK(); }), 0, Qt::AlignRight);
}

BOOL CBusbelegungDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  for (const CString& line : BusAssignmentLines(m_channels)) m_list.AddString(line);
  return TRUE;
}
