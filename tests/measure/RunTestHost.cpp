#include "RunTestHost.h"

RunTestHost::RunTestHost() : buffer(kDataBufferBytes, 0) {
  SetRandomLimitDefaults(limits);
  settings.card = 1;
  settings.set = 1;
  settings.zyklen = 10;
}

measure::RunCard RunTestHost::Card(UINT number) {
  measure::RunCard card;
  const UINT i = number >= 1 && number <= kMaxCards ? number - 1 : 0;
  card.handle = number >= 1 && number <= cards ? handles[i] : 0;
  card.sets = sets[i];
  card.active = &active[i];
  card.ident = ident[i];
  return card;
}

int RunTestHost::MessageBox(const CString& text, const CString& caption, UINT type) {
  boxes.emplace_back(caption, text);
  if ((type & MB_TYPEMASK) == MB_OK) return IDOK;
  if (answers.empty()) return IDCANCEL;
  int answer = answers.front();
  answers.pop_front();
  return answer;
}

bool RunTestHost::EditParameters(HZORIX7, ParameterSet& set) {
  edited.push_back(set);
  return editorShot;
}

bool RunTestHost::SelectBlockSets(ActiveSetFlags&) {
  ++selections;
  return selectionOk;
}

int RunTestHost::OpenDisplay(const measure::DisplayWindow& window) {
  opened.push_back(window);
  return static_cast<int>(opened.size()) - 1;
}

void RunTestHost::UpdateDisplay(int display, const measure::AscanShow& scan) {
  EXPECT_GE(display, 0);
  EXPECT_NE(scan.data, nullptr);
  updates.push_back({display, scan.sequence, scan.bytes, scan.readout != nullptr, scan.gates != nullptr});
}

std::vector<std::string> RunTestHost::BoxTexts() const {
  std::vector<std::string> out;
  for (const auto& [caption, text] : boxes) out.push_back(caption.str() + "|" + text.str());
  return out;
}

RunTest::RunTest() { zorix7sim::Reset(); }

RunTest::~RunTest() { zorix7sim::Reset(); }

void RunTest::Bench(const char* text, bool zorix9) {
  ASSERT_TRUE(zorix7sim::LoadBenchText(text)) << zorix7sim::BenchError();
  host.cards = static_cast<UINT>(zorix7sim::CardNumbers().size());
  host.settings.zorix9Mode = zorix9;
  for (UINT n = 1; n <= host.cards; ++n) {
    HZORIX7 h = ZORIX7Open(static_cast<int>(n));
    ASSERT_NE(h, 0u);
    host.handles[n - 1] = h;
    for (int s = 0; s < kSetsPerCard; ++s) {
      host.ident[n - 1][s] = static_cast<int16_t>(-(static_cast<int>(n) * 10 + s));
      DWORD error = 0;
      if (ZORIX7IsVersion3(h)) ZORIX7SetZORIX9(h, static_cast<BYTE>(s), zorix9 ? host.ident[n - 1][s] : 0, &error);
    }
  }
  zorix7sim::ClearJournal();
}

std::vector<std::string> RunTest::Calls(const char* call) const {
  std::vector<std::string> out;
  for (const auto& e : zorix7sim::JournalOf(call)) out.push_back(e.args);
  return out;
}

std::vector<std::string> RunTest::CallNames() const {
  std::vector<std::string> out;
  for (const auto& e : zorix7sim::Journal()) out.push_back(e.call.substr(6));
  return out;
}
