#pragma once

#include <cstdint>
#include <span>

class TDIB;

// The runner's picture hash: 64-bit FNV-1a over the picture's 61,440 colour
// indices, line 0 first, then the 32 bytes of palette RAM. Indices rather
// than colours, so that a change of the colour table leaves every hash alone.
uint64_t FrameHash(const TDIB& Picture, std::span<const uint8_t, 32> Palette);
