#pragma once
// The service operator's direct line to the DSP: one button per command, the replies in a
// list, the card reset, the SAP delay and the temperature and voltage readout.
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "card/DspCommands.h"
#include "card/zorix7dll.h"
#include "platform/CListBox.h"
#include "platform/CTestDialog.h"

class CCmdParamDlg;

class CCommandDlg : public CTestDialog {
  Q_OBJECT

 public:
  enum : int {
    IDD = 135,
    IDC_REPLY_LIST = 1000,
    IDC_DEFAULT = 1010,
    IDC_RESET_ALL,
    IDC_SAP_DELAY,
    IDC_ADC,
    IDC_SP_COMP,
    // One button per command, in the order of the command table.
    IDC_START = 1100,
    IDC_STOP,
    IDC_RESET,
    IDC_OFFSET,
    IDC_POWER_DOWN,
    IDC_POWER_UP,
    IDC_ATTENUATION,
    IDC_SHOT,
    IDC_SENDER,
    IDC_INPUT,
    IDC_GAIN,
    IDC_HW_CONFIG,
    IDC_AVERAGE,
    IDC_TRIGGER,
    IDC_COUNT,
    IDC_ASCAN,
    IDC_SW_CONFIG,
  };
  CCommandDlg(HZORIX7 card, BOOL* zorix9Mode, WORD sapDelay, QWidget* parent = nullptr);
  ~CCommandDlg() override;

  // The automatic command check: Reset with warm-up, Power Up, Offset, Sys Attenuation, Shot,
  // Start, Stop, Power Down; each step only after the one before succeeded. Afterwards the card
  // is switched on again and its control LCA gets back what it held, so later checks measure
  // the card as they would have found it.
  BOOL Check(CString& result) override;
  std::optional<DWORD> ErrorWord() const override { return m_checkError; }

  // Button handlers.
  void OnCommand(dsp::Command code);
  void OnDefault();
  void OnResetAll();
  void OnSapDelay();
  void OnAdc();

  static int ButtonId(dsp::Command code);
  // The words a parameterised command was sent with last (or holds since the dialog opened).
  const std::array<DWORD, 2>& Words(dsp::Command code) const { return m_words.at(code); }

  HZORIX7 m_hCard;
  BOOL* m_pZorix9Mode;
  WORD m_nSapDelay;
  CListBox m_listReply;

  // A host that always answers No must not hold the readout for ever.
  static constexpr int kMaxAdcReadings = 1000;

 protected:
  void CreateControls() override;

 private:
  BOOL Send(dsp::Command code, DWORD& error);
  BOOL RunChain(CString& result);
  // The control LCA's written registers, read before the check and written back after it.
  std::vector<std::pair<uint16_t, DWORD>> SaveControlLca() const;
  void RestoreCard(const std::vector<std::pair<uint16_t, DWORD>>& saved);
  void AppendReply(const CString& line);
  static std::unique_ptr<CCmdParamDlg> MakeParamDlg(dsp::Command code);

  std::map<dsp::Command, std::array<DWORD, 2>> m_words;
  std::optional<DWORD> m_checkError;
};
