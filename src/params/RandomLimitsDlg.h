#pragma once
#include <variant>
#include <vector>

#include "params/ParameterSet.h"
#include "platform/CDialog.h"

// Edits the bounds of randomly drawn parameters ("Random Limits"): a "Minimum" and a
// "Maximum" edit per field, in the field's own width. "OK" writes both records back;
// closing otherwise leaves them unchanged.
class CRandomLimitsDlg : public CDialog {
  Q_OBJECT

 public:
  // Minimum edits are IDC_MIN_FIRST + row, maximum edits IDC_MAX_FIRST + row, rows in the
  // order of Rows().
  enum : int { IDD = 168, IDC_MIN_FIRST = 1400, IDC_MAX_FIRST = 1450 };

  using FieldRef = std::variant<BYTE*, WORD*, DWORD*>;
  struct Row {
    const char* caption;
    FieldRef (*field)(ParameterSet&);
  };
  static const std::vector<Row>& Rows();

  CRandomLimitsDlg(ParameterSet* min, ParameterSet* max, QWidget* parent = nullptr);
  BOOL OnInitDialog() override;
  void OnOK() override;

  ParameterSet* m_pMin;
  ParameterSet* m_pMax;
  ParameterSet m_min;  // the edits' values
  ParameterSet m_max;

 protected:
  void CreateControls() override;
  void DoDataExchange(CDataExchange* pDX) override;
};
