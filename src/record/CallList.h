#pragma once
// Every call of the card library's C interface, in the order of zorix7dll.h: name, result
// type, parameters, argument names. The recorder and the replay generate their entry points
// from this one list; a test holds it against the header, so a new call cannot be left out.
#include <cstddef>
#include <cstdint>

#include "card/zorix7dll.h"

#define ZORIX7_CALLS(X)                                                                                     \
  X(Open, HZORIX7, (int cardNumber), (cardNumber))                                                         \
  X(Close, BOOL, (HZORIX7 h), (h))                                                                         \
  X(IsVersion3, BOOL, (HZORIX7 h), (h))                                                                    \
  X(ResetCard, BOOL, (HZORIX7 h), (h))                                                                     \
  X(IsReseted, BOOL, (HZORIX7 h), (h))                                                                     \
  X(WarmUp, BOOL, (HZORIX7 h, DWORD * error), (h, error))                                                  \
  X(Start, BOOL, (HZORIX7 h, DWORD * error), (h, error))                                                   \
  X(Stop, BOOL, (HZORIX7 h, DWORD * error), (h, error))                                                    \
  X(ClearFIFO, BOOL, (HZORIX7 h, DWORD * error), (h, error))                                               \
  X(CancelGetData, BOOL, (HZORIX7 h, DWORD * error), (h, error))                                           \
  X(Command, BOOL, (HZORIX7 h, DWORD code, DWORD wordCount, DWORD * words, DWORD * error),                 \
    (h, code, wordCount, words, error))                                                                    \
  X(GetCardPosition, BOOL, (HZORIX7 h, DWORD * bus, DWORD * slot, DWORD * error), (h, bus, slot, error))  \
  X(GetKonfig, BOOL, (HZORIX7 h, KennungRecord * record, DWORD * error), (h, record, error))              \
  X(PutKonfig, BOOL, (HZORIX7 h, const KennungRecord* record, DWORD* error), (h, record, error))          \
  X(ReadConfigData, BOOL, (HZORIX7 h, PciConfigImage * image), (h, image))                                \
  X(WriteConfigData, BOOL, (HZORIX7 h, const PciConfigImage* image), (h, image))                          \
  X(ReadRegister, DWORD, (HZORIX7 h, DWORD address), (h, address))                                        \
  X(WriteRegister, BOOL, (HZORIX7 h, DWORD address, DWORD value), (h, address, value))                    \
  X(ReadPCIEEPROMbyte, DWORD, (HZORIX7 h, DWORD address), (h, address))                                   \
  X(ReadPCIEEPROMword, DWORD, (HZORIX7 h, DWORD address), (h, address))                                   \
  X(ReadPCIEEPROMdword, DWORD, (HZORIX7 h, DWORD address), (h, address))                                  \
  X(WritePCIEEPROMbyte, BOOL, (HZORIX7 h, DWORD address, DWORD value), (h, address, value))               \
  X(WritePCIEEPROMword, BOOL, (HZORIX7 h, DWORD address, DWORD value), (h, address, value))               \
  X(WritePCIEEPROMdword, BOOL, (HZORIX7 h, DWORD address, DWORD value), (h, address, value))              \
  X(PrepAllGatesParam, BOOL, (HZORIX7 h, BYTE set, ParamBlock block, DWORD* error), (h, set, block, error)) \
  X(ActiveParam, BOOL, (HZORIX7 h, ActiveSetFlags flags, DWORD * error), (h, flags, error))               \
  X(SetParam, BOOL, (HZORIX7 h, BYTE set, DWORD * error), (h, set, error))                                \
  X(StartParam, BOOL, (HZORIX7 h, BYTE startMode, DWORD * error), (h, startMode, error))                  \
  X(SetMode, BOOL, (HZORIX7 h, DWORD dma, DWORD * error), (h, dma, error))                                \
  X(SetTriggerDelayParam, BOOL, (HZORIX7 h, BYTE set, DWORD delay, DWORD * error), (h, set, delay, error)) \
  X(SetTriggerDelay25nsParam, BOOL, (HZORIX7 h, BYTE set, DWORD delay, DWORD * error),                    \
    (h, set, delay, error))                                                                                \
  X(SetESGateParam, BOOL,                                                                                  \
    (HZORIX7 h, BYTE set, WORD level, DWORD time, BOOL relative, BOOL always, DWORD * error),              \
    (h, set, level, time, relative, always, error))                                                        \
  X(SetExternalClock, BOOL, (HZORIX7 h, BOOL external, DWORD * error), (h, external, error))              \
  X(SetZORIX9, BOOL, (HZORIX7 h, BYTE set, int16_t ident, DWORD * error), (h, set, ident, error))         \
  X(SetDataTimeOut, BOOL, (HZORIX7 h, DWORD seconds, DWORD * error), (h, seconds, error))                 \
  X(SetSAPDelay, BOOL, (HZORIX7 h, WORD delay, DWORD * error), (h, delay, error))                         \
  X(GetData, BOOL, (HZORIX7 h, DWORD * byteCount, void* buffer, DWORD* error), (h, byteCount, buffer, error)) \
  X(StartGetData, BOOL, (HZORIX7 h, DWORD * byteCount, void* buffer, DWORD reserved, DWORD* error),       \
    (h, byteCount, buffer, reserved, error))                                                               \
  X(IsReadyGetDataIntReturn, BOOL, (HZORIX7 h, DWORD * byteCount, DWORD * error), (h, byteCount, error))  \
  X(GetASCAN, BOOL, (HZORIX7 h, BYTE set, DWORD * byteCount, DWORD reserved, DWORD * error),              \
    (h, set, byteCount, reserved, error))                                                                  \
  X(GetResults, BOOL, (HZORIX7 h, DWORD value, DWORD * byteCount, void* buffer, DWORD* error),            \
    (h, value, byteCount, buffer, error))                                                                  \
  X(GetGates, BOOL, (HZORIX7 h, GateReadout * readout, DWORD * error), (h, readout, error))               \
  X(IsDataInFIFO, BOOL, (HZORIX7 h, BOOL * dataInFifo, DWORD * error), (h, dataInFifo, error))            \
  X(GetADC, BOOL, (HZORIX7 h, float* sixValues, DWORD* error), (h, sixValues, error))                     \
  X(LoadProm, BOOL, (HZORIX7 h, BYTE blockCount, const void* image, DWORD* error), (h, blockCount, image, error))

// Unwraps an argument list written in parentheses.
#define ZORIX7_UNPAREN(...) __VA_ARGS__

namespace session {

enum class CallId : uint8_t {
#define ZORIX7_CALL_ID(name, ret, params, args) name,
  ZORIX7_CALLS(ZORIX7_CALL_ID)
#undef ZORIX7_CALL_ID
};

inline constexpr const char* kCallNames[] = {
#define ZORIX7_CALL_NAME(name, ret, params, args) "ZORIX7" #name,
    ZORIX7_CALLS(ZORIX7_CALL_NAME)
#undef ZORIX7_CALL_NAME
};
inline constexpr size_t kCallCount = sizeof kCallNames / sizeof kCallNames[0];

// The function pointer type of each call.
template <CallId>
struct CallFn;
#define ZORIX7_CALL_FN(name, ret, params, args) \
  template <>                                   \
  struct CallFn<CallId::name> {                 \
    using type = ret(*) params;                 \
  };
ZORIX7_CALLS(ZORIX7_CALL_FN)
#undef ZORIX7_CALL_FN

}  // namespace session
