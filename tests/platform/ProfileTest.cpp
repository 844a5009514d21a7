#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "platform/CWinApp.h"

namespace fs = std::filesystem;

namespace {
std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const fs::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary) << bytes;
}

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("zorix7-profile-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    file = dir / "ZORIX7Check.INI";
    app.m_pszProfileName = file.string();
    profile::ClearCache();
  }
  void TearDown() override {
    profile::InjectWriteFailure(false);
    profile::ClearCache();
    fs::remove_all(dir);
  }

  fs::path dir, file;
  CWinApp app;
};
}  // namespace

TEST_F(ProfileTest, GetProfileIntReadsAsWindowsDoes) {
  WriteFile(file,
            "[Init]\r\nKarte=3\r\nNeg=-5\r\nPlus=+7\r\nTail=12abc\r\nWord=abc\r\nEmpty=\r\nQuotedEmpty=\"\"\r\n"
            "Blank=  42  \r\nBig=4294967297\r\nHex=0x10\r\nMinus=-\r\n");
  EXPECT_EQ(app.GetProfileInt("init", "KARTE", 1), 3u);
  EXPECT_EQ(static_cast<int>(app.GetProfileInt("Init", "Neg", 0)), -5);
  EXPECT_EQ(app.GetProfileInt("Init", "Plus", 0), 7u);
  EXPECT_EQ(app.GetProfileInt("Init", "Tail", 9), 12u);
  EXPECT_EQ(app.GetProfileInt("Init", "Word", 9), 0u);
  EXPECT_EQ(app.GetProfileInt("Init", "Empty", 9), 9u);
  EXPECT_EQ(app.GetProfileInt("Init", "QuotedEmpty", 9), 9u);
  EXPECT_EQ(app.GetProfileInt("Init", "Blank", 9), 42u);
  EXPECT_EQ(app.GetProfileInt("Init", "Big", 9), 1u);  // 32-bit wrap
  EXPECT_EQ(app.GetProfileInt("Init", "Hex", 9), 0u);
  EXPECT_EQ(app.GetProfileInt("Init", "Minus", 9), 0u);
  EXPECT_EQ(app.GetProfileInt("Init", "Missing", 200), 200u);
  EXPECT_EQ(static_cast<int>(app.GetProfileInt("Nope", "Karte", -1)), -1);
  EXPECT_EQ(app.GetProfileString("Init", "Missing"), "");
  EXPECT_EQ(app.GetProfileString("Init", "Missing", "yes"), "yes");
  EXPECT_EQ(app.GetProfileString("Init", "Tail", "x"), "12abc");
  EXPECT_EQ(app.GetProfileString(nullptr, "Tail", "x"), "x");

  app.m_pszProfileName = (dir / "absent.ini").string();
  EXPECT_EQ(app.GetProfileInt("Init", "Karte", 1), 1u);
  EXPECT_FALSE(fs::exists(dir / "absent.ini"));  // reading never creates the file
}

TEST_F(ProfileTest, AReplacedFileKeepsItsModeAndALinkStaysALink) {
  WriteFile(file, "[Init]\r\nKarte=1\r\n");
  fs::permissions(file, fs::perms(0640));
  fs::create_symlink(file, dir / "link.ini");
  app.m_pszProfileName = (dir / "link.ini").string();
  EXPECT_TRUE(app.WriteProfileInt("Init", "Karte", 2));
  EXPECT_TRUE(fs::is_symlink(dir / "link.ini"));
  EXPECT_EQ(ReadFile(file), "[Init]\r\nKarte=2\r\n");
  EXPECT_EQ(fs::status(file).permissions(), fs::perms(0640));

  const mode_t previous = ::umask(022);
  app.m_pszProfileName = (dir / "new.ini").string();
  EXPECT_TRUE(app.WriteProfileInt("Init", "Karte", 3));
  ::umask(previous);
  EXPECT_EQ(fs::status(dir / "new.ini").permissions(), fs::perms(0644));
  // Nothing but the three names: no temporary file is left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);
}

TEST_F(ProfileTest, RelativeNamesAreResolvedAgainstTheWorkingDirectory) {
  fs::path previous = fs::current_path();
  fs::current_path(dir);
  app.m_pszProfileName = "rel.ini";
  EXPECT_TRUE(app.WriteProfileInt("A", "x", 1));
  fs::current_path(previous);
  EXPECT_EQ(ReadFile(dir / "rel.ini"), "[A]\r\nx=1\r\n");
}

