// ZORIX7Check: the main dialog on a display, or a headless run on the terminal.
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>
#include <unistd.h>

#include "app/ConfigLocation.h"
#include "app/HeadlessRun.h"
#include "app/ZORIX7Check.h"
#include "platform/QtText.h"
#include "platform/TextParse.h"
#include "platform/UiHost.h"
#include "snapshot/SnapshotCommand.h"
#include "snapshot/SnapshotDiff.h"

#ifndef ZORIX7_VERSION
#define ZORIX7_VERSION "1.0"
#endif

namespace {
bool HasArg(int argc, char** argv, std::initializer_list<const char*> names) {
  for (int i = 1; i < argc; ++i)
    for (const char* name : names)
      if (std::strcmp(argv[i], name) == 0) return true;
  return false;
}

bool HasDisplay() {
  const char* x = std::getenv("DISPLAY");
  const char* w = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (w && *w);
}

const char* const kHelpEpilog =
    "\n"
    "Konfiguration: die mit --config gewählte Datei, sonst ZORIX7Check.INI neben dem Programm, wenn\n"
    "es sie dort gibt, sonst $XDG_CONFIG_HOME/zorix7check/ZORIX7Check.INI (~/.config/...), beim ersten\n"
    "Start aus /usr/share/zorix7check angelegt.\n"
    "Ohne Fenster ändert eine Prüfung die Karte dauerhaft (EEPROM, Kennung) nur mit --yes; ohne\n"
    "schreibt sie nichts, nennt, was sie schreiben würde, und schlägt fehl.\n"
    "Karten: libzorix7; die virtuellen Karten lesen ihre Bank aus der Datei in ZORIX7_BENCH\n"
    "(ohne sie: zwei ZORIX7F-Karten). Mit ZORIX7_REPLAY=datei (--replay) antworten sie wie in einer\n"
    "mit --record aufgezeichneten Sitzung; der erste abweichende Aufruf wird gemeldet.\n"
    "Rückgabewert ohne Fenster: 0 alle Prüfungen bestanden; 1 eine Prüfung fehlgeschlagen, ein\n"
    "Kartenfehler beim Start oder Schließen, oder nichts geprüft; 2 falscher Aufruf oder\n"
    "Berichtsdatei nicht schreibbar; 3 keine Karte geöffnet (Treiber oder Bank nicht nutzbar).\n"
    "--diff: 0 gleich, 1 verschieden, 2 Datei nicht lesbar oder Karte nicht darin, 3 Karte nicht geöffnet.\n"
    "Ohne --diff-all nicht oder nur teilweise verglichen:\n";

// The value of "--name FILE" or "--name=FILE", or null.
const char* ArgValue(int argc, char** argv, const char* name) {
  const size_t n = std::strlen(name);
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], name) == 0) return i + 1 < argc ? argv[i + 1] : nullptr;
    if (std::strncmp(argv[i], name, n) == 0 && argv[i][n] == '=') return argv[i] + n + 1;
  }
  return nullptr;
}

std::string Absolute(const char* path) { return std::filesystem::absolute(path).lexically_normal().string(); }

// The folder whose libzorix7 is the recorder: beside the build's recorder, or the package's.
std::string RecorderFolder() {
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe").parent_path();
  for (const char* relative : {ZORIX7_RECORDER_DIRS})
    if (std::filesystem::exists(exe / relative / "record/libzorix7.so")) return (exe / relative / "record").lexically_normal();
  return {};
}

// --record FILE: starts the program again with the recorder in front of the card library it
// loaded now. Returns only when it cannot (the reason in why) or when it is that new start.
bool StartRecording(const char* file, int argc, char** argv, std::string& why) {
  const std::string session = Absolute(file);
  const char* current = std::getenv("ZORIX7_RECORD");
  if (current && session == current) return true;
  Dl_info info{};
  const std::string folder = RecorderFolder();
  if (!dladdr(dlsym(RTLD_DEFAULT, "ZORIX7Open"), &info) || !info.dli_fname)
    why = "Kartenbibliothek unbekannt";
  else if (folder.empty())
    why = "libzorix7-record nicht gefunden";
  if (!why.empty()) return false;
  // A session that cannot be written is said now, before any card is touched.
  std::FILE* probe = std::fopen(session.c_str(), "wb");
  if (!probe) {
    why = std::strerror(errno);
    return false;
  }
  std::fclose(probe);
  const char* path = std::getenv("LD_LIBRARY_PATH");
  setenv("ZORIX7_DRIVER", Absolute(info.dli_fname).c_str(), 1);
  setenv("ZORIX7_RECORD", session.c_str(), 1);
  setenv("LD_LIBRARY_PATH", (folder + (path && *path ? ":" + std::string(path) : "")).c_str(), 1);
  std::vector<char*> args(argv, argv + argc);
  args.push_back(nullptr);
  execv("/proc/self/exe", args.data());
  why = std::strerror(errno);
  return false;
}

