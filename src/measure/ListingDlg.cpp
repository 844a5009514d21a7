#include "measure/ListingDlg.h"

#include <QFont>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/QtText.h"


CListingDlg::CListingDlg(UINT templateId, int listId, CListBox& list, QWidget* parent)
    : CDialog(templateId, parent), m_listId(listId), m_list(list) {}

void CListingDlg::CreateControls() {
  auto* layout = new QVBoxLayout(this);
  QListWidget* list = AddListBox(m_listId, m_list);
  list->setFont(FixedPitchFont());
  layout->addWidget(list);
  layout->addWidget(AddButton(IDOK, "OK"), 0, Qt::AlignRight);
}
