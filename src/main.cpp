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

int RunHeadless(CZORIX7CheckApp& app, bool checkAll) {
  TerminalUiHost host(stdout, false, IDNO);
  ScopedUiHost scoped(host);
  CZORIX7CheckDlg dlg;
  dlg.m_strModuleDir = QCoreApplication::applicationDirPath().toUtf8().constData();
  dlg.InitDialog();
  if (dlg.IsEnded()) return 1;
  std::printf("Konfiguration: %s\n", app.m_pszProfileName.c_str());
  for (const CString& line : dlg.CardSummaryLines()) std::printf("%s\n", line.c_str());
  bool allPassed = true;
  if (checkAll) {
    dlg.OnCheckAll();
    for (const CString& line : dlg.m_listResult.Lines()) {
      std::printf("%s\n", line.c_str());
      // A check's verdict ends its line: "OK" or "nach Schreiben OK" on success.
      if (line.Right(2) != "OK") allPassed = false;
    }
  }
  dlg.OnOK();
  return dlg.m_nCards > 0 && allPassed ? 0 : 1;
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
