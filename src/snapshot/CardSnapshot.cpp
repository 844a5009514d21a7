#include "snapshot/CardSnapshot.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

#include "card/CardConstants.h"
#include "card/ControlLca.h"
#include "card/DataLca.h"
#include "card/PciConfig.h"
#include "ident/KennungFields.h"
#include "pci/PciConfigCheck.h"
#include "pci/PciEepromCheck.h"
#include "pci/PciOperation.h"
#include "platform/TextParse.h"
#include "snapshot/Json.h"

namespace snapshot {
namespace {

// Without printf: a snapshot formats some five hundred values per card.
constexpr char kDigits[] = "0123456789ABCDEF";

std::string Hex(uint32_t value, int digits) {
  std::string out(static_cast<size_t>(digits), '0');
  for (int i = digits - 1; i >= 0 && value; --i, value >>= 4) out[static_cast<size_t>(i)] = kDigits[value & 0xF];
  return out;
}

// Bytes in image order, two digits each, no separator: the form of the file's images too.
std::string HexBytes(const uint8_t* data, size_t count) {
  std::string out(2 * count, '0');
  for (size_t i = 0; i < count; ++i) {
    out[2 * i] = kDigits[data[i] >> 4];
    out[2 * i + 1] = kDigits[data[i] & 0xF];
  }
  return out;
}

template <size_t N>
bool BytesFromHex(std::string_view text, std::array<uint8_t, N>& out) {
  if (text.size() != 2 * N) return false;
  for (size_t i = 0; i < N; ++i) {
    const auto byte = text::ParseHex(text.substr(2 * i, 2));
    if (!byte) return false;
    out[i] = static_cast<uint8_t>(*byte);
  }
  return true;
}

// The named registers of the check table, then every dword it leaves out, by its offset.
struct HeaderField {
  std::string name;
  pci::Register reg;
};
const std::vector<HeaderField>& HeaderFields() {
  static const std::vector<HeaderField> fields = [] {
    std::vector<HeaderField> out;
    std::array<bool, pci::kConfigBytes> named{};
    for (const pci::ConfigCheckRow& row : pci::ConfigCheckRows()) {
      out.push_back({row.key, row.reg});
      for (size_t i = 0; i < row.reg.bits / 8; ++i) named[row.reg.offset + i] = true;
    }
    for (size_t at = 0; at < named.size(); at += 4)
      if (!(named[at] && named[at + 1] && named[at + 2] && named[at + 3]))
        out.push_back({"0x" + Hex(static_cast<uint32_t>(at), 2), {at, 32}});
    return out;
  }();
  return fields;
}

void AddPciHeader(CardState& s) {
  const ByteView image(s.pciConfig.data(), s.pciConfig.size());
  for (const HeaderField& f : HeaderFields()) {
    const size_t bytes = f.reg.bits / 8;
    s.fields.push_back({Area::PciHeader, f.name, HexBytes(&s.pciConfig[f.reg.offset], bytes),
                        Hex(pci::RegisterValue(image, f.reg), static_cast<int>(bytes * 2))});
  }
}

void AddEeprom(CardState& s, HZORIX7 card) {
  pci::CardEeprom eeprom(card);
  for (int i = 0; i < pci::kEepromFieldCount; ++i) {
    const auto id = static_cast<pci::EepromFieldId>(i);
    const pci::EepromField& f = pci::EepromFieldOf(id);
    const std::string value = Hex(pci::ReadField(eeprom, id), f.digits);
    s.fields.push_back({Area::Eeprom, f.label, value, value});
  }
}

void AddOperation(CardState& s, HZORIX7 card) {
  for (const pci::OperationRegister& r : pci::kOperationRegisters) {
    const std::string value = Hex(ZORIX7ReadRegister(card, r.offset), 8);
    s.fields.push_back({Area::Operation, r.label, value, value});
  }
}

// The control's caption; its group's in front where the caption alone is not unique or empty.
std::string FieldName(const regmap::Field& f, std::span<const regmap::Field> table) {
  const std::string caption = *f.caption ? f.caption : "Bit " + std::to_string(f.firstBit);
  const auto sameCaption = std::count_if(table.begin(), table.end(), [&](const regmap::Field& other) {
    return std::string_view(other.caption) == f.caption && (*f.caption || other.firstBit == f.firstBit);
  });
  return (sameCaption > 1 || !*f.caption) && *f.group ? std::string(f.group) + ": " + caption : caption;
}

std::string Shown(const regmap::Field& f, uint32_t value) {
  switch (f.kind) {
    case regmap::Kind::Flag:
      return value ? "ein" : "aus";
    case regmap::Kind::Choice: {
      const int i = f.ChoiceIndex(value);
      return value == regmap::kNoChoice || i < 0 ? "keine Auswahl" : f.choices[static_cast<size_t>(i)].caption;
    }
    case regmap::Kind::HexText:
      return Hex(value, 4);
    case regmap::Kind::Number:
      break;
  }
  return std::to_string(value);
}

// What every snapshot needs of a register table, worked out once: the fields' names and the
// registers in the table's read order.
struct Table {
  std::vector<std::string> names;
  std::vector<uint16_t> readOrder;
};
const Table& TableOf(std::span<const regmap::Field> fields) {
  static std::map<const regmap::Field*, Table> cache;
  Table& t = cache[fields.data()];
  if (t.names.empty()) {
    for (const regmap::Field& f : fields) t.names.push_back(FieldName(f, fields));
    t.readOrder = regmap::ReadOrder(fields);
  }
  return t;
}

// Both LCAs' registers go into one image: their addresses do not overlap.
void AddRegisters(CardState& s, Area area, std::span<const regmap::Field> fields, HZORIX7 card) {
  const Table& table = TableOf(fields);
  regmap::Registers& regs = s.lcaRegisters;
  // Register values are 16 bits; the library's word carries them in its low half.
  for (uint16_t reg : table.readOrder)
    regs.emplace_hint(regs.end(), reg, static_cast<uint16_t>(ZORIX7ReadRegister(card, reg)));
  for (size_t i = 0; i < fields.size(); ++i) {
    const regmap::Field& f = fields[i];
    if (!f.readBack) continue;
    const uint32_t bits = regmap::Bits(f, regs);
    s.fields.push_back({area, table.names[i], Hex(bits, (f.bitCount + 3) / 4), Shown(f, regmap::DecodeBits(f, bits))});
  }
}

size_t EntryBytes(ident::Kind kind) { return kind == ident::Kind::U16 ? 2 : kind == ident::Kind::F32 ? 4 : 1; }

void AddIdentification(CardState& s) {
  KennungRecord record{};
  std::memcpy(&record, s.kennung.data(), sizeof record);
  const ident::KennungFields shown = ident::FieldsFromRecord(record, 0);
  for (size_t i = 0; i < ident::kFieldCount; ++i) {
    const ident::Field& f = ident::Fields()[i];
    const bool asText = f.kind == ident::Kind::Text || f.list;
    s.fields.push_back({Area::Identification, f.label, HexBytes(&s.kennung[f.offset], f.count * EntryBytes(f.kind)),
                        asText ? shown[i].text.str() : ident::ValueText(record, f)});
  }
}

json::Value Str(const std::string& s) { return json::Value::String(s); }
json::Value Num(double d) { return json::Value::Number(d); }

json::Value CardToJson(const CardState& c) {
  json::Value card = json::Value::Object();
  card.Add("number", Num(c.number));
  card.Add("bus", c.positionKnown ? Num(c.bus) : json::Value());
  card.Add("slot", c.positionKnown ? Num(c.slot) : json::Value());
  card.Add("variant", Str(c.zorix7F ? "ZORIX7F" : "ZORIX7"));
  card.Add("pciConfig", Str(HexBytes(c.pciConfig.data(), c.pciConfig.size())));
  card.Add("kennung", Str(HexBytes(c.kennung.data(), c.kennung.size())));
  json::Value& regs = card.Add("lcaRegisters", json::Value::Object());
  for (const auto& [reg, value] : c.lcaRegisters) regs.Add(Hex(reg, 4), Str(Hex(value, 4)));
  json::Value& fields = card.Add("fields", json::Value::Array());
  for (const Entry& e : c.fields) {
    json::Value& f = fields.Push(json::Value::Object());
    f.Add("area", Str(AreaName(e.area)));
    f.Add("name", Str(e.name));
    f.Add("raw", Str(e.raw));
    f.Add("shown", Str(e.shown));
  }
  return card;
}

std::optional<Area> AreaFromName(const std::string& name) {
  for (Area a : kAreas)
    if (name == AreaName(a)) return a;
  return std::nullopt;
}

std::optional<uint16_t> HexWord(std::string_view text) {
  const auto value = text.size() <= 4 ? text::ParseHex(text) : std::nullopt;
  return value ? std::optional<uint16_t>(static_cast<uint16_t>(*value)) : std::nullopt;
}

bool ReadFields(const json::Value& list, CardState& c, std::string& error) {
  for (const json::Value& f : list.Elements()) {
    auto area = f.StringOf("area");
    auto name = f.StringOf("name");
    auto raw = f.StringOf("raw");
    auto shown = f.StringOf("shown");
    if (!area || !name || !raw || !shown) {
      error = "ein Feld braucht area, name, raw und shown als Text";
      return false;
    }
    auto a = AreaFromName(*area);
    if (!a) {
      error = "unbekannter Bereich \"" + *area + "\"";
      return false;
    }
    c.fields.push_back({*a, *name, *raw, *shown});
  }
  return true;
}

std::optional<CardState> CardFromJson(const json::Value& v, std::string& error) {
  CardState c;
  auto number = v.IntegerOf("number", 1, kMaxCards);
  auto variant = v.StringOf("variant");
  auto config = v.StringOf("pciConfig");
  auto kennung = v.StringOf("kennung");
  const json::Value* regs = v.Find("lcaRegisters");
  const json::Value* fields = v.Find("fields");
  if (!v.IsObject() || !number || !variant || !config || !kennung || !regs || !regs->IsObject() || !fields ||
      !fields->IsArray()) {
    error = "eine Karte braucht number, variant, pciConfig, kennung, lcaRegisters und fields";
    return std::nullopt;
  }
  c.number = static_cast<int>(*number);
  c.zorix7F = *variant == "ZORIX7F";
  if (!c.zorix7F && *variant != "ZORIX7") {
    error = "unbekannte Variante \"" + *variant + "\"";
    return std::nullopt;
  }
  auto bus = v.IntegerOf("bus", 0, UINT32_MAX);
  auto slot = v.IntegerOf("slot", 0, UINT32_MAX);
  c.positionKnown = bus && slot;
  c.bus = static_cast<uint32_t>(bus.value_or(0));
  c.slot = static_cast<uint32_t>(slot.value_or(0));
  if (!BytesFromHex(*config, c.pciConfig) || !BytesFromHex(*kennung, c.kennung)) {
    error = "pciConfig braucht 256 und kennung 240 Bytes als Hexadezimaltext";
    return std::nullopt;
  }
  for (const auto& [reg, value] : regs->Members()) {
    auto r = HexWord(reg);
    auto w = value.type() == json::Value::Type::String ? HexWord(value.Text()) : std::nullopt;
    if (!r || !w) {
      error = "lcaRegisters: Register und Wert als vierstelliger Hexadezimaltext";
      return std::nullopt;
    }
    c.lcaRegisters[*r] = *w;
  }
  if (!ReadFields(*fields, c, error)) return std::nullopt;
  return c;
}
}  // namespace

const char* AreaName(Area area) {
  switch (area) {
    case Area::PciHeader:
      return "PCI-Konfiguration";
    case Area::Eeprom:
      return "PCI-EEPROM";
    case Area::Operation:
      return "PCI-Operation";
    case Area::ControlLca:
      return "Steuer-LCA";
    case Area::DataLca:
      return "Daten-LCA";
    case Area::Identification:
      break;
  }
  return "Kennung";
}

std::optional<CardState> CardOf(const Snapshot& snapshot, int n) {
  for (const CardState& c : snapshot.cards)
    if (c.number == n) return c;
  if (snapshot.cards.size() == 1) return snapshot.cards.front();
  return std::nullopt;
}

CardState TakeCardState(HZORIX7 card, int number) {
  CardState s;
  s.number = number;
  s.fields.reserve(256);
  DWORD error = 0;
  DWORD bus = 0, slot = 0;
  s.positionKnown = ZORIX7GetCardPosition(card, &bus, &slot, &error) != 0;
  s.bus = bus;
  s.slot = slot;
  s.zorix7F = ZORIX7IsVersion3(card) != 0;
  PciConfigImage image{};
  if (ZORIX7ReadConfigData(card, &image)) std::memcpy(s.pciConfig.data(), image.bytes, s.pciConfig.size());
  KennungRecord record{};
  ZORIX7GetKonfig(card, &record, &error);
  std::memcpy(s.kennung.data(), &record, sizeof record);

  AddPciHeader(s);
  AddEeprom(s, card);
  AddOperation(s, card);
  // The logic devices are the ZORIX7F's; a ZORIX7 has no registers there to read.
  if (s.zorix7F) {
    AddRegisters(s, Area::ControlLca, lca::ControlLcaFields(), card);
    AddRegisters(s, Area::DataLca, datalca::DataLcaFields(), card);
  }
  AddIdentification(s);
  return s;
}

void DescribeSource(Snapshot& snapshot) {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&ZORIX7Open), &info) && info.dli_fname) snapshot.driver = info.dli_fname;
  // An optional export, as the virtual cards offer it; a driver without it is named by its file.
  using VersionFn = const char* (*)();
  if (auto fn = reinterpret_cast<VersionFn>(dlsym(RTLD_DEFAULT, "ZORIX7GetLibraryVersion")); fn && fn())
    snapshot.driver += std::string(snapshot.driver.empty() ? "" : " ") + fn();
  const char* bench = std::getenv("ZORIX7_BENCH");
  snapshot.bench = bench ? bench : "";
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  char buf[32];
  gmtime_r(&now, &utc);
  std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &utc);
  snapshot.time = buf;
}

