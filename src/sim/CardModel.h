#pragma once
// One virtual card: what the bench gives it (CardSpec) and what calls change (CardModel).
#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "card/zorix7dll.h"
#include "sim/Shots.h"
#include "sim/Specimen.h"
#include "sim/Zorix7Sim.h"

namespace zorix7sim {

enum class Variant { Zorix7, Zorix7F };

inline std::array<BYTE, 256> DefaultConfigWritable() {
  std::array<BYTE, 256> masks{};
  for (size_t off = 0x40; off < masks.size(); ++off) masks[off] = 0xFF;
  return masks;
}

struct CardSpec {
  int number = 0;
  Variant variant = Variant::Zorix7F;
  DWORD bus = 0;
  DWORD slot = 0;
  DWORD resetMs = 50;  // time from ResetCard until IsReseted reports the card out of reset
  KennungRecord kennung{};
  std::array<BYTE, 256> config{};
  // Write masks of the subsystem ids (0x2C-0x2F) and of 0x40-0xFF; the rest follows PCI.
  std::array<BYTE, 256> configWritable = DefaultConfigWritable();
  std::array<DWORD, 6> barSize{};  // 0: BAR not implemented (reads 0, ignores writes)
  DWORD romSize = 0;               // 0: no expansion ROM
  std::array<BYTE, kEepromSize> eeprom{};
  std::map<DWORD, DWORD> registers;
  std::set<unsigned> stuckKennung;
  std::set<unsigned> stuckEeprom;
  // Measuring.
  SpecimenSpec specimen;
  BYTE ascanType = kTypeAscan14;  // headed A-scans: 0x14, 0x60 or 0x10 (packed)
  DWORD extraFifoWords = 0;       // words appended behind every result buffer
  DWORD shotPeriodUs = 0;         // fixed time of a shot and its transfer; 0: from the set
  // Measuring time (CardMeasure.cpp).
  bool instant = false;          // shots and transfers take no time (benchmarks)
  double externalClockMHz = 0;   // sample clock at the external clock input; 0: none
  uint64_t noiseSeed = 0;
  // A card that misbehaves, for the callers' time-outs.
  bool neverReset = false;  // IsReseted stays 0 after ResetCard
  bool neverReady = false;  // a fetch started by StartGetData never completes
  bool neverEmpty = false;  // the FIFO always holds another shot
  // Bring-up and diagnostics (CardDiag.cpp).
  std::set<unsigned> selfTestFail;    // self-tests whose command the DSP refuses
  std::set<unsigned> fifoWrongWords;  // words of test 0's pattern that arrive wrong
  DWORD fifoExtraWords = 0;           // words left in the PCI-FIFO behind the pattern
  bool fifoNeverEmpty = false;        // the PCI-FIFO never reports empty
  bool poweredDown = false;  // the analogue part starts off
  // DSP commands (CardCommands.cpp): GetADC's temperature (°C), analogue +5 V, analogue -5 V,
  // high voltage, digital -5 V and ADC reference (V).
  std::array<float, 6> adc = {38.5f, 5.02f, 4.97f, 148.0f, 5.01f, 2.50f};
};

// A plausible card of the given number: distinct position, addresses and serial number.
CardSpec MakeDefaultCard(int number, Variant variant);
// PCI interface (CardPci.cpp): what the operation registers of a fresh card hold.
void AddOperationRegisterDefaults(CardSpec& card);
// The EEPROM a card with this configuration header would carry.
std::array<BYTE, kEepromSize> EepromFromConfig(const std::array<BYTE, 256>& config);

struct EsGate {
  WORD level = 0;
  DWORD time = 0;
  bool relative = false;
  bool always = false;
};

struct SetState {
  bool prepared = false;
  ParamBlock block{};
  DWORD triggerDelay = 0;
  DWORD triggerDelay25ns = 0;
  EsGate esGate;
  int16_t zorix9Ident = 0;
};

// Error word of a refused self-test: this plus the test number.
inline constexpr DWORD kErrSelfTest = 0xE0000100;

struct CommandRecord {
  DWORD code = 0;
  DWORD wordCount = 0;
  std::array<DWORD, 2> words{};
};

class CardModel {
 public:
  explicit CardModel(CardSpec setup);

