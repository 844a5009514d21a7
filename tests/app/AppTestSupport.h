#pragma once
// A main dialog started on a virtual bench with a configuration file in a temporary folder.
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "app/ZORIX7Check.h"
#include "app/ZORIX7CheckDlg.h"
#include "sim/Zorix7Sim.h"
#include "support/DialogTestSupport.h"

// Two ZORIX7F cards; card 1 at bus 2 slot 5, card 2 at bus 3 slot 7 (the built-in bench).
inline constexpr const char* kTwoCards =
    "[Card 1]\nBus=2\nSlot=5\nKarte=ZORIX7F 1234\n"
    "[Card 2]\nBus=3\nSlot=7\nKarte=ZORIX7F 1235\n";

class MainDialogFixture : public DialogFixture {
 protected:
  MainDialogFixture();
  ~MainDialogFixture() override;

  std::string ConfigPath() const;
  void WriteConfig(const std::string& bytes);
  std::string ReadConfig() const;
  // Loads the bench and runs the start-up of a new main dialog.
  CZORIX7CheckDlg& Start(const char* bench = kTwoCards);
  // Runs the start-up on the bench already loaded (faults added after loading stay).
  CZORIX7CheckDlg& StartOnLoadedBench();
  // Boxes shown so far as "caption|text".
  std::vector<std::string> BoxTexts() const;

  QTemporaryDir dir;
  CZORIX7CheckApp app;
  std::unique_ptr<CZORIX7CheckDlg> dlg;
};
