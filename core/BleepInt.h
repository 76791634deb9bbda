#pragma once

#include <cstdint>

// The PC speaker, driven like the interval timer's channel 2.

// The frequencies that reprogram the speaker.
inline constexpr bool SpeakerReaches(uint32_t Frequency) { return Frequency >= 20 && Frequency <= 5000; }

// Sounds the speaker at Frequency Hz. Only 20 to 5000 Hz reprogram it;
// outside that range the speaker keeps its previous state. A negative
// Duration returns at once with the tone sounding until SpeakerOff; a
// positive one (in ms) blocks that long, dispatching window messages when it
// is over 1000 ms, and then silences the speaker.
void SpeakerTone(uint32_t Frequency, int32_t Duration);
void SpeakerOff();
