#include "card/RegisterMap.h"

#include <algorithm>

namespace regmap {
namespace {
uint64_t Mask(unsigned bits) { return bits >= 32 ? 0xFFFFFFFFull : (1ull << bits) - 1; }

uint32_t Combined(const Registers& regs, uint16_t reg) {
  auto at = [&](uint16_t r) -> uint32_t {
    auto it = regs.find(r);
    return it == regs.end() ? 0 : it->second;
  };
  return at(reg) | (at(static_cast<uint16_t>(reg + 2)) << 16);
}

bool SpansUpper(const Field& f, uint8_t bits) { return f.firstBit + bits > 16; }

void AddOnce(std::vector<uint16_t>& order, uint16_t reg) {
  if (std::find(order.begin(), order.end(), reg) == order.end()) order.push_back(reg);
}

std::vector<uint16_t> Order(std::span<const Field> fields, bool writtenOnly) {
  std::vector<uint16_t> order;
  for (const Field& f : fields) {
    if (writtenOnly && !f.written) continue;
    if (!writtenOnly && !f.readBack) continue;
    const auto upper = static_cast<uint16_t>(f.reg + 2);
    const bool spans = SpansUpper(f, writtenOnly ? f.WriteBits() : f.bitCount);
    if (spans && !writtenOnly && f.upperFirst) AddOnce(order, upper);
    AddOnce(order, f.reg);
    if (spans) AddOnce(order, upper);
  }
  return order;
}
}  // namespace

int Field::ChoiceIndex(uint32_t value) const {
  for (size_t i = 0; i < choices.size(); ++i)
    if (value >= choices[i].value && value <= std::max(choices[i].value, choices[i].lastValue))
      return static_cast<int>(i);
  return -1;
}

std::vector<uint16_t> ReadOrder(std::span<const Field> fields) { return Order(fields, false); }
std::vector<uint16_t> WriteOrder(std::span<const Field> fields) { return Order(fields, true); }

uint32_t Bits(const Field& f, const Registers& regs) {
  return static_cast<uint32_t>((Combined(regs, f.reg) >> f.firstBit) & Mask(f.bitCount));
}

uint32_t Decode(const Field& f, const Registers& regs) { return DecodeBits(f, Bits(f, regs)); }

uint32_t DecodeBits(const Field& f, uint32_t raw) {
  switch (f.kind) {
    case Kind::Flag:
      return raw != 0 ? 1 : 0;
    case Kind::Choice: {
      int i = f.ChoiceIndex(raw);
      if (i < 0) i = f.otherValuesChoice;
      return i < 0 ? kNoChoice : f.choices[static_cast<size_t>(i)].value;
    }
    case Kind::Number:
    case Kind::HexText:
      break;
  }
  return raw * f.scale;
}

std::vector<uint32_t> Decode(std::span<const Field> fields, const Registers& regs) {
  std::vector<uint32_t> values;
  values.reserve(fields.size());
  for (const Field& f : fields) values.push_back(Decode(f, regs));
  return values;
}

void DecodeInto(std::span<const Field> fields, const Registers& regs, std::vector<uint32_t>& values) {
  values.resize(fields.size(), 0);
  for (size_t i = 0; i < fields.size(); ++i)
    if (fields[i].readBack) values[i] = Decode(fields[i], regs);
}

Registers Encode(std::span<const Field> fields, std::span<const uint32_t> values) {
  std::map<uint16_t, uint32_t> words;  // lower register -> combined 32-bit word
  Registers out;
  for (uint16_t reg : WriteOrder(fields)) out[reg] = 0;
  for (size_t i = 0; i < fields.size(); ++i) {
    const Field& f = fields[i];
    if (!f.written) continue;
    uint32_t v = i < values.size() ? values[i] : 0;
    if (f.kind == Kind::Choice && v == kNoChoice) v = 0;
    if (f.kind == Kind::Flag) v = v ? 1 : 0;
    if (f.writeMax && v > f.writeMax) v = f.writeMax;
    uint64_t bits = (static_cast<uint64_t>(v) & Mask(f.WriteBits())) << f.firstBit;
    words[f.reg] |= static_cast<uint32_t>(bits);
  }
  for (const auto& [reg, word] : words) {
    out[reg] = static_cast<uint16_t>(out[reg] | (word & 0xFFFF));
    if (word >> 16) out[static_cast<uint16_t>(reg + 2)] = static_cast<uint16_t>(out[static_cast<uint16_t>(reg + 2)] | (word >> 16));
  }
  return out;
}

Registers ReadAll(std::span<const Field> fields, const ReadFn& read) {
  Registers regs;
  for (uint16_t reg : ReadOrder(fields)) regs[reg] = read(reg);
  return regs;
}

void WriteAll(std::span<const Field> fields, const Registers& regs, const WriteFn& write) {
  for (uint16_t reg : WriteOrder(fields)) {
    auto it = regs.find(reg);
    write(reg, it == regs.end() ? 0 : it->second);
  }
}

}  // namespace regmap
