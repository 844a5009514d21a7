// The library's exported entry points: each call goes to the replayed session when one is
// active, otherwise to the card models (Api.cpp, under the names of ModelNames.h).
#include "sim/Replay.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>

#include "card/ErrorWords.h"
#include "platform/Clock.h"
#include "record/CallGlue.h"

namespace zorix7sim {
namespace {

using session::CallRecord;

class Replay {
 public:
  Replay(const std::string& path, bool fast) : m_path(path), m_fast(fast), m_file(path, std::ios::binary) {
    if (!m_file) {
      Diverge("Wiedergabe " + path + ": " + std::strerror(errno));
      return;
    }
    m_reader = std::make_unique<session::SessionReader>(m_file);
    if (!m_reader->Open()) {
      Diverge("Wiedergabe " + path + ": " + m_reader->message());
      m_reader.reset();
    }
  }
  bool usable() const { return m_reader != nullptr; }
  std::mutex& mutex() { return m_mutex; }
  session::PendingFetches& fetches() { return m_fetches; }
  std::string message() {
    std::lock_guard lock(m_mutex);
    return m_message;
  }

  // The recorded call when the actual one is the next in the session; null from the first
  // difference on.
  const CallRecord* Match(const CallRecord& actual) {
    if (m_diverged) return nullptr;
    ++m_number;
    const std::string where = "Wiedergabe " + m_path + " weicht ab bei Aufruf " + std::to_string(m_number) + ": ";
    const std::string got = ", erhalten " + session::Describe(actual);
    switch (m_reader->Read(m_expected)) {
      case session::SessionReader::Next::kCall: break;
      case session::SessionReader::Next::kEnd:
        Diverge(where + "die Aufzeichnung ist zu Ende" + got);
        return nullptr;
      default:
        Diverge(where + "die Aufzeichnung " + m_reader->message() + got);
        return nullptr;
    }
    if (m_expected.call != actual.call || m_expected.in != actual.in) {
      std::string text = where + "erwartet " + session::Describe(m_expected) + got;
      if (m_expected.call == actual.call) text += "; " + session::FirstDifference(m_expected.in, actual.in);
      Diverge(text);
      return nullptr;
    }
    Wait(m_expected.micros);
    return &m_expected;
  }

 private:
  void Diverge(std::string text) {
    m_diverged = true;
    m_message = std::move(text);
    std::cerr << "zorix7: " << m_message << std::endl;
  }
  // The recorded time of the call on the shared clock, carried over below a millisecond.
  void Wait(uint64_t micros) {
    if (m_fast) return;
    m_owedUs += micros;
    if (m_owedUs < 1000) return;
    ::Sleep(static_cast<DWORD>(m_owedUs / 1000));
    m_owedUs %= 1000;
  }

  std::mutex m_mutex;
  std::string m_path;
  bool m_fast;
  std::ifstream m_file;
  std::unique_ptr<session::SessionReader> m_reader;
  CallRecord m_expected;
  uint64_t m_number = 0;
  uint64_t m_owedUs = 0;
  bool m_diverged = false;
  std::string m_message;
  session::PendingFetches m_fetches;
};

// One call answered from the session.
class ReplayIo : public session::CallNotes {
 public:
  ReplayIo(Replay& replay, session::CallId id) : CallNotes(id), m_replay(replay), m_lock(replay.mutex()) {}

  template <session::CallId, class F>
  DWORD Run(F) {
    m_expected = m_replay.Match(m_call);
    return m_expected ? m_expected->result : 0;
  }
  // A call that left the session delivers nothing.
  template <class T>
  void Out(T* p) {
    const session::Value* v = NextOut();
    if (p) *p = v && v->kind == session::Value::kNumber ? static_cast<T>(v->number) : T{};
  }
  void OutBytes(void* p, size_t n) {
    const session::Value* v = NextOut();
    if (p && v && v->kind == session::Value::kBytes) std::memcpy(p, v->bytes.data(), std::min(n, v->bytes.size()));
  }
  void Error(DWORD* p) {
    if (m_expected) return Out(p);
    if (p) *p = errorword::kReplayDiverged;
  }
  DWORD Finish(DWORD failed = 0) const { return m_expected ? m_expected->result : failed; }
  session::PendingFetches& fetches() { return m_replay.fetches(); }

 private:
  const session::Value* NextOut() {
    return m_expected && m_out < m_expected->out.size() ? &m_expected->out[m_out++] : nullptr;
  }

  Replay& m_replay;
  std::lock_guard<std::mutex> m_lock;
  const CallRecord* m_expected = nullptr;
  size_t m_out = 0;
};

std::atomic<Replay*> g_replay{nullptr};
std::once_flag g_fromEnvironment;

Replay* ActiveReplay() {
  std::call_once(g_fromEnvironment, [] {
    const char* path = std::getenv("ZORIX7_REPLAY");
    const char* fast = std::getenv("ZORIX7_REPLAY_FAST");
    if (path && *path) g_replay = new Replay(path, fast && std::strcmp(fast, "1") == 0);
  });
  return g_replay.load();
}

}  // namespace

bool StartReplay(const std::string& path, bool fast) {
  ActiveReplay();  // the environment is read once, before a replay of the program's own
  auto* replay = new Replay(path, fast);
  delete g_replay.exchange(replay);
  return replay->usable();
}

void StopReplay() {
  ActiveReplay();
  delete g_replay.exchange(nullptr);
}

std::string ReplayMessage() {
  Replay* replay = ActiveReplay();
  return replay ? replay->message() : std::string();
}

}  // namespace zorix7sim

#define ZORIX7_DISPATCH(name, ret, params, args)                       \
  extern "C" ret ZORIX7Model##name params;                             \
  extern "C" ret ZORIX7##name params {                                 \
    if (zorix7sim::Replay* replay = zorix7sim::ActiveReplay()) {       \
      zorix7sim::ReplayIo io(*replay, session::CallId::name);          \
      return session::glue::name(io, ZORIX7_UNPAREN args);             \
    }                                                                  \
    return ZORIX7Model##name args;                                     \
  }
ZORIX7_CALLS(ZORIX7_DISPATCH)

extern "C" const char* ZORIX7ModelGetLibraryMessage();
extern "C" __attribute__((visibility("default"))) const char* ZORIX7GetLibraryMessage() {
  if (zorix7sim::Replay* replay = zorix7sim::ActiveReplay()) {
    static std::string message;
    message = replay->message();
    return message.empty() ? nullptr : message.c_str();
  }
  return ZORIX7ModelGetLibraryMessage();
}
