#include <gtest/gtest.h>

#include <chrono>

#include "platform/FrameClock.h"

namespace {

TEST(FrameClockTest, FramesAreDueAtTheConsoleRateAndStallsAreForgotten) {
  using namespace std::chrono;
  TFrameClock clock;
  const auto start = TFrameClock::Clock::now();
  EXPECT_EQ(clock.Advance(start), start); // the first frame starts now
  auto due = clock.Advance(start + milliseconds(1));
  EXPECT_EQ(due, start + TFrameClock::Period);
  for (int f = 2; f <= 60; ++f) due = clock.Advance(due); // as if each wait ended on time
  EXPECT_NEAR(duration<double>(due - start).count(), 60 / ConsoleFrameRate, 1e-6);
  // A stall of a second: the next frame starts from the present.
  const auto late = start + seconds(2);
  EXPECT_EQ(clock.Advance(late), late);
  EXPECT_EQ(clock.Advance(late), late + TFrameClock::Period);
}

} // namespace
