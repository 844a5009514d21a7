#pragma once
// "--snapshot" and "--diff" on the command line: cards are opened through the library, read
// and closed again, nothing is written to them and no configuration is needed.
#include <cstdio>
#include <optional>
#include <string>

namespace snapshot {

// Exit statuses: 0 written or equal; 1 the cards differ; 2 a file that cannot be read or
// written, or a card the file does not hold; 3 no card opened.
enum DiffStatus : int { kEqual = 0, kDiffer = 1, kBadFile = 2, kNoCard = 3 };

// Every card the library opens (or card n only, when n > 0), numbered as the library counts them.
int RunSnapshot(const std::string& path, int card, const std::string& program, FILE* out);
// File a against file b, or against the live card n when b is not given. With n > 0 only the
// cards numbered n are compared (a file that holds one card gives that one).
int RunDiff(const std::string& a, const std::optional<std::string>& b, int card, bool all, const std::string& program,
            FILE* out);

}  // namespace snapshot
