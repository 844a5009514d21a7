#pragma once
#include "card/zorix7dll.h"
#include "params/ParamEditor.h"
#include "params/ParameterSet.h"
#include "platform/CDialog.h"

// The parameter editor ("Anzeige Meßparameter") for one parameter set of one card.
//
// The caller hands over the card and the set (both also public members, as on Windows) and
// runs DoModal():
//   IDOK      "Shot": the set was written back; the caller fires a shot with it.
//   IDCANCEL  "OK": the set was written back, no shot (Stored() is true); or "Cancel",
//             Escape or the close box: the set is unchanged (Stored() is false).
// The editor works on a copy of the set, so a table read with "Laden" or "Anzeigen" reaches
// the set only with "Shot" or "OK" too.
class CAnzeigeVorgabenDlg : public CDialog {
  Q_OBJECT

 public:
  enum : int {
    IDD = 159,
    IDC_MAXSAP = 1230,
    IDC_TAKTEXTERN,
    IDC_8BIT,
    IDC_AVERAGE,
    IDC_TRIGGERDELAY,
    IDC_DELAY25NS,
    IDC_SAPDELAY,
    IDC_RATE80 = 1240,  // 80, 40, 20, 10, 160 MHz in this order
    IDC_RATE40,
    IDC_RATE20,
    IDC_RATE10,
    IDC_RATE160,
    IDC_TAKT16,
    IDC_KEINE_MESSUNG,
    IDC_EINZELMESSUNG,
    IDC_BLENDENMESSUNG,
    IDC_VORLAUF = 1250,
    IDC_AUFNAHME,
    IDC_DELAY,
    IDC_ASCAN,
    IDC_HF,  // "HF", "positiv", "negativ", "Voll"
    IDC_POSITIV,
    IDC_NEGATIV,
    IDC_VOLL,
    IDC_EXTERN,
    IDC_BLENDE,
    IDC_IN_MASTER = 1260,
    IDC_IN_EINZEL,
    IDC_IN_LOW,
    IDC_OUT_MASTERSTART,  // "Master Start", "Master Stop", "Einzel SAP", "Ready"
    IDC_OUT_MASTERSTOP,
    IDC_OUT_EINZELSAP,
    IDC_OUT_READY,
    IDC_OUT_LOW,
    IDC_SPERRE,
    IDC_PULSE0 = 1270,    // 8 pulse widths, 65 .. 1680 ns
    IDC_ENERGIE1 = 1278,  // "Energie 1" .. "Energie 4"
    IDC_SE = 1282,
    IDC_SENDERDAEMPFUNG,
    IDC_EINGANGSDAEMPFUNG,
    IDC_FILTER,
    IDC_VERSTAERKUNG,
    IDC_ESB_TIME,
    IDC_ESB_LEVEL,
    IDC_ESB_RELATIV,
    IDC_ESB_ALWAYS,
    IDC_ESB_ENABLE,
    IDC_ANZEIGEN = 1292,
    IDC_TA_DATEI = 1293,
    IDC_LADEN = 1294,
    IDC_ESB_DELAY = 1295,
    IDC_TA_ENABLE = 1296,
    IDC_TA_DELAY = 1302,
    IDC_TA_ABSTAND,
    IDC_STUETZSTELLEN,
    IDC_UNIT_SAMPLES,  // "Samples", "µs", "mm"
    IDC_UNIT_US,
    IDC_UNIT_MM,
    IDC_VELOCITY,
    IDC_STORE,  // "OK": writes back and ends with IDCANCEL
  };

  CAnzeigeVorgabenDlg(HZORIX7 card, ParameterSet* set, QWidget* parent = nullptr);
  BOOL OnInitDialog() override;
  void OnOK() override;      // "Shot"
  void OnCancel() override;  // "Cancel"
  void OnStore();            // "OK"
  void OnLaden();
  void OnAnzeigen();
  void OnSampleRate(int index);
  void OnUnit(int index);

  // The set was written back (by "Shot" or "OK") in the last run.
  bool Stored() const { return m_bStored; }
  bool IsZorix7F() const { return m_bZorix7F; }

  HZORIX7 m_hCard;
  ParameterSet* m_pParam;
  params::EditorValues m_v;
  params::EditorScale m_scale;
  double m_fVelocity = params::kDefaultVelocity;  // "Schallgeschwindigkeit in m/s"
  // Radio buttons, one member each (0 = selected).
  int m_nRate[5] = {};
  int m_nMessung[2] = {};
  int m_nGleichrichtung[4] = {};
  int m_nEingang[2] = {};
  int m_nAusgang[4] = {};
  int m_nImpulsbreite[8] = {};
  int m_nEnergie[4] = {};
  int m_nUnit[3] = {};

 protected:
  void CreateControls() override;
  void DoDataExchange(CDataExchange* pDX) override;

 private:
  struct Group {
    RadioField field;
    int params::EditorValues::*index;  // nullptr: the display unit, held in m_scale
  };
  void RadiosFromValues();
  void ValuesFromRadios();
  void ShowRadios(const RadioField& field);
  bool WriteBack();
  void ShowTaTable();

  std::vector<Group> m_groups;
  RadioField m_rateField;
  RadioField m_unitField;
  ParameterSet m_work;
  bool m_bZorix7F = false;
  bool m_bStored = false;
};
