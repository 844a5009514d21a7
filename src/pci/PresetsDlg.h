#pragma once
// The presets dialogs of the PCI checks: one text per key of a configuration section, shown
// as stored and saved as typed after the question.
#include <vector>

#include "pci/PciConfigCheck.h"
#include "platform/CDialog.h"

// The presets of a section as the configuration file holds them at this moment (nullopt when
// missing): read again at every check.
pci::PresetLookup ProfilePresets(const char* section);

class CPresetsDlg : public CDialog {
 public:
  struct Field {
    int id;
    const char* key;
    const char* label;
    bool editable;  // false: a static text, saved back as read
  };
  struct Setup {
    UINT templateId;
    const char* title;
    const char* section;
    const char* saveCaption;  // caption of the question and of a failed save
    int saveId;
    int perColumn;                       // fields per column of the layout
    std::vector<Field> fields;           // in layout order
    std::vector<const char*> saveOrder;  // every key of fields, in the order they are stored
  };
  explicit CPresetsDlg(Setup setup, QWidget* parent = nullptr);

  BOOL OnInitDialog() override;
  void OnSave();

 protected:
  void CreateControls() override;
  void DoDataExchange(CDataExchange* pDX) override;

 private:
  Setup m_setup;
  const CString& ValueOf(const char* key) const;
  std::vector<CString> m_values;  // parallel to m_setup.fields
};
