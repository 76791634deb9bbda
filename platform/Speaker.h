#pragma once

#include <cstdint>

// Input clock of the interval timer that drives the speaker, in Hz.
inline constexpr uint32_t TimerClock = 1193181;

// The speaker as the interval timer's channel 2 drives it: while the gate is
// on it sounds a square wave of TimerClock / Divisor Hz, until silenced.
class TSpeakerPort {
public:
  virtual ~TSpeakerPort() = default;
  // Gate and data on, counter 2 loaded with Divisor (square-wave mode).
  virtual void Sound(uint16_t Divisor) = 0;
  // Gate and data off.
  virtual void Silence() = 0;
};

// The front end installs the real speaker (borrowed, not owned) once at
// start-up; until then, and after SetSpeakerPort(nullptr), the speaker is a
// silent one that accepts everything.
void SetSpeakerPort(TSpeakerPort* Port);
TSpeakerPort& SpeakerPort();
