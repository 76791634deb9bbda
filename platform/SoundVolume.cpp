#include "platform/SoundVolume.h"

#include <algorithm>
#include <atomic>

namespace {
// Set on the window thread, read by the audio thread once a block.
std::atomic<int32_t> CurrentVolume{255};
} // namespace

void SetSoundVolume(int32_t Volume) {
  CurrentVolume.store(std::clamp(Volume, 0, 255), std::memory_order_relaxed);
}

int32_t SoundVolume() { return CurrentVolume.load(std::memory_order_relaxed); }
