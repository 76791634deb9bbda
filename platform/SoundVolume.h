#pragma once

#include <cstdint>

// The master volume of live sound, 0 (silent) to 255 (full, the default):
// the sound unit's Volume, which the front end passes on whenever it loads
// or applies the settings. The live sound devices scale their output by it
// as they play; the MIDI messages themselves, and so the runner's MIDI and
// WAV files, do not depend on it. Values outside 0 to 255 are held at the
// nearer end.
void SetSoundVolume(int32_t Volume);
int32_t SoundVolume();
