#include "AppTestSupport.h"

#include <fstream>
#include <sstream>

#include "platform/CWinApp.h"

MainDialogFixture::MainDialogFixture() {
  zorix7sim::Reset();
  profile::ClearCache();
  app.m_pszProfileName = ConfigPath();
}

MainDialogFixture::~MainDialogFixture() {
  dlg.reset();
  zorix7sim::Reset();
  profile::InjectWriteFailure(false);
}

std::string MainDialogFixture::ConfigPath() const { return dir.path().toStdString() + "/ZORIX7Check.INI"; }

void MainDialogFixture::WriteConfig(const std::string& bytes) {
  std::ofstream(ConfigPath(), std::ios::binary) << bytes;
  profile::ClearCache();
}

std::string MainDialogFixture::ReadConfig() const {
  std::ifstream in(ConfigPath(), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

CZORIX7CheckDlg& MainDialogFixture::Start(const char* bench) {
  EXPECT_TRUE(zorix7sim::LoadBenchText(bench)) << zorix7sim::BenchError();
  return StartOnLoadedBench();
}

CZORIX7CheckDlg& MainDialogFixture::StartOnLoadedBench() {
  dlg = std::make_unique<CZORIX7CheckDlg>();
  dlg->m_strModuleDir = dir.path().toStdString();
  dlg->InitDialog();
  return *dlg;
}

std::vector<std::string> MainDialogFixture::BoxTexts() const {
  std::vector<std::string> out;
  for (const auto& b : host.Boxes()) out.push_back(b.caption.str() + "|" + b.text.str());
  return out;
}
