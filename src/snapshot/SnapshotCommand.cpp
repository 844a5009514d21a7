#include "snapshot/SnapshotCommand.h"

#include "card/CardConstants.h"
#include "card/zorix7dll.h"
#include "snapshot/SnapshotDiff.h"

namespace snapshot {
namespace {

// Opens, reads and closes the cards; false when none opened.
bool TakeCards(Snapshot& s, int only) {
  for (int n = 1; n <= kMaxCards; ++n) {
    if (only && n != only) continue;
    const HZORIX7 h = ZORIX7Open(n);
    if (!h) continue;
    s.cards.push_back(TakeCardState(h, n));
    ZORIX7Close(h);
  }
  return !s.cards.empty();
}

Snapshot NewSnapshot(const std::string& program) {
  Snapshot s;
  s.program = program;
  DescribeSource(s);
  return s;
}

// The cards compared: all in file order, or the one numbered n (a file of one card gives that).
std::optional<std::vector<CardState>> Chosen(const Snapshot& s, int n) {
  if (!n) return s.cards;
  auto card = CardOf(s, n);
  if (!card) return std::nullopt;
  return std::vector<CardState>{std::move(*card)};
}

int CompareAll(const std::vector<CardState>& a, const std::vector<CardState>& b, bool all, FILE* out) {
  size_t count = 0;
  if (a.size() != b.size()) {
    std::fprintf(out, "Kartenzahl: %zu | %zu\n", a.size(), b.size());
    ++count;
  }
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const std::vector<Difference> d = Compare(a[i], b[i], all);
    std::fprintf(out, "%s | %s: %zu Unterschiede\n", CardTitle(a[i]).c_str(), CardTitle(b[i]).c_str(), d.size());
    for (const std::string& line : DifferenceLines(d)) std::fprintf(out, "%s\n", line.c_str());
    count += d.size();
  }
  std::fprintf(out, count ? "Unterschiede: %zu\n" : "Keine Unterschiede\n", count);
  return count ? kDiffer : kEqual;
}
}  // namespace

int RunSnapshot(const std::string& path, int card, const std::string& program, FILE* out) {
  Snapshot s = NewSnapshot(program);
  if (!TakeCards(s, card)) {
    std::fprintf(out, "Keine Karte geöffnet\n");
    return kNoCard;
  }
  std::string error;
  if (!WriteSnapshotFile(s, path, error)) {
    std::fprintf(out, "%s\n", error.c_str());
    return kBadFile;
  }
  for (const CardState& c : s.cards) std::fprintf(out, "%s: %zu Felder\n", CardTitle(c).c_str(), c.fields.size());
  std::fprintf(out, "Zustand gespeichert: %s\n", path.c_str());
  return kEqual;
}

int RunDiff(const std::string& a, const std::optional<std::string>& b, int card, bool all, const std::string& program,
            FILE* out) {
  std::string error;
  auto first = ReadSnapshotFile(a, error);
  std::optional<Snapshot> second;
  if (first && b) second = ReadSnapshotFile(*b, error);
  if (first && !b) {
    second = NewSnapshot(program);
    if (!card || !TakeCards(*second, card)) {
      std::fprintf(out, card ? "Karte %d nicht geöffnet\n" : "--diff mit einer Datei braucht --card\n", card);
      return card ? kNoCard : kBadFile;
    }
  }
  if (!first || !second) {
    std::fprintf(out, "%s\n", error.c_str());
    return kBadFile;
  }
  auto cardsA = Chosen(*first, card), cardsB = Chosen(*second, card);
  if (!cardsA || !cardsB) {
    std::fprintf(out, "Karte %d steht nicht in %s\n", card, (!cardsA ? a : *b).c_str());
    return kBadFile;
  }
  return CompareAll(*cardsA, *cardsB, all, out);
}

}  // namespace snapshot
