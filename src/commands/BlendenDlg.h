#pragma once
// The gates of the current parameter set in samples, µs or mm, the card's gate readout, its
// stored results and the measurement buffer. Writes the set back on OK only.
#include "card/CardConstants.h"
#include "card/zorix7dll.h"
#include "commands/GateEdit.h"
#include "params/ParameterSet.h"
#include "platform/CTestDialog.h"

class CBlendenDlg : public CTestDialog {
  Q_OBJECT

 public:
  enum : int {
    IDD = 165,
    IDC_ESB_TIME = 1000,
    IDC_LEVEL,
    IDC_RELATIV,
    IDC_ALWAYS,
    IDC_ESB_B0,
    IDC_DELAY,
    IDC_FEHLER,
    IDC_VELOCITY,
    IDC_SAMPLES = 1010,
    IDC_US,
    IDC_MM,
    IDC_RESULTS,
    IDC_DATA_LIST,
    IDC_ANFANG0 = 1100,
    IDC_ENDE0 = 1110,
    IDC_SCHWELLE0 = 1120,
    IDC_ENABLE0 = 1130,
    IDC_TIME0 = 1140,
    IDC_MAXIMUM0 = 1150,  // gate n: the id of gate 0 + n
  };
  CBlendenDlg(HZORIX7 card, ParameterSet* set, const ActiveSetFlags* active, BOOL zorix9Mode, const BYTE* data,
              DWORD dataBytes, QWidget* parent = nullptr);

  // The card's gate readout: "OK" or "GetGates Error %X".
  BOOL Check(CString& result) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

  void OnUnit(gates::Unit unit);
  void OnResults();
  void OnDataList();
  // "ESB = B0": gate 0's begin and threshold follow into the echo-start gate.
  void OnChangeAnfang0();
  void OnChangeSchwelle0();

  HZORIX7 m_hCard;
  ParameterSet* m_pSet;
  const ActiveSetFlags* m_pActive;
  BOOL m_bZorix9Mode;
  const BYTE* m_pData;
  DWORD m_nDataBytes;

  gates::GateEdit m_edit;  // positions in the current unit
  gates::Unit m_unit = gates::Unit::Samples;
  float m_fVelocity = gates::kDefaultVelocity;
  float m_fFactor = 1.0f;
  float m_fSamplePeriod = 0.0f;
  int m_nGranularity = 1;
  BOOL m_bEsbB0 = TRUE;
  GateReadout m_readout{};
  bool m_bReadout = false;
  gates::ReadoutTexts m_text;
  CString m_strFehler;

 protected:
  void CreateControls() override;
  void DoDataExchange(CDataExchange* pDX) override;

 private:
  float Step() const { return m_fSamplePeriod * m_fFactor; }
  void ToSamples();
  void ShowReadout();
  void FollowGate0(int from, int to);
  bool m_bShowing = false;  // the dialog is filling its own controls
};
