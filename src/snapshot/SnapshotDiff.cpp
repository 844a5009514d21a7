#include "snapshot/SnapshotDiff.h"

#include <algorithm>
#include <array>
#include <map>
#include <tuple>

namespace snapshot {
namespace {
constexpr const char* kAssigned = "vom PC vergeben";
const std::array<NatureRule, 13> kRules = {{
    {Area::PciHeader, "Baseaddress0", false, kAssigned},
    {Area::PciHeader, "Baseaddress1", false, kAssigned},
    {Area::PciHeader, "Baseaddress2", false, kAssigned},
    {Area::PciHeader, "Baseaddress3", false, kAssigned},
    {Area::PciHeader, "0x20", false, kAssigned},
    {Area::PciHeader, "0x24", false, kAssigned},
    {Area::PciHeader, "BaseaddressROM", false, kAssigned},
    {Area::PciHeader, "InterruptLine", false, kAssigned},
    {Area::Operation, "Write Address", false, kAssigned},
    {Area::Operation, "Read Address", false, kAssigned},
    {Area::ControlLca, "Trigger Counter", false, "Zähler"},
    {Area::DataLca, "Timer", false, "Zeitgeber"},
    {Area::Identification, "Karte", true, "nur bis zum Leerzeichen, ohne Seriennummer"},
}};

const NatureRule* RuleFor(const Entry& e) {
  for (const NatureRule& r : NatureRules())
    if (r.area == e.area && e.name == r.name) return &r;
  return nullptr;
}

std::string BeforeBlank(const std::string& s) { return s.substr(0, s.find(' ')); }

bool Same(const Entry& a, const Entry& b, bool all) {
  const NatureRule* rule = all ? nullptr : RuleFor(a);
  if (!rule) return a.raw == b.raw && a.shown == b.shown;
  return !rule->beforeBlank || BeforeBlank(a.shown) == BeforeBlank(b.shown);
}

bool Ignored(const Entry& e, bool all) {
  const NatureRule* rule = all ? nullptr : RuleFor(e);
  return rule && !rule->beforeBlank;
}

// A field's key: its area, name and how many fields of that name came before it.
using Key = std::tuple<Area, std::string, int>;
std::vector<Key> Keys(const std::vector<Entry>& fields) {
  std::map<std::pair<Area, std::string>, int> seen;
  std::vector<Key> keys;
  for (const Entry& e : fields) keys.emplace_back(e.area, e.name, seen[{e.area, e.name}]++);
  return keys;
}
}  // namespace

std::span<const NatureRule> NatureRules() { return kRules; }

std::string NatureRulesText() {
  std::string out;
  for (const NatureRule& r : NatureRules())
    out += std::string("  ") + AreaName(r.area) + " \"" + r.name + "\": " + r.why + "\n";
  return out;
}

std::vector<Difference> Compare(const CardState& a, const CardState& b, bool all) {
  const std::vector<Key> keysA = Keys(a.fields), keysB = Keys(b.fields);
  std::map<Key, size_t> inB;
  for (size_t i = 0; i < keysB.size(); ++i) inB[keysB[i]] = i;
  std::vector<bool> matched(b.fields.size(), false);
  std::vector<Difference> out;
  for (size_t i = 0; i < a.fields.size(); ++i) {
    const Entry& ea = a.fields[i];
    auto it = inB.find(keysA[i]);
    if (it == inB.end()) {
      if (!Ignored(ea, all)) out.push_back({ea.area, ea.name, ea, std::nullopt});
      continue;
    }
    matched[it->second] = true;
    const Entry& eb = b.fields[it->second];
    if (!Same(ea, eb, all)) out.push_back({ea.area, ea.name, ea, eb});
  }
  for (size_t i = 0; i < b.fields.size(); ++i)
    if (!matched[i] && !Ignored(b.fields[i], all))
      out.push_back({b.fields[i].area, b.fields[i].name, std::nullopt, b.fields[i]});
  std::stable_sort(out.begin(), out.end(), [](const Difference& x, const Difference& y) { return x.area < y.area; });
  return out;
}

std::string CardTitle(const CardState& card) {
  std::string title = "Karte " + std::to_string(card.number) + " (" + (card.zorix7F ? "ZORIX7F" : "ZORIX7");
  if (card.positionKnown) title += ", Bus " + std::to_string(card.bus) + " Slot " + std::to_string(card.slot);
  return title + ")";
}

std::vector<std::string> DifferenceLines(const std::vector<Difference>& differences) {
  std::vector<std::string> lines;
  const std::string missing = "fehlt";
  for (size_t i = 0; i < differences.size(); ++i) {
    const Difference& d = differences[i];
    if (i == 0 || differences[i - 1].area != d.area) lines.push_back(AreaName(d.area));
    std::string line = "  " + d.name + ": " + (d.a ? d.a->shown : missing) + " | " + (d.b ? d.b->shown : missing);
    // The raw bits only where they say more than the shown values.
    if ((d.a && d.a->raw != d.a->shown) || (d.b && d.b->raw != d.b->shown))
      line += " (roh " + (d.a ? d.a->raw : missing) + " | " + (d.b ? d.b->raw : missing) + ")";
    lines.push_back(line);
  }
  return lines;
}

}  // namespace snapshot
