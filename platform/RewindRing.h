#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

#include "platform/FrameClock.h"

// Thirty seconds of frames at the console's own rate: 1803.
inline constexpr size_t RewindFrames = size_t(30 * ConsoleFrameRate) + 1;

// The last states of a run, one a frame, for stepping back through them. The
// newest is kept whole; every older one as its difference from the one after
// it (exclusive or, byte by byte), compressed with LZ4, so that stepping back
// undoes one difference at a time. When the ring is full, the oldest state
// goes. States are bytes of any length.
class TRewindRing {
public:
  explicit TRewindRing(size_t Capacity = RewindFrames);

  // Puts a state after the newest.
  void Push(std::span<const uint8_t> State);
  // Drops the newest state and gives the one before it, which is then the
  // newest; empty when there is none before it (the newest stays).
  std::span<const uint8_t> StepBack();
  void Clear();

  size_t Count() const { return Deltas.size() + (Newest.empty() ? 0 : 1); }
  // Memory the states take, compressed differences and the newest state.
  size_t Bytes() const { return PackedBytes + Newest.size(); }

private:
  struct TDelta {
    std::vector<uint8_t> Packed;
    size_t Length; // of the older state
  };

  size_t Capacity;
  std::deque<TDelta> Deltas; // back: the newest state's difference from the one before
  std::vector<uint8_t> Newest;
  size_t PackedBytes = 0;
  std::vector<uint8_t> Difference, Packing; // reused between pushes
};
