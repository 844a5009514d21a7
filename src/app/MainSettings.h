#pragma once
// The main dialog's settings as its configuration file holds them, read and written through
// the profile functions without any window, so that loading can run on any file's bytes.
#include <string_view>
#include <vector>

#include "card/CardConstants.h"
#include "params/ParameterSet.h"
#include "platform/CWinApp.h"

struct MainSettings {
  struct Channel {
    int bus = 0;
    int slot = 0;
  };
  // A "Check" key and the check box it stands for.
  struct Check {
    const char* key;
    int saveRank;  // position among the "Check" keys when saving
    BOOL on;
  };

  Channel channel[kMaxCards];
  UINT card = 1;
  int paramSet = 1;
  UINT anzeigefaktor = 1;
  int zyklen = 200;
  BOOL dma = TRUE;
  BOOL prepAll = FALSE;
  BOOL kontinuierlich = FALSE;
  BOOL anzeige = TRUE;
  BOOL zorix9 = TRUE;
  BOOL hotPlug = TRUE;
  std::vector<Check> checks;  // in the order of the test column
};

// The parameter sets of the opened cards, as the main dialog holds them.
struct CardParameterSets {
  UINT cards;
  ParameterSet (&param)[kMaxCards][8];
  ActiveSetFlags (&active)[kMaxCards];
};

// Reads "Bus %d Slot %d" as sscanf matches it (blanks in the format match any run of white
// space, trailing text is ignored); a number beyond 32 bits does not parse.
bool ParseBusSlot(std::string_view text, int& bus, int& slot);

// Missing keys give the defaults; a channel whose value does not parse keeps what it had, as
// on Windows.
void ReadSettings(CWinApp& app, MainSettings& settings, const CardParameterSets& sets);
// One atomic write: TRUE when everything was written, otherwise the file is unchanged.
BOOL WriteSettings(CWinApp& app, const MainSettings& settings, const CardParameterSets& sets);
