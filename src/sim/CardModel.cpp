#include "sim/CardModel.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "card/ByteImage.h"
#include "platform/Clock.h"

namespace zorix7sim {
namespace {
void SetMember(std::set<unsigned>& set, unsigned value, bool member) {
  if (member)
    set.insert(value);
  else
    set.erase(value);
}


constexpr WORD kVendorId = 0x1E7A;
constexpr WORD kDeviceZorix7 = 0x7000;
constexpr WORD kDeviceZorix7F = 0x7007;

void Put16(std::array<BYTE, 256>& a, size_t at, WORD v) { ByteWriter(a).u16(at, v); }
void Put32(std::array<BYTE, 256>& a, size_t at, DWORD v) { ByteWriter(a).u32(at, v); }

void CopyText(char* field, size_t size, const char* text) {
  std::memset(field, 0, size);
  std::memcpy(field, text, std::min(size, std::strlen(text)));
}

KennungRecord DefaultKennung(int number, Variant variant) {
  KennungRecord k{};
  char karte[32];
  std::snprintf(karte, sizeof karte, "%s %d", variant == Variant::Zorix7F ? "ZORIX7F" : "ZORIX7",
                1233 + number);
  CopyText(k.szKarte, sizeof k.szKarte, karte);
  CopyText(k.szAufsteckfilter, sizeof k.szAufsteckfilter, "AF 0.5-20 MHz");
  CopyText(k.szPciEeprom, sizeof k.szPciEeprom, "EE93C56 V2");
  CopyText(k.szLcaVersion, sizeof k.szLcaVersion, "L3.1");
  CopyText(k.szProgrammversion, sizeof k.szProgrammversion, "P2.07");
  k.fBandgrenzeUnten = 0.5f;
  k.fBandgrenzeOben = 20.0f;
  k.nAdcBits = 12;
  k.nAufnahmeFifo = 64;
  k.nDatenFifo = 128;
  k.nDynamik = 72;
  const WORD eingang[] = {50, 75, 1000};
  const WORD sender[] = {25, 50, 75};
  const WORD energie[] = {100, 150, 200, 250, 300};
  const BYTE rates[] = {100, 50, 25, 12};
  const float mitte[] = {1.0f, 2.25f, 5.0f, 10.0f, 15.0f};
  const float grenzen[] = {0.5f, 1.5f, 1.5f, 3.0f, 3.5f, 6.5f, 7.0f, 13.0f, 12.0f, 18.0f};
  const BYTE grund[] = {6, 12};
  std::copy(std::begin(eingang), std::end(eingang), k.wDaempfungEingang);
  std::copy(std::begin(sender), std::end(sender), k.wDaempfungSender);
  std::copy(std::begin(energie), std::end(energie), k.wEnergieSender);
  std::copy(std::begin(rates), std::end(rates), k.bySamplerate);
  k.nMaxSapFolge = 20;
  std::copy(std::begin(mitte), std::end(mitte), k.fFilterMitte);
  std::copy(std::begin(grenzen), std::end(grenzen), k.fFilterBandgrenze);
  std::copy(std::begin(grund), std::end(grund), k.byGrunddaempfung);
  return k;
}

}  // namespace

std::array<BYTE, kEepromSize> EepromFromConfig(const std::array<BYTE, 256>& config) {
  std::array<BYTE, kEepromSize> e;
  e.fill(0xFF);
  // Expansion-ROM header: signature, length 1 x 0x200, INIT entry, PCI data pointer.
  e[0] = 0x55;
  e[1] = 0xAA;
  e[2] = 0x01;
  const BYTE entry[] = {0xE9, 0x3D, 0x00, 0x00};
  std::copy(std::begin(entry), std::end(entry), e.begin() + 3);
  for (size_t i = 7; i < 0x40; ++i) e[i] = 0x00;
  e[0x18] = 0x1C;
  e[0x19] = 0x00;
  const BYTE pcir[] = {'P', 'C', 'I', 'R'};
  std::copy(std::begin(pcir), std::end(pcir), e.begin() + 0x1C);
  std::copy(config.begin(), config.begin() + 4, e.begin() + 0x20);
  // The header image: every register at its configuration offset plus 0x40; the command
  // word's place carries the interface's configuration bits (PCI, async read and write off).
  std::copy(config.begin(), config.begin() + 0x40, e.begin() + 0x40);
  e[0x44] = 0x00;
  e[0x45] = 0x80;
  e[0x46] = 0x00;
  e[0x47] = 0x00;
  return e;
}

CardSpec MakeDefaultCard(int number, Variant variant) {
  CardSpec s;
  s.number = number;
  s.variant = variant;
  s.bus = static_cast<DWORD>(1 + number);
  s.slot = static_cast<DWORD>(3 + 2 * number) % 32;
  s.kennung = DefaultKennung(number, variant);

  auto& c = s.config;
  const bool f = variant == Variant::Zorix7F;
  Put16(c, 0x00, kVendorId);
  Put16(c, 0x02, f ? kDeviceZorix7F : kDeviceZorix7);
  Put16(c, 0x04, 0x0007);  // I/O, memory, bus master enabled by the firmware
  Put16(c, 0x06, 0x0280);  // medium DEVSEL, fast back-to-back capable
  c[0x08] = f ? 0x03 : 0x01;
  c[0x09] = 0x00;  // class: data acquisition and signal processing, other
  c[0x0A] = 0x80;
  c[0x0B] = 0x11;
  c[0x0C] = 0x08;
  c[0x0D] = 0x20;
  c[0x0E] = 0x00;
  c[0x0F] = 0x00;
  const DWORD n = static_cast<DWORD>(number);
  // BAR0 operation registers (memory), BAR1 the same as I/O, BAR2 data FIFO, BAR3 local bus.
  s.barSize = {0x80, 0x80, 0x100000, 0x10000, 0, 0};
  // Every default card answers at the same addresses and interrupt line, so one set of PCI
  // presets fits every card of a bench (the BIOS's address assignment is not modelled).
  Put32(c, 0x10, 0xFEB01000);
  Put32(c, 0x14, 0x0000D101);
  Put32(c, 0x18, 0xFC100000);
  Put32(c, 0x1C, 0xFBF10000);
  Put16(c, 0x2C, kVendorId);
  Put16(c, 0x2E, f ? 0x0071 : 0x0070);
  s.romSize = 0x8000;
  c[0x3C] = 10;
  c[0x3D] = 0x01;
  c[0x3E] = 0x00;
  c[0x3F] = 0x00;
  s.eeprom = EepromFromConfig(c);
  AddOperationRegisterDefaults(s);
  s.noiseSeed = 0x5EED0000u + n;
  return s;
}

CardModel::CardModel(CardSpec setup) : m_spec(std::move(setup)) {
  std::memcpy(m_kennung.data(), &m_spec.kennung, sizeof(KennungRecord));
  m_config = m_spec.config;
  m_eeprom = m_spec.eeprom;
  m_registers = m_spec.registers;
  analoguePowered = !m_spec.poweredDown;
  m_noise = NoiseSource(m_spec.noiseSeed);
}

KennungRecord CardModel::Kennung() const {
  KennungRecord k;
  std::memcpy(&k, m_kennung.data(), sizeof k);
  return k;
}

DWORD CardModel::PutKennung(const KennungRecord& record) {
  const auto* want = reinterpret_cast<const BYTE*>(&record);
  for (size_t i = 0; i < m_kennung.size(); ++i)
    if (!m_spec.stuckKennung.count(static_cast<unsigned>(i))) m_kennung[i] = want[i];
  for (size_t i = 0; i < m_kennung.size(); ++i)
    if (m_kennung[i] != want[i])
      return (kKennungBase + static_cast<DWORD>(i)) << 16 | static_cast<DWORD>(want[i]) << 8 |
             m_kennung[i];
  return 0;
}

void CardModel::SetStuckKennung(unsigned offset, bool stuck) { SetMember(m_spec.stuckKennung, offset, stuck); }

BYTE CardModel::ConfigWritableMask(size_t offset) const {
  if (offset >= 0x10 && offset < 0x28) {
    size_t bar = (offset - 0x10) / 4;
    DWORD size = m_spec.barSize[bar];
    if (size == 0) return 0;
    bool io = m_spec.config[0x10 + bar * 4] & 1;
    DWORD mask = ~(size - 1) & (io ? ~0x3u : ~0xFu);
    return static_cast<BYTE>(mask >> (8 * (offset % 4)));
  }
  if (offset >= 0x30 && offset < 0x34) {
    if (m_spec.romSize == 0) return 0;
    DWORD mask = (~(m_spec.romSize - 1) & 0xFFFFF800u) | 1u;
    return static_cast<BYTE>(mask >> (8 * (offset % 4)));
  }
  if ((offset >= 0x2C && offset < 0x30) || offset >= 0x40) return m_spec.configWritable[offset];
  switch (offset) {
    case 0x04: return 0xFF;
    case 0x05: return 0x07;  // command bits 8-10; the rest is reserved
    case 0x0C:
    case 0x0D:
    case 0x3C: return 0xFF;
    default: return 0;
  }
}

void CardModel::WriteConfig(const PciConfigImage& image) {
  for (size_t off = 0; off < m_config.size(); ++off) {
    BYTE mask = ConfigWritableMask(off);
    m_config[off] = static_cast<BYTE>((m_config[off] & ~mask) | (image.bytes[off] & mask));
  }
  // Status bits 8 and 11-15 clear when written with 1.
  m_config[0x07] = static_cast<BYTE>(m_config[0x07] & ~(image.bytes[0x07] & 0xF9));
  // BIST: a capable card runs its self-test on "start" and passes at once.
  if ((m_config[0x0F] & 0x80) && (image.bytes[0x0F] & 0x40)) m_config[0x0F] = 0x80;
}

bool CardModel::ReadEeprom(DWORD address, unsigned width, DWORD& value) const {
  value = 0;
  if (address >= m_eeprom.size() || width > m_eeprom.size() - address) return false;
  for (unsigned i = 0; i < width; ++i) value |= static_cast<DWORD>(m_eeprom[address + i]) << (8 * i);
  return true;
}

bool CardModel::WriteEeprom(DWORD address, unsigned width, DWORD value) {
  if (address >= m_eeprom.size() || width > m_eeprom.size() - address) return false;
  for (unsigned i = 0; i < width; ++i)
    if (!m_spec.stuckEeprom.count(address + i)) m_eeprom[address + i] = static_cast<BYTE>(value >> (8 * i));
  return true;
}

void CardModel::SetStuckEeprom(unsigned address, bool stuck) { SetMember(m_spec.stuckEeprom, address, stuck); }

DWORD CardModel::ReadRegister(DWORD address) const {
  auto it = m_registers.find(address);
  return it == m_registers.end() ? MeasuredRegister(address) : it->second;
}

void CardModel::WriteRegister(DWORD address, DWORD value) {
  if (IsOperationRegister(address)) return WriteOperationRegister(address, value);
  m_registers[address] = value;
}

void CardModel::StartReset() {
  m_resetStarted = true;
  m_resetTick = CurrentClock().GetTickCount();
  running = false;
  warmedUp = false;
  ForgetShots();
}

bool CardModel::InReset() const {
  return m_resetStarted && (m_spec.neverReset || CurrentClock().GetTickCount() - m_resetTick < m_spec.resetMs);
}

bool CardModel::Zorix9Mode() const {
  for (const auto& s : sets)
    if (s.zorix9Ident != 0) return true;
  return false;
}

}  // namespace zorix7sim
