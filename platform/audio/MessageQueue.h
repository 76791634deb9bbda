#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

// A single-producer, single-consumer queue of MIDI short messages from the
// emulation thread to the audio thread. Neither side ever waits: a push to a
// full queue (the audio thread has stalled or its device is gone) drops the
// message.
template <size_t Capacity> class TMessageQueue {
  static_assert((Capacity & (Capacity - 1)) == 0, "the capacity is a power of two");

public:
  bool Push(uint32_t Message) {
    const size_t tail = Tail.load(std::memory_order_relaxed);
    if (tail - Head.load(std::memory_order_acquire) == Capacity) return false;
    Items[tail & (Capacity - 1)] = Message;
    Tail.store(tail + 1, std::memory_order_release);
    return true;
  }

  // On the consumer's side: how many messages can be popped now.
  size_t Pending() const { return Tail.load(std::memory_order_acquire) - Head.load(std::memory_order_relaxed); }

  bool Pop(uint32_t& Message) {
    const size_t head = Head.load(std::memory_order_relaxed);
    if (head == Tail.load(std::memory_order_acquire)) return false;
    Message = Items[head & (Capacity - 1)];
    Head.store(head + 1, std::memory_order_release);
    return true;
  }

private:
  std::array<uint32_t, Capacity> Items{};
  std::atomic<size_t> Head{0};
  std::atomic<size_t> Tail{0};
};
