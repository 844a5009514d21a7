#include "app/BusbelegungDlg.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/QtText.h"

CBusbelegungDlg::CBusbelegungDlg(const ChannelEntry (&channels)[kMaxCards], QWidget* parent)
    : CDialog(IDD_BUSBELEGUNG, parent), m_channels(channels) {
  SetWindowText("Busbelegung");
}

void CBusbelegungDlg::CreateControls() {
  auto* layout = new QVBoxLayout(this);
  QListWidget* list = AddListBox(IDC_BUS_LIST, m_list);
  list->setFont(FixedPitchFont(9));  // the columns of the assignment lines stay aligned
  list->setMinimumSize(480, 300);
  layout->addWidget(list);
  layout->addWidget(AddButton(IDOK, "OK"), 0, Qt::AlignRight);
}

BOOL CBusbelegungDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  for (const CString& line : BusAssignmentLines(m_channels)) m_list.AddString(line);
  return TRUE;
}