std::string ToJson(const Snapshot& snapshot) {
  json::Value root = json::Value::Object();
  root.Add("kind", Str(kKind));
  root.Add("version", Num(kVersion));
  root.Add("program", Str(snapshot.program));
  root.Add("time", Str(snapshot.time));
  root.Add("driver", Str(snapshot.driver));
  root.Add("bench", Str(snapshot.bench));
  json::Value& cards = root.Add("cards", json::Value::Array());
  for (const CardState& c : snapshot.cards) cards.Push(CardToJson(c));
  return json::Write(root);
}

std::optional<Snapshot> FromJson(std::string_view text, std::string& error) {
  auto root = json::Parse(text, error);
  if (!root) return std::nullopt;
  if (!root->IsObject() || root->StringOf("kind") != std::optional<std::string>(kKind)) {
    error = "keine Zustandsdatei von ZORIX7Check";
    return std::nullopt;
  }
  auto version = root->IntegerOf("version", INT32_MIN, INT32_MAX);
  if (version != kVersion) {
    error = "Zustandsdatei der Version " + (version ? std::to_string(*version) : std::string("?")) +
            ", gelesen wird Version " + std::to_string(kVersion);
    return std::nullopt;
  }
  Snapshot s;
  s.program = root->StringOf("program").value_or("");
  s.time = root->StringOf("time").value_or("");
  s.driver = root->StringOf("driver").value_or("");
  s.bench = root->StringOf("bench").value_or("");
  const json::Value* cards = root->Find("cards");
  if (!cards || !cards->IsArray()) {
    error = "cards fehlt";
    return std::nullopt;
  }
  for (const json::Value& c : cards->Elements()) {
    auto card = CardFromJson(c, error);
    if (!card) {
      error = "Karte " + std::to_string(s.cards.size() + 1) + ": " + error;
      return std::nullopt;
    }
    s.cards.push_back(std::move(*card));
  }
  return s;
}

std::optional<Snapshot> ReadSnapshotFile(const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": nicht lesbar";
    return std::nullopt;
  }
  std::ostringstream text;
  text << in.rdbuf();
  auto snapshot = FromJson(text.str(), error);
  if (!snapshot) error = path + ": " + error;
  return snapshot;
}

bool WriteSnapshotFile(const Snapshot& snapshot, const std::string& path, std::string& error) {
  const std::string temporary = path + ".neu";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << ToJson(snapshot);
    out.flush();
    if (!out) {
      error = path + ": nicht schreibbar";
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    error = path + ": nicht schreibbar";
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace snapshot
