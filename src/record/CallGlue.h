#pragma once
// How the arguments of each call travel: what goes in, what comes back, in one order for
// both sides. Io is the recorder (forwards to the driver and writes the session) or the replay
// (holds the arguments against the session and answers from it). Each value one side writes
// the other reads, so a call's record has one layout, defined here once.
#include <algorithm>
#include <map>
#include <utility>

#include "record/CallList.h"
#include "record/Session.h"

namespace session {

// The buffer that ZORIX7StartGetData handed over, per card, filled when the fetch completes.
class PendingFetches {
 public:
  void Start(HZORIX7 h, void* buffer, DWORD room) { m_fetch[h] = {buffer, room}; }
  std::pair<void*, DWORD> Of(HZORIX7 h) const {
    auto it = m_fetch.find(h);
    return it == m_fetch.end() ? std::pair<void*, DWORD>{nullptr, 0} : it->second;
  }

 private:
  std::map<HZORIX7, std::pair<void*, DWORD>> m_fetch;
};

// The arguments of one call as both sides note them.
class CallNotes {
 public:
  explicit CallNotes(CallId id) { m_call.call = static_cast<uint32_t>(id); }
  void In(uint64_t v) { m_call.in.push_back(Number(v)); }
  template <class T>
  void InRef(const T* p) {
    m_call.in.push_back(p ? Number(static_cast<uint32_t>(*p)) : Value{});
  }
  void InBytes(const void* p, size_t n) { m_call.in.push_back(BytesOf(p, n)); }

