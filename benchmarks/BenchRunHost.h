#pragma once
// The main dialog as a measurement run sees it, without windows, over the cards of a bench
// text. The time each card's display closes (its last cycle) is kept.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "measure/MeasureRuns.h"
#include "sim/Zorix7Sim.h"

class BenchRunHost final : public measure::RunHost {
 public:
  using Clock = std::chrono::steady_clock;

  BenchRunHost(const std::string& bench, int cards) : m_buffer(0x20000), m_cards(static_cast<size_t>(cards)) {
    zorix7sim::LoadBenchText(bench);
    for (auto& c : m_cards) c.handle = ZORIX7Open(static_cast<int>(&c - m_cards.data()) + 1);
    SetRandomLimitDefaults(m_limits);
    settings.card = static_cast<UINT>(cards);
    settings.set = 1;
    settings.dma = TRUE;
  }
  bool Ready() const {
    for (const auto& c : m_cards)
      if (!c.handle) return false;
    return true;
  }

  measure::RunSettings ReadControls() override {
    m_opened = 0;
    return settings;
  }
  UINT SelectedCard() override { return 1; }
  measure::RunCard Card(UINT number) override {
    Card_& c = m_cards[number - 1];
    return {c.handle, c.sets, &c.active, c.ident};
  }
  UINT CardCount() override { return static_cast<UINT>(m_cards.size()); }
  void SetParamSet(int) override {}
  const RandomLimits& Limits() override { return m_limits; }
  BYTE* DataBuffer() override { return m_buffer.data(); }
  DWORD* DataBytes() override { return &m_bytes; }
  int MessageBox(const CString& text, const CString& caption, UINT) override {
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    return IDCANCEL;
  }
  bool EditParameters(HZORIX7, ParameterSet&) override { return false; }
  bool SelectBlockSets(ActiveSetFlags&) override { return false; }
  void ShowAscan(const measure::AscanShow&) override {}
  void ShowGateValues(const BYTE*, DWORD, const ActiveSetFlags&, BOOL) override {}
  // Displays are numbered as the cards open them; the first opens after the settling waits.
  int OpenDisplay(const measure::DisplayWindow&) override {
    if (m_opened == 0) {
      start = Clock::now();
      closed.assign(m_cards.size(), start);
    }
    return m_opened++;
  }
  void UpdateDisplay(int, const measure::AscanShow&) override {}
  void CloseDisplay(int display) override {
    if (display >= 0 && static_cast<size_t>(display) < closed.size() && closed[static_cast<size_t>(display)] == start)
      closed[static_cast<size_t>(display)] = Clock::now();
  }
  measure::ScreenArea Screen() override { return {}; }
  void Progress(int, int) override {}

  // Cycles per second of one card (0-based), from the displays' opening to its last cycle.
  double CardRate(size_t card) const {
    const double s = std::chrono::duration<double>(closed[card] - start).count();
    return s > 0 ? settings.zyklen / s : 0;
  }

  measure::RunSettings settings;
  Clock::time_point start;
  std::vector<Clock::time_point> closed;

 private:
  struct Card_ {
    HZORIX7 handle = 0;
    ParameterSet sets[8];
    ActiveSetFlags active{};
    int16_t ident[8] = {};
  };
  std::vector<BYTE> m_buffer;
  DWORD m_bytes = 0;
  std::vector<Card_> m_cards;
  RandomLimits m_limits;
  int m_opened = 0;
};
