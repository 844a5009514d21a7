// libzorix7-record: the card library's interface in front of a driver library. Every call goes
// on to the driver named by ZORIX7_DRIVER and is written, with what came back and how long it
// took, to the session file named by ZORIX7_RECORD.
#include <dlfcn.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <mutex>
#include <new>

#include "card/ErrorWords.h"
#include "record/CallGlue.h"
#include "record/Session.h"

#define ZORIX7_EXPORT extern "C" __attribute__((visibility("default")))

namespace session {
namespace {

class Recorder {
 public:
  // Never destroyed: a card closed from a static destructor must still reach the driver. What
  // it holds goes when the program ends or the recorder is unloaded (Close).
  static Recorder& Instance() {
    alignas(Recorder) static unsigned char storage[sizeof(Recorder)];
    static Recorder* recorder = new (storage) Recorder;
    return *recorder;
  }
  std::mutex& mutex() { return m_mutex; }
  void* Real(CallId id) const { return m_ready ? m_fn[static_cast<size_t>(id)] : nullptr; }
  void Write(const CallRecord& call) {
    if (m_writer.IsOpen() && !m_writer.Write(call)) {
      std::cerr << "zorix7-record: Sitzung " << m_path << ": Schreibfehler, Aufzeichnung endet" << std::endl;
      m_writer.Close();
    }
  }
  PendingFetches& fetches() { return m_fetches; }
  const char* DriverMessage() {
    if (!m_message.empty()) return m_message.c_str();
    using Fn = const char* (*)();
    auto fn = m_lib ? reinterpret_cast<Fn>(dlsym(m_lib, "ZORIX7GetLibraryMessage")) : nullptr;
    return fn ? fn() : nullptr;
  }

 private:
  Recorder() {
    Load();
    std::atexit([] { Instance().Close(); });
  }
  void Close() {
    std::lock_guard lock(m_mutex);
    m_writer.Close();
    m_fetches = PendingFetches{};
    std::string().swap(m_message);
    std::string().swap(m_path);
  }

  void Load() {
    const char* driver = std::getenv("ZORIX7_DRIVER");
    const char* path = std::getenv("ZORIX7_RECORD");
    if (!driver || !*driver) return Refuse("ZORIX7_DRIVER nennt keine Treiberbibliothek");
    if (!path || !*path) return Refuse("ZORIX7_RECORD nennt keine Sitzungsdatei");
    m_lib = dlopen(driver, RTLD_NOW | RTLD_LOCAL);
    if (!m_lib) return Refuse(std::string("Treiberbibliothek nicht geladen: ") + dlerror());
    for (size_t i = 0; i < kCallCount; ++i) m_fn[i] = dlsym(m_lib, kCallNames[i]);
    Dl_info self{}, found{};
    dladdr(reinterpret_cast<void*>(&Recorder::Instance), &self);
    if (!m_fn[0] || (dladdr(m_fn[0], &found) && found.dli_fbase == self.dli_fbase))
      return Refuse(std::string("ZORIX7_DRIVER ") + driver + " ist die Aufzeichnung selbst oder ohne ZORIX7Open");
    m_path = path;
    std::string why;
    if (!m_writer.Open(m_path, why)) return Refuse("Sitzung " + m_path + " nicht geschrieben: " + why);
    m_ready = true;
  }
  void Refuse(std::string why) {
    m_message = "Aufzeichnung: " + why;
    std::cerr << "zorix7-record: " << why << std::endl;
  }

  std::mutex m_mutex;
  void* m_lib = nullptr;
  void* m_fn[kCallCount] = {};
  bool m_ready = false;
  std::string m_message;
  std::string m_path;
  SessionWriter m_writer;
  PendingFetches m_fetches;
};

// One call: the arguments are noted before it goes to the driver, the outputs after.
class RecordIo : public CallNotes {
 public:
  explicit RecordIo(CallId id) : CallNotes(id), m_recorder(Recorder::Instance()), m_lock(m_recorder.mutex()) {}

  template <CallId id, class F>
  DWORD Run(F call) {
    auto fn = reinterpret_cast<typename CallFn<id>::type>(m_recorder.Real(id));
    if (!fn) {
      m_missing = true;
      return 0;
    }
    const auto start = std::chrono::steady_clock::now();
    m_call.result = call(fn);
    m_call.micros = static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count());
    return m_call.result;
  }

  template <class T>
  void Out(T* p) {
    m_call.out.push_back(p ? Number(static_cast<uint32_t>(*p)) : Value{});
  }
  void OutBytes(const void* p, size_t n) { m_call.out.push_back(BytesOf(p, n)); }
  void Error(DWORD* p) {
    if (m_missing && p) *p = errorword::kNoDriver;
    Out(p);
  }
  DWORD Finish(DWORD failed = 0) {
    if (m_missing) return failed;
    m_recorder.Write(m_call);
    return m_call.result;
  }
  PendingFetches& fetches() { return m_recorder.fetches(); }

 private:
  Recorder& m_recorder;
  std::lock_guard<std::mutex> m_lock;
  bool m_missing = false;
};

}  // namespace
}  // namespace session

#define ZORIX7_RECORDED(name, ret, params, args) \
  ZORIX7_EXPORT ret ZORIX7##name params {        \
    session::RecordIo io(session::CallId::name); \
    return session::glue::name(io, ZORIX7_UNPAREN args); \
  }
ZORIX7_CALLS(ZORIX7_RECORDED)

ZORIX7_EXPORT const char* ZORIX7GetLibraryMessage() { return session::Recorder::Instance().DriverMessage(); }
