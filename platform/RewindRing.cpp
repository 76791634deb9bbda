#include "platform/RewindRing.h"

#include <algorithm>

#include <cstring>

#include <lz4.h>

namespace {

// Out = A xor B, eight bytes at a time; Out may be A.
void Xor(uint8_t* Out, const uint8_t* A, const uint8_t* B, size_t Count) {
  size_t i = 0;
  for (; i + 8 <= Count; i += 8) {
    uint64_t a, b;
    std::memcpy(&a, A + i, 8);
    std::memcpy(&b, B + i, 8);
    a ^= b;
    std::memcpy(Out + i, &a, 8);
  }
  for (; i < Count; ++i) Out[i] = A[i] ^ B[i];
}

} // namespace

TRewindRing::TRewindRing(size_t Capacity) : Capacity(std::max<size_t>(Capacity, 1)) {}

void TRewindRing::Push(std::span<const uint8_t> State) {
  if (State.empty()) return;
  if (Newest.empty()) {
    Newest.assign(State.begin(), State.end());
    return;
  }
  // The difference spans the longer of the two; the shorter reads as zeros past its end.
  const size_t older = Newest.size();
  const size_t length = std::max(older, State.size());
  Newest.resize(length, 0);
  Difference.resize(length);
  const size_t common = State.size();
  Xor(Difference.data(), Newest.data(), State.data(), common);
  std::copy(Newest.begin() + common, Newest.end(), Difference.begin() + common);
  Newest.assign(State.begin(), State.end());

  Packing.resize(size_t(LZ4_compressBound(int(length))));
  const int packed = LZ4_compress_default(reinterpret_cast<const char*>(Difference.data()),
                                          reinterpret_cast<char*>(Packing.data()), int(length), int(Packing.size()));
  Deltas.push_back({std::vector<uint8_t>(Packing.begin(), Packing.begin() + packed), older});
  PackedBytes += size_t(packed);
  if (Count() > Capacity) {
    PackedBytes -= Deltas.front().Packed.size();
    Deltas.pop_front();
  }
}

std::span<const uint8_t> TRewindRing::StepBack() {
  if (Deltas.empty()) return {};
  const TDelta& delta = Deltas.back();
  const size_t length = std::max(Newest.size(), delta.Length);
  Difference.resize(length);
  LZ4_decompress_safe(reinterpret_cast<const char*>(delta.Packed.data()),
                      reinterpret_cast<char*>(Difference.data()), int(delta.Packed.size()), int(length));
  Newest.resize(length, 0);
  Xor(Newest.data(), Newest.data(), Difference.data(), length);
  Newest.resize(delta.Length);
  PackedBytes -= delta.Packed.size();
  Deltas.pop_back();
  return Newest;
}

void TRewindRing::Clear() {
  Deltas.clear();
  Newest.clear();
  PackedBytes = 0;
}
