#include "platform/audio/SquareTone.h"

#include <algorithm>

namespace {
constexpr int16_t Amplitude = 6000;
} // namespace

void TSquareTone::Sound(uint16_t Value) { Divisor.store(Value ? Value : 65536u, std::memory_order_relaxed); }

void TSquareTone::Silence() { Divisor.store(0, std::memory_order_relaxed); }

// Each output frame advances the timer by TimerClock / AudioSampleRate ticks;
// the output flips every Divisor / 2 ticks. Counting in integer units of
// 1 / (2 x AudioSampleRate) ticks keeps the pitch exact over any length.
void TSquareTone::Render(int16_t* Stereo, int32_t Frames) {
  const uint32_t divisor = Divisor.load(std::memory_order_relaxed);
  if (divisor == 0) return;
  const uint64_t half = uint64_t(divisor) * AudioSampleRate;
  for (int32_t i = 0; i < Frames; ++i) {
    Phase += 2ull * TimerClock;
    while (Phase >= half) {
      Phase -= half;
      High = !High;
    }
    const int32_t wave = High ? Amplitude : -Amplitude;
    for (int32_t side = 0; side < 2; ++side) {
      int16_t& sample = Stereo[2 * i + side];
      sample = int16_t(std::clamp(sample + wave, -32768, 32767));
    }
  }
}
