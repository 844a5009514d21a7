#pragma once
// A register view built from a register map: one group box per group of the table, one control
// per field (check box, number field, hexadecimal field, radio buttons), read and written by
// walking the same table. The control-LCA and data-LCA views are two tables on this view.
#include <map>
#include <span>
#include <string>
#include <vector>

#include "card/RegisterMap.h"
#include "card/zorix7dll.h"
#include "platform/CTestDialog.h"

class QGridLayout;
class QHBoxLayout;

class CRegisterDlg : public CTestDialog {
 public:
  enum : int { IDC_READ = 1300, IDC_WRITE = 1301, kFirstFieldId = 2000 };
  CRegisterDlg(UINT idd, HZORIX7 card, std::span<const regmap::Field> fields, const char* title);

  // Control of a field; a radio field's buttons follow its first one.
  static int FieldControlId(int field, int button = 0) { return kFirstFieldId + 10 * field + button; }

  // Card logic, without a window: every register of the table into the fields, and the
  // written registers composed from the fields (a radio field without selection writes 0).
  void ReadRegisters();
  void WriteRegisters();
  // A field as it stands; a radio field gives the value of its selected button or kNoChoice.
  uint32_t FieldValue(int field) const;

  BOOL OnInitDialog() override;
  void OnRead();
  void OnWrite();

 protected:
  void CreateControls() override;
  void DoDataExchange(CDataExchange* pDX) override;
  // The layout inside a group's box, for controls a view adds of its own.
  QGridLayout* GroupLayout(const std::string& group) const;
  QHBoxLayout* ButtonRow() const { return m_buttons; }
  regmap::ReadFn CardReader() const;

  HZORIX7 m_hCard;

 private:
  void AddFieldControls(int field, QGridLayout* grid);

  std::span<const regmap::Field> m_fields;
  std::vector<uint32_t> m_values;         // flags, numbers and hexadecimal fields
  std::vector<std::vector<int>> m_radio;  // per radio field one member per button (0 = selected)
  std::vector<RadioField> m_radioFields;
  std::map<std::string, QGridLayout*> m_groups;
  QHBoxLayout* m_buttons = nullptr;
};
