#pragma once
// The configuration header check: the card's 256-byte image against the presets of section
// "PCIconfiguration". Plain C++, shared by the dialog, its tests and the fuzzer.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "card/ByteImage.h"
#include "platform/CString.h"
#include "platform/WinTypes.h"

namespace pci {

// A register of the header: byte offset and width in bits (8, 16, 24 or 32).
struct Register {
  size_t offset;
  unsigned bits;
};
// The register zero-extended to 32 bits.
uint32_t RegisterValue(ByteView image, Register reg);
// Stores the value's low bits at the register.
void StoreRegister(ByteWriter& image, Register reg, uint32_t value);

// A preset text by key as the configuration file holds it; nullopt when it holds none.
using PresetLookup = std::function<std::optional<std::string>(const char* key)>;
// The line of a check whose preset is not stored: nothing is compared against a made-up 0.
inline constexpr const char* kPresetMissing = "Keine Vorgabe für %s gespeichert";

struct ConfigCheckRow {
  const char* key;
  Register reg;
  const char* mismatch;  // printf text with preset and actual value
};
// The 21 compared registers in the order of the check.
const std::array<ConfigCheckRow, 21>& ConfigCheckRows();
// The 22 preset keys in the order they are saved ("Baseaddress4" is stored but never compared).
const std::array<const char*, 22>& ConfigPresetKeys();

inline constexpr const char* kConfigSection = "PCIconfiguration";
inline constexpr const char* kConfigUnreadable = "PCI-Konfiguration nicht lesbar";

// TRUE and "OK" when every register equals its preset (a text that is no number counts 0);
// else FALSE and the first difference, or the first preset not stored.
BOOL CheckConfig(ByteView image, const PresetLookup& presets, CString& result);

}  // namespace pci
