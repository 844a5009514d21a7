#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "platform/CDialog.h"
#include "platform/UiHost.h"

namespace {
std::string Demangle(const char* name) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> out(abi::__cxa_demangle(name, nullptr, nullptr, &status), std::free);
  return status == 0 && out ? std::string(out.get()) : std::string(name);
}
}  // namespace

std::string ScriptedUiHost::DialogClassName(const CDialog& dlg) { return Demangle(typeid(dlg).name()); }

void ScriptedUiHost::ReportScriptError(const std::string& message) {
  if (m_onError) m_onError(message);
}

void ScriptedUiHost::QueueAnswer(int answer) { m_answers.push_back(answer); }
void ScriptedUiHost::QueueDialog(DialogHandler handler) { m_handlers.push_back(std::move(handler)); }
void ScriptedUiHost::QueueFile(std::optional<CString> path) { m_files.push_back(std::move(path)); }

int ScriptedUiHost::MessageBox(const CString& text, const CString& caption, UINT type) {
  int answer;
  if (!m_answers.empty()) {
    answer = m_answers.front();
    m_answers.pop_front();
  } else {
    UINT kind = type & MB_TYPEMASK;
    bool question = kind == MB_YESNO || kind == MB_YESNOCANCEL;
    answer = question ? (m_strict ? IDNO : IDYES) : IDOK;
    if (question && m_strict) ReportScriptError("unanswered question \"" + text.str() + "\" (" + caption.str() + ")");
  }
  m_boxes.push_back(Box{text, caption, type, answer});
  return answer;
}

INT_PTR ScriptedUiHost::DoModal(CDialog& dlg) {
  // Recorded when opened, so nested dialogs appear in the order they were run.
  size_t index = m_dialogs.size();
  m_dialogs.push_back(DialogRun{DialogClassName(dlg), CString(), 0});
  dlg.InitDialog();
  m_dialogs[index].title = dlg.GetWindowText();
  INT_PTR result;
  if (dlg.IsEnded()) {
    result = dlg.ModalResult();
  } else if (!m_handlers.empty()) {
    DialogHandler handler = std::move(m_handlers.front());
    m_handlers.pop_front();
    result = handler(dlg);
  } else {
    result = PressCancel(dlg);
  }
  m_dialogs[index].result = result;
  return result;
}

bool ScriptedUiHost::GetOpenFileName(const FileDialogRequest& request, CString& path) {
  m_fileRequests.push_back(request);
  return NextFile(path);
}

bool ScriptedUiHost::GetSaveFileName(const FileDialogRequest& request, CString& path) {
  m_saveRequests.push_back(request);
  return NextFile(path);
}

bool ScriptedUiHost::NextFile(CString& path) {
  if (m_files.empty()) return false;
  std::optional<CString> file = std::move(m_files.front());
  m_files.pop_front();
  if (!file) return false;
  path = *file;
  return true;
}

void ScriptedUiHost::ShowModeless(CDialog& dlg) {
  dlg.InitDialog();
  ++m_modeless;
}

void ScriptedUiHost::UpdateWindow(QWidget&) { ++m_updates; }

void ScriptedUiHost::Clear() {
  m_answers.clear();
  m_handlers.clear();
  m_files.clear();
  m_boxes.clear();
  m_dialogs.clear();
  m_fileRequests.clear();
  m_saveRequests.clear();
  m_modeless = 0;
  m_updates = 0;
}

INT_PTR ScriptedUiHost::PressOk(CDialog& dlg) {
  dlg.OnOK();
  if (dlg.IsEnded()) return dlg.ModalResult();
  // Validation kept the dialog open; a script cannot type again, so it gives up.
  return PressCancel(dlg);
}

INT_PTR ScriptedUiHost::PressCancel(CDialog& dlg) {
  dlg.OnCancel();
  return dlg.IsEnded() ? dlg.ModalResult() : static_cast<INT_PTR>(IDCANCEL);
}
