#include "platform/CListBox.h"

#include <QListWidget>
#include <QSignalBlocker>
#include <QStringList>

#include "platform/QtText.h"

CListBox::~CListBox() { QObject::disconnect(m_selConnection); }

QListWidget* CListBox::Widget() const { return m_widget.data(); }

void CListBox::Attach(QListWidget* widget) {
  QObject::disconnect(m_selConnection);
  m_widget = widget;
  if (!widget) return;
  {
    QSignalBlocker block(widget);
    widget->clear();
    QStringList items;
    items.reserve(static_cast<qsizetype>(m_lines.size()));
    for (const auto& l : m_lines) items << ToQ(l);
    widget->addItems(items);
    widget->setCurrentRow(m_curSel);
  }
  // A selection the user makes is what GetCurSel reports.
  m_selConnection = QObject::connect(widget, &QListWidget::currentRowChanged, [this](int row) {
    m_curSel = row >= 0 && row < GetCount() ? row : -1;
  });
}

int CListBox::AddString(const CString& line) {
  m_lines.push_back(line);
  if (QListWidget* w = Widget()) w->addItem(ToQ(line));
  return GetCount() - 1;
}

void CListBox::AddStrings(const std::vector<std::string>& lines) {
  m_lines.reserve(m_lines.size() + lines.size());
  QStringList items;
  QListWidget* w = Widget();
  if (w) items.reserve(static_cast<qsizetype>(lines.size()));
  for (const auto& l : lines) {
    m_lines.emplace_back(l);
    if (w) items << QString::fromStdString(l);
  }
  if (w) {
    QSignalBlocker block(w);
    w->addItems(items);
  }
}

int CListBox::DeleteString(int index) {
  if (index < 0 || index >= GetCount()) return -1;
  m_lines.erase(m_lines.begin() + index);
  if (m_curSel == index)
    m_curSel = -1;
  else if (m_curSel > index)
    --m_curSel;
  if (QListWidget* w = Widget()) {
    QSignalBlocker block(w);
    delete w->takeItem(index);
    w->setCurrentRow(m_curSel);
  }
  return GetCount();
}

void CListBox::ResetContent() {
  m_lines.clear();
  m_curSel = -1;
  if (QListWidget* w = Widget()) {
    QSignalBlocker block(w);
    w->clear();
  }
}

int CListBox::GetText(int index, CString& text) const {
  if (index < 0 || index >= GetCount()) return -1;
  text = m_lines[static_cast<size_t>(index)];
  return text.GetLength();
}

CString CListBox::GetText(int index) const {
  CString s;
  GetText(index, s);
  return s;
}

int CListBox::SetCurSel(int index) {
  if (index < -1 || index >= GetCount()) {
    // As on Windows: a bad index clears the selection and reports failure.
    m_curSel = -1;
    if (QListWidget* w = Widget()) {
      QSignalBlocker block(w);
      w->setCurrentRow(-1);
    }
    return -1;
  }
  m_curSel = index;
  if (QListWidget* w = Widget()) {
    QSignalBlocker block(w);
    w->setCurrentRow(index);
    if (index >= 0) w->scrollToItem(w->item(index));
  }
  return index;
}
