#include "Raster.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

TRGB Mix(TRGB A, TRGB B, double Amount) {
  const auto channel = [Amount](uint8_t From, uint8_t To) {
    return uint8_t(From + (To - From) * Amount + 0.5);
  };
  return {channel(A.R, B.R), channel(A.G, B.G), channel(A.B, B.B)};
}

TRaster::TRaster(int Width, int Height, TRGB Fill)
    : W(Width), H(Height), Pixels(std::size_t(Width) * Height, Fill) {}

void TRaster::Plot(int X, int Y, TRGB Color) {
  if (X >= 0 && Y >= 0 && X < W && Y < H) Pixels[std::size_t(Y) * W + X] = Color;
}

void TRaster::FillRect(int X, int Y, int Width, int Height, TRGB Color) {
  for (int row = Y; row < Y + Height; ++row)
    for (int column = X; column < X + Width; ++column)
      Plot(column, row, Color);
}

void TRaster::Frame(int X, int Y, int Width, int Height, TRGB TopLeft, TRGB BottomRight) {
  FillRect(X, Y + Height - 1, Width, 1, BottomRight);
  FillRect(X + Width - 1, Y, 1, Height, BottomRight);
  FillRect(X, Y, Width - 1, 1, TopLeft);
  FillRect(X, Y, 1, Height - 1, TopLeft);
}

void TRaster::Draw(const TRaster& Source, int X, int Y) {
  for (int row = 0; row < Source.H; ++row)
    for (int column = 0; column < Source.W; ++column)
      Plot(X + column, Y + row, Source.Pixel(column, row));
}

std::vector<uint8_t> TRaster::EncodeBmp(int Bits) const {
  if (Bits == 24) return ::EncodeBmp(W, H, Pixels);
  // The colour table: the picture's colours in the order they first appear.
  std::vector<TRGB> table;
  std::vector<uint8_t> indices;
  indices.reserve(Pixels.size());
  for (const TRGB& color : Pixels) {
    auto found = std::ranges::find(table, color);
    if (found == table.end()) found = table.insert(found, color);
    indices.push_back(uint8_t(found - table.begin()));
  }
  if (table.size() > (1u << Bits))
    throw std::runtime_error("too many colours for " + std::to_string(Bits) + " bits");
  return ::EncodeBmp(W, H, Bits, table, indices);
}

void Paint(TRaster& Raster, const TMask& Mask, int X, int Y, TRGB Ink, TRGB Accent) {
  for (int row = 0; row < Mask.Height; ++row)
    for (int column = 0; column < Mask.Width; ++column)
      if (const uint8_t dot = Mask.At(column, row)) Raster.Plot(X + column, Y + row, dot == 2 ? Accent : Ink);
}

TMask Scaled(const TMask& Mask, int Scale) {
  TMask out{Mask.Width * Scale, Mask.Height * Scale, {}};
  out.Dots.resize(std::size_t(out.Width) * out.Height);
  for (int row = 0; row < out.Height; ++row)
    for (int column = 0; column < out.Width; ++column)
      out.Dots[std::size_t(row) * out.Width + column] = Mask.At(column / Scale, row / Scale);
  return out;
}

TMask Join(const std::vector<TMask>& Parts, bool Across, int Gap) {
  TMask out;
  for (const TMask& part : Parts) {
    if (Across) {
      out.Width += part.Width + (out.Width ? Gap : 0);
      out.Height = std::max(out.Height, part.Height);
    } else {
      out.Height += part.Height + (out.Height ? Gap : 0);
      out.Width = std::max(out.Width, part.Width);
    }
  }
  out.Dots.resize(std::size_t(out.Width) * out.Height);
  int place = 0;
  for (const TMask& part : Parts) {
    const int left = Across ? place : (out.Width - part.Width) / 2;
    const int top = Across ? (out.Height - part.Height) / 2 : place;
    for (int row = 0; row < part.Height; ++row)
      for (int column = 0; column < part.Width; ++column)
        out.Dots[std::size_t(top + row) * out.Width + left + column] = part.At(column, row);
    place += (Across ? part.Width : part.Height) + Gap;
  }
  return out;
}

void WriteFile(const std::string& Path, const std::vector<uint8_t>& Bytes) {
  std::ofstream file(Path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(Bytes.data()), std::streamsize(Bytes.size()));
  if (!file) throw std::runtime_error(Path + ": cannot be written");
}
