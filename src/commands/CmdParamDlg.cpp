#include "commands/CmdParamDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "commands/CommandWords.h"

CCmdParamDlg::CCmdParamDlg(UINT templateId, const char* caption, std::span<const lca::FieldId> presetFields,
                           QWidget* parent)
    : CDialog(templateId, parent), m_presetFields(presetFields) {
  SetWindowText(caption);
}

void CCmdParamDlg::CreateControls() {
  auto* layout = new QVBoxLayout(this);
  auto* numbers = new QGridLayout;
  int row = 0;
  for (const Control& c : m_controls) {
    switch (c.kind) {
      case Control::Kind::Check:
        layout->addWidget(AddCheck(c.id, c.caption));
        break;
      case Control::Kind::Radios: {
        auto* box = new QGroupBox(c.caption, this);
        auto* boxLayout = new QVBoxLayout(box);
        for (QRadioButton* b : AddRadioField(c.radios)) boxLayout->addWidget(b);
        layout->addWidget(box);
        break;
      }
      default:
        numbers->addWidget(AddStatic(0, c.caption), row, 0);
        numbers->addWidget(AddEdit(c.id), row++, 1);
        break;
    }
  }
  layout->addLayout(numbers);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(AddButton(IDOK, "OK"));
  buttons->addWidget(AddButton(IDCANCEL, "Abbrechen"));
  layout->addLayout(buttons);
}

void CCmdParamDlg::DoDataExchange(CDataExchange* pDX) {
  for (const Control& c : m_controls) {
    switch (c.kind) {
      case Control::Kind::Check:
        DDX_Check(pDX, c.id, *c.flag);
        break;
      case Control::Kind::Number:
        DDX_Text(pDX, c.id, *c.number);
        break;
      case Control::Kind::Word:
        DDX_Text(pDX, c.id, *c.word);
        break;
      case Control::Kind::Real:
        DDX_Text(pDX, c.id, *c.real);
        break;
      case Control::Kind::Radios:
        for (const RadioButtonDef& b : c.radios) DDX_Radio(pDX, b.id, *b.member);
        break;
    }
  }
}

BOOL CCmdParamDlg::OnInitDialog() {
  regmap::Registers regs;
  if (m_hCard && !m_presetFields.empty())
    regs = cmd::ReadPresetRegisters(
        m_presetFields, [this](uint16_t reg) { return static_cast<uint16_t>(ZORIX7ReadRegister(m_hCard, reg)); });
  Preset(regs);
  return CDialog::OnInitDialog();
}

void CCmdParamDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  std::optional<std::vector<DWORD>> words = Compose();
  if (!words) return;
  m_words = std::move(*words);
  EndDialog(IDOK);
}
