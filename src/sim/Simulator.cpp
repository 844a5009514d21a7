#include "sim/Simulator.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace zorix7sim {

Simulator& Simulator::Instance() {
  // Never destroyed: a card closed from a static destructor must still find it.
  static Simulator* instance = new Simulator;
  return *instance;
}

void Simulator::EnsureLoaded() {
  if (m_loaded) return;
  const char* path = std::getenv("ZORIX7_BENCH");
  if (path && *path) {
    std::string error;
    auto bench = ReadBenchFile(path, error);
    Install(std::move(bench), error);
  } else {
    Install(BuiltInBench(), {});
  }
}

void Simulator::Install(std::optional<BenchSpec> bench, std::string error) {
  m_loaded = true;
  m_cards.clear();
  m_faults.Clear();
  m_error = std::move(error);
  if (!bench) {
    std::cerr << "zorix7: " << m_error << std::endl;
    return;
  }
  for (auto& setup : bench->cards) m_cards.emplace(setup.number, CardModel(setup));
  for (const auto& f : bench->faults) m_faults.Add(f);
}

void Simulator::Forget() {
  m_loaded = false;
  m_cards.clear();
  m_faults.Clear();
  m_journal.Clear();
  m_error.clear();
}

CardModel* Simulator::ByNumber(int number) {
  EnsureLoaded();
  auto it = m_cards.find(number);
  return it == m_cards.end() ? nullptr : &it->second;
}

CardModel* Simulator::ByHandle(HZORIX7 h) {
  if (h == 0) return nullptr;
  EnsureLoaded();
  for (auto& [number, card] : m_cards)
    if (card.handle() == h) return &card;
  return nullptr;
}

HZORIX7 Simulator::Open(CardModel& card) {
  if (card.handle() == 0) {
    // Handles carry a serial so that a handle kept past Close never reaches the card again.
    m_openSerial = m_openSerial % 0xFFFF + 1;
    card.setHandle(0x7A000000u | m_openSerial << 8 | static_cast<DWORD>(card.number()));
  }
  return card.handle();
}

std::vector<int> Simulator::Numbers() {
  EnsureLoaded();
  std::vector<int> out;
  for (const auto& entry : m_cards) out.push_back(entry.first);
  return out;
}

Call::Call(const char* name, HZORIX7 h, DWORD* errorWord, bool hasErrorWord)
    : m_lock(Simulator::Instance().mutex()),
      m_sim(Simulator::Instance()),
      m_errorWord(errorWord),
      m_hasErrorWord(hasErrorWord) {
  m_entry.call = name;
  m_card = m_sim.ByHandle(h);
  if (m_card) m_entry.card = m_card->number();
}

Call::Call(const char* name, int cardNumber)
    : m_lock(Simulator::Instance().mutex()), m_sim(Simulator::Instance()), m_errorWord(nullptr), m_hasErrorWord(false) {
  m_entry.call = name;
  if (cardNumber >= 1 && cardNumber <= kMaxCards) m_card = m_sim.ByNumber(cardNumber);
  if (m_card) m_entry.card = cardNumber;
}

Call::~Call() {
  if (!m_finished) Fail(kErrOutOfRange);  // an entry point forgot to finish: never silent
  m_sim.journal().Add(std::move(m_entry));
}

bool Call::Begin(std::initializer_list<const void*> pointers) {
  if (!m_card) {
    Fail(m_entry.call == "ZORIX7Open" ? kErrNoCard : kErrInvalidHandle);
    return false;
  }
  if (m_hasErrorWord && !m_errorWord) {
    Fail(kErrNullPointer);
    return false;
  }
  for (const void* p : pointers)
    if (!p) {
      Fail(kErrNullPointer);
      return false;
    }
  if (auto injected = m_sim.faults().Check(m_entry.call, m_card->number())) {
    Fail(*injected);
    return false;
  }
  return true;
}

