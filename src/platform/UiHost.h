#pragma once
// The one seam between the logic and a person: message boxes, modal dialogs, file
// choosers and the repaint of modeless windows all go through the current host.
#include <cstdio>
#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CString.h"
#include "platform/WinTypes.h"

class CDialog;
class QWidget;

struct FileDialogRequest {
  CString title;
  // Filter in the Windows form: pairs of description and pattern separated by '|',
  // e.g. "TA-Datei (*.ta)|*.ta|All Files (*.*)|*.*||".
  CString filter;
  CString defaultExt;
  CString initialName;
};

class UiHost {
 public:
  virtual ~UiHost() = default;
  // Returns IDOK, IDCANCEL, IDYES or IDNO.
  virtual int MessageBox(const CString& text, const CString& caption, UINT type) = 0;
  // Builds the dialog's controls, runs OnInitDialog and lets the user work with it.
  virtual INT_PTR DoModal(CDialog& dlg) = 0;
  // False when the user cancels; path is then unchanged.
  virtual bool GetOpenFileName(const FileDialogRequest& request, CString& path) = 0;
  // Asks for a file to write (it may not exist yet). False when the user cancels; path is
  // then unchanged. A host that cannot ask refuses.
  virtual bool GetSaveFileName(const FileDialogRequest&, CString&) { return false; }
  // Builds, initialises and shows a modeless window.
  virtual void ShowModeless(CDialog& dlg) = 0;
  // Repaints a window now, background erased (a long run keeps the event loop busy).
  virtual void UpdateWindow(QWidget& window) = 0;
  // Whether an automatic check may change a card for good (EEPROM, identification record).
  // In the window the ticked box is that consent; a headless run needs --yes.
  virtual bool MayChangeCard() const { return true; }
};

// The host in use; a TerminalUiHost on stdout unless the program or a test installs another.
UiHost& CurrentUiHost();
UiHost* SetCurrentUiHost(UiHost* host);  // nullptr: back to the default; returns the previous

class ScopedUiHost {
 public:
  explicit ScopedUiHost(UiHost& host) : m_previous(SetCurrentUiHost(&host)) {}
  ~ScopedUiHost() { SetCurrentUiHost(m_previous); }
  ScopedUiHost(const ScopedUiHost&) = delete;
  ScopedUiHost& operator=(const ScopedUiHost&) = delete;

 private:
  UiHost* m_previous;
};

// Shorthand used everywhere a box is shown.
int MessageBox(const CString& text, const CString& caption, UINT type = MB_OK);

// The Windows '|' filter form ("TA-Datei (*.ta)|*.ta||") as a Qt name filter list
// ("TA-Datei (*.ta)"; entries joined by ";;"); a text without '|' is taken as a pattern.
std::string ToQtFileFilter(std::string_view filter);

// Real windows.
class QtUiHost final : public UiHost {
 public:
  int MessageBox(const CString& text, const CString& caption, UINT type) override;
  INT_PTR DoModal(CDialog& dlg) override;
  bool GetOpenFileName(const FileDialogRequest& request, CString& path) override;
  bool GetSaveFileName(const FileDialogRequest& request, CString& path) override;
  void ShowModeless(CDialog& dlg) override;
  void UpdateWindow(QWidget& window) override;
};

// Headless runs: boxes are printed; questions take the configured answer (a Yes/No/Cancel
// question Cancel), or ask on the terminal when input is one. Modal dialogs are initialised
// and cancelled; a file chooser takes the file given on the command line, if any.
class TerminalUiHost final : public UiHost {
 public:
  explicit TerminalUiHost(FILE* out = stdout, bool interactive = false, int yesNoAnswer = IDNO);
  void SetFileAnswer(std::optional<CString> path) { m_fileAnswer = std::move(path); }
  void SetCardChangeConsent(bool consent) { m_cardChangeConsent = consent; }
  bool MayChangeCard() const override { return m_cardChangeConsent; }
  int MessageBox(const CString& text, const CString& caption, UINT type) override;
  INT_PTR DoModal(CDialog& dlg) override;
  bool GetOpenFileName(const FileDialogRequest& request, CString& path) override;
  bool GetSaveFileName(const FileDialogRequest& request, CString& path) override;
  void ShowModeless(CDialog& dlg) override;
  void UpdateWindow(QWidget& window) override;

