#pragma once
// Dialogs keep the shape of the original framework: controls carry numeric ids, values move
// between members and controls through DoDataExchange/UpdateData, and DoModal runs through
// the current UiHost so that tests drive the real handlers.
#include <QDialog>
#include <QPointer>
#include <functional>
#include <map>

#include "platform/CListBox.h"
#include "platform/CString.h"
#include "platform/WinTypes.h"

class QPushButton;
class QLineEdit;
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
// Check boxes (QCheckBox) and radio buttons (QRadioButton, each its own group) as 0/1.
void DDX_Check(CDataExchange* pDX, int id, BOOL& value);
void DDX_Radio(CDataExchange* pDX, int id, BOOL& value);

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

  // Public as in QDialog, so that code and tests can close a dialog the way Qt does.
  void done(int r) override;
  void reject() override;  // Escape and the close box run OnCancel

 protected:
  virtual void CreateControls() {}
  virtual void DoDataExchange(CDataExchange* pDX);

  // Control factories for CreateControls: each control gets its id; the caller lays it out.
  QPushButton* AddButton(int id, const CString& caption, std::function<void()> onClick);
  QLineEdit* AddEdit(int id);
  QCheckBox* AddCheck(int id, const CString& caption);
  QRadioButton* AddRadio(int id, const CString& caption, std::function<void()> onClick = {});
  QLabel* AddStatic(int id, const CString& text);  // id 0 for texts no one refers to
  QListWidget* AddListBox(int id, CListBox& box, std::function<void()> onDoubleClick = {});
  void RegisterControl(int id, QWidget* widget);


 private:
  UINT m_templateId;
  std::map<int, QPointer<QWidget>> m_controls;  // guarded: a dialog may delete a control
  bool m_controlsBuilt = false;
  bool m_ended = false;
  INT_PTR m_modalResult = 0;
};
