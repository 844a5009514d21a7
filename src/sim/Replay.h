#pragma once
// Replay of a recorded session: the virtual card library answers every call from the session
// file named by ZORIX7_REPLAY (with ZORIX7_REPLAY_FAST=1 without waiting the recorded times)
// instead of from its card models. The calls must come in the recorded order with the recorded
// arguments; the first one that differs is reported and fails, as does every call after it,
// with errorword::kReplayDiverged.
#include <string>

namespace zorix7sim {

// Starts replaying the file (tests; programs set ZORIX7_REPLAY). False when the file cannot
// be read as a session: every call then fails, ReplayMessage() says why.
bool StartReplay(const std::string& path, bool fast);
// Back to the card models.
void StopReplay();
// What went wrong in the replay (unreadable file, first divergence), or empty.
std::string ReplayMessage();

}  // namespace zorix7sim
