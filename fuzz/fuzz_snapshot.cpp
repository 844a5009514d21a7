// Snapshot files on any input: the reader refuses with a reason or gives a snapshot that is
// written and read back to the same text, and every card compares equal with itself.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "snapshot/Json.h"
#include "snapshot/SnapshotDiff.h"

namespace {
void Require(bool ok) {
  if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string error;
  if (auto value = json::Parse(input, error)) {
    const std::string written = json::Write(*value);
    auto again = json::Parse(written, error);
    Require(again && json::Write(*again) == written);
  } else {
    Require(!error.empty());
  }

  error.clear();
  auto snapshot = snapshot::FromJson(input, error);
  if (!snapshot) {
    Require(!error.empty());
    return 0;
  }
  const std::string text = snapshot::ToJson(*snapshot);
  auto back = snapshot::FromJson(text, error);
  Require(back && snapshot::ToJson(*back) == text);
  for (const snapshot::CardState& card : snapshot->cards) {
    Require(snapshot::Compare(card, card, true).empty());
    snapshot::DifferenceLines(snapshot::Compare(card, snapshot->cards.front(), false));
  }
  return 0;
}
