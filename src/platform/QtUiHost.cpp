#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "platform/CDialog.h"
#include "platform/QtText.h"
#include "platform/UiHost.h"

int QtUiHost::MessageBox(const CString& text, const CString& caption, UINT type) {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  switch (type & 0xF0) {
    case MB_ICONERROR: icon = QMessageBox::Critical; break;
    case MB_ICONQUESTION: icon = QMessageBox::Question; break;
    case MB_ICONWARNING: icon = QMessageBox::Warning; break;
    case MB_ICONINFORMATION: icon = QMessageBox::Information; break;
    default: break;
  }
  QMessageBox::StandardButtons buttons;
  UINT kind = type & MB_TYPEMASK;
  switch (kind) {
    case MB_OKCANCEL: buttons = QMessageBox::Ok | QMessageBox::Cancel; break;
    case MB_YESNO: buttons = QMessageBox::Yes | QMessageBox::No; break;
    case MB_YESNOCANCEL: buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    default: buttons = QMessageBox::Ok; break;
  }
  QMessageBox box(icon, ToQ(caption), ToQ(text), buttons, QApplication::activeWindow());
  // German captions whatever translations the system has.
  if (auto* b = box.button(QMessageBox::Yes)) b->setText(QStringLiteral("&Ja"));
  if (auto* b = box.button(QMessageBox::No)) b->setText(QStringLiteral("&Nein"));
  if (auto* b = box.button(QMessageBox::Cancel)) b->setText(QStringLiteral("Abbrechen"));
  switch (box.exec()) {
    case QMessageBox::Ok: return IDOK;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    case QMessageBox::Cancel: return IDCANCEL;
    default:
      // Closed without a button: a yes/no question has no cancel, so it counts as No.
      return kind == MB_YESNO ? IDNO : kind == MB_OK ? IDOK : IDCANCEL;
  }
}

INT_PTR QtUiHost::DoModal(CDialog& dlg) {
  dlg.InitDialog();
  if (dlg.IsEnded()) return dlg.ModalResult();
  int r = dlg.exec();
  return dlg.IsEnded() ? dlg.ModalResult() : r;
}

namespace {

bool RunFileDialog(const FileDialogRequest& request, QFileDialog::AcceptMode mode, CString& path) {
  QFileDialog fd(QApplication::activeWindow(), ToQ(request.title));
  fd.setAcceptMode(mode);
  fd.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (mode == QFileDialog::AcceptSave) {
    // German labels whatever translations the system has.
    fd.setLabelText(QFileDialog::Accept, QStringLiteral("Speichern"));
    fd.setLabelText(QFileDialog::Reject, QStringLiteral("Abbrechen"));
    fd.setLabelText(QFileDialog::FileName, QStringLiteral("Dateiname:"));
    fd.setLabelText(QFileDialog::FileType, QStringLiteral("Dateityp:"));
  }
  if (!request.filter.IsEmpty()) fd.setNameFilter(QString::fromStdString(ToQtFileFilter(request.filter.str())));
  // "*.*" or "*.ta" as the default extension: only a plain suffix makes sense here.
  std::string ext = request.defaultExt.str();
  while (!ext.empty() && (ext.front() == '*' || ext.front() == '.')) ext.erase(0, 1);
  if (!ext.empty() && ext.find_first_of("*?") == std::string::npos) fd.setDefaultSuffix(QString::fromStdString(ext));
  // An initial name with wildcards ("*.ini") is a filter hint, not a file to preselect.
  const std::string& initial = request.initialName.str();
  if (!initial.empty() && initial.find_first_of("*?") == std::string::npos) fd.selectFile(ToQ(request.initialName));
  if (fd.exec() != QDialog::Accepted) return false;
  QStringList files = fd.selectedFiles();
  if (files.isEmpty()) return false;
  path = CString(files.first().toStdString());
  return true;
}

}  // namespace

bool QtUiHost::GetOpenFileName(const FileDialogRequest& request, CString& path) {
  return RunFileDialog(request, QFileDialog::AcceptOpen, path);
}

bool QtUiHost::GetSaveFileName(const FileDialogRequest& request, CString& path) {
  return RunFileDialog(request, QFileDialog::AcceptSave, path);
}

void QtUiHost::ShowModeless(CDialog& dlg) {
  dlg.InitDialog();
  if (dlg.IsEnded()) return;
  dlg.show();
  dlg.raise();
}

void QtUiHost::UpdateWindow(QWidget& window) { window.repaint(); }
