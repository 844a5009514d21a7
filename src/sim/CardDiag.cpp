// Bring-up and diagnostics of a card: the PCI-FIFO that self-test 0 fills, the self-test
// answers, and the control and data LCA registers the card itself drives.
#include <algorithm>

#include "card/DataLca.h"
#include "card/DspCommands.h"
#include "card/SelfTest.h"
#include "sim/CardModel.h"

namespace zorix7sim {
namespace {

constexpr DWORD kControlLcaId = 0x7031;
constexpr DWORD kDataLcaId = 0x7032;
constexpr DWORD kNoLca = 0xFFFF;             // what a card without the LCAs reads there
constexpr DWORD kWrongWordBit = 0x00010000;  // a stuck data line of the FIFO
constexpr DWORD kExtraWord = 0x0BAD0000;

bool IsLcaRegister(DWORD a) { return (a >= 0x400 && a < 0x440) || (a >= 0x600 && a < 0x620); }

bool IsReadOnly(DWORD a) {
  switch (a) {
    case lca::kId:
    case lca::kStatus:
    case lca::kFifoStatus:
    case lca::kEsbDelay:
    case lca::kGateB0:
    case lca::kGateB0Time:
    case datalca::kId:
    case datalca::kTimerLow:
    case datalca::kTimerHigh:
      return true;
    default:
      return false;
  }
}

bool IsGateLimit(DWORD a) { return a >= datalca::kGate1 && a <= datalca::kGate4End && a % 2 == 0; }

// Gate (0..4) whose result a register reports, -1 for none; time: the second register of the pair.
int GateOfResult(DWORD a, bool& time) {
  for (int gate = 0; gate < datalca::kGates; ++gate) {
    const DWORD reg = datalca::GateRegister(gate);
    if (a == reg || a == reg + 2) {
      time = a == reg + 2;
      return gate;
    }
  }
  return -1;
}

}  // namespace

DWORD CardModel::BusRead(DWORD address) {
  if (address == selftest::kPciFifoData) {
    if (pciFifo.empty()) return m_spec.fifoNeverEmpty ? kExtraWord : 0;
    DWORD word = pciFifo.front();
    pciFifo.pop_front();
    return word;
  }
  if (address == selftest::kPciFifoStatus) {
    const bool empty = pciFifo.empty() && !m_spec.fifoNeverEmpty;
    return (ReadRegister(address) & ~selftest::kPciFifoEmpty) | (empty ? selftest::kPciFifoEmpty : 0);
  }
  if ((address == lca::kId || address == datalca::kId) && !m_registers.count(address))
    return !isF() ? kNoLca : address == lca::kId ? kControlLcaId : kDataLcaId;
  bool time = false;
  int gate = GateOfResult(address, time);
  if (gate >= 0 && m_run.lastShotSet) {
    const GateResult& g = Response(*m_run.lastShotSet).gate[gate];
    if (time) return g.crossed ? static_cast<DWORD>(std::clamp<int64_t>(g.position, 0, 0xFFFF)) : 0;
    return static_cast<DWORD>(g.value >> 2) << 7;  // 8-bit maximum in bits 7-14
  }
  return ReadRegister(address);
}

void CardModel::BusWrite(DWORD address, DWORD value) {
  if (IsGateLimit(address)) {
    gateLimits[address] = static_cast<WORD>(value);
    return;
  }
  if (IsReadOnly(address)) return;
  WriteRegister(address, IsLcaRegister(address) ? value & 0xFFFF : value);
}

DWORD CardModel::RunSelfTest(const CommandRecord& command) {
  if (command.code != dsp::kSelfTest || command.wordCount < 1) return 0;
  const DWORD mask = command.words[0];
  for (int test = 0; test < selftest::kTests; ++test)
    if ((mask & selftest::Mask(test)) && m_spec.selfTestFail.count(static_cast<unsigned>(test)))
      return kErrSelfTest + static_cast<DWORD>(test);
  if (mask & selftest::Mask(0)) {
    for (int i = 0; i < selftest::kPatternWords; ++i) {
      DWORD word = selftest::PatternWord(i);
      if (m_spec.fifoWrongWords.count(static_cast<unsigned>(i))) word ^= kWrongWordBit;
      pciFifo.push_back(word);
    }
    for (DWORD k = 0; k < m_spec.fifoExtraWords; ++k) pciFifo.push_back(kExtraWord + k);
  }
  return 0;
}

}  // namespace zorix7sim