 protected:
  CallRecord m_call;
};

namespace glue {

template <CallId id, class Io, class... A>
DWORD Forward(Io& io, A... args) {
  return io.template Run<id>([&](auto fn) { return static_cast<DWORD>(fn(args...)); });
}

// The bytes actually delivered: never more than the room the caller gave.
inline DWORD Delivered(const DWORD* count, DWORD room) { return count ? std::min(*count, room) : 0; }

template <class Io>
HZORIX7 Open(Io& io, int cardNumber) {
  io.In(static_cast<uint32_t>(cardNumber));
  Forward<CallId::Open>(io, cardNumber);
  return io.Finish();
}

template <CallId id, class Io>
BOOL HandleOnly(Io& io, HZORIX7 h) {
  io.In(h);
  Forward<id>(io, h);
  return io.Finish();
}
template <class Io> BOOL Close(Io& io, HZORIX7 h) { return HandleOnly<CallId::Close>(io, h); }
template <class Io> BOOL IsVersion3(Io& io, HZORIX7 h) { return HandleOnly<CallId::IsVersion3>(io, h); }
template <class Io> BOOL ResetCard(Io& io, HZORIX7 h) { return HandleOnly<CallId::ResetCard>(io, h); }
template <class Io> BOOL IsReseted(Io& io, HZORIX7 h) { return HandleOnly<CallId::IsReseted>(io, h); }

// Calls whose arguments are plain numbers between the handle and the error word.
template <CallId id, class Io, class... A>
BOOL Numbers(Io& io, HZORIX7 h, DWORD* error, A... args) {
  io.In(h);
  (io.In(static_cast<uint64_t>(args)), ...);
  Forward<id>(io, h, args..., error);
  io.Error(error);
  return io.Finish();
}
template <class Io> BOOL WarmUp(Io& io, HZORIX7 h, DWORD* e) { return Numbers<CallId::WarmUp>(io, h, e); }
template <class Io> BOOL Start(Io& io, HZORIX7 h, DWORD* e) { return Numbers<CallId::Start>(io, h, e); }
template <class Io> BOOL Stop(Io& io, HZORIX7 h, DWORD* e) { return Numbers<CallId::Stop>(io, h, e); }
template <class Io> BOOL ClearFIFO(Io& io, HZORIX7 h, DWORD* e) { return Numbers<CallId::ClearFIFO>(io, h, e); }
template <class Io> BOOL CancelGetData(Io& io, HZORIX7 h, DWORD* e) { return Numbers<CallId::CancelGetData>(io, h, e); }
template <class Io> BOOL SetParam(Io& io, HZORIX7 h, BYTE set, DWORD* e) { return Numbers<CallId::SetParam>(io, h, e, set); }
template <class Io> BOOL StartParam(Io& io, HZORIX7 h, BYTE mode, DWORD* e) {
  return Numbers<CallId::StartParam>(io, h, e, mode);
}
template <class Io> BOOL SetMode(Io& io, HZORIX7 h, DWORD dma, DWORD* e) { return Numbers<CallId::SetMode>(io, h, e, dma); }
template <class Io> BOOL SetTriggerDelayParam(Io& io, HZORIX7 h, BYTE set, DWORD delay, DWORD* e) {
  return Numbers<CallId::SetTriggerDelayParam>(io, h, e, set, delay);
}
template <class Io> BOOL SetTriggerDelay25nsParam(Io& io, HZORIX7 h, BYTE set, DWORD delay, DWORD* e) {
  return Numbers<CallId::SetTriggerDelay25nsParam>(io, h, e, set, delay);
}
template <class Io>
BOOL SetESGateParam(Io& io, HZORIX7 h, BYTE set, WORD level, DWORD time, BOOL relative, BOOL always, DWORD* e) {
  return Numbers<CallId::SetESGateParam>(io, h, e, set, level, time, relative, always);
}
template <class Io> BOOL SetExternalClock(Io& io, HZORIX7 h, BOOL external, DWORD* e) {
  return Numbers<CallId::SetExternalClock>(io, h, e, external);
}
template <class Io> BOOL SetZORIX9(Io& io, HZORIX7 h, BYTE set, int16_t ident, DWORD* e) {
  io.In(h);
  io.In(set);
  io.In(static_cast<uint16_t>(ident));
  Forward<CallId::SetZORIX9>(io, h, set, ident, e);
  io.Error(e);
  return io.Finish();
}
template <class Io> BOOL SetDataTimeOut(Io& io, HZORIX7 h, DWORD seconds, DWORD* e) {
  return Numbers<CallId::SetDataTimeOut>(io, h, e, seconds);
}
template <class Io> BOOL SetSAPDelay(Io& io, HZORIX7 h, WORD delay, DWORD* e) {
  return Numbers<CallId::SetSAPDelay>(io, h, e, delay);
}

template <class Io>
BOOL Command(Io& io, HZORIX7 h, DWORD code, DWORD wordCount, DWORD* words, DWORD* error) {
  // A command carries at most two words; the words may come back changed.
  const size_t bytes = std::min<DWORD>(wordCount, 2) * sizeof(DWORD);
  io.In(h);
  io.In(code);
  io.In(wordCount);
  io.InBytes(words, bytes);
  Forward<CallId::Command>(io, h, code, wordCount, words, error);
  io.OutBytes(words, bytes);
  io.Error(error);
  return io.Finish();
}

template <class Io>
BOOL GetCardPosition(Io& io, HZORIX7 h, DWORD* bus, DWORD* slot, DWORD* error) {
  io.In(h);
  Forward<CallId::GetCardPosition>(io, h, bus, slot, error);
  io.Out(bus);
  io.Out(slot);
  io.Error(error);
  return io.Finish();
}

// Calls that fill one record of fixed size.
template <CallId id, class Io, class T>
BOOL Fill(Io& io, HZORIX7 h, T* record, DWORD* error) {
  io.In(h);
  Forward<id>(io, h, record, error);
  io.OutBytes(record, sizeof(T));
  io.Error(error);
  return io.Finish();
}
template <class Io> BOOL GetKonfig(Io& io, HZORIX7 h, KennungRecord* r, DWORD* e) { return Fill<CallId::GetKonfig>(io, h, r, e); }
template <class Io> BOOL GetGates(Io& io, HZORIX7 h, GateReadout* r, DWORD* e) { return Fill<CallId::GetGates>(io, h, r, e); }
template <class Io> BOOL GetADC(Io& io, HZORIX7 h, float* six, DWORD* error) {
  io.In(h);
  Forward<CallId::GetADC>(io, h, six, error);
  io.OutBytes(six, 6 * sizeof(float));
  io.Error(error);
  return io.Finish();
}

template <class Io>
BOOL PutKonfig(Io& io, HZORIX7 h, const KennungRecord* record, DWORD* error) {
  io.In(h);
  io.InBytes(record, sizeof(KennungRecord));
  Forward<CallId::PutKonfig>(io, h, record, error);
  io.Error(error);
  return io.Finish();
}

template <class Io>
BOOL ReadConfigData(Io& io, HZORIX7 h, PciConfigImage* image) {
  io.In(h);
  Forward<CallId::ReadConfigData>(io, h, image);
  io.OutBytes(image, sizeof(PciConfigImage));
  return io.Finish();
}

template <class Io>
BOOL WriteConfigData(Io& io, HZORIX7 h, const PciConfigImage* image) {
  io.In(h);
  io.InBytes(image, sizeof(PciConfigImage));
  Forward<CallId::WriteConfigData>(io, h, image);
  return io.Finish();
}

template <CallId id, class Io, class... A>
DWORD NoErrorWord(Io& io, HZORIX7 h, A... args) {
  io.In(h);
  (io.In(args), ...);
  Forward<id>(io, h, args...);
  return io.Finish();
}
template <class Io> DWORD ReadRegister(Io& io, HZORIX7 h, DWORD a) { return NoErrorWord<CallId::ReadRegister>(io, h, a); }
template <class Io> BOOL WriteRegister(Io& io, HZORIX7 h, DWORD a, DWORD v) {
  return NoErrorWord<CallId::WriteRegister>(io, h, a, v);
}
template <class Io> DWORD ReadPCIEEPROMbyte(Io& io, HZORIX7 h, DWORD a) {
  return NoErrorWord<CallId::ReadPCIEEPROMbyte>(io, h, a);
}
template <class Io> DWORD ReadPCIEEPROMword(Io& io, HZORIX7 h, DWORD a) {
  return NoErrorWord<CallId::ReadPCIEEPROMword>(io, h, a);
}
template <class Io> DWORD ReadPCIEEPROMdword(Io& io, HZORIX7 h, DWORD a) {
  return NoErrorWord<CallId::ReadPCIEEPROMdword>(io, h, a);
}
template <class Io> BOOL WritePCIEEPROMbyte(Io& io, HZORIX7 h, DWORD a, DWORD v) {
  return NoErrorWord<CallId::WritePCIEEPROMbyte>(io, h, a, v);
}
template <class Io> BOOL WritePCIEEPROMword(Io& io, HZORIX7 h, DWORD a, DWORD v) {
  return NoErrorWord<CallId::WritePCIEEPROMword>(io, h, a, v);
}
template <class Io> BOOL WritePCIEEPROMdword(Io& io, HZORIX7 h, DWORD a, DWORD v) {
  return NoErrorWord<CallId::WritePCIEEPROMdword>(io, h, a, v);
}

template <class Io>
BOOL PrepAllGatesParam(Io& io, HZORIX7 h, BYTE set, ParamBlock block, DWORD* error) {
  // The depth-compensation token is part of an address: only whether it is set is the same
  // from run to run.
  ParamBlock kept = block;
  kept.TaTablePointer = block.TaTablePointer != 0;
  io.In(h);
  io.In(set);
  io.InBytes(&kept, sizeof kept);
  Forward<CallId::PrepAllGatesParam>(io, h, set, block, error);
  io.Error(error);
  return io.Finish();
}

template <class Io>
BOOL ActiveParam(Io& io, HZORIX7 h, ActiveSetFlags flags, DWORD* error) {
  io.In(h);
  io.InBytes(&flags, sizeof flags);
  Forward<CallId::ActiveParam>(io, h, flags, error);
  io.Error(error);
  return io.Finish();
}

template <class Io>
BOOL GetData(Io& io, HZORIX7 h, DWORD* byteCount, void* buffer, DWORD* error) {
  const DWORD room = byteCount ? *byteCount : 0;
  io.In(h);
  io.InRef(byteCount);
  io.In(buffer != nullptr);
  Forward<CallId::GetData>(io, h, byteCount, buffer, error);
  io.Out(byteCount);
  io.OutBytes(buffer, Delivered(byteCount, room));
  io.Error(error);
  return io.Finish();
}

template <class Io>
BOOL StartGetData(Io& io, HZORIX7 h, DWORD* byteCount, void* buffer, DWORD reserved, DWORD* error) {
  const DWORD room = byteCount ? *byteCount : 0;
  io.In(h);
  io.InRef(byteCount);
  io.In(buffer != nullptr);
  io.In(reserved);
  Forward<CallId::StartGetData>(io, h, byteCount, buffer, reserved, error);
  io.fetches().Start(h, buffer, room);
  io.Out(byteCount);
  io.Error(error);
  return io.Finish();
}

template <class Io>
BOOL IsReadyGetDataIntReturn(Io& io, HZORIX7 h, DWORD* byteCount, DWORD* error) {
  io.In(h);
  const DWORD pending = Forward<CallId::IsReadyGetDataIntReturn>(io, h, byteCount, error);
  io.Out(byteCount);
  // The fetch is complete: the buffer given at its start holds the data now.
  auto [buffer, room] = io.fetches().Of(h);
  io.OutBytes(pending == 0 ? buffer : nullptr, Delivered(byteCount, room));
  io.Error(error);
  return io.Finish(TRUE);  // a failed poll must never read as complete
}

template <class Io>
BOOL GetASCAN(Io& io, HZORIX7 h, BYTE set, DWORD* byteCount, DWORD reserved, DWORD* error) {
  io.In(h);
  io.In(set);
  io.In(reserved);
  Forward<CallId::GetASCAN>(io, h, set, byteCount, reserved, error);
  io.Out(byteCount);
  io.Error(error);
  return io.Finish();
}

template <class Io>
BOOL GetResults(Io& io, HZORIX7 h, DWORD value, DWORD* byteCount, void* buffer, DWORD* error) {
  const DWORD room = byteCount ? *byteCount : 0;
  io.In(h);
  io.In(value);
  io.InRef(byteCount);
  io.In(buffer != nullptr);
  Forward<CallId::GetResults>(io, h, value, byteCount, buffer, error);
  io.Out(byteCount);
  io.OutBytes(buffer, buffer ? Delivered(byteCount, room) : 0);
  io.Error(error);
  return io.Finish();
}

template <class Io>
BOOL IsDataInFIFO(Io& io, HZORIX7 h, BOOL* dataInFifo, DWORD* error) {
  io.In(h);
  Forward<CallId::IsDataInFIFO>(io, h, dataInFifo, error);
  io.Out(dataInFifo);
  io.Error(error);
  return io.Finish();
}

template <class Io>
BOOL LoadProm(Io& io, HZORIX7 h, BYTE blockCount, const void* image, DWORD* error) {
  io.In(h);
  io.In(blockCount);
  io.InBytes(image, size_t{blockCount} * 128);
  Forward<CallId::LoadProm>(io, h, blockCount, image, error);
  io.Error(error);
  return io.Finish();
}

}  // namespace glue
}  // namespace session
