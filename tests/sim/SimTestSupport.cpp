#include "SimTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

void SimTest::SetUp() {
  m_previousClock = SetCurrentClock(&m_clock);
  zorix7sim::Reset();
  zorix7sim::UseBuiltInBench();
}

void SimTest::TearDown() {
  zorix7sim::Reset();
  SetCurrentClock(m_previousClock);
}

void SimTest::LoadBench(const std::string& text) {
  ASSERT_TRUE(zorix7sim::LoadBenchText(text, "bench.ini")) << zorix7sim::BenchError();
}

HZORIX7 SimTest::OpenCard(int number) {
  HZORIX7 h = ZORIX7Open(number);
  EXPECT_NE(h, 0u) << "card " << number;
  return h;
}

TempFile::TempFile(const std::string& contents) {
  char name[] = "/tmp/zorix7benchXXXXXX";
  int fd = mkstemp(name);
  if (fd >= 0) close(fd);
  m_path = name;
  std::ofstream(m_path, std::ios::binary) << contents;
}

TempFile::~TempFile() { std::remove(m_path.c_str()); }
