#include "support/DialogTestSupport.h"

#include <QAbstractButton>
#include <QLineEdit>

void SetEditText(CDialog& dlg, int id, const CString& text) {
  dlg.EnsureControls();
  auto* edit = qobject_cast<QLineEdit*>(dlg.GetDlgItem(id));
  ASSERT_NE(edit, nullptr) << "no edit control " << id;
  edit->setText(QString::fromUtf8(text.c_str(), text.GetLength()));
}

void SetCheck(CDialog& dlg, int id, bool checked) {
  dlg.EnsureControls();
  auto* button = qobject_cast<QAbstractButton*>(dlg.GetDlgItem(id));
  ASSERT_NE(button, nullptr) << "no check box or radio button " << id;
  ASSERT_TRUE(button->isCheckable()) << "control " << id << " is a push button";
  button->setChecked(checked);
}

void Click(CDialog& dlg, int id) {
  dlg.EnsureControls();
  auto* button = qobject_cast<QAbstractButton*>(dlg.GetDlgItem(id));
  ASSERT_NE(button, nullptr) << "no button " << id;
  ASSERT_TRUE(button->isEnabled()) << "button " << id << " is disabled";
  dlg.ClickDlgItem(id);
}
