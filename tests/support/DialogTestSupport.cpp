#include "support/DialogTestSupport.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>

#include "platform/QtText.h"

namespace {
void FailOnMissingControl(const CDialog& dlg, int id) {
  ADD_FAILURE() << "data exchange on control " << id << ", which dialog " << dlg.TemplateId() << " does not have";
}
}  // namespace

DialogFixture::DialogFixture()
    : m_hostScope(host), m_clockScope(clock), m_previousMissing(SetMissingControlHandler(FailOnMissingControl)) {
  host.SetScriptErrorHandler([](const std::string& message) { ADD_FAILURE() << "UI script: " << message; });
}

DialogFixture::~DialogFixture() { SetMissingControlHandler(m_previousMissing); }

void DialogFixture::TearDown() {
  EXPECT_EQ(host.PendingAnswers(), 0u) << "queued answers were never asked for";
  EXPECT_EQ(host.PendingDialogs(), 0u) << "queued dialogs were never opened";
  EXPECT_EQ(host.PendingFiles(), 0u) << "queued files were never chosen";
}

void SetEditText(CDialog& dlg, int id, const CString& text) {
  dlg.EnsureControls();
  auto* edit = qobject_cast<QLineEdit*>(dlg.GetDlgItem(id));
  ASSERT_NE(edit, nullptr) << "no edit control " << id;
  edit->setText(ToQ(text));
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

bool IsChecked(CDialog& dlg, int id) {
  auto* button = qobject_cast<QAbstractButton*>(dlg.GetDlgItem(id));
  EXPECT_NE(button, nullptr) << "no check box or radio button " << id;
  return button && button->isChecked();
}

std::vector<CString> ListLines(CDialog& dlg, int id) {
  std::vector<CString> lines;
  auto* w = qobject_cast<QListWidget*>(dlg.GetDlgItem(id));
  if (!w) return lines;
  for (int i = 0; i < w->count(); ++i) lines.emplace_back(FromQ(w->item(i)->text()));
  return lines;
}
