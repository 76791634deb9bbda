#pragma once

#include <cstdint>
#include <span>
#include <vector>

// A colour: a colour table entry, or a pixel of a 24-bit picture.
struct TRGB {
  uint8_t R = 0;
  uint8_t G = 0;
  uint8_t B = 0;
  friend bool operator==(const TRGB&, const TRGB&) = default;
};

// Windows BMP files of Width x Height pixels, uncompressed, at 72 dots an
// inch, the rows stored bottom-up and each padded to 4 bytes.

// 4 or 8 bits a pixel: Indices holds a colour table index a pixel, row 0 at
// the top, and Colors is the colour table.
std::vector<uint8_t> EncodeBmp(int Width, int Height, int Bits, std::span<const TRGB> Colors,
                               std::span<const uint8_t> Indices);
// 24 bits a pixel, no colour table: Pixels row 0 at the top.
std::vector<uint8_t> EncodeBmp(int Width, int Height, std::span<const TRGB> Pixels);