TEST_F(ProfileTest, ChangesMadeByOthersOnDiskAreSeen) {
  WriteFile(file, "[Init]\nKarte=1\n");
  EXPECT_EQ(app.GetProfileInt("Init", "Karte", 0), 1u);
  WriteFile(file, "[Init]\nKarte=22\n");  // size changes, so the cache notices even within a tick
  EXPECT_EQ(app.GetProfileInt("Init", "Karte", 0), 22u);
  fs::remove(file);
  EXPECT_EQ(app.GetProfileInt("Init", "Karte", 5), 5u);

  // A read scope looks once: one load sees one state of the file, the next load the new one.
  WriteFile(file, "[Init]\nKarte=1\n");
  {
    ProfileReadScope outer;
    ProfileReadScope inner;
    EXPECT_EQ(app.GetProfileInt("Init", "Karte", 0), 1u);
    WriteFile(file, "[Init]\nKarte=333\n");
    EXPECT_EQ(app.GetProfileInt("Init", "Karte", 0), 1u);
  }
  EXPECT_EQ(app.GetProfileInt("Init", "Karte", 0), 333u);
}

TEST_F(ProfileTest, ManyReadsOfALargeFileDoNotReparseIt) {
  std::string text;
  for (int s = 0; text.size() < 100000; ++s) {
    text += "[Karte1-Satz" + std::to_string(s) + "]\r\n";
    for (int k = 0; k < 40; ++k) text += "Key" + std::to_string(k) + "=" + std::to_string(k) + "\r\n";
  }
  WriteFile(file, text);
  unsigned sum = 0;
  for (int i = 0; i < 7000; ++i) sum += app.GetProfileInt("Karte1-Satz3", ("Key" + std::to_string(i % 40)).c_str(), 0);
  EXPECT_EQ(sum, 7000u / 40 * (39 * 40 / 2));
}

TEST_F(ProfileTest, FailedSavesLeaveTheOldFileAndNameTheReason) {
  const std::string original = "[Init]\r\nKarte=1\r\n";
  WriteFile(file, original);
  WriteFile(dir / "plain", "x");
  fs::create_directory(dir / "adir.ini");
  WriteFile(dir / "locked.ini", original);
  fs::permissions(dir / "locked.ini", fs::perms(0444));
  WriteFile(dir / "secret.ini", original);
  fs::permissions(dir / "secret.ini", fs::perms(0200));
  using profile::Failure;
  // Root may read and write all of these; the mode bits are honoured all the same.
  const std::pair<fs::path, Failure> cases[] = {
      {file, Failure::WriteError},  // injected below, as a full disk fails
      {dir / "missing" / "x.ini", Failure::NoFolder},
      {dir / "plain" / "x.ini", Failure::NotAFolder},
      {dir / "adir.ini", Failure::IsFolder},
      {dir / "locked.ini", Failure::ReadOnly},
      {dir / "secret.ini", Failure::Unreadable},
  };
  for (const auto& [path, failure] : cases) {
    app.m_pszProfileName = path.string();
    profile::InjectWriteFailure(failure == Failure::WriteError);
    EXPECT_EQ(profile::IsUnreadable(path.string()), failure == Failure::IsFolder || failure == Failure::Unreadable);
    EXPECT_EQ(app.GetProfileInt("Init", "Karte", 7), failure == Failure::WriteError || failure == Failure::ReadOnly ? 1u : 7u);
    EXPECT_FALSE(app.WriteProfileInt("Init", "Karte", 2)) << path;
    EXPECT_EQ(profile::LastWriteFailure().failure, failure) << path;
    EXPECT_EQ(profile::LastWriteFailure().file, path.string());
    EXPECT_EQ(app.GetProfileInt("Init", "Karte", 7), failure == Failure::WriteError || failure == Failure::ReadOnly ? 1u : 7u);
  }
  profile::InjectWriteFailure(false);
  EXPECT_EQ(ReadFile(file), original);
  EXPECT_EQ(ReadFile(dir / "locked.ini"), original);
  EXPECT_EQ(ReadFile(dir / "secret.ini"), original);
  EXPECT_EQ(fs::status(dir / "locked.ini").permissions(), fs::perms(0444));
  EXPECT_EQ(fs::status(dir / "secret.ini").permissions(), fs::perms(0200));
  EXPECT_FALSE(fs::exists(dir / "missing"));
  EXPECT_TRUE(fs::is_directory(dir / "adir.ini"));
  EXPECT_EQ(ReadFile(dir / "plain"), "x");
  // Nothing of the failed saves is left lying around.
  size_t entries = 0;
  for ([[maybe_unused]] auto& e : fs::directory_iterator(dir)) ++entries;
  EXPECT_EQ(entries, 5u);

  app.m_pszProfileName = (dir / "locked.ini").string();
  app.WriteProfileInt("Init", "Karte", 2);
  EXPECT_EQ(profile::Describe(profile::LastWriteFailure()), "Die Datei ist schreibgeschützt.");
}

