#include "diag/RegisterDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/UiHost.h"

using regmap::Field;
using regmap::Kind;

namespace {
constexpr int kBoxColumns = 3;  // narrow enough for a 1024 pixel wide screen
}

CRegisterDlg::CRegisterDlg(UINT idd, HZORIX7 card, std::span<const Field> fields, const char* title)
    : CTestDialog(idd),
      m_hCard(card),
      m_fields(fields),
      m_values(fields.size(), 0),
      m_radio(fields.size()),
      m_radioFields(fields.size()) {
  SetWindowText(title);
  // Members of the radio buttons are built once; the fields point at them for good.
  for (size_t i = 0; i < fields.size(); ++i) m_radio[i].assign(fields[i].choices.size(), 1);
  for (size_t i = 0; i < fields.size(); ++i)
    for (size_t j = 0; j < fields[i].choices.size(); ++j)
      m_radioFields[i].push_back(
          {FieldControlId(static_cast<int>(i), static_cast<int>(j)), fields[i].choices[j].caption, &m_radio[i][j]});
}

regmap::ReadFn CRegisterDlg::CardReader() const {
  // Register values are 16 bits; the library's word carries them in its low half.
  return [card = m_hCard](uint16_t reg) { return static_cast<uint16_t>(ZORIX7ReadRegister(card, reg) & 0xFFFF); };
}

void CRegisterDlg::ReadRegisters() {
  regmap::DecodeInto(m_fields, regmap::ReadAll(m_fields, CardReader()), m_values);
  for (size_t i = 0; i < m_fields.size(); ++i)
    if (m_fields[i].kind == Kind::Choice && m_fields[i].readBack)
      SelectRadio(m_radioFields[i], m_fields[i].ChoiceIndex(m_values[i]));
}

uint32_t CRegisterDlg::FieldValue(int field) const {
  const Field& f = m_fields[static_cast<size_t>(field)];
  if (f.kind != Kind::Choice) return m_values[static_cast<size_t>(field)];
  int selected = SelectedRadio(m_radioFields[static_cast<size_t>(field)]);
  return selected < 0 ? regmap::kNoChoice : f.choices[static_cast<size_t>(selected)].value;
}

void CRegisterDlg::WriteRegisters() {
  std::vector<uint32_t> values;
  for (size_t i = 0; i < m_fields.size(); ++i) values.push_back(FieldValue(static_cast<int>(i)));
  regmap::WriteAll(m_fields, regmap::Encode(m_fields, values),
                   [card = m_hCard](uint16_t reg, uint16_t value) { ZORIX7WriteRegister(card, reg, value); });
}

BOOL CRegisterDlg::OnInitDialog() {
  ReadRegisters();
  return CTestDialog::OnInitDialog();
}

void CRegisterDlg::OnRead() {
  ReadRegisters();
  UpdateData(FALSE);
}

void CRegisterDlg::OnWrite() {
  if (MessageBox("Wollen Sie wirklich schreiben?", "LCA-Register", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  if (!UpdateData(TRUE)) return;
  WriteRegisters();
  OnRead();
}

void CRegisterDlg::DoDataExchange(CDataExchange* pDX) {
  for (size_t i = 0; i < m_fields.size(); ++i) {
    const int id = FieldControlId(static_cast<int>(i));
    uint32_t& value = m_values[i];
    switch (m_fields[i].kind) {
      case Kind::Flag: {
        BOOL on = value ? TRUE : FALSE;
        DDX_Check(pDX, id, on);
        value = on ? 1 : 0;
        break;
      }
      case Kind::Number: {
        UINT number = value;
        DDX_Text(pDX, id, number);
        value = number;
        break;
      }
      case Kind::HexText: {
        DWORD hex = value;
        DDX_Hex(pDX, id, hex, 4);
        value = hex;
        break;
      }
      case Kind::Choice:
        for (const RadioButtonDef& button : m_radioFields[i]) DDX_Radio(pDX, button.id, *button.member);
        break;
    }
  }
}

QGridLayout* CRegisterDlg::GroupLayout(const std::string& group) const {
  auto it = m_groups.find(group);
  return it == m_groups.end() ? nullptr : it->second;
}

void CRegisterDlg::AddFieldControls(int field, QGridLayout* grid) {
  const Field& f = m_fields[static_cast<size_t>(field)];
  const int id = FieldControlId(field);
  int row = grid->rowCount();
  std::vector<QWidget*> controls;
  switch (f.kind) {
    case Kind::Flag:
      controls.push_back(AddCheck(id, f.caption));
      grid->addWidget(controls.back(), row, 0, 1, 2);
      break;
    case Kind::Number:
    case Kind::HexText:
      grid->addWidget(AddStatic(0, f.caption), row, 0);
      controls.push_back(AddEdit(id));
      grid->addWidget(controls.back(), row, 1);
      break;
    case Kind::Choice:
      grid->addWidget(AddStatic(0, f.caption), row++, 0, 1, 2);
      for (QRadioButton* button : AddRadioField(m_radioFields[static_cast<size_t>(field)])) {
        controls.push_back(button);
        grid->addWidget(button, row++, 0, 1, 2);
      }
      break;
  }
  // Fields the card reports are shown, never edited.
  if (!f.written)
    for (QWidget* control : controls) control->setEnabled(false);
}

void CRegisterDlg::CreateControls() {
  auto* outer = new QVBoxLayout(this);
  auto* body = new QVBoxLayout;
  auto* loose = new QGridLayout;  // fields outside any group box
  auto* boxes = new QGridLayout;
  body->addLayout(loose);
  body->addLayout(boxes);
  m_groups[""] = loose;
  for (size_t i = 0; i < m_fields.size(); ++i) {
    const std::string group = m_fields[i].group;
    if (!m_groups.count(group)) {
      auto* box = new QGroupBox(QString::fromUtf8(group.c_str()), this);
      const int n = static_cast<int>(m_groups.size()) - 1;
      boxes->addWidget(box, n / kBoxColumns, n % kBoxColumns, Qt::AlignTop);
      m_groups[group] = new QGridLayout(box);
    }
    AddFieldControls(static_cast<int>(i), m_groups[group]);
  }
  AddScrolledBody(outer, body);
  m_buttons = new QHBoxLayout;
  outer->addLayout(m_buttons);
  m_buttons->addWidget(AddButton(IDC_READ, "Read", [this] { OnRead(); }));
  m_buttons->addWidget(AddButton(IDC_WRITE, "Write", [this] { OnWrite(); }));
  m_buttons->addWidget(AddButton(IDOK, "OK"));
}
