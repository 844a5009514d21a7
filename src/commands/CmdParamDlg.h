#pragma once
// The common frame of the command parameter dialogs: controls listed as a table, presets read
// from control-LCA fields when a card is set, the parameter words composed on OK.
#include <optional>
#include <span>
#include <vector>

#include "card/ControlLca.h"
#include "card/zorix7dll.h"
#include "platform/CDialog.h"

class CCmdParamDlg : public CDialog {
  Q_OBJECT

 public:
  // The card the presets are read from; 0: no register is read.
  HZORIX7 m_hCard = 0;
  // The words composed by the last OK.
  const std::vector<DWORD>& Words() const { return m_words; }

  BOOL OnInitDialog() override;
  void OnOK() override;

 protected:
  struct Control {
    enum class Kind { Check, Number, Word, Real, Radios } kind;
    int id;               // 0 for a radio field
    const char* caption;  // radio field: its group box caption
    BOOL* flag = nullptr;
    UINT* number = nullptr;
    WORD* word = nullptr;
    float* real = nullptr;
    RadioField radios = {};
  };
  static Control Check(int id, const char* caption, BOOL& member) {
    return {Control::Kind::Check, id, caption, &member};
  }
  static Control Number(int id, const char* caption, UINT& member) {
    return {Control::Kind::Number, id, caption, nullptr, &member};
  }
  static Control Word(int id, const char* caption, WORD& member) {
    return {Control::Kind::Word, id, caption, nullptr, nullptr, &member};
  }
  static Control Real(int id, const char* caption, float& member) {
    return {Control::Kind::Real, id, caption, nullptr, nullptr, nullptr, &member};
  }
  static Control Radios(const char* caption, RadioField field) {
    return {Control::Kind::Radios, 0, caption, nullptr, nullptr, nullptr, nullptr, std::move(field)};
  }

  CCmdParamDlg(UINT templateId, const char* caption, std::span<const lca::FieldId> presetFields, QWidget* parent);
  // Called from the derived constructor, after its members exist.
  void SetControls(std::vector<Control> controls) { m_controls = std::move(controls); }

  // Sets the members on opening; regs holds the preset fields' registers (empty without a card).
  virtual void Preset(const regmap::Registers& regs) = 0;
  // The words from the members; nullopt keeps the dialog open (the dialog has said why).
  virtual std::optional<std::vector<DWORD>> Compose() = 0;

  void CreateControls() override;
  void DoDataExchange(CDataExchange* pDX) override;

 private:
  std::span<const lca::FieldId> m_presetFields;
  std::vector<Control> m_controls;
  std::vector<DWORD> m_words;
};
