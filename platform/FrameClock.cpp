#include "platform/FrameClock.h"

#include <thread>

void TFrameClock::Tick() { std::this_thread::sleep_until(Advance(Clock::now())); }

TFrameClock::Clock::time_point TFrameClock::Advance(Clock::time_point Now) {
  Due += Period;
  if (Due < Now - MaxLag || Due > Now + MaxLag) Due = Now;
  return Due;
}
