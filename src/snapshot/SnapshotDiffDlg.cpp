#include "snapshot/SnapshotDiffDlg.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/QtText.h"
#include "snapshot/SnapshotDiff.h"

CSnapshotDiffDlg::CSnapshotDiffDlg(snapshot::CardState reference, snapshot::CardState card, QWidget* parent)
    : CDialog(IDD, parent), m_reference(std::move(reference)), m_card(std::move(card)) {
  SetWindowText("Vergleich mit Referenz");
  Fill();
}

void CSnapshotDiffDlg::Fill() {
  const auto differences = snapshot::Compare(m_reference, m_card, m_bAll != FALSE);
  m_list.ResetContent();
  m_list.AddString("Referenz " + snapshot::CardTitle(m_reference) + " | " + snapshot::CardTitle(m_card));
  m_list.AddStrings(snapshot::DifferenceLines(differences));
  m_list.AddString(differences.empty() ? CString("Keine Unterschiede")
                                       : CString::Formatted("Unterschiede: %zu", differences.size()));
}

CString CSnapshotDiffDlg::SelectedText() const {
  std::vector<int> rows;
  if (QListWidget* w = m_list.Widget())
    for (QListWidgetItem* item : w->selectedItems()) rows.push_back(w->row(item));
  if (rows.empty() && m_list.GetCurSel() >= 0) rows.push_back(m_list.GetCurSel());
  if (rows.empty())
    for (int i = 0; i < m_list.GetCount(); ++i) rows.push_back(i);
  std::sort(rows.begin(), rows.end());
  CString text;
  for (int row : rows) text += m_list.GetText(row) + "\n";
  return text;
}

void CSnapshotDiffDlg::OnCopy() { QGuiApplication::clipboard()->setText(ToQ(SelectedText())); }

void CSnapshotDiffDlg::CreateControls() {
  auto* outer = new QVBoxLayout(this);
  QListWidget* list = AddListBox(IDC_LIST, m_list);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setMinimumSize(640, 360);
  outer->addWidget(list);
  auto* row = new QHBoxLayout;
  row->addWidget(AddCheck(IDC_ALL, "Auch Felder, die sich auf jeder Karte unterscheiden"));
  row->addStretch();
  row->addWidget(AddButton(IDC_COPY, "Kopieren", [this] { OnCopy(); }));
  row->addWidget(AddButton(IDOK, "OK"));
  outer->addLayout(row);
  // Ctrl+C copies every selected line, not only the current one as a list would.
  list->installEventFilter(this);
  connect(static_cast<QCheckBox*>(GetDlgItem(IDC_ALL)), &QCheckBox::toggled, this, [this] {
    UpdateData(TRUE);
    Fill();
  });
}

void CSnapshotDiffDlg::DoDataExchange(CDataExchange* pDX) { DDX_Check(pDX, IDC_ALL, m_bAll); }

bool CSnapshotDiffDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    OnCopy();
    return true;
  }
  return CDialog::eventFilter(watched, event);
}
