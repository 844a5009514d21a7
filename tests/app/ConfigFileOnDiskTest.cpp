// The configuration file on disk through the main dialog's Save: the encodings files of the
// Windows version come in, and files that cannot be read or written; and where a start finds it.
#include <gmock/gmock.h>

#include <QProcess>
#include <QString>
#include <bit>
#include <filesystem>
#include <fstream>
#include <functional>

#include "AppTestSupport.h"
#include "app/ConfigLocation.h"
#include "platform/CWinApp.h"
#include "platform/Cp1252.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
namespace fs = std::filesystem;

namespace {
// The self-test keys, with a first value each; "DS_FLAGlöschen" is the one an encoding slip loses.
const std::pair<const char*, const char*> kSelbstest[] = {
    {"DSP->PCI-FIFO", "no"}, {"PCI-FIFO->DSP", "yes"},       {"LCA+ADC", "no"},         {"Aufnahme-FIFO", "yes"},
    {"Daten-FIFO", "no"},    {"Daten-FIFO->PCI-FIFO", "yes"}, {"DSP-RAM", "no"},         {"EEPROM+Version", "yes"},
    {"DelayLine", "no"},     {"DAC", "yes"},                  {"SAP", "no"},             {"DS_FLAGsetzen", "yes"},
    {"DS_FLAGlöschen", "no"}, {"zyklisch", "no"}};

// UTF-16LE with byte order mark, made by Qt as an independent encoder.
std::string Utf16(const std::string& utf8Text) {
  static_assert(std::endian::native == std::endian::little);
  QString s = QString::fromUtf8(utf8Text);
  return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(s.utf16()), static_cast<size_t>(s.size()) * 2);
}

std::string WithoutCr(std::string s) {
  std::erase(s, '\r');
  return s;
}

size_t BareLineFeeds(const std::string& s) {
  size_t n = 0;
  for (size_t i = 0; i < s.size(); ++i) n += s[i] == '\n' && (i == 0 || s[i - 1] != '\r');
  return n;
}

std::string WithoutBom(std::string s) {
  if (s.starts_with("\xFF\xFE")) s.erase(0, 2);
  return s;
}

class ConfigOnDisk : public MainDialogFixture {
 protected:
  void Save() {
    host.QueueAnswer(IDYES);
    Click(*dlg, IDC_SAVE);
  }
  // A new start of the program on the file as it is on disk now.
  CZORIX7CheckDlg& Restart() {
    profile::ClearCache();
    return Start();
  }
};