TEST_F(ProfileTest, RefusedWritesChangeNothingAndARefusalFailsTheWholeBatch) {
  const std::string original = "; Sonde Ω\n[Init]\nKarte=1\n";
  WriteFile(file, original);
  EXPECT_EQ(app.GetProfileString("Init", "Karte"), "1");
  EXPECT_FALSE(app.WriteProfileInt("Init", "Zyklen", 200));
  EXPECT_EQ(profile::Describe(profile::LastWriteFailure()),
            "Das Zeichen „Ω“ (U+03A9) in Zeile 1 gibt es in Windows-1252 nicht.");
  EXPECT_EQ(app.GetProfileInt("Init", "Zyklen", 5), 5u);

  WriteFile(file, "[Init]\r\nKarte=1\r\n");
  profile::ClearCache();
  {
    ProfileWriteBatch batch;
    EXPECT_TRUE(app.WriteProfileInt("Init", "Karte", 2));
    EXPECT_FALSE(app.WriteProfileString("Karte]1", "x", "1"));
    EXPECT_TRUE(app.WriteProfileInt("Init", "Zyklen", 3));
    EXPECT_FALSE(batch.Commit());
  }
  EXPECT_EQ(profile::LastWriteFailure().failure, profile::Failure::Name);
  EXPECT_EQ(profile::Describe(profile::LastWriteFailure()), "Der Name „Karte]1“ wäre in der Datei nicht wieder lesbar.");
  EXPECT_EQ(ReadFile(file), "[Init]\r\nKarte=1\r\n");
  EXPECT_EQ(app.GetProfileInt("Init", "Karte", 0), 1u);
  EXPECT_FALSE(app.WriteProfileString("Init", "Pfad", "a\nb"));
  EXPECT_FALSE(app.WriteProfileString("Init", "Text", "Ω"));
  EXPECT_EQ(profile::Describe(profile::LastWriteFailure()),
            "Das Zeichen „Ω“ (U+03A9) in „Text“ gibt es in Windows-1252 nicht.");
  EXPECT_EQ(ReadFile(file), "[Init]\r\nKarte=1\r\n");
}

TEST_F(ProfileTest, ABatchWritesOnceAtTheOutermostEnd) {
  WriteFile(file, "[Init]\r\nKarte=1\r\n");
  {
    ProfileWriteBatch outer;
    EXPECT_TRUE(app.WriteProfileInt("Init", "Karte", 2));
    {
      ProfileWriteBatch inner;
      EXPECT_TRUE(app.WriteProfileString("Init", "DMA", "yes"));
      EXPECT_TRUE(inner.Commit());
    }
    EXPECT_EQ(ReadFile(file), "[Init]\r\nKarte=1\r\n");
    // Reads inside the batch see the pending values, even after a cache flush.
    profile::ClearCache();
    EXPECT_EQ(app.GetProfileInt("Init", "Karte", 0), 2u);
    EXPECT_EQ(app.GetProfileString("Init", "DMA"), "yes");
  }
  EXPECT_EQ(ReadFile(file), "[Init]\r\nKarte=2\r\nDMA=yes\r\n");

  ProfileWriteBatch failing;
  app.WriteProfileInt("Init", "Karte", 3);
  profile::InjectWriteFailure(true);
  EXPECT_FALSE(failing.Commit());
  EXPECT_FALSE(failing.Commit());  // asked again, the answer stays
  profile::InjectWriteFailure(false);
  EXPECT_EQ(ReadFile(file), "[Init]\r\nKarte=2\r\nDMA=yes\r\n");
  EXPECT_EQ(app.GetProfileInt("Init", "Karte", 0), 2u);
}
