#include "app/MainSettings.h"

#include <algorithm>
#include <cctype>

#include "params/ParameterProfile.h"
#include "platform/TextParse.h"

namespace {
struct YesNoKey {
  const char* key;
  BOOL MainSettings::*member;
  const char* defaultValue;
};

// Section "Init" yes/no keys, in file order.
constexpr YesNoKey kInitYesNo[] = {
    {"DMA", &MainSettings::dma, "yes"},       {"PrepAll", &MainSettings::prepAll, "no"},
    {"Kontinuierlich", &MainSettings::kontinuierlich, "no"}, {"Anzeige", &MainSettings::anzeige, "yes"},
    {"ZORIX9", &MainSettings::zorix9, "yes"}, {"HotPlug", &MainSettings::hotPlug, "yes"},
};
}  // namespace

bool ParseBusSlot(std::string_view in, int& bus, int& slot) {
  auto skipSpace = [&] {
    while (!in.empty() && std::isspace(static_cast<unsigned char>(in.front()))) in.remove_prefix(1);
  };
  auto literal = [&](std::string_view word) {
    if (in.substr(0, word.size()) != word) return false;
    in.remove_prefix(word.size());
    return true;
  };
  auto number = [&](int& out) {
    skipSpace();
    size_t n = (!in.empty() && (in[0] == '+' || in[0] == '-')) ? 1 : 0;
    while (n < in.size() && in[n] >= '0' && in[n] <= '9') ++n;
    auto v = text::ParseInteger(in.substr(0, n), INT32_MIN, INT32_MAX);
    if (!v) return false;
    out = static_cast<int>(*v);
    in.remove_prefix(n);
    return true;
  };
  int b = 0, s = 0;
  if (!literal("Bus") || !number(b)) return false;
  skipSpace();
  if (!literal("Slot") || !number(s)) return false;
  bus = b;
  slot = s;
  return true;
}

void ReadSettings(CWinApp& app, MainSettings& settings, const CardParameterSets& sets) {
  ProfileReadScope scope;
  for (int ch = 1; ch <= kMaxCards; ++ch) {
    CString value = app.GetProfileString("Bus", CString::Formatted("Kanal%d", ch), "Bus 0 Slot 0");
    ParseBusSlot(value.str(), settings.channel[ch - 1].bus, settings.channel[ch - 1].slot);
  }
  settings.card = app.GetProfileInt("Init", "Karte", 1);
  settings.paramSet = static_cast<int>(app.GetProfileInt("Init", "Parametersatz", 1));
  settings.anzeigefaktor = app.GetProfileInt("Init", "Anzeigefaktor", 1);
  settings.zyklen = static_cast<int>(app.GetProfileInt("Init", "Zyklen", 200));
  for (const auto& k : kInitYesNo) settings.*k.member = GetProfileYesNo(app, "Init", k.key, k.defaultValue);
  for (auto& check : settings.checks) check.on = GetProfileYesNo(app, "Check", check.key, "yes");
  for (UINT c = 1; c <= std::min<UINT>(sets.cards, kMaxCards); ++c)
    for (int s = 0; s < 8; ++s)
      LoadParameterSet(app, ParameterSectionName(c, s), sets.param[c - 1][s], sets.active[c - 1].flag[s]);
}

BOOL WriteSettings(CWinApp& app, const MainSettings& settings, const CardParameterSets& sets) {
  ProfileWriteBatch batch;
  BOOL ok = TRUE;
  ok &= app.WriteProfileInt("Init", "Parametersatz", settings.paramSet);
  ok &= app.WriteProfileInt("Init", "Anzeigefaktor", static_cast<int>(settings.anzeigefaktor));
  ok &= app.WriteProfileInt("Init", "Zyklen", settings.zyklen);
  ok &= app.WriteProfileInt("Init", "Karte", static_cast<int>(settings.card));
  for (const auto& k : kInitYesNo) ok &= WriteProfileYesNo(app, "Init", k.key, settings.*k.member);
  std::vector<MainSettings::Check> checks = settings.checks;
  std::stable_sort(checks.begin(), checks.end(), [](auto& a, auto& b) { return a.saveRank < b.saveRank; });
  for (const auto& check : checks) ok &= WriteProfileYesNo(app, "Check", check.key, check.on);
  for (UINT c = 1; c <= std::min<UINT>(sets.cards, kMaxCards); ++c)
    for (int s = 0; s < 8; ++s)
      ok &= SaveParameterSet(app, ParameterSectionName(c, s), sets.param[c - 1][s], sets.active[c - 1].flag[s]);
  return batch.Commit() && ok;
}