TEST_F(ConfigOnDisk, WindowsFilesKeepEveryLineTheirEncodingAndTheSelfTestKeysThroughSave) {
  // Lines Save does not own come first and "[Init]" last, so the saved file must begin with
  // them exactly, in the encoding the Windows version reads.
  std::string foreign = "; Prüfplatz 3\r\n[Bus]\r\nKanal1=Bus 3 Slot 7\r\n[Selbstest]\r\n";
  for (auto [key, value] : kSelbstest) foreign += std::string(key) + "=" + value + "\r\n";
  foreign += "[DSP]\r\nDatei=C:\\Prüfung\\dsp.hex\r\n\r\n; Ende der fremden Zeilen\r\n[Init]\r\n";
  const std::string text = foreign + "Zyklen=1000\r\n";
  const std::function<std::string(const std::string&)> toWindows1252 = [](const std::string& s) {
    return cp1252::FromUtf8(s);
  };
  const struct {
    const char* name;
    std::string bytes;
    std::function<std::string(const std::string&)> written;  // UTF-8 text with CR LF -> bytes on disk
  } files[] = {
      {"Windows-1252", cp1252::FromUtf8(text), toWindows1252},
      {"UTF-8 edited on Linux", WithoutCr(text), toWindows1252},
      {"UTF-16LE", Utf16(text), Utf16},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.name);
    WriteConfig(f.bytes);
    auto& d = Start();
    EXPECT_EQ(d.m_nZyklen, 1000);
    SetEditText(d, IDC_ZYKLEN, "44");
    Save();
    const std::string saved = ReadConfig();
    const std::string head = f.written(foreign + "Zyklen=44\r\n");
    EXPECT_EQ(saved.substr(0, head.size()), head);
    // The whole file in one encoding with CR LF: decoded and written again it is the same.
    const std::string decoded = saved.starts_with("\xFF\xFE")
                                    ? QString::fromUtf16(reinterpret_cast<const char16_t*>(saved.data() + 2),
                                                         static_cast<qsizetype>(saved.size() - 2) / 2)
                                          .toStdString()
                                    : cp1252::ToUtf8(saved);
    EXPECT_EQ(f.written(decoded), saved);
    EXPECT_EQ(BareLineFeeds(decoded), 0u);
    EXPECT_NE(decoded.find("[Karte2-Satz7]\r\nActive=no\r\n"), std::string::npos);

    auto& again = Restart();
    EXPECT_EQ(again.m_nZyklen, 44);
    EXPECT_EQ(again.m_channel[0].nBus, 3);
    EXPECT_EQ(app.GetProfileString("DSP", "Datei"), "C:\\Prüfung\\dsp.hex");
    for (auto [key, value] : kSelbstest) EXPECT_EQ(app.GetProfileString("Selbstest", key, "?"), value) << key;
    // The self-test dialog's own save: every key turned over and read back.
    for (auto [key, value] : kSelbstest)
      EXPECT_TRUE(app.WriteProfileString("Selbstest", key, std::string(value) == "no" ? "yes" : "no"));
    profile::ClearCache();
    for (auto [key, value] : kSelbstest)
      EXPECT_EQ(app.GetProfileString("Selbstest", key, "?"), std::string(value) == "no" ? "yes" : "no") << key;
    EXPECT_NE(ReadConfig().find(WithoutBom(f.written("DS_FLAGlöschen=yes\r\nzyklisch=yes\r\n[DSP]\r\n"))),
              std::string::npos);
  }
  EXPECT_THAT(BoxTexts(), ElementsAre("Check|Wollen Sie wirklich sichern?", "Check|Wollen Sie wirklich sichern?",
                                      "Check|Wollen Sie wirklich sichern?"));
}

TEST_F(ConfigOnDisk, AFileWithACharacterWindows1252LacksIsNotSavedAndTheBoxNamesIt) {
  const std::string utf8 = "; Sonde Ω\n[Init]\nZyklen=33\n";
  WriteConfig(utf8);
  auto& d = Start();
  EXPECT_EQ(d.m_nZyklen, 33);
  Save();
  EXPECT_EQ(ReadConfig(), utf8);
  EXPECT_EQ(BoxTexts().back(), "Check|Konfiguration konnte nicht gespeichert werden:\n" + ConfigPath() +
                                   "\nDas Zeichen „Ω“ (U+03A9) in Zeile 1 gibt es in Windows-1252 nicht.");
}

TEST_F(ConfigOnDisk, UnreadableFilesAreReportedOnceGiveTheDefaultsAndAreNeverOverwritten) {
  const std::string original = "[Init]\r\nZyklen=33\r\n";
  for (bool folder : {false, true}) {
    SCOPED_TRACE(folder ? "folder" : "mode 0200");
    host.Clear();
    fs::remove_all(ConfigPath());
    if (folder) {
      fs::create_directory(ConfigPath());
    } else {
      WriteConfig(original);
      fs::permissions(ConfigPath(), fs::perms(0200));
    }
    auto& d = Start();
    EXPECT_EQ(d.m_nZyklen, 200);
    EXPECT_THAT(BoxTexts(),
                ElementsAre("Check|Konfiguration " + ConfigPath() + " nicht lesbar, Vorgaben werden verwendet"));
    Save();
    ASSERT_EQ(host.Boxes().size(), 3u);
    EXPECT_THAT(host.Boxes()[2].text.str(), HasSubstr("Konfiguration konnte nicht gespeichert werden:\n" + ConfigPath()));
    EXPECT_THAT(host.Boxes()[2].text.str(), HasSubstr(folder ? "Ordner" : "nicht lesbar"));
    if (!folder) {
      EXPECT_EQ(fs::status(ConfigPath()).permissions(), fs::perms(0200));
      fs::permissions(ConfigPath(), fs::perms(0600));
      EXPECT_EQ(ReadConfig(), original);
    }
  }
  EXPECT_TRUE(fs::is_directory(ConfigPath()));
}

