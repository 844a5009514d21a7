// libzorix7-record in front of the virtual cards of this process, the session it writes, and
// the virtual cards replaying it.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "card/ErrorWords.h"
#include "card/LibraryMessage.h"
#include "platform/Clock.h"
#include "record/CallList.h"
#include "record/Session.h"
#include "sim/Replay.h"
#include "sim/Specimen.h"
#include "sim/Zorix7Sim.h"

namespace {

using namespace session;

std::string TempPath(const std::string& name) { return testing::TempDir() + "zorix7record-" + name; }

// A library's entry points by name: the recorder's, or the virtual cards' own.
struct Library {
  void* handle = nullptr;
  template <CallId id>
  typename CallFn<id>::type Fn() const {
    return reinterpret_cast<typename CallFn<id>::type>(dlsym(handle, kCallNames[static_cast<size_t>(id)]));
  }
};

// The recorder for one session; the session is closed when it is unloaded.
class Recorder {
 public:
  explicit Recorder(const std::string& session) {
    setenv("ZORIX7_DRIVER", ZORIX7_CARDS, 1);
    setenv("ZORIX7_RECORD", session.c_str(), 1);
    lib.handle = dlopen(ZORIX7_RECORDER, RTLD_NOW | RTLD_LOCAL);
  }
  ~Recorder() {
    if (lib.handle) dlclose(lib.handle);
  }
  Library lib;
};

Library Cards() { return {dlopen(ZORIX7_CARDS, RTLD_NOW | RTLD_NOLOAD)}; }

struct ReadBack {
  std::vector<CallRecord> calls;
  SessionReader::Next last = SessionReader::Next::kBad;
  std::string message;
};

ReadBack ReadStream(std::istream& in) {
  ReadBack back;
  SessionReader reader(in);
  if (!reader.Open()) return {{}, SessionReader::Next::kBad, reader.message()};
  CallRecord call;
  while ((back.last = reader.Read(call)) == SessionReader::Next::kCall) back.calls.push_back(call);
  back.message = reader.message();
  return back;
}

ReadBack ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return ReadStream(in);
}

class RecordTest : public testing::Test {
 protected:
  void SetUp() override {
    zorix7sim::Reset();
    zorix7sim::StopReplay();
  }
  void TearDown() override { zorix7sim::StopReplay(); }
  VirtualClock m_clock{1000};
  ScopedClock m_scoped{m_clock};
};

// ---- forwarding of every call ----

TEST(RecordCallList, IsEveryCallOfTheInterfaceInItsOrder) {
  std::ifstream header(ZORIX7_DLL_HEADER);
  std::stringstream text;
  text << header.rdbuf();
  const std::string source = text.str();
  std::vector<std::string> declared;
  const std::regex declaration(R"(\n\w+ (ZORIX7\w+)\()");
  for (auto it = std::sregex_iterator(source.begin(), source.end(), declaration); it != std::sregex_iterator(); ++it)
    declared.push_back((*it)[1]);
  EXPECT_EQ(declared, std::vector<std::string>(std::begin(kCallNames), std::end(kCallNames)));
}

