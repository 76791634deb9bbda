#pragma once

#include <chrono>

// The console's own frame rate: 60.0988 frames a second.
inline constexpr double ConsoleFrameRate = 60.0988;

// Holds a run to the console's frame rate. Called once per emulated frame,
// it waits until that frame's time; after a stall longer than a few frames
// it starts again from the present instead of racing to catch up.
class TFrameClock {
public:
  using Clock = std::chrono::steady_clock;
  static constexpr Clock::duration Period =
      std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / ConsoleFrameRate));
  static constexpr Clock::duration MaxLag = 4 * Period;

  // Sleeps until the end of the current frame.
  void Tick();
  // The time the frame ending at Now is due to end; Tick sleeps until then.
  Clock::time_point Advance(Clock::time_point Now);

private:
  Clock::time_point Due{};
};
