#include "WindowGallery.h"

#include "app/AboutDlg.h"
#include "app/BusbelegungDlg.h"
#include "app/ZORIX9Dlg.h"
#include "commands/CmdAScanDlg.h"
#include "commands/CmdAverageDlg.h"
#include "commands/CmdCountDlg.h"
#include "commands/CmdGainDlg.h"
#include "commands/CmdHWconfigDlg.h"
#include "commands/CmdInputDlg.h"
#include "commands/CmdSAPdelayDlg.h"
#include "commands/CmdSWconfigDlg.h"
#include "commands/CmdSenderDlg.h"
#include "commands/CmdShotDlg.h"
#include "commands/CmdTriggerDlg.h"
#include "commands/DataBlendenDlg.h"
#include "ident/KennungVorgabenDlg.h"
#include "measure/AnzeigeDlg.h"
#include "measure/BlockmessungDlg.h"
#include "measure/DataListDlg.h"
#include "params/AnzeigeVorgabenDlg.h"
#include "params/RandomLimitsDlg.h"
#include "params/TAlist.h"
#include "pci/PCIconfigEEPROMDlg.h"
#include "pci/PCIconfigVorgabenDlg.h"
#include "pci/PCIeepromVorgabenDlg.h"
#include "snapshot/SnapshotDiffDlg.h"

namespace {
template <class T, class... Args>
std::function<std::unique_ptr<CDialog>()> Make(Args... args) {
  return [=] { return std::make_unique<T>(args...); };
}
}  // namespace

WindowGallery::WindowGallery(CZORIX7CheckDlg& main) : m_set(main.m_param[main.CardIndex()][main.SetIndex()]) {
  m_set.TaFileName = "gehalten.ta";  // the list shows the held table instead of asking for a file
  for (const TestColumnRow& row : TestColumn())
    if (row.factory)
      m_windows.push_back({row.caption, [&main, &row] { return std::unique_ptr<CDialog>(row.factory(main)); }});
  const HZORIX7 card = main.SelectedCard();
  const std::vector<GalleryWindow> others = {
      {"Parametereditor", Make<CAnzeigeVorgabenDlg>(card, &m_set)},
      {"Tiefenausgleich", Make<CTAlist>(&m_set)},
      {"Random Limits", Make<CRandomLimitsDlg>(&m_min, &m_max)},
      {"Busbelegung", [&main] { return std::make_unique<CBusbelegungDlg>(main.m_channel); }},
      {"Info", Make<CAboutDlg>()},
      {"ZORIX9", Make<CZORIX9Dlg>(&m_ident)},
      {"Kennung Vorgaben", Make<CKennungVorgabenDlg>()},
      {"Sätze", Make<CBlockmessungDlg>(&m_flags)},
      {"A-Scan", Make<CAnzeigeDlg>()},
      {"Datenliste", Make<CDataListDlg>()},
      {"Blendenwerte", Make<CDataBlendenDlg>(static_cast<const void*>(main.m_pDataBuffer), 0u,
                                             static_cast<const ActiveSetFlags*>(&m_flags), BOOL{TRUE})},
      {"PCI Vorgaben", Make<CPCIconfigVorgabenDlg>()},
      {"EEPROM Vorgaben", Make<CPCIeepromVorgabenDlg>()},
      {"PCI EEPROM-Bild", Make<CPCIconfigEEPROMDlg>(card)},
      {"Average", Make<CCmdAverageDlg>()},
      {"Trigger", Make<CCmdTriggerDlg>()},
      {"A-Scan-Kommando", Make<CCmdAScanDlg>()},
      {"SW-Konfiguration", Make<CCmdSWconfigDlg>()},
      {"Shot", Make<CCmdShotDlg>()},
      {"Count", Make<CCmdCountDlg>()},
      {"Sender", Make<CCmdSenderDlg>()},
      {"SAP-Delay", Make<CCmdSAPdelayDlg>()},
      {"Gain", Make<CCmdGainDlg>()},
      {"Input", Make<CCmdInputDlg>()},
      {"HW-Konfiguration", Make<CCmdHWconfigDlg>()},
      {"Vergleich", [card] {
         return std::make_unique<CSnapshotDiffDlg>(snapshot::TakeCardState(card, 1), snapshot::TakeCardState(card, 1));
       }},
  };
  m_windows.insert(m_windows.end(), others.begin(), others.end());
}
