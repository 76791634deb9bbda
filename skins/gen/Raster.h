#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Bmp.h"

// A colour between A (Amount 0) and B (Amount 1).
TRGB Mix(TRGB A, TRGB B, double Amount);

// A picture of 24-bit pixels, row 0 at the top, drawn by the skin's painter.
class TRaster {
public:
  TRaster(int Width, int Height, TRGB Fill = {});

  int Width() const { return W; }
  int Height() const { return H; }
  TRGB Pixel(int X, int Y) const { return Pixels[std::size_t(Y) * W + X]; }
  // Pixels outside the picture are dropped.
  void Plot(int X, int Y, TRGB Color);
  void FillRect(int X, int Y, int Width, int Height, TRGB Color);
  // A frame one pixel wide: TopLeft on the top and left edges, BottomRight on the others.
  void Frame(int X, int Y, int Width, int Height, TRGB TopLeft, TRGB BottomRight);
  void Draw(const TRaster& Source, int X, int Y);

  // A Windows BMP file of 4, 8 (colour table of the picture's colours) or
  // 24 bits a pixel. Too many colours for the depth throws.
  std::vector<uint8_t> EncodeBmp(int Bits) const;

private:
  int W;
  int H;
  std::vector<TRGB> Pixels;
};

// A picture of the skin's colour roles: 0 = nothing, 1 = ink, 2 = accent.
struct TMask {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Dots;
  uint8_t At(int X, int Y) const { return Dots[std::size_t(Y) * Width + X]; }
};

// Paints the mask's dots at X, Y; accent dots take Accent, the others Ink.
void Paint(TRaster& Raster, const TMask& Mask, int X, int Y, TRGB Ink, TRGB Accent);
// The mask enlarged Scale times.
TMask Scaled(const TMask& Mask, int Scale);
// Masks side by side (Across) or one above the other, Gap pixels apart, centred.
TMask Join(const std::vector<TMask>& Parts, bool Across, int Gap);

void WriteFile(const std::string& Path, const std::vector<uint8_t>& Bytes);