// Arguments for any call: the handle first, small numbers, zeroed records and buffers.
alignas(8) BYTE g_scratch[8][0x20000];
template <class T>
T Argument(HZORIX7 h, size_t index) {
  if constexpr (std::is_pointer_v<T>)
    return reinterpret_cast<T>(g_scratch[index]);
  else if constexpr (std::is_class_v<T>)
    return T{};
  else if constexpr (std::is_same_v<T, int>)
    return 1;  // card number
  else
    return index == 0 ? static_cast<T>(h) : T(1);
}
template <class R, class... A, size_t... I>
void CallWith(R (*fn)(A...), HZORIX7 h, std::index_sequence<I...>) {
  fn(Argument<A>(h, I)...);
}
template <class R, class... A>
void CallWithArguments(R (*fn)(A...), HZORIX7 h) {
  CallWith(fn, h, std::index_sequence_for<A...>{});
}
template <CallId id>
void CallOne(const Library& lib, HZORIX7 h, std::vector<uint32_t>& order) {
  auto fn = lib.Fn<id>();
  ASSERT_NE(fn, nullptr) << kCallNames[static_cast<size_t>(id)] << " is not exported";
  CallWithArguments(fn, h);
  order.push_back(static_cast<uint32_t>(id));
}
// Close last, so that every other call reaches an open card.
template <size_t... I>
void CallEach(const Library& lib, HZORIX7 h, std::vector<uint32_t>& order, std::index_sequence<I...>) {
  ((static_cast<CallId>(I) != CallId::Close ? CallOne<static_cast<CallId>(I)>(lib, h, order) : void()), ...);
  CallOne<CallId::Close>(lib, h, order);
}

TEST_F(RecordTest, EveryCallGoesToTheDriverAndIntoTheSession) {
  const std::string path = TempPath("every-call.zx7");
  std::vector<uint32_t> order;
  {
    Recorder recorder(path);
    ASSERT_NE(recorder.lib.handle, nullptr) << dlerror();
    const HZORIX7 h = recorder.lib.Fn<CallId::Open>()(1);
    ASSERT_NE(h, 0u);
    zorix7sim::ClearJournal();
    CallEach(recorder.lib, h, order, std::make_index_sequence<kCallCount>{});
  }
  const auto journal = zorix7sim::Journal();
  const ReadBack back = ReadFile(path);
  EXPECT_EQ(back.last, SessionReader::Next::kEnd) << back.message;
  ASSERT_EQ(order.size(), kCallCount);
  ASSERT_EQ(back.calls.size(), kCallCount + 1);
  ASSERT_EQ(journal.size(), kCallCount);
  for (size_t i = 0; i < kCallCount; ++i) {
    const CallRecord& call = back.calls[i + 1];
    EXPECT_EQ(call.call, order[i]);
    EXPECT_EQ(journal[i].call, kCallNames[order[i]]) << "not forwarded";
    EXPECT_EQ(call.result, journal[i].result) << kCallNames[order[i]];
  }
}