  const CardSpec& setup() const { return m_spec; }
  int number() const { return m_spec.number; }
  bool isF() const { return m_spec.variant == Variant::Zorix7F; }

  // Open state; 0 = closed.
  HZORIX7 handle() const { return m_handle; }
  void setHandle(HZORIX7 h) { m_handle = h; }

  // Identification record memory.
  KennungRecord Kennung() const;
  // Writes the record (stuck bytes keep their value) and verifies it; 0 or the packed
  // error word of the first byte that differs.
  DWORD PutKennung(const KennungRecord& record);
  void SetStuckKennung(unsigned offset, bool stuck);

  // PCI configuration space with the write rules of a type-0 header.
  const std::array<BYTE, 256>& Config() const { return m_config; }
  void WriteConfig(const PciConfigImage& image);

  // EEPROM; multi-byte values little-endian. False: address range outside the EEPROM.
  bool ReadEeprom(DWORD address, unsigned width, DWORD& value) const;
  bool WriteEeprom(DWORD address, unsigned width, DWORD value);
  void SetStuckEeprom(unsigned address, bool stuck);

  DWORD ReadRegister(DWORD address) const;
  void WriteRegister(DWORD address, DWORD value);

  // Reset modelled on the current clock.
  void StartReset();
  bool InReset() const;

  // State the calls keep.
  std::array<SetState, kSets> sets;
  ActiveSetFlags active{};
  BYTE currentSet = 0;
  std::optional<BYTE> startMode;  // set by StartParam
  DWORD dmaMode = 0;
  bool externalClock = false;
  WORD sapDelay = 0;
  DWORD dataTimeOutSeconds = 10;  // the driver's start value; 0: none
  bool warmedUp = false;
  bool running = false;
  std::vector<BYTE> program;  // last image given to LoadProm
  std::optional<CommandRecord> lastCommand;
  bool fetchPending = false;  // StartGetData issued, not yet collected
  bool analoguePowered = true;  // "Power Down" switches it off, "Power Up" on

  // ZORIX9 mode: some set carries a nonzero identification, so data come with headers.
  bool Zorix9Mode() const;

  // ---- measurement parameters (CardParams.cpp) ----
  // Registers that follow the last shot unless the bench fixes them: "ESB Delay" (0x42E) of
  // a ZORIX7F card is the echo start of its last shot in samples; 0 for every other register.
  DWORD MeasuredRegister(DWORD address) const;

  // ---- bring-up and diagnostics (CardDiag.cpp) ----
  // Register accesses through the library: the PCI-FIFO gives up a word per read, status and
  // gate result registers report what the card sees, read-only registers ignore writes, and
  // gate limits written to the result addresses are kept apart.
  DWORD BusRead(DWORD address);
  void BusWrite(DWORD address, DWORD value);
  // 0, or the error word with which the DSP refuses a self-test command.
  DWORD RunSelfTest(const CommandRecord& command);
  std::deque<DWORD> pciFifo;
  std::map<DWORD, WORD> gateLimits;

  // ---- PCI interface (CardPci.cpp) ----
  // The operation register block (mailboxes, bus-master addresses and counts, status
  // registers) takes writes by the rules of the interface chip.
  static bool IsOperationRegister(DWORD address);
  void WriteOperationRegister(DWORD address, DWORD value);

  // ---- DSP commands (CardCommands.cpp) ----
  // 0, or the error word with which the DSP refuses a command. Accepted parameter words land in
  // the control-LCA registers they set up; "Reset" returns those registers to the bench's state.
  DWORD RunCommand(const CommandRecord& command);
  // Kept, and written to the control LCA's "SAP-Delay" register.
  void SetSapDelay(WORD delay);
  std::map<DWORD, CommandRecord> commandWords;  // last accepted words by command code
  // GetADC: the analogue supplies read 0 V while the analogue part is off.
  std::array<float, 6> Adc() const;

