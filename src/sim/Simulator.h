#pragma once
// The library's one piece of state, and the frame every C entry point runs in.
#include <map>
#include <mutex>
#include <optional>

#include "sim/Bench.h"
#include "sim/CardModel.h"
#include "sim/Faults.h"
#include "sim/Journal.h"

namespace zorix7sim {

class Simulator {
 public:
  static Simulator& Instance();
  std::recursive_mutex& mutex() { return m_mutex; }

  void EnsureLoaded();
  void Install(std::optional<BenchSpec> bench, std::string error);
  void Forget();  // back to "not loaded"; the next use loads again

  CardModel* ByNumber(int number);
  CardModel* ByHandle(HZORIX7 h);
  HZORIX7 Open(CardModel& card);
  std::vector<int> Numbers();

  const std::string& error() const { return m_error; }
  CallJournal& journal() { return m_journal; }
  FaultTable& faults() { return m_faults; }

 private:
  std::recursive_mutex m_mutex;
  bool m_loaded = false;
  std::string m_error;
  std::map<int, CardModel> m_cards;
  CallJournal m_journal;
  FaultTable m_faults;
  DWORD m_openSerial = 0;
};

// One call into the library: takes the lock, resolves the handle, checks the error-word
// pointer and injected faults, and journals the outcome when it goes out of scope.
class Call {
 public:
  // A call on a handle; errorWord null for calls that have none.
  Call(const char* name, HZORIX7 h, DWORD* errorWord, bool hasErrorWord);
  // ZORIX7Open.
  Call(const char* name, int cardNumber);
  ~Call();
  Call(const Call&) = delete;
  Call& operator=(const Call&) = delete;

  void Args(std::string text) { m_entry.args = std::move(text); }
  // False when the call must fail at once (Fail was recorded); the pointers given must
  // not be null.
  bool Begin(std::initializer_list<const void*> pointers = {});
  CardModel& card() { return *m_card; }

  DWORD Succeed(DWORD result = TRUE);
  // The error word goes to the caller when the call has one, else to the journal only.
  DWORD Fail(DWORD error, DWORD result = FALSE);
  // A failed poll must tell its caller to stop: the recorded failure, never error word 0.
  DWORD FailPoll(DWORD result);

 private:
  std::lock_guard<std::recursive_mutex> m_lock;
  Simulator& m_sim;
  CardModel* m_card = nullptr;
  DWORD* m_errorWord;
  bool m_hasErrorWord;
  bool m_finished = false;
  JournalEntry m_entry;
};

// printf into a std::string, for journal arguments.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace zorix7sim