TEST_F(RecordTest, WithoutDriverEveryCallFailsAndSaysWhy) {
  unsetenv("ZORIX7_DRIVER");
  setenv("ZORIX7_RECORD", TempPath("no-driver.zx7").c_str(), 1);
  void* lib = dlopen(ZORIX7_RECORDER, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(lib, nullptr);
  const Library recorder{lib};
  EXPECT_EQ(recorder.Fn<CallId::Open>()(1), 0u);
  DWORD error = 0;
  EXPECT_FALSE(recorder.Fn<CallId::WarmUp>()(1, &error));
  EXPECT_EQ(error, errorword::kNoDriver);
  auto message = reinterpret_cast<const char* (*)()>(dlsym(lib, "ZORIX7GetLibraryMessage"));
  EXPECT_STREQ(message(), "Aufzeichnung: ZORIX7_DRIVER nennt keine Treiberbibliothek");
  dlclose(lib);
}

// ---- replay and divergence ----

// Opens card 1, reads its identification, prepares a set and takes shots: what came back.
std::vector<std::vector<BYTE>> Scenario(const Library& lib, BYTE set, int shots, DWORD* failure = nullptr) {
  std::vector<std::vector<BYTE>> seen;
  const HZORIX7 h = lib.Fn<CallId::Open>()(1);
  DWORD error = 0;
  KennungRecord kennung{};
  lib.Fn<CallId::GetKonfig>()(h, &kennung, &error);
  seen.emplace_back(reinterpret_cast<BYTE*>(&kennung), reinterpret_cast<BYTE*>(&kennung + 1));
  if (!lib.Fn<CallId::PrepAllGatesParam>()(h, set, zorix7sim::DefaultParamBlock(), &error) && failure) *failure = error;
  for (int i = 0; i < shots; ++i) {
    std::vector<BYTE> buffer(0x20000);
    DWORD count = static_cast<DWORD>(buffer.size());
    lib.Fn<CallId::Start>()(h, &error);
    lib.Fn<CallId::GetData>()(h, &count, buffer.data(), &error);
    buffer.resize(std::min<size_t>(count, buffer.size()));
    seen.push_back(buffer);
  }
  lib.Fn<CallId::Close>()(h);
  return seen;
}

std::vector<std::vector<BYTE>> RecordScenario(const std::string& path, int shots) {
  Recorder recorder(path);
  return Scenario(recorder.lib, 1, shots);
}

TEST_F(RecordTest, ReplayAnswersEveryCallAsRecordedBitForBit) {
  const std::string path = TempPath("shots.zx7");
  const auto recorded = RecordScenario(path, 200);
  ASSERT_EQ(recorded.size(), 201u);
  ASSERT_GT(recorded[1].size(), 1000u);
  zorix7sim::Reset();
  zorix7sim::LoadBenchText("[Card 1]\nVariant=ZORIX7\n");  // the replay never asks the bench
  ASSERT_TRUE(zorix7sim::StartReplay(path, false));
  const DWORD before = m_clock.TotalSlept();
  EXPECT_EQ(Scenario(Cards(), 1, 200), recorded);
  EXPECT_EQ(zorix7sim::ReplayMessage(), "");
  // Each call took its recorded time on the shared clock.
  uint64_t micros = 0;
  for (const CallRecord& call : ReadFile(path).calls) micros += call.micros;
  EXPECT_EQ(m_clock.TotalSlept() - before, micros / 1000);
  // One call more than recorded leaves the session.
  DWORD error = 0;
  EXPECT_FALSE(ZORIX7WarmUp(0x7A000101, &error));
  EXPECT_EQ(error, errorword::kReplayDiverged);
  EXPECT_NE(zorix7sim::ReplayMessage().find("Aufruf 405: die Aufzeichnung ist zu Ende, erhalten ZORIX7WarmUp("),
            std::string::npos)
      << zorix7sim::ReplayMessage();
}

TEST_F(RecordTest, ReplayReportsTheFirstDifferentCallAndFailsFromThenOn) {
  const std::string path = TempPath("divergent.zx7");
  RecordScenario(path, 3);
  ASSERT_TRUE(zorix7sim::StartReplay(path, true));
  DWORD failure = 0;
  const auto seen = Scenario(Cards(), 2, 3, &failure);
  EXPECT_EQ(failure, errorword::kReplayDiverged);
  EXPECT_TRUE(seen[1].empty()) << "a call after the difference delivered data";
  const std::string message = zorix7sim::ReplayMessage();
  EXPECT_TRUE(std::regex_search(message, std::regex(R"(weicht ab bei Aufruf 3: erwartet ZORIX7PrepAllGatesParam\((0x\w+), 1, )"
                                                    R"(\[148 Bytes\]\), erhalten ZORIX7PrepAllGatesParam\(\1, 2, \[148 Bytes\]\); )"
                                                    R"(Argument 2: erwartet 1, erhalten 2$)")))
      << message;
  // The same set with one parameter changed: the report names the byte.
  ASSERT_TRUE(zorix7sim::StartReplay(path, true));
  const Library cards = Cards();
  DWORD error = 0;
  const HZORIX7 h = ZORIX7Open(1);
  ZORIX7GetKonfig(h, std::make_unique<KennungRecord>().get(), &error);
  ParamBlock block = zorix7sim::DefaultParamBlock();
  block.Verstaerkung += 1;
  EXPECT_FALSE(cards.Fn<CallId::PrepAllGatesParam>()(h, 1, block, &error));
  EXPECT_NE(zorix7sim::ReplayMessage().find("Argument 3: Byte 64 erwartet"), std::string::npos) << zorix7sim::ReplayMessage();
}

TEST_F(RecordTest, AnUnreadableSessionOpensNoCardAndSaysWhy) {
  const std::string path = TempPath("foreign.zx7");
  std::ofstream(path) << "[Card 1]\n";
  EXPECT_FALSE(zorix7sim::StartReplay(path, true));
  EXPECT_EQ(ZORIX7Open(1), 0u);
  EXPECT_NE(zorix7sim::ReplayMessage().find("keine Sitzungsdatei"), std::string::npos);
  EXPECT_NE(CardLibraryMessage().find("keine Sitzungsdatei"), std::string::npos);
}

// ---- the stream survives a crash and a cut ----

TEST_F(RecordTest, AKilledProgramLeavesEveryCallBeforeItReadable) {
  const std::string path = TempPath("killed.zx7");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    Recorder recorder(path);
    const HZORIX7 h = recorder.lib.Fn<CallId::Open>()(1);
    DWORD error = 0;
    for (int i = 0; i < 10; ++i) recorder.lib.Fn<CallId::WarmUp>()(h, &error);
    raise(SIGKILL);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));
  const ReadBack back = ReadFile(path);
  EXPECT_EQ(back.calls.size(), 11u);
  EXPECT_EQ(back.last, SessionReader::Next::kCut);
  EXPECT_EQ(back.message, "bricht nach Aufruf 11 ab (nicht geschlossen)");
}

