#pragma once
// The card library's C interface. The application links against libzorix7; the build
// makes it from the virtual cards (src/sim), and a real driver library with the same
// interface replaces it through the dynamic loader.
//
// Rule of every call with an error word: handle first, pointer to the 32-bit error word
// last, result nonzero = success. All records are little-endian.
#include <stddef.h>
#include <stdint.h>

#include "platform/WinTypes.h"

typedef DWORD HZORIX7;  // card handle, 0 = none

#pragma pack(push, 4)
// The 148-byte parameter block of one measurement set. On a 64-bit build the table
// pointer field still carries 4 bytes: 0 = depth compensation off, otherwise a nonzero
// token (the low 32 bits of the table address, 1 if those are 0) - the table itself stays with
// the caller, so a virtual card knows only whether depth compensation is on.
typedef struct ParamBlockGate {
  DWORD start;
  DWORD end;
  WORD threshold;  // configured threshold x 16
  WORD pad;
} ParamBlockGate;

typedef struct ParamBlock {
  DWORD IFF;
  BYTE TaLastIndex;
  BYTE pad5[3];
  DWORD TaTablePointer;
  BOOL b8Bit;
  BYTE Average;
  BYTE Samplerate;
  BYTE StartMode;  // 1 single measurement, 3 continuous, 4 block
  BYTE pad19;
  WORD PKVorlauf;
  WORD Aufnahmelaenge;
  DWORD Aufnahmedelay;
  BOOL ASCAN;
  BYTE Faktor;
  BYTE Gleichrichtung;
  BYTE pad34[2];
  BOOL ExternerTrigger;
  BYTE Triggereingangsmode;
  BYTE Triggerausgangsmode;
  BYTE Ausblenden;
  BYTE pad43;
  WORD TAVerzoegerung;
  WORD TAAbstand;
  BOOL Sendersperre;
  BYTE Sendeimpulsbreite;
  BYTE Sendeenergie;
  BYTE pad54[2];
  BOOL SEMode;
  BYTE Senderdaempfung;
  BYTE Eingangsdaempfung;
  BYTE Filter;
  BYTE pad63;
  WORD Verstaerkung;
  WORD pad66;
  ParamBlockGate Gate[5];
  BOOL GateEnable[5];
} ParamBlock;

typedef struct ActiveSetFlags {
  BOOL flag[8];  // entry 0 = set 0 ("Block"), 1..7 = sets 1..7
} ActiveSetFlags;

// Filled by ZORIX7GetGates on ZORIX7F cards for the last shot.
typedef struct GateReadoutGate {
  int32_t t;
  WORD amplitudeRaw;  // shown value = raw >> 2
  WORD unused;
  DWORD marker;       // nonzero = shown "^"
} GateReadoutGate;

typedef struct GateReadout {
  int32_t d;  // echo start position on the sample scale of the A-scan
  DWORD unused;
  GateReadoutGate gate[5];
} GateReadout;
#pragma pack(pop)

#pragma pack(push, 1)
// The card's 240-byte identification record.
typedef struct KennungRecord {
  char szKarte[20];
  char szAufsteckfilter[20];
  char szPciEeprom[20];
  char szLcaVersion[10];
  char szProgrammversion[10];
  float fBandgrenzeUnten;
  float fBandgrenzeOben;
  BYTE nAdcBits;
  BYTE nAufnahmeFifo;
  BYTE nDatenFifo;
  BYTE nDynamik;
  WORD wDaempfungEingang[4];
  WORD wDaempfungSender[4];
  WORD wEnergieSender[8];
  BYTE bySamplerate[8];
  BYTE nMaxSapFolge;
  BYTE reserved[3];
  float fFilterMitte[8];
  float fFilterBandgrenze[16];
  BYTE byGrunddaempfung[8];
} KennungRecord;

// The card's PCI configuration space as ZORIX7ReadConfigData delivers it.
typedef struct PciConfigImage {
  BYTE bytes[256];
} PciConfigImage;
#pragma pack(pop)

