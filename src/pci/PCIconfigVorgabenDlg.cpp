#include "pci/PCIconfigVorgabenDlg.h"

#include "pci/PciConfigCheck.h"

namespace {
using D = CPCIconfigVorgabenDlg;

CPresetsDlg::Setup ConfigPresetsSetup() {
  const auto& keys = pci::ConfigPresetKeys();
  return {D::IDD,
          "PCI Configuration Vorgaben",
          pci::kConfigSection,
          "PCI Configuration Vorgaben",
          D::IDC_SAVE,
          11,
          {
              {D::IDC_VENDOR_ID, "VendorID", "Vendor ID", true},
              {D::IDC_DEVICE_ID, "DeviceID", "Device ID", true},
              {D::IDC_COMMAND, "Command", "Command", true},
              {D::IDC_STATUS, "Status", "Status", true},
              {D::IDC_BIST, "BIST", "BIST", true},
              {D::IDC_REVISION_ID, "RevisionID", "Revision ID", true},
              {D::IDC_CLASS_CODE, "Class", "Class Code", true},
              {D::IDC_HEADER_TYPE, "HeaderType", "Header Type", true},
              {D::IDC_LATENCY_TIMER, "LatencyTimer", "Latency Timer", true},
              {D::IDC_CACHE_LINE_SIZE, "CacheLineSize", "Cache Line Size", true},
              {D::IDC_BASE0, "Baseaddress0", "Base Address 0", true},
              {D::IDC_BASE1, "Baseaddress1", "Base Address 1", true},
              {D::IDC_BASE2, "Baseaddress2", "Base Address 2", true},
              {D::IDC_BASE3, "Baseaddress3", "Base Address 3", true},
              {D::IDC_BASE4, "Baseaddress4", "Base Address 4", true},
              {D::IDC_BASE_ROM, "BaseaddressROM", "Base Address ROM", true},
              {D::IDC_SUBSYSTEM_ID, "SubsystemID", "SubSystemID", true},
              {D::IDC_SUBVENDOR_ID, "SubVendorID", "SubVendorID", true},
              {D::IDC_MAX_LATENCY, "MaximumLatency", "Max Latency", true},
              {D::IDC_MINIMUM_GRANT, "MinimumGrant", "Minimum Grant", true},
              {D::IDC_INTERRUPT_LINE, "InterruptLine", "Interrupt Line", true},
              {D::IDC_INTERRUPT_PIN, "InterruptPin", "Interrupt Pin", true},
          },
          {keys.begin(), keys.end()}};
}
}  // namespace

CPCIconfigVorgabenDlg::CPCIconfigVorgabenDlg(QWidget* parent) : CPresetsDlg(ConfigPresetsSetup(), parent) {}