TEST_F(RecordTest, ACutSessionReadsUpToTheCutAndRepeatsAreStoredOnce) {
  const std::string path = TempPath("cut.zx7");
  zorix7sim::LoadBenchText("[Card 1]\nNoise=0\n");
  const auto recorded = RecordScenario(path, 50);
  std::ifstream in(path, std::ios::binary);
  const std::string file((std::istreambuf_iterator<char>(in)), {});
  const ReadBack whole = ReadFile(path);
  ASSERT_EQ(whole.last, SessionReader::Next::kEnd);
  // The shots repeat exactly: the session holds one of them.
  EXPECT_LT(file.size(), whole.calls[4].out[1].bytes.size());
  size_t previous = 0;
  for (size_t length = 0; length < file.size(); length += length < 64 || length + 64 > file.size() ? 1 : 7) {
    std::istringstream cut(file.substr(0, length));
    const ReadBack back = ReadStream(cut);
    // Only the frame's checksum may be missing from a session read to its end.
    if (back.last == SessionReader::Next::kEnd) EXPECT_EQ(back.calls.size(), whole.calls.size()) << length;
    EXPECT_GE(back.calls.size(), previous) << length;
    previous = back.calls.size();
    for (size_t i = 0; i < back.calls.size(); ++i) ASSERT_EQ(Describe(back.calls[i], true), Describe(whole.calls[i], true));
  }
  EXPECT_GE(previous, whole.calls.size() - 1);
  // Replayed, a cut session answers up to the cut, then says where it ends.
  const std::string half = TempPath("half.zx7");
  std::ofstream(half, std::ios::binary) << file.substr(0, file.size() / 2);
  const size_t shots = (ReadFile(half).calls.size() - 3) / 2;  // Open, GetKonfig, PrepAll, then Start and GetData
  ASSERT_TRUE(zorix7sim::StartReplay(half, true));
  const auto replayed = Scenario(Cards(), 1, 50);
  EXPECT_TRUE(std::equal(recorded.begin(), recorded.begin() + 1 + shots, replayed.begin()));
  EXPECT_TRUE(replayed[1 + shots].empty());
  EXPECT_TRUE(std::regex_search(zorix7sim::ReplayMessage(), std::regex("die Aufzeichnung (endet mitten in|bricht nach) Aufruf")))
      << zorix7sim::ReplayMessage();
}

}  // namespace