 private:
  FILE* m_out;
  bool m_interactive;
  int m_yesNoAnswer;
  std::optional<CString> m_fileAnswer;
  bool m_cardChangeConsent = false;
  std::set<std::string> m_windowsNotShown;  // said once per run, not once per card
};

// Tests: answers are queued, everything shown is recorded.
class ScriptedUiHost final : public UiHost {
 public:
  struct Box {
    CString text;
    CString caption;
    UINT type = 0;
    int answer = 0;
  };
  struct DialogRun {
    std::string className;  // typeid name, demangled
    CString title;
    INT_PTR result = 0;
  };
  // Receives the initialised dialog; may set controls and call OnOK/OnCancel or handlers.
  // Returns the modal result (use dlg.ModalResult() after OnOK/OnCancel).
  using DialogHandler = std::function<INT_PTR(CDialog&)>;

  void QueueAnswer(int answer);
  void QueueDialog(DialogHandler handler);
  // The next dialog must be a T (or derived from it); another kind is a script error.
  template <typename T, typename Handler>
  void QueueDialogOf(Handler handler) {
    QueueDialog([this, handler](CDialog& dlg) -> INT_PTR {
      if (auto* typed = dynamic_cast<T*>(&dlg)) return handler(*typed);
      ReportScriptError("a " + DialogClassName(dlg) + " was opened where the script expected another dialog");
      return PressCancel(dlg);
    });
  }
  // One queue for both choosers, in the order they are asked.
  void QueueFile(std::optional<CString> path);  // nullopt = chooser cancelled

  // Strict: a Yes/No question without a queued answer is a script error (answered No), so
  // no test can answer "Yes" to a write without saying so.
  void SetStrict(bool strict) { m_strict = strict; }
  // As in the window, a ticked box consents to changing the card unless a test says otherwise.
  void SetCardChangeConsent(bool consent) { m_cardChangeConsent = consent; }
  bool MayChangeCard() const override { return m_cardChangeConsent; }
  // Script errors (wrong dialog, unanswered question) go here; tests fail on them.
  void SetScriptErrorHandler(std::function<void(const std::string&)> handler) { m_onError = std::move(handler); }
  void ReportScriptError(const std::string& message);
  static std::string DialogClassName(const CDialog& dlg);

  // Without a queued answer a box takes its first button (IDOK or IDYES; in strict mode a
  // question is answered No); without a queued handler a dialog is cancelled; without a
  // queued file the chooser is cancelled.
  int MessageBox(const CString& text, const CString& caption, UINT type) override;
  INT_PTR DoModal(CDialog& dlg) override;
  bool GetOpenFileName(const FileDialogRequest& request, CString& path) override;
  bool GetSaveFileName(const FileDialogRequest& request, CString& path) override;
  void ShowModeless(CDialog& dlg) override;
  void UpdateWindow(QWidget& window) override;

  const std::vector<Box>& Boxes() const { return m_boxes; }
  const std::vector<DialogRun>& Dialogs() const { return m_dialogs; }
  const std::vector<FileDialogRequest>& FileRequests() const { return m_fileRequests; }
  const std::vector<FileDialogRequest>& SaveRequests() const { return m_saveRequests; }
  int ModelessShown() const { return m_modeless; }
  int WindowUpdates() const { return m_updates; }
  size_t PendingAnswers() const { return m_answers.size(); }
  size_t PendingDialogs() const { return m_handlers.size(); }
  size_t PendingFiles() const { return m_files.size(); }
  void Clear();

  // Handlers for the common cases.
  static INT_PTR PressOk(CDialog& dlg);
  static INT_PTR PressCancel(CDialog& dlg);

 private:
  bool m_strict = false;
  bool m_cardChangeConsent = true;
  std::function<void(const std::string&)> m_onError;
  std::deque<int> m_answers;
  std::deque<DialogHandler> m_handlers;
  std::deque<std::optional<CString>> m_files;
  std::vector<Box> m_boxes;
  std::vector<DialogRun> m_dialogs;
  std::vector<FileDialogRequest> m_fileRequests;
  std::vector<FileDialogRequest> m_saveRequests;
  bool NextFile(CString& path);
  int m_modeless = 0;
  int m_updates = 0;
};
