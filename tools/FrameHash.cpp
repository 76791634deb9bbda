#include "tools/FrameHash.h"

#include "platform/DIB.h"

namespace {

uint64_t Fnv1a(std::span<const uint8_t> Bytes, uint64_t Value) {
  for (const uint8_t byte : Bytes)
    Value = (Value ^ byte) * 0x100000001B3ull;
  return Value;
}

} // namespace

uint64_t FrameHash(const TDIB& Picture, std::span<const uint8_t, 32> Palette) {
  const uint64_t pixels =
      Fnv1a({Picture.ScanLine(0), size_t(TDIB::Width * TDIB::Height)}, 0xCBF29CE484222325ull);
  return Fnv1a(Palette, pixels);
}
