#pragma once
// A dialog test on one opened virtual card: the bench from text, a configuration file in a
// temporary folder, the virtual clock and a strict UI script (every question must be answered).
#include <QTemporaryDir>
#include <string>

#include "card/zorix7dll.h"
#include "platform/CWinApp.h"
#include "sim/CardModel.h"
#include "sim/Zorix7Sim.h"
#include "support/DialogTestSupport.h"

// One ZORIX7F card at bus 2 slot 5.
inline constexpr const char* kOneZorix7F = "[Card 1]\nVariant=ZORIX7F\nBus=2\nSlot=5\n";

class CardDialogFixture : public DialogFixture {
 protected:
  CardDialogFixture();
  ~CardDialogFixture() override;

  // Loads the bench (failing the test on a bad one) and opens card 1.
  HZORIX7 OpenBench(const char* bench = kOneZorix7F, int card = 1);
  zorix7sim::CardModel& Model(int card = 1);

  std::string ConfigPath() const;
  void WriteConfig(const std::string& bytes);
  std::string ReadConfig() const;
  std::string TempPath(const std::string& name) const;  // a file name in the temporary folder

  QTemporaryDir dir;
  CWinApp app;
  HZORIX7 card = 0;
};
