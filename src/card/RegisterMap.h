#pragma once
// Register maps as data: each field names its register, bits, kind and caption. One mechanism
// decodes registers into field values and encodes them back, for the register views and the
// command dialogs' presets alike.
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <vector>

namespace regmap {

enum class Kind {
  Flag,     // one check box; on when any of its bits is set
  Number,   // decimal field
  Choice,   // radio buttons, one per value
  HexText,  // hexadecimal text ("%04X")
};

struct ChoiceButton {
  const char* caption;
  uint32_t value;
  uint32_t lastValue;  // values value..lastValue read as this button; the button writes value
};

struct Field {
  const char* group;  // group box caption
  const char* caption;
  uint16_t reg;       // a field above bit 15 continues in the register at reg + 2
  uint8_t firstBit;
  uint8_t bitCount;   // bits read
  Kind kind;
  bool written;
  std::vector<ChoiceButton> choices = {};
  uint8_t writeBitCount = 0;  // bits written when more than are read (0: the same)
  uint32_t writeMax = 0;      // written values above this become it (0: no limit)
  int8_t otherValuesChoice = -1;  // button that values without a button of their own select
  uint8_t scale = 1;          // shown value = the field's bits times this
  bool readBack = true;       // false: written only; reading the registers keeps what was entered
  bool upperFirst = false;    // a two-register field is read upper register first

  uint8_t WriteBits() const { return writeBitCount ? writeBitCount : bitCount; }
  // Index of the button a value selects, or -1 when no button has that value.
  int ChoiceIndex(uint32_t value) const;
};

// No button of a choice field selected: writes 0.
constexpr uint32_t kNoChoice = 0xFFFFFFFFu;

// Builders for the tables: a check box, a number field, a radio group.
inline Field FlagField(const char* group, const char* caption, uint16_t reg, uint8_t bit, bool written) {
  return {group, caption, reg, bit, 1, Kind::Flag, written};
}
inline Field NumberField(const char* group, const char* caption, uint16_t reg, uint8_t firstBit, uint8_t bits,
                         bool written, uint8_t writeBits = 0) {
  return {group, caption, reg, firstBit, bits, Kind::Number, written, {}, writeBits};
}
inline Field ChoiceField(const char* group, const char* caption, uint16_t reg, uint8_t firstBit, uint8_t bits,
                         std::vector<ChoiceButton> buttons) {
  return {group, caption, reg, firstBit, bits, Kind::Choice, true, std::move(buttons)};
}

using ReadFn = std::function<uint16_t(uint16_t reg)>;
using WriteFn = std::function<void(uint16_t reg, uint16_t value)>;

// A register image: address -> 16-bit value.
using Registers = std::map<uint16_t, uint16_t>;

// Registers the table touches in table order (a field's upper register after its lower one).
std::vector<uint16_t> ReadOrder(std::span<const Field> fields);
std::vector<uint16_t> WriteOrder(std::span<const Field> fields);

// The field's bits as they lie in the registers, before any decoding.
uint32_t Bits(const Field& field, const Registers& regs);
// A field's value from its bits.
uint32_t DecodeBits(const Field& field, uint32_t bits);
// A field's value from registers; choice fields give the value of their button or kNoChoice.
uint32_t Decode(const Field& field, const Registers& regs);
std::vector<uint32_t> Decode(std::span<const Field> fields, const Registers& regs);
// Decodes into values (one per field), leaving the fields that are written only untouched.
void DecodeInto(std::span<const Field> fields, const Registers& regs, std::vector<uint32_t>& values);

// Composes the written registers from the values (one per field): every written register starts
// at 0, so what goes to the card is exactly what the fields hold.
Registers Encode(std::span<const Field> fields, std::span<const uint32_t> values);

// Reads every register of the table once, in table order.
Registers ReadAll(std::span<const Field> fields, const ReadFn& read);
// Writes the composed registers in table order.
void WriteAll(std::span<const Field> fields, const Registers& regs, const WriteFn& write);

}  // namespace regmap
