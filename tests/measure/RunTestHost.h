#pragma once
// The measurement runs on virtual cards and a virtual clock, with a host that records every
// box, window and update and answers from a script.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "card/CardConstants.h"
#include "measure/MeasureRuns.h"
#include "platform/Clock.h"
#include "sim/CardModel.h"
#include "sim/Zorix7Sim.h"

class RunTestHost : public measure::RunHost {
 public:
  RunTestHost();

  measure::RunSettings ReadControls() override { return settings; }
  UINT SelectedCard() override { return settings.card; }
  measure::RunCard Card(UINT number) override;
  UINT CardCount() override { return cards; }
  void SetParamSet(int set) override { settings.set = set; }
  const RandomLimits& Limits() override { return limits; }
  BYTE* DataBuffer() override { return buffer.data(); }
  DWORD* DataBytes() override { return &bytes; }

  int MessageBox(const CString& text, const CString& caption, UINT type) override;
  bool EditParameters(HZORIX7 card, ParameterSet& set) override;
  bool SelectBlockSets(ActiveSetFlags& flags) override;
  void ShowAscan(const measure::AscanShow& scan) override { modalScans.push_back(scan); }
  void ShowGateValues(const BYTE*, DWORD n, const ActiveSetFlags&, BOOL) override { gateWindows.push_back(n); }
  int OpenDisplay(const measure::DisplayWindow& window) override;
  void UpdateDisplay(int display, const measure::AscanShow& scan) override;
  void CloseDisplay(int display) override { closed.push_back(display); }
  measure::ScreenArea Screen() override { return {1280, 1024}; }
  void Progress(int cycle, int cycles) override { progress.emplace_back(cycle, cycles); }

  // "caption|text" of every box.
  std::vector<std::string> BoxTexts() const;

  measure::RunSettings settings;
  UINT cards = 1;
  HZORIX7 handles[kMaxCards] = {};
  ParameterSet sets[kMaxCards][kSetsPerCard];
  ActiveSetFlags active[kMaxCards] = {};
  int16_t ident[kMaxCards][kSetsPerCard] = {};
  RandomLimits limits;
  std::vector<BYTE> buffer;
  DWORD bytes = 0;

  std::deque<int> answers;  // questions; without one a question is answered Cancel
  std::vector<std::pair<CString, CString>> boxes;
  bool editorShot = true;
  std::vector<ParameterSet> edited;  // the sets the editor was opened on
  bool selectionOk = true;
  int selections = 0;
  std::vector<measure::AscanShow> modalScans;
  std::vector<DWORD> gateWindows;
  std::vector<measure::DisplayWindow> opened;
  std::vector<int> closed;
  struct Update {
    int display;
    UINT sequence;
    UINT bytes;
    bool readout;
    bool gates;
  };
  std::vector<Update> updates;
  std::vector<std::pair<int, int>> progress;
};

// A run's test: bench, clock and host; the cards are opened as the main dialog would.
class RunTest : public ::testing::Test {
 protected:
  RunTest();
  ~RunTest() override;
  // Loads the bench (failing the test on a bad one), opens its cards in number order and
  // gives ZORIX7F cards their identifications in ZORIX9 mode.
  void Bench(const char* text, bool zorix9 = true);
  zorix7sim::CardModel& Model(int card = 1) { return *zorix7sim::Card(card); }
  // Journal entries of a call, as "args" texts.
  std::vector<std::string> Calls(const char* call) const;
  // Every call's name in order, without the "ZORIX7" prefix.
  std::vector<std::string> CallNames() const;

  VirtualClock clock{5000};
  ScopedClock scopedClock{clock};
  RunTestHost host;
};