#ifdef __cplusplus
static_assert(sizeof(ParamBlock) == 148);
static_assert(offsetof(ParamBlock, TaLastIndex) == 4);
static_assert(offsetof(ParamBlock, TaTablePointer) == 8);
static_assert(offsetof(ParamBlock, b8Bit) == 12);
static_assert(offsetof(ParamBlock, Average) == 16);
static_assert(offsetof(ParamBlock, Samplerate) == 17);
static_assert(offsetof(ParamBlock, StartMode) == 18);
static_assert(offsetof(ParamBlock, PKVorlauf) == 20);
static_assert(offsetof(ParamBlock, Aufnahmelaenge) == 22);
static_assert(offsetof(ParamBlock, Aufnahmedelay) == 24);
static_assert(offsetof(ParamBlock, ASCAN) == 28);
static_assert(offsetof(ParamBlock, Faktor) == 32);
static_assert(offsetof(ParamBlock, Gleichrichtung) == 33);
static_assert(offsetof(ParamBlock, ExternerTrigger) == 36);
static_assert(offsetof(ParamBlock, Triggereingangsmode) == 40);
static_assert(offsetof(ParamBlock, Triggerausgangsmode) == 41);
static_assert(offsetof(ParamBlock, Ausblenden) == 42);
static_assert(offsetof(ParamBlock, TAVerzoegerung) == 44);
static_assert(offsetof(ParamBlock, TAAbstand) == 46);
static_assert(offsetof(ParamBlock, Sendersperre) == 48);
static_assert(offsetof(ParamBlock, Sendeimpulsbreite) == 52);
static_assert(offsetof(ParamBlock, Sendeenergie) == 53);
static_assert(offsetof(ParamBlock, SEMode) == 56);
static_assert(offsetof(ParamBlock, Senderdaempfung) == 60);
static_assert(offsetof(ParamBlock, Eingangsdaempfung) == 61);
static_assert(offsetof(ParamBlock, Filter) == 62);
static_assert(offsetof(ParamBlock, Verstaerkung) == 64);
static_assert(offsetof(ParamBlock, Gate) == 68);
static_assert(sizeof(ParamBlockGate) == 12);
static_assert(offsetof(ParamBlock, GateEnable) == 128);
static_assert(sizeof(ActiveSetFlags) == 32);
static_assert(sizeof(GateReadout) == 68);
static_assert(offsetof(GateReadout, gate) == 8);
static_assert(sizeof(GateReadoutGate) == 12);
static_assert(sizeof(KennungRecord) == 240);
static_assert(offsetof(KennungRecord, szAufsteckfilter) == 20);
static_assert(offsetof(KennungRecord, szPciEeprom) == 40);
static_assert(offsetof(KennungRecord, szLcaVersion) == 60);
static_assert(offsetof(KennungRecord, szProgrammversion) == 70);
static_assert(offsetof(KennungRecord, fBandgrenzeUnten) == 80);
static_assert(offsetof(KennungRecord, fBandgrenzeOben) == 84);
static_assert(offsetof(KennungRecord, nAdcBits) == 88);
static_assert(offsetof(KennungRecord, nDynamik) == 91);
static_assert(offsetof(KennungRecord, wDaempfungEingang) == 92);
static_assert(offsetof(KennungRecord, wDaempfungSender) == 100);
static_assert(offsetof(KennungRecord, wEnergieSender) == 108);
static_assert(offsetof(KennungRecord, bySamplerate) == 124);
static_assert(offsetof(KennungRecord, nMaxSapFolge) == 132);
static_assert(offsetof(KennungRecord, fFilterMitte) == 136);
static_assert(offsetof(KennungRecord, fFilterBandgrenze) == 168);
static_assert(offsetof(KennungRecord, byGrunddaempfung) == 232);
static_assert(sizeof(PciConfigImage) == 256);
#endif

