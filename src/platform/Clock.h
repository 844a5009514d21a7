#pragma once
// Time as the dialogs and the virtual cards see it: real, or virtual in tests so that
// long polls and rate measurements take no real time and give exact figures.
#include "platform/WinTypes.h"

class Clock {
 public:
  virtual ~Clock() = default;
  virtual void Sleep(DWORD ms) = 0;
  virtual DWORD GetTickCount() = 0;
};

class RealClock final : public Clock {
 public:
  void Sleep(DWORD ms) override;
  DWORD GetTickCount() override;
};

// Advances only when someone sleeps or calls Advance.
class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(DWORD start = 0) : m_now(start) {}
  void Sleep(DWORD ms) override { m_now += ms; m_slept += ms; }
  DWORD GetTickCount() override { return m_now; }
  void Advance(DWORD ms) { m_now += ms; }
  DWORD TotalSlept() const { return m_slept; }

 private:
  DWORD m_now;
  DWORD m_slept = 0;
};

// The clock in use; a real one unless a test installs another.
Clock& CurrentClock();
// Installs a clock (nullptr: back to the real one); returns the one it replaced.
Clock* SetCurrentClock(Clock* clock);

void Sleep(DWORD ms);
DWORD GetTickCount();

// Installs a clock for one scope.
class ScopedClock {
 public:
  explicit ScopedClock(Clock& clock) : m_previous(SetCurrentClock(&clock)) {}
  ~ScopedClock() { SetCurrentClock(m_previous); }
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;

 private:
  Clock* m_previous;
};