  // ---- measuring (CardMeasure.cpp) ----
  // Fetches return 0 or an error word; count is the room on entry and the bytes
  // delivered on return. Data that do not fit the room are lost.
  //
  // Shots run on the card's time line (the shared Clock, in microseconds): a shot of a set
  // takes ShotTimeUs, data handed over take TransferUs; a wait that would outlast the data
  // time-out fails with kErrDataTimeOut.
  //
  // Start: one shot of the current set, or a free run when its block has start mode 3.
  void StartShots();
  // StartParam: mode 3 runs freely over the active sets; other modes fire one shot.
  void StartParamShots(BYTE mode);
  void StopShots();
  void ClearFifo();
  void ForgetShots();  // close and reset
  DWORD FetchData(BYTE* buffer, DWORD& count);
  DWORD RequestAscan(BYTE set, DWORD& count);  // count: bytes the next fetch delivers
  DWORD RequestResults(DWORD& count);
  DWORD FetchResults(BYTE* buffer, DWORD& count);
  DWORD StartFetch(BYTE* buffer, DWORD room);
  // pending: the fetch is still under way (a never-ready card before its data time-out).
  DWORD CollectFetch(DWORD& count, bool& pending);
  DWORD Readout(GateReadout& out);  // the last shot's gates
  bool DataInFifo() const;
  // The sets one cycle measures: the active sets 1..7 (ZORIX7F), else the current set.
  std::vector<BYTE> Cycle() const;
  // A set's response as prepared; a set never prepared measures with the power-on block.
  const SetResponse& Response(BYTE set);
  // Pulse repetition (IFF, else the card's highest rate), trigger delay, record at the
  // sample rate (or at the external clock), times the averaged shots.
  uint64_t ShotTimeUs(BYTE set) const;
  // Over the bus: 133 MB/s with DMA (SetMode 1), a quarter of it without.
  uint64_t TransferUs(size_t bytes) const;

 private:
  BYTE ConfigWritableMask(size_t offset) const;
  bool HasData() const;
  void BeginFreeRun(bool block);
  ParamBlock BlockOf(BYTE set) const;
  BYTE PeekInCycle() const;
  uint64_t FreeRunReadyUs();
  void AdvanceFreeRun();
  uint64_t NextReadyUs();
  DWORD AwaitUs(uint64_t readyUs);
  DWORD AwaitCycle();
  uint64_t TimeOutUs() const;
  DWORD Copy(const std::vector<BYTE>& data, BYTE* buffer, DWORD& count);
  void Produce(std::vector<BYTE>& out);
  void AppendShot(BYTE set, std::vector<BYTE>& out);
  void AppendResults(std::vector<BYTE>& out);
  void AppendCycle(const std::vector<BYTE>& sets, bool endOfCycle, std::vector<BYTE>& out);
  DWORD TimeStamp() const;
  DWORD Deliver(const std::vector<BYTE>& data, BYTE* buffer, DWORD& count);

  struct Run {
    bool freeRun = false;
    bool blockRun = false;  // started by StartParam: a cycle of results stays after Stop
    size_t rotation = 0;
    struct Fired {
      BYTE set = 0;
      uint64_t readyUs = 0;
    };
    std::deque<Fired> fired;  // single shots not yet fetched
    uint64_t busyUntilUs = 0;  // the last single shot is complete
    uint64_t nextUs = 0;       // free run: the oldest shot not yet fetched is complete
    unsigned leftoverShots = 0;
    bool leftoverResults = false;
    std::optional<std::vector<BYTE>> queued;  // GetASCAN / GetResults without buffer
    std::optional<BYTE> lastShotSet;
    DWORD shots = 0;
    DWORD fetchBytes = 0;
    uint64_t fetchStartUs = 0;  // when the pending fetch started
    uint64_t fetchReadyUs = 0;  // when it completes
  };
  struct CachedResponse {
    bool valid = false;
    ParamBlock block{};
    bool relative = false;
    bool powered = true;
    SetResponse response;
  };
  Run m_run;
  std::array<CachedResponse, kSets> m_responses;
  NoiseSource m_noise{0};
  std::vector<int16_t> m_samples;
  std::vector<BYTE> m_out;

  CardSpec m_spec;
  HZORIX7 m_handle = 0;
  std::array<BYTE, sizeof(KennungRecord)> m_kennung{};
  std::array<BYTE, 256> m_config{};
  std::array<BYTE, kEepromSize> m_eeprom{};
  std::map<DWORD, DWORD> m_registers;
  bool m_resetStarted = false;
  DWORD m_resetTick = 0;
};

}  // namespace zorix7sim
