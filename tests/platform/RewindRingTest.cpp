// The rewind ring gives back every state pushed, newest first, byte for
// byte, forgets the oldest beyond its capacity, and keeps little memory for
// states that differ little.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/RewindRing.h"

namespace {

// States as a run makes them: each a few bytes off the one before; now and
// then one of another length.
std::vector<std::vector<uint8_t>> States(size_t Count) {
  std::mt19937 rng(7);
  std::vector<std::vector<uint8_t>> states;
  std::vector<uint8_t> state(80000);
  for (uint8_t& b : state) b = uint8_t(rng() % 4);
  for (size_t n = 0; n < Count; ++n) {
    for (int i = 0; i < 50; ++i) state[rng() % state.size()] = uint8_t(rng());
    if (n % 7 == 3) state.resize(state.size() + rng() % 300 - 150);
    states.push_back(state);
  }
  return states;
}

std::vector<uint8_t> Copy(std::span<const uint8_t> Bytes) { return {Bytes.begin(), Bytes.end()}; }

TEST(RewindRing, StepsBackThroughEveryStateNewestFirst) {
  const std::vector<std::vector<uint8_t>> states = States(40);
  TRewindRing ring(100);
  for (const auto& state : states) ring.Push(state);
  EXPECT_EQ(ring.Count(), 40u);
  EXPECT_LT(ring.Bytes(), 2 * 80000u + 40 * 2000u) << "small differences take little";
  for (size_t n = states.size() - 1; n > 0; --n) EXPECT_EQ(Copy(ring.StepBack()), states[n - 1]) << n - 1;
  EXPECT_TRUE(ring.StepBack().empty()) << "nothing before the first";
  EXPECT_EQ(ring.Count(), 1u);

  // Pushing after stepping back goes on from there.
  ring.Push(states[5]);
  EXPECT_EQ(Copy(ring.StepBack()), states[0]);
}

TEST(RewindRing, KeepsOnlyTheNewestUpToItsCapacity) {
  const std::vector<std::vector<uint8_t>> states = States(30);
  TRewindRing ring(10);
  for (const auto& state : states) ring.Push(state);
  EXPECT_EQ(ring.Count(), 10u);
  for (size_t n = 28; n >= 20; --n) EXPECT_EQ(Copy(ring.StepBack()), states[n]) << n;
  EXPECT_TRUE(ring.StepBack().empty());

  ring.Clear();
  EXPECT_EQ(ring.Count(), 0u);
  EXPECT_EQ(ring.Bytes(), 0u);
  EXPECT_TRUE(ring.StepBack().empty());
  EXPECT_EQ(RewindFrames, 1803u) << "30 s at 60.0988 frames a second";
}

} // namespace