TEST_F(ConfigOnDisk, FailedSavesKeepTheOldBytesAndTellWhy) {
  const std::string original = "[Init]\r\nZyklen=33\r\n";
  const std::string base = dir.path().toStdString();
  WriteConfig(original);
  fs::permissions(ConfigPath(), fs::perms(0444));
  const std::pair<std::string, const char*> cases[] = {
      {ConfigPath(), "Die Datei ist schreibgeschützt."},  // even for root
      {ConfigPath() + "/ZORIX7Check.INI", "Ein Teil des Pfads ist eine Datei, kein Ordner."},
      {base + "/fehlt/ZORIX7Check.INI", "Der Ordner existiert nicht."},
  };
  for (const auto& [path, reason] : cases) {
    SCOPED_TRACE(path);
    host.Clear();
    app.m_pszProfileName = path;  // absolute: used as it stands
    auto& d = Start();
    SetEditText(d, IDC_ZYKLEN, "44");
    Save();
    EXPECT_THAT(BoxTexts(), ElementsAre("Check|Wollen Sie wirklich sichern?",
                                        "Check|Konfiguration konnte nicht gespeichert werden:\n" + path + "\n" + reason));
  }
  EXPECT_EQ(ReadConfig(), original);
  EXPECT_EQ(fs::status(ConfigPath()).permissions(), fs::perms(0444));
  EXPECT_FALSE(fs::exists(base + "/fehlt"));
}
}  // namespace

static std::string Slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The installed program as a user starts it: bin/ and share/zorix7check/ under a scratch
// prefix, no file beside the program, a fresh home.
TEST(ConfigLocation, BesideTheProgramElseTheUsersOwnSeededOnceAndTheChosenOneFirst) {
  QTemporaryDir scratch;
  const fs::path root = scratch.path().toStdString(), bin = root / "bin", data = root / "share/zorix7check";
  fs::create_directories(bin), fs::create_directories(data);
  for (const std::string& name : config::SeedFiles()) fs::copy_file(fs::path(ZORIX7_CONFIG_DIR) / name, data / name);
  fs::copy_file(ZORIX7_PROGRAM, bin / "zorix7check");
  auto run = [&](QStringList args, const QString& xdg = {}) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", QString::fromStdString((root / "home").string()));
    env.insert("XDG_CONFIG_HOME", xdg);
    env.insert("ZORIX7_BENCH", "");
    program.setProcessEnvironment(env);
    program.start(QString::fromStdString((bin / "zorix7check").string()), args << "--cards");
    EXPECT_TRUE(program.waitForFinished(60000));
    return program.readAllStandardOutput().toStdString();
  };
  const fs::path user = root / "home/.config/zorix7check/ZORIX7Check.INI";
  EXPECT_THAT(run({}), HasSubstr("Konfiguration: " + user.string() + "\n"));
  EXPECT_EQ(Slurp(user), Slurp(data / "ZORIX7Check.INI"));
  EXPECT_TRUE(fs::exists(user.parent_path() / "Kennung-ZORIX7F.txt"));
  std::ofstream(user) << "[Bus]\nKanal1=Bus 3 Slot 7\n";
  EXPECT_THAT(run({}), HasSubstr("Karte 1: Bus 3 Slot 7"));
  EXPECT_EQ(Slurp(user), "[Bus]\nKanal1=Bus 3 Slot 7\n") << "a second start keeps the user's file";

  EXPECT_THAT(run({}, QString::fromStdString((root / "xdg").string())),
              HasSubstr("Konfiguration: " + (root / "xdg/zorix7check/ZORIX7Check.INI").string()));
  EXPECT_THAT(run({"--config", "chosen.ini"}), HasSubstr("/chosen.ini\n"));
  std::ofstream(bin / "ZORIX7Check.INI") << "";
  EXPECT_THAT(run({}), HasSubstr("Konfiguration: " + (bin / "ZORIX7Check.INI").string()));
}
