#pragma once
// Set-up shared by the virtual card tests: a fresh library on a virtual clock per test.
#include <gtest/gtest.h>

#include <string>

#include "platform/Clock.h"
#include "sim/CardModel.h"
#include "sim/Zorix7Sim.h"

class SimTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Loads a bench from text and fails the test when it does not load.
  void LoadBench(const std::string& text);
  HZORIX7 OpenCard(int number);

  VirtualClock m_clock{1000};

 private:
  Clock* m_previousClock = nullptr;
};

// A file that exists for one test.
class TempFile {
 public:
  explicit TempFile(const std::string& contents);
  ~TempFile();
  const std::string& path() const { return m_path; }

 private:
  std::string m_path;
};
