#include "platform/Clock.h"

#include <chrono>
#include <thread>

void RealClock::Sleep(DWORD ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

DWORD RealClock::GetTickCount() {
  auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

namespace {
RealClock g_realClock;
Clock* g_clock = &g_realClock;
}  // namespace

Clock& CurrentClock() { return *g_clock; }

Clock* SetCurrentClock(Clock* clock) {
  Clock* previous = g_clock == &g_realClock ? nullptr : g_clock;
  g_clock = clock ? clock : &g_realClock;
  return previous;
}

void Sleep(DWORD ms) { CurrentClock().Sleep(ms); }
DWORD GetTickCount() { return CurrentClock().GetTickCount(); }
