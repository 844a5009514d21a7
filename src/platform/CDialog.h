#pragma once
// Dialogs keep the shape they have on Windows: controls carry numeric ids, values move
// between members and controls through DoDataExchange/UpdateData, and DoModal runs through
// the current UiHost so that tests drive the real handlers.
#include <QDialog>
#include <QPointer>
#include <functional>
#include <initializer_list>
#include <map>
#include <vector>

#include "platform/CListBox.h"
#include "platform/CString.h"
#include "platform/WinTypes.h"

class QBoxLayout;
class QLayout;
class QPushButton;
class QLineEdit;
class QPlainTextEdit;
class QCheckBox;
class QRadioButton;
class QLabel;
class CDialog;

class CDataExchange {
 public:
  CDataExchange(CDialog* dlg, BOOL saveAndValidate) : m_pDlgWnd(dlg), m_bSaveAndValidate(saveAndValidate) {}
  CDialog* m_pDlgWnd;
  BOOL m_bSaveAndValidate;  // TRUE: controls -> members
  bool m_failed = false;    // a control did not hold a valid value; exchange stops there
  int m_failedId = 0;
};

// Edit controls (QLineEdit) and static texts (QLabel) exchange text and numbers; numbers that
// do not parse or do not fit are reported in a box and leave the member unchanged.
void DDX_Text(CDataExchange* pDX, int id, int& value);
void DDX_Text(CDataExchange* pDX, int id, UINT& value);
void DDX_Text(CDataExchange* pDX, int id, short& value);
void DDX_Text(CDataExchange* pDX, int id, BYTE& value);
void DDX_Text(CDataExchange* pDX, int id, WORD& value);
void DDX_Text(CDataExchange* pDX, int id, float& value);
void DDX_Text(CDataExchange* pDX, int id, double& value);
void DDX_Text(CDataExchange* pDX, int id, CString& value);
// Hexadecimal text: shown upper case with a fixed number of digits, taken in upper or lower
// case with or without "0x"; text that is no number is refused and leaves the member unchanged.
void DDX_Hex(CDataExchange* pDX, int id, DWORD& value, int digits);
// Check boxes (QCheckBox) as 0/1.
void DDX_Check(CDataExchange* pDX, int id, BOOL& value);
// A radio button (QRadioButton, each its own group): 0 = selected, any other value = not.
void DDX_Radio(CDataExchange* pDX, int id, int& value);

// The buttons of one radio field: each its own group with its own member (0 = selected).
struct RadioButtonDef {
  int id;
  const char* caption;
  int* member;
};
using RadioField = std::vector<RadioButtonDef>;
// Member of each button for a value: the button at index selected, the others cleared; an
// index outside the field clears them all. SelectedRadio gives the index, or -1.
void SelectRadio(const RadioField& field, int index);
int SelectedRadio(const RadioField& field);

// What an edit field takes: used to mark it while typing and to name it in messages.
struct FieldRule {
  enum class Kind { Integer, Number, Hex };
  Kind kind = Kind::Integer;
  long long lo = 0;  // integers only
  unsigned long long hi = 0;
  bool Accepts(const CString& text) const;
  // "eine ganze Zahl zwischen 0 und 255", "eine Zahl", "eine Hexadezimalzahl (bis FFFFFFFF)"
  CString Describe() const;
};

// A data exchange on an id that has no control is a programming error. It is reported here:
// by default an assertion in debug builds; tests install a handler that fails the test.
using MissingControlHandler = void (*)(const CDialog& dlg, int id);
MissingControlHandler SetMissingControlHandler(MissingControlHandler handler);

class CDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CDialog(UINT templateId, QWidget* parent = nullptr);
  ~CDialog() override;

  UINT TemplateId() const { return m_templateId; }

  virtual BOOL OnInitDialog();  // default: UpdateData(FALSE)
  virtual void OnOK();          // default: UpdateData(TRUE), then EndDialog(IDOK)
  virtual void OnCancel();      // default: EndDialog(IDCANCEL)
  void EndDialog(INT_PTR result);
  INT_PTR DoModal();  // through CurrentUiHost()

  BOOL UpdateData(BOOL saveAndValidate = TRUE);

  // For hosts: builds the controls once and runs OnInitDialog. Returns its result.
  BOOL InitDialog();
  void EnsureControls();
  bool IsEnded() const { return m_ended; }
  INT_PTR ModalResult() const { return m_modalResult; }

  QWidget* GetDlgItem(int id) const;
  CString GetDlgItemText(int id) const;
  void SetDlgItemText(int id, const CString& text);
  void SetWindowText(const CString& text);
  CString GetWindowText() const;
  // Presses a button as a user would (runs its handler).
  void ClickDlgItem(int id);

  // An edit whose text its rule refuses is framed red while typing, its tooltip naming what
  // it takes. The data exchange sets the rule of number and hex fields; a dialog that keeps
  // hex values as text sets it itself.
  void SetFieldRule(int id, const FieldRule& rule);
  bool IsFieldRefused(int id) const;
  // The text beside a control (left of it in its grid), empty without one.
  CString FieldLabel(int id) const;
  // A question followed by the labels of the fields whose text is refused now, which the
  // action asked about will leave aside.
  CString WithIgnoredFields(const CString& question) const;

  // Public as in QDialog, so that code and tests can close a dialog the way Qt does.
  void done(int r) override;
  void reject() override;  // Escape and the close box run OnCancel

 protected:
  virtual void CreateControls() {}
  virtual void DoDataExchange(CDataExchange* pDX);

  // Control factories for CreateControls: each control gets its id; the caller lays it out.
  // IDOK and IDCANCEL without a handler run OnOK and OnCancel.
  QPushButton* AddButton(int id, const CString& caption, std::function<void()> onClick = {});
  QLineEdit* AddEdit(int id);
  // A multi-line edit; its text keeps CR LF line ends in the exchange, as on Windows.
  QPlainTextEdit* AddMultiLineEdit(int id, bool readOnly);
  QCheckBox* AddCheck(int id, const CString& caption);
  QRadioButton* AddRadio(int id, const CString& caption, std::function<void()> onClick = {});
  // The buttons of one field: a click reads the controls, selects its button, clears the
  // others and shows the controls again. Returned in field order for the layout.
  std::vector<QRadioButton*> AddRadioField(const RadioField& field);
  QLabel* AddStatic(int id, const CString& text);  // id 0 for texts no one refers to
  QListWidget* AddListBox(int id, CListBox& box, std::function<void()> onDoubleClick = {});
  void RegisterControl(int id, QWidget* widget);
  // Puts a tall body of controls into a scroll area added to outer, so the window fits the
  // smallest bench screen while the buttons added to outer after it stay in view.
  void AddScrolledBody(QBoxLayout* outer, QLayout* body);

 private:
  UINT m_templateId;
  std::map<int, QPointer<QWidget>> m_controls;  // guarded: a dialog may delete a control
  std::map<int, FieldRule> m_rules;
  void MarkField(int id);
  bool m_controlsBuilt = false;
  bool m_ended = false;
  INT_PTR m_modalResult = 0;
};