#ifdef __cplusplus
extern "C" {
#endif

HZORIX7 ZORIX7Open(int cardNumber);
BOOL ZORIX7Close(HZORIX7 h);
BOOL ZORIX7IsVersion3(HZORIX7 h);
BOOL ZORIX7ResetCard(HZORIX7 h);
BOOL ZORIX7IsReseted(HZORIX7 h);

BOOL ZORIX7WarmUp(HZORIX7 h, DWORD* error);
BOOL ZORIX7Start(HZORIX7 h, DWORD* error);
BOOL ZORIX7Stop(HZORIX7 h, DWORD* error);
BOOL ZORIX7ClearFIFO(HZORIX7 h, DWORD* error);
BOOL ZORIX7CancelGetData(HZORIX7 h, DWORD* error);

// code = command number x 1024 + word count; wordCount 0..2.
BOOL ZORIX7Command(HZORIX7 h, DWORD code, DWORD wordCount, DWORD* words, DWORD* error);
BOOL ZORIX7GetCardPosition(HZORIX7 h, DWORD* bus, DWORD* slot, DWORD* error);
BOOL ZORIX7GetKonfig(HZORIX7 h, KennungRecord* record, DWORD* error);
// Writes and verifies; on failure the error word is address << 16 | expected << 8 | found.
BOOL ZORIX7PutKonfig(HZORIX7 h, const KennungRecord* record, DWORD* error);

BOOL ZORIX7ReadConfigData(HZORIX7 h, PciConfigImage* image);
BOOL ZORIX7WriteConfigData(HZORIX7 h, const PciConfigImage* image);
DWORD ZORIX7ReadRegister(HZORIX7 h, DWORD address);
BOOL ZORIX7WriteRegister(HZORIX7 h, DWORD address, DWORD value);
DWORD ZORIX7ReadPCIEEPROMbyte(HZORIX7 h, DWORD address);
DWORD ZORIX7ReadPCIEEPROMword(HZORIX7 h, DWORD address);
DWORD ZORIX7ReadPCIEEPROMdword(HZORIX7 h, DWORD address);
BOOL ZORIX7WritePCIEEPROMbyte(HZORIX7 h, DWORD address, DWORD value);
BOOL ZORIX7WritePCIEEPROMword(HZORIX7 h, DWORD address, DWORD value);
BOOL ZORIX7WritePCIEEPROMdword(HZORIX7 h, DWORD address, DWORD value);

BOOL ZORIX7PrepAllGatesParam(HZORIX7 h, BYTE set, ParamBlock block, DWORD* error);
BOOL ZORIX7ActiveParam(HZORIX7 h, ActiveSetFlags flags, DWORD* error);
BOOL ZORIX7SetParam(HZORIX7 h, BYTE set, DWORD* error);
BOOL ZORIX7StartParam(HZORIX7 h, BYTE startMode, DWORD* error);
BOOL ZORIX7SetMode(HZORIX7 h, DWORD dma, DWORD* error);
BOOL ZORIX7SetTriggerDelayParam(HZORIX7 h, BYTE set, DWORD delay, DWORD* error);
BOOL ZORIX7SetTriggerDelay25nsParam(HZORIX7 h, BYTE set, DWORD delay, DWORD* error);
BOOL ZORIX7SetESGateParam(HZORIX7 h, BYTE set, WORD level, DWORD time, BOOL relative, BOOL always,
                          DWORD* error);
BOOL ZORIX7SetExternalClock(HZORIX7 h, BOOL external, DWORD* error);
BOOL ZORIX7SetZORIX9(HZORIX7 h, BYTE set, int16_t ident, DWORD* error);
BOOL ZORIX7SetDataTimeOut(HZORIX7 h, DWORD seconds, DWORD* error);
BOOL ZORIX7SetSAPDelay(HZORIX7 h, WORD delay, DWORD* error);

// byteCount: in = room in the buffer, out = bytes delivered.
BOOL ZORIX7GetData(HZORIX7 h, DWORD* byteCount, void* buffer, DWORD* error);
BOOL ZORIX7StartGetData(HZORIX7 h, DWORD* byteCount, void* buffer, DWORD reserved, DWORD* error);
// 0 = the fetch started by ZORIX7StartGetData is complete.
BOOL ZORIX7IsReadyGetDataIntReturn(HZORIX7 h, DWORD* byteCount, DWORD* error);
BOOL ZORIX7GetASCAN(HZORIX7 h, BYTE set, DWORD* byteCount, DWORD reserved, DWORD* error);
BOOL ZORIX7GetResults(HZORIX7 h, DWORD value, DWORD* byteCount, void* buffer, DWORD* error);
BOOL ZORIX7GetGates(HZORIX7 h, GateReadout* readout, DWORD* error);
BOOL ZORIX7IsDataInFIFO(HZORIX7 h, BOOL* dataInFifo, DWORD* error);
BOOL ZORIX7GetADC(HZORIX7 h, float* sixValues, DWORD* error);
BOOL ZORIX7LoadProm(HZORIX7 h, BYTE blockCount, const void* image, DWORD* error);

#ifdef __cplusplus
}
#endif
