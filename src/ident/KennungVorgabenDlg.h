#pragma once
#include "ident/KennungForm.h"

// The identification presets file, named in the configuration: shown and saved item by item.
class CKennungVorgabenDlg : public CDialog, public KennungFieldIds {
 public:
  enum : int { IDD = 146, IDC_DATEINAME = 1028, IDC_SAVE = 1171 };

  explicit CKennungVorgabenDlg(QWidget* parent = nullptr);
  BOOL OnInitDialog() override;
  void OnSave();

  // Key "Filename" of section "Kennung"; read at every use, never written.
  static CString FileName();
  // Why a file of that name cannot be read, or nothing when it can (then record holds it).
  static std::optional<CString> ReadPresets(const CString& name, KennungRecord& record);

  ident::KennungFields m_fields;
  CString m_strDateiname;

 protected:
  void CreateControls() override;
  void DoDataExchange(CDataExchange* pDX) override;
};
