#include <cctype>
#include <cstring>
#include <typeinfo>

#include "platform/CDialog.h"
#include "platform/UiHost.h"

TerminalUiHost::TerminalUiHost(FILE* out, bool interactive, int yesNoAnswer)
    : m_out(out ? out : stdout), m_interactive(interactive), m_yesNoAnswer(yesNoAnswer) {}

namespace {
const char* AnswerName(int answer) {
  switch (answer) {
    case IDOK: return "OK";
    case IDYES: return "Ja";
    case IDNO: return "Nein";
    default: return "Abbrechen";
  }
}

// Reads an answer from standard input; end of input takes the fallback.
int AskTerminal(FILE* out, UINT kind, int fallback) {
  const char* prompt = kind == MB_YESNOCANCEL ? "(j/n/a)" : kind == MB_OKCANCEL ? "(o/a)" : "(j/n)";
  for (;;) {
    std::fprintf(out, "%s ", prompt);
    std::fflush(out);
    char line[64];
    if (!std::fgets(line, sizeof line, stdin)) return fallback;
    char c = static_cast<char>(std::tolower(static_cast<unsigned char>(line[0])));
    if (kind == MB_OKCANCEL) {
      if (c == 'o') return IDOK;
      if (c == 'a') return IDCANCEL;
    } else {
      if (c == 'j' || c == 'y') return IDYES;
      if (c == 'n') return IDNO;
      if (c == 'a' && kind == MB_YESNOCANCEL) return IDCANCEL;
    }
  }
}
}  // namespace

int TerminalUiHost::MessageBox(const CString& text, const CString& caption, UINT type) {
  std::fprintf(m_out, "[%s] %s\n", caption.c_str(), text.c_str());
  UINT kind = type & MB_TYPEMASK;
  if (kind == MB_OK) {
    std::fflush(m_out);
    return IDOK;
  }
  int configured = m_yesNoAnswer;
  // A run nobody watches never loops on a question: "go on?" is answered Cancel.
  if (kind == MB_YESNOCANCEL && !m_interactive) configured = IDCANCEL;
  if (kind == MB_OKCANCEL) configured = (m_yesNoAnswer == IDYES || m_yesNoAnswer == IDOK) ? IDOK : IDCANCEL;
  if (kind == MB_YESNO && configured == IDCANCEL) configured = IDNO;
  int answer = m_interactive ? AskTerminal(m_out, kind, configured) : configured;
  std::fprintf(m_out, "  -> %s\n", AnswerName(answer));
  std::fflush(m_out);
  return answer;
}

INT_PTR TerminalUiHost::DoModal(CDialog& dlg) {
  dlg.InitDialog();
  if (dlg.IsEnded()) return dlg.ModalResult();
  if (m_windowsNotShown.insert(dlg.GetWindowText().str()).second) {
    std::fprintf(m_out, "[%s] Dialog kann ohne Bildschirm nicht angezeigt werden.\n", dlg.GetWindowText().c_str());
    std::fflush(m_out);
  }
  return IDCANCEL;
}

bool TerminalUiHost::GetOpenFileName(const FileDialogRequest& request, CString& path) {
  if (m_fileAnswer) {
    path = *m_fileAnswer;
    return true;
  }
  std::fprintf(m_out, "[%s] Dateiauswahl ohne Bildschirm nicht möglich.\n", request.title.c_str());
  std::fflush(m_out);
  return false;
}

bool TerminalUiHost::GetSaveFileName(const FileDialogRequest& request, CString&) {
  // The command-line file is one to read; nothing is written without a person choosing.
  std::fprintf(m_out, "[%s] Speichern ohne Bildschirm nicht möglich.\n", request.title.c_str());
  std::fflush(m_out);
  return false;
}

void TerminalUiHost::ShowModeless(CDialog& dlg) { dlg.InitDialog(); }

void TerminalUiHost::UpdateWindow(QWidget&) {}
