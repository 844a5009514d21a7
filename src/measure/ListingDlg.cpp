#include "measure/ListingDlg.h"

#include <QFont>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The listings align their columns; Courier New, used on Windows, is rarely on Linux.
QFont FixedPitchListFont() {
  QFont f(QStringLiteral("DejaVu Sans Mono"), 8);
  f.setStyleHint(QFont::Monospace);
  f.setFixedPitch(true);
  return f;
}
}  // namespace

CListingDlg::CListingDlg(UINT templateId, int listId, CListBox& list, QWidget* parent)
    : CDialog(templateId, parent), m_listId(listId), m_list(list) {}

void CListingDlg::CreateControls() {
  auto* layout = new QVBoxLayout(this);
  QListWidget* list = AddListBox(m_listId, m_list);
  list->setFont(FixedPitchListFont());
  layout->addWidget(list);
  layout->addWidget(AddButton(IDOK, "OK", [this] { OnOK(); }), 0, Qt::AlignRight);
}
