#include "core/BleepInt.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/MessagePump.h"
#include "platform/Speaker.h"

// There is no separate beep service here: the speaker port (a square-wave
// generator on the audio device) holds a tone until silenced without
// blocking, so every tone takes the timer path, and no system version is
// asked for.

void SpeakerTone(uint32_t Frequency, int32_t Duration) {
  if (SpeakerReaches(Frequency)) SpeakerPort().Sound(uint16_t(TimerClock / Frequency));
  if (Duration < 0) return;
  using Clock = std::chrono::steady_clock;
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(Duration);
  for (Clock::time_point now = Clock::now(); now < end; now = Clock::now()) {
    if (Duration > 1000) ProcessMessages();
    std::this_thread::sleep_until(std::min(end, now + std::chrono::milliseconds(10)));
  }
  SpeakerOff();
}

void SpeakerOff() { SpeakerPort().Silence(); }
