#pragma once

#include <atomic>
#include <cstdint>

#include "platform/Speaker.h"

// Samples per second of every audio stream here: 16-bit stereo frames.
inline constexpr int32_t AudioSampleRate = 44100;

// The speaker: a square wave that follows the interval timer's channel 2,
// TimerClock / Divisor Hz while sounding. Sound and Silence come from the
// emulation thread, Render from the audio thread; they share one atomic word.
class TSquareTone final : public TSpeakerPort {
public:
  void Sound(uint16_t Divisor) override;
  void Silence() override;
  // Mixes Frames stereo frames of the wave into Stereo (nothing while the gate is off).
  void Render(int16_t* Stereo, int32_t Frames);

private:
  // 0 while silent, else the divisor (a loaded 0 counts 65536, as on the timer).
  std::atomic<uint32_t> Divisor{0};
  // Timer time within the current half wave, in 1 / (2 x AudioSampleRate) ticks.
  uint64_t Phase = 0;
  bool High = true;
};
