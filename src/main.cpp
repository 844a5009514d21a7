// ZORIX7Check: the main dialog on a display, or a headless run on the terminal.
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "app/ZORIX7Check.h"
#include "app/ZORIX7CheckDlg.h"
#include "platform/UiHost.h"

namespace {
bool HasArg(int argc, char** argv, const char* name) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], name) == 0) return true;
  return false;
}

bool HasDisplay() {
  const char* x = std::getenv("DISPLAY");
  const char* w = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (w && *w);
}

// Exit status: 0 every check passed, 1 a check failed or nothing was checked, 3 no card opened.
int RunHeadless(CZORIX7CheckApp& app, bool checkAll) {
  TerminalUiHost host(stdout, false, IDNO);
  ScopedUiHost scoped(host);
  CZORIX7CheckDlg dlg;
  dlg.m_strModuleDir = QCoreApplication::applicationDirPath().toUtf8().constData();
  dlg.InitDialog();
  if (dlg.IsEnded()) return 3;
  std::printf("Konfiguration: %s\n", app.m_pszProfileName.c_str());
  for (const CString& line : dlg.CardSummaryLines()) std::printf("%s\n", line.c_str());
  int status = 0;
  if (checkAll) {
    if (dlg.CheckAllButtons().empty())
      std::printf("Kein automatischer Test verfügbar: kein Test ist angekreuzt und in diesem Build vorhanden.\n");
    dlg.m_onResultLine = [](const ResultLine& line) { std::printf("%s\n", line.text.c_str()); };
    dlg.OnCheckAll();
    int passed = 0, failed = 0;
    for (const ResultLine& line : dlg.ResultLines()) {
      passed += line.verdict == Verdict::Pass;
      failed += line.verdict == Verdict::Fail;
    }
    // A run that checked nothing is no success.
    if (failed > 0 || passed == 0) status = 1;
  }
  dlg.OnOK();
  return status;
}
}  // namespace

int main(int argc, char** argv) {
  const bool cards = HasArg(argc, argv, "--cards");
  const bool checkAll = HasArg(argc, argv, "--check-all");
  const bool headless = cards || checkAll || !HasDisplay();
  if (headless) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Qt wants a private runtime folder; give it one rather than a warning on every start.
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    std::string runtime = "/tmp/zorix7check-runtime-" + std::to_string(getuid());
    mkdir(runtime.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  }

  QApplication qapp(argc, argv);
  QApplication::setApplicationName("ZORIX7Check");
  QCommandLineParser parser;
  parser.setApplicationDescription("Prüf- und Servicewerkzeug für ZORIX7-Karten");
  parser.addHelpOption();
  parser.addOption({"cards", "Ohne Fenster starten und die geöffneten Karten auflisten."});
  parser.addOption({"check-all", "Ohne Fenster alle gewählten automatischen Tests ausführen."});
  parser.addOption({"config", "Diese Konfigurationsdatei verwenden.", "file"});
  parser.process(qapp);

  CZORIX7CheckApp app;
  if (parser.isSet("config"))
    app.m_pszProfileName = QFileInfo(parser.value("config")).absoluteFilePath().toUtf8().constData();

  if (headless) return RunHeadless(app, checkAll);

  QtUiHost host;
  ScopedUiHost scoped(host);
  app.InitInstance(QCoreApplication::applicationDirPath().toUtf8().constData());
  return 0;
}