int Usage(const QString& message) {
  std::fprintf(stderr, "zorix7check: %s\n", message.toUtf8().constData());
  return kExitUsage;
}

std::optional<int> NumberOption(const QCommandLineParser& parser, const char* name, int lo, int hi) {
  auto v = text::ParseInteger(parser.value(name).toStdString(), lo, hi);
  return v ? std::optional<int>(static_cast<int>(*v)) : std::nullopt;
}
}  // namespace

int main(int argc, char** argv) {
  const bool headless =
      HasArg(argc, argv,
             {"--cards", "--check-all", "--snapshot", "--diff", "--help", "-h", "--help-all", "--version", "-v"}) ||
      !HasDisplay();
  // A headless run never needs a display, not even a reachable one.
  if (headless) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Qt wants a private runtime folder; give it one rather than a warning on every start.
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    std::string runtime = "/tmp/zorix7check-runtime-" + std::to_string(getuid());
    mkdir(runtime.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  }

  // The card library reads these at its first call.
  if (const char* session = ArgValue(argc, argv, "--replay")) {
    // Only the virtual cards replay; a driver put in front of them would answer instead. Under
    // the recorder they are loaded later, by it.
    if (!ArgValue(argc, argv, "--record") && !dlsym(RTLD_DEFAULT, "ZORIX7ModelOpen")) {
      std::fprintf(stderr, "zorix7check: --replay braucht die virtuellen Karten, geladen ist ein anderer Treiber\n");
      return kExitUsage;
    }
    setenv("ZORIX7_REPLAY", Absolute(session).c_str(), 1);
  }
  if (HasArg(argc, argv, {"--replay-fast"})) setenv("ZORIX7_REPLAY_FAST", "1", 1);
  if (const char* session = ArgValue(argc, argv, "--record")) {
    std::string why;
    if (!StartRecording(session, argc, argv, why)) {
      std::fprintf(stderr, "zorix7check: --record %s: %s\n", session, why.c_str());
      return kExitUsage;
    }
  }

  QApplication qapp(argc, argv);
  // Qt's own texts (file chooser, standard buttons) in German, like the rest of the program.
  QTranslator qtGerman;
  if (qtGerman.load("qtbase_de", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) qapp.installTranslator(&qtGerman);
  QApplication::setApplicationName("zorix7check");
  QApplication::setApplicationVersion(ZORIX7_VERSION);
  QCommandLineParser parser;
  parser.setApplicationDescription(QString("ZORIX7Check: Prüf- und Servicewerkzeug für ZORIX7-Karten.") + kHelpEpilog +
                                   QString::fromStdString(snapshot::NatureRulesText()));
  parser.addOption({{"h", "help"}, "Diese Hilfe anzeigen."});
  parser.addOption({{"v", "version"}, "Die Version anzeigen."});
  parser.addOption({"cards", "Ohne Fenster starten und die geöffneten Karten auflisten."});
  parser.addOption({"check-all", "Ohne Fenster alle angekreuzten automatischen Tests auf jeder Karte ausführen."});
  parser.addOption({"config", "Diese Konfigurationsdatei verwenden.", "datei"});
  parser.addOption({"card", "Nur diese Karte prüfen (1..16).", "n"});
  parser.addOption({"set", "Diesen Parametersatz verwenden (0..7).", "n"});
  parser.addOption({"yes", "Jede Frage vor dem Schreiben oder Sichern mit Ja beantworten und Prüfungen die Karte\n"
                           "reparieren lassen (EEPROM)."});
  parser.addOption({"firmware", "DSP-Programmdatei für die DSP-Prüfung (ohne: übersprungen).", "datei"});
  parser.addOption({"report", "Ergebnis als JUnit-XML in diese Datei schreiben.", "datei.xml"});
  parser.addOption({"json", "Ergebnis als JSON in diese Datei schreiben.", "datei.json"});
  parser.addOption({"snapshot",
                    "Ohne Fenster den Zustand jeder geöffneten Karte (oder der mit --card) nur lesen und "
                    "in diese Datei schreiben.",
                    "datei.json"});
  parser.addOption({"diff",
                    "Zustandsdatei mit einer zweiten (nächstes Argument) oder mit der Karte aus --card "
                    "vergleichen.",
                    "datei.json"});
  parser.addOption({"diff-all", "Beim Vergleich auch die Felder, die sich auf jeder Karte unterscheiden."});
  parser.addOption({"record", "Jeden Aufruf der Kartenbibliothek in diese Sitzungsdatei aufzeichnen.", "datei"});
  parser.addOption({"replay", "Die Karten einer aufgezeichneten Sitzung wiedergeben, ohne Karte.", "datei"});
  parser.addOption({"replay-fast", "Bei --replay nicht die aufgezeichneten Zeiten abwarten."});
  if (!parser.parse(QCoreApplication::arguments())) return Usage(parser.errorText());
  if (parser.isSet("help")) {
    std::fputs(parser.helpText().toUtf8().constData(), stdout);
    return kExitPassed;
  }
  if (parser.isSet("version")) {
    std::printf("zorix7check %s\n", ZORIX7_VERSION);
    return kExitPassed;
  }
  const QStringList extra = parser.positionalArguments();
  if (!extra.isEmpty() && !(parser.isSet("diff") && extra.size() == 1))
    return Usage("unbekanntes Argument " + extra.last());
  if (parser.isSet("snapshot") || parser.isSet("diff")) {
    std::optional<int> card = 0;
    if (parser.isSet("card") && !(card = NumberOption(parser, "card", 1, 16)))
      return Usage("--card braucht eine Kartennummer 1..16");
    const std::string program = "zorix7check " ZORIX7_VERSION;
    if (parser.isSet("snapshot"))
      return snapshot::RunSnapshot(parser.value("snapshot").toStdString(), *card, program, stdout);
    std::optional<std::string> second;
    if (!extra.isEmpty()) second = extra.first().toStdString();
    return snapshot::RunDiff(parser.value("diff").toStdString(), second, *card, parser.isSet("diff-all"), program,
                             stdout);
  }

  CZORIX7CheckApp app;
  const CString moduleDir = FromQ(QCoreApplication::applicationDirPath());
  if (!parser.isSet("config")) {
    config::Location where = config::Locate(config::CurrentEnvironment(moduleDir.str()));
    app.m_pszProfileName = where.file;
    for (const std::string& file : where.seeded) std::fprintf(stderr, "zorix7check: %s angelegt\n", file.c_str());
    if (!where.problem.empty())
      std::fprintf(stderr, "zorix7check: eigene Konfiguration nicht angelegt: %s\n", where.problem.c_str());
  } else {
    QFileInfo config(parser.value("config"));
    app.m_pszProfileName = config.absoluteFilePath().toUtf8().constData();
    // A file that is there but unusable is reported when it is loaded; a missing one is said here.
    if (!config.exists())
      std::fprintf(stderr, "zorix7check: Konfiguration %s fehlt, Vorgaben werden verwendet (Save legt sie an)\n",
                   app.m_pszProfileName.c_str());
  }

  if (!headless) {
    QtUiHost host;
    ScopedUiHost scoped(host);
    app.InitInstance(moduleDir);
    return 0;
  }

  HeadlessOptions options;
  options.checkAll = parser.isSet("check-all") || !parser.isSet("cards");
  if (parser.isSet("card")) {
    auto card = NumberOption(parser, "card", 1, 16);
    if (!card) return Usage("--card braucht eine Kartennummer 1..16");
    options.card = *card;
  }
  if (parser.isSet("set")) {
    options.set = NumberOption(parser, "set", 0, 7);
    if (!options.set) return Usage("--set braucht einen Parametersatz 0..7");
  }
  options.yes = parser.isSet("yes");
  options.interactive = !options.yes && isatty(STDIN_FILENO);
  if (parser.isSet("firmware")) options.firmware = FromQ(QFileInfo(parser.value("firmware")).absoluteFilePath());
  options.junitPath = parser.value("report").toStdString();
  options.jsonPath = parser.value("json").toStdString();
  // A report that cannot be written is found out before any card is touched.
  for (const std::string& path : {options.junitPath, options.jsonPath}) {
    std::string why;
    if (!path.empty() && !CanWriteReport(path, why))
      return Usage(QString::fromStdString("Bericht " + path + " kann nicht geschrieben werden: " + why));
  }

  RunResult run = RunHeadless(options, moduleDir, stdout);
  return WriteReports(options, run);
}
