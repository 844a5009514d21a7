#pragma once
// Presets of the configuration header check (section "PCIconfiguration").
#include "pci/PresetsDlg.h"

class CPCIconfigVorgabenDlg : public CPresetsDlg {
 public:
  enum : int {
    IDD = 131,
    IDC_SAVE = 1095,
    IDC_VENDOR_ID = 1208,
    IDC_DEVICE_ID = 1209,
    IDC_COMMAND = 1210,
    IDC_STATUS = 1211,
    IDC_BIST = 1212,
    IDC_REVISION_ID = 1213,
    IDC_CLASS_CODE = 1214,
    IDC_HEADER_TYPE = 1215,
    IDC_LATENCY_TIMER = 1216,
    IDC_CACHE_LINE_SIZE = 1217,
    IDC_BASE0 = 1218,
    IDC_BASE1 = 1219,
    IDC_BASE2 = 1220,
    IDC_BASE3 = 1221,
    IDC_MAX_LATENCY = 1222,
    IDC_MINIMUM_GRANT = 1223,
    IDC_INTERRUPT_LINE = 1224,
    IDC_INTERRUPT_PIN = 1225,
    IDC_BASE4 = 1118,
    IDC_BASE_ROM = 1119,
    IDC_SUBSYSTEM_ID = 1120,
    IDC_SUBVENDOR_ID = 1121,
  };
  explicit CPCIconfigVorgabenDlg(QWidget* parent = nullptr);
};