DWORD Call::Succeed(DWORD result) {
  m_finished = true;
  m_entry.result = result;
  m_entry.error = 0;
  m_entry.ok = true;
  if (m_hasErrorWord && m_errorWord) *m_errorWord = 0;
  return result;
}

DWORD Call::Fail(DWORD error, DWORD result) {
  m_finished = true;
  m_entry.result = result;
  m_entry.error = error;
  m_entry.ok = false;
  if (m_hasErrorWord && m_errorWord) *m_errorWord = error;
  return result;
}

DWORD Call::FailPoll(DWORD result) {
  return Fail(m_entry.error ? m_entry.error : kErrInjected, result);
}

std::string Format(const char* format, ...) {
  char buffer[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

// ---- control interface ----

bool LoadBenchFile(const std::string& path) {
  auto& sim = Simulator::Instance();
  std::lock_guard lock(sim.mutex());
  std::string error;
  auto bench = ReadBenchFile(path, error);
  bool ok = bench.has_value();
  sim.Install(std::move(bench), error);
  return ok;
}

bool LoadBenchText(std::string_view text, const std::string& name) {
  auto& sim = Simulator::Instance();
  std::lock_guard lock(sim.mutex());
  std::string error;
  auto bench = ParseBench(text, name, error);
  bool ok = bench.has_value();
  sim.Install(std::move(bench), error);
  return ok;
}

void UseBuiltInBench() {
  auto& sim = Simulator::Instance();
  std::lock_guard lock(sim.mutex());
  sim.Install(BuiltInBench(), {});
}

void Reset() {
  auto& sim = Simulator::Instance();
  std::lock_guard lock(sim.mutex());
  sim.Forget();
}

std::string BenchError() {
  auto& sim = Simulator::Instance();
  std::lock_guard lock(sim.mutex());
  sim.EnsureLoaded();
  return sim.error();
}

std::vector<int> CardNumbers() {
  auto& sim = Simulator::Instance();
  std::lock_guard lock(sim.mutex());
  return sim.Numbers();
}

CardModel* Card(int cardNumber) {
  auto& sim = Simulator::Instance();
  std::lock_guard lock(sim.mutex());
  return sim.ByNumber(cardNumber);
}

std::vector<JournalEntry> Journal() {
  auto& sim = Simulator::Instance();
  std::lock_guard lock(sim.mutex());
  return sim.journal().All();
}

std::vector<JournalEntry> JournalOf(std::string_view call) {
  auto& sim = Simulator::Instance();
  std::lock_guard lock(sim.mutex());
  return sim.journal().Of(call);
}

void ClearJournal() {
  auto& sim = Simulator::Instance();
  std::lock_guard lock(sim.mutex());
  sim.journal().Clear();
}

bool AddFault(const Fault& fault) {
  auto& sim = Simulator::Instance();
  std::lock_guard lock(sim.mutex());
  sim.EnsureLoaded();  // a later lazy load would drop the fault
  return sim.faults().Add(fault);
}

void ClearFaults() {
  auto& sim = Simulator::Instance();
  std::lock_guard lock(sim.mutex());
  sim.faults().Clear();
}

bool SetStuckKennungByte(int cardNumber, unsigned offset, bool stuck) {
  auto& sim = Simulator::Instance();
  std::lock_guard lock(sim.mutex());
  CardModel* card = sim.ByNumber(cardNumber);
  if (!card || offset >= sizeof(KennungRecord)) return false;
  card->SetStuckKennung(offset, stuck);
  return true;
}

bool SetStuckEepromByte(int cardNumber, unsigned address, bool stuck) {
  auto& sim = Simulator::Instance();
  std::lock_guard lock(sim.mutex());
  CardModel* card = sim.ByNumber(cardNumber);
  if (!card || address >= kEepromSize) return false;
  card->SetStuckEeprom(address, stuck);
  return true;
}

}  // namespace zorix7sim
