// Every button of the main dialog's test column, with the dialog or handler behind it. A test
// dialog is registered here with one line; a row without factory or handler stays greyed.
#include "app/TestColumn.h"
#include "app/ZORIX7CheckDlg.h"
#include "diag/DSPDlg.h"
#include "diag/DataLCADlg.h"
#include "diag/LCADlg.h"
#include "diag/SelbsttestDlg.h"
#include "commands/BlendenDlg.h"
#include "commands/CommandDlg.h"
#include "pci/PCIconfigRegisterDlg.h"
#include "pci/PCIeepromRegisterDlg.h"
#include "pci/PCIoperationRegisterDlg.h"
#include "ident/KennungDlg.h"

namespace {
using D = CZORIX7CheckDlg;
using M = AutoMode;

// A factory from a lambda that builds the concrete dialog: Dialog([](D& d) { return std::make_unique<C…>(…); }).
template <typename Build>
TestDialogFactory Dialog(Build build) {
  return [build](D& main) -> std::unique_ptr<CTestDialog> { return build(main); };
}
}  // namespace

const std::vector<TestColumnRow>& TestColumn() {
  // clang-format off
  static const std::vector<TestColumnRow> rows = {
    // button            caption              check-box                status                   status text                         member               "Check" key      rank prefix                  automatic    7F     DSP    factory  handler
    {IDC_HOTPLUG,      "Hot Plug",          IDC_CHECK_HOTPLUG,      IDC_STATUS_HOTPLUG,      "Betriebsspannung ist EIN",            &D::m_bHotPlug,       nullptr,        0,  "",                     M::Nothing,  false, false, {},      &D::OnHotPlug},
    {IDC_PCICONFIG,    "PCI Configuration", IDC_CHECK_PCICONFIG,    IDC_STATUS_PCICONFIG,    "PCI Konfiguration prüfen",            &D::m_bPCIconfig,     "PCIconfig",    1,  "PCI Configuration: ",  M::RunCheck, false, false, Dialog([](D& d) { return std::make_unique<CPCIconfigRegisterDlg>(d.SelectedCard()); }), nullptr},
    {IDC_PCIEEPROM,    "PCI EEPROM",        IDC_CHECK_PCIEEPROM,    IDC_STATUS_PCIEEPROM,    "PCI EEPROM prüfen",                   &D::m_bPCIEEPROM,     "PCIEEPROM",    2,  "PCI EEPROM: ",         M::RunCheck, false, false, Dialog([](D& d) { return std::make_unique<CPCIeepromRegisterDlg>(d.SelectedCard()); }), nullptr},
    {IDC_PCIOPERATION, "PCI  Operation",    IDC_CHECK_PCIOPERATION, IDC_STATUS_PCIOPERATION, "PCI Operation prüfen",                &D::m_bPCIoperation,  "PCIoperation", 3,  "PCI Operation: ",      M::RunInfo,  false, false, Dialog([](D& d) { return std::make_unique<CPCIoperationRegisterDlg>(d.SelectedCard()); }), nullptr},
    {IDC_KENNUNG,      "Kennung",           IDC_CHECK_KENNUNG,      IDC_STATUS_KENNUNG,      "Kennung prüfen",                      &D::m_bKennung,       "Kennung",      4,  "Kennung: ",            M::RunCheck, false, false, Dialog([](D& d) { return std::make_unique<CKennungDlg>(d.SelectedCard()); }), nullptr},
    // As on Windows, "LCA" is saved after "DSP".
    {IDC_LCA,          "Steuer-LCA",        IDC_CHECK_LCA,          IDC_STATUS_LCA,          "Steuer-LCA Register",                 &D::m_bLCA,           "LCA",          6,  "LCA-Register: ",       M::RunCheck, true,  false, Dialog([](D& d) { return std::make_unique<CLCADlg>(d.SelectedCard()); }), nullptr},
    {IDC_DATALCA,      "Daten-LCA",         IDC_CHECK_DATALCA,      IDC_STATUS_DATALCA,      "Daten-LCA Register",                  &D::m_bDataLCA,       nullptr,        0,  "Daten-LCA: ",          M::RunCheck, true,  false, Dialog([](D& d) { return std::make_unique<CDataLCADlg>(d.SelectedCard()); }), nullptr},
    {IDC_DSP,          "DSP",               IDC_CHECK_DSP,          IDC_STATUS_DSP,          "DSP Programm laden",                  &D::m_bDSP,           "DSP",          5,  "DSP-Programm: ",       M::RunCheck, false, true,  Dialog([](D& d) { return std::make_unique<CDSPDlg>(d.m_nCards, d.m_hCard, d.m_nCard); }), nullptr},
    {IDC_TEST,         "Test",              IDC_CHECK_TEST,         IDC_STATUS_TEST,         "Testroutinen starten",                &D::m_bTest,          "Test",         7,  "Selbsttest: ",         M::RunInfo,  false, false, Dialog([](D& d) { return std::make_unique<CSelbsttestDlg>(d.SelectedCard()); }), nullptr},
    {IDC_COMMAND,      "Command",           IDC_CHECK_COMMAND,      IDC_STATUS_COMMAND,      "Kommandos ausführen",                 &D::m_bCommand,       "Command",      8,  "Command: ",            M::RunCheck, false, false, Dialog([](D& d) { return std::make_unique<CCommandDlg>(d.SelectedCard(), &d.m_bZorix9Mode, d.m_param[d.CardIndex()][d.SetIndex()].SAPDelay); }), nullptr},
    {IDC_BLENDEN,      "Blenden",           IDC_CHECK_BLENDEN,      IDC_STATUS_BLENDEN,      "Blenden setzen/anzeigen",             &D::m_bBlenden,       nullptr,        0,  "Blenden: ",            M::RunCheck, true,  false, Dialog([](D& d) { return std::make_unique<CBlendenDlg>(d.SelectedCard(), &d.m_param[d.CardIndex()][d.SetIndex()], &d.m_active[d.CardIndex()], d.m_bZorix9Mode, d.m_pDataBuffer, d.m_nDataBytes); }), nullptr},
    {IDC_SHOT,         "Parameter/Shot",    IDC_CHECK_SHOT,         IDC_STATUS_SHOT,         "Parameter setzen/Einzelmessung ausführen", &D::m_bEinzelmessung, "Einzelmessung", 9, "",              M::RunCheck, false, false, {},      &D::OnShot},
    {IDC_BLOCKMESSUNG, "Blockmessung",      IDC_CHECK_BLOCKMESSUNG, IDC_STATUS_BLOCKMESSUNG, "Blockmessung ausführen",              &D::m_bBlockmessung,  "Blockmessung", 10, "",                     M::RunCheck, false, false, {},      &D::OnBlockmessung},
  };
  // clang-format on
  return rows;
}

const std::vector<ToolButton>& ToolButtons() {
  static const std::vector<ToolButton> buttons = {
      {IDC_RATE11, &D::OnRate11},
      {IDC_RATEN1, &D::OnRateN1},
      {IDC_RATE1N, &D::OnRate1N},
      {IDC_TIEFENAUSGLEICH, &D::OnTiefenausgleich},
      {IDC_RANDOM_LIMITS, &D::OnRandomLimits},
      {IDC_BUSBELEGUNG, &D::OnBusbelegung},
      {IDC_ZORIX9, &D::OnZorix9},
  };
  return buttons;
}
