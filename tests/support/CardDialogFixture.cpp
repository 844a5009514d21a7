#include "support/CardDialogFixture.h"

#include <fstream>
#include <sstream>

CardDialogFixture::CardDialogFixture() {
  host.SetStrict(true);
  zorix7sim::Reset();
  profile::ClearCache();
  app.m_pszProfileName = ConfigPath();
}

CardDialogFixture::~CardDialogFixture() { zorix7sim::Reset(); }

HZORIX7 CardDialogFixture::OpenBench(const char* bench, int number) {
  EXPECT_TRUE(zorix7sim::LoadBenchText(bench, "bench.ini")) << zorix7sim::BenchError();
  card = ZORIX7Open(number);
  EXPECT_NE(card, 0u) << "card " << number << " did not open";
  return card;
}

zorix7sim::CardModel& CardDialogFixture::Model(int number) {
  zorix7sim::CardModel* model = zorix7sim::Card(number);
  if (!model) throw std::runtime_error("no card " + std::to_string(number) + " on the bench");
  return *model;
}

std::string CardDialogFixture::ConfigPath() const { return TempPath("ZORIX7Check.INI"); }

std::string CardDialogFixture::TempPath(const std::string& name) const { return dir.path().toStdString() + "/" + name; }

void CardDialogFixture::WriteConfig(const std::string& bytes) {
  std::ofstream(ConfigPath(), std::ios::binary) << bytes;
  profile::ClearCache();
}

std::string CardDialogFixture::ReadConfig() const {
  std::ifstream in(ConfigPath(), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}
