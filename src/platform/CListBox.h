#pragma once
// A list box that keeps its lines itself, so logic that fills it runs without a window;
// an attached QListWidget shows them.
#include <QMetaObject>
#include <QPointer>
#include <vector>

#include "platform/CString.h"

class QListWidget;

class CListBox {
 public:
  CListBox() = default;
  ~CListBox();
  CListBox(const CListBox&) = delete;
  CListBox& operator=(const CListBox&) = delete;

  void Attach(QListWidget* widget);  // shows the lines held so far
  QListWidget* Widget() const;  // nullptr when none is attached or it was destroyed

  int AddString(const CString& line);  // appends (lists here are unsorted); returns the index
  void AddStrings(const std::vector<std::string>& lines);  // bulk append for long listings
  int DeleteString(int index);          // returns the remaining count, -1 for a bad index
  void ResetContent();
  int GetCount() const { return static_cast<int>(m_lines.size()); }
  int GetText(int index, CString& text) const;  // length, or -1 for a bad index
  CString GetText(int index) const;
  int SetCurSel(int index);  // -1 clears the selection; returns -1 for a bad index
  int GetCurSel() const { return m_curSel; }
  const std::vector<CString>& Lines() const { return m_lines; }

 private:
  std::vector<CString> m_lines;
  int m_curSel = -1;
  // The widget may die before the box (dialog torn down) or after it (box is a member of the
  // dialog): guarded pointer one way, disconnect in the destructor the other.
  QPointer<QListWidget> m_widget;
  QMetaObject::Connection m_selConnection;
};
