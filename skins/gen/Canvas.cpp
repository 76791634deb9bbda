#include "Canvas.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

TColor Mix(TColor A, TColor B, double Amount) {
  const auto Channel = [Amount](uint8_t From, uint8_t To) { return uint8_t(From + (To - From) * Amount + 0.5); };
  return {Channel(A.R, B.R), Channel(A.G, B.G), Channel(A.B, B.B)};
}

TCanvas::TCanvas(int Width, int Height, TColor Fill) : W(Width), H(Height), Pixels(std::size_t(Width) * Height, Fill) {}

void TCanvas::Plot(int X, int Y, TColor Color) {
  if (X >= 0 && Y >= 0 && X < W && Y < H) Pixels[std::size_t(Y) * W + X] = Color;
}

void TCanvas::FillRect(int X, int Y, int Width, int Height, TColor Color) {
  for (int Row = Y; Row < Y + Height; ++Row)
    for (int Column = X; Column < X + Width; ++Column) Plot(Column, Row, Color);
}

void TCanvas::Frame(int X, int Y, int Width, int Height, TColor TopLeft, TColor BottomRight) {
  FillRect(X, Y + Height - 1, Width, 1, BottomRight);
  FillRect(X + Width - 1, Y, 1, Height, BottomRight);
  FillRect(X, Y, Width - 1, 1, TopLeft);
  FillRect(X, Y, 1, Height - 1, TopLeft);
}

void TCanvas::Draw(const TCanvas& Source, int X, int Y) {
  for (int Row = 0; Row < Source.H; ++Row)
    for (int Column = 0; Column < Source.W; ++Column) Plot(X + Column, Y + Row, Source.Pixel(Column, Row));
}

namespace {

void PutLE(std::vector<uint8_t>& Out, uint32_t Value, int Bytes) {
  for (int Byte = 0; Byte < Bytes; ++Byte) Out.push_back(uint8_t(Value >> (8 * Byte)));
}

} // namespace

std::vector<uint8_t> TCanvas::EncodeBmp(int Bits) const {
  std::vector<TColor> Table;
  if (Bits != 24) {
    for (const TColor& Color : Pixels)
      if (std::ranges::find(Table, Color) == Table.end()) Table.push_back(Color);
    if (Table.size() > (1u << Bits)) throw std::runtime_error("too many colours for " + std::to_string(Bits) + " bits");
  }
  const uint32_t RowBytes = (uint32_t(W) * Bits + 31) / 32 * 4;
  const uint32_t Offset = 14 + 40 + 4 * uint32_t(Table.size());
  const uint32_t Size = Offset + RowBytes * uint32_t(H);
  std::vector<uint8_t> Out;
  Out.reserve(Size);
  Out.push_back('B');
  Out.push_back('M');
  PutLE(Out, Size, 4);
  PutLE(Out, 0, 4);
  PutLE(Out, Offset, 4);
  PutLE(Out, 40, 4);
  PutLE(Out, uint32_t(W), 4);
  PutLE(Out, uint32_t(H), 4);
  PutLE(Out, 1, 2);
  PutLE(Out, uint32_t(Bits), 2);
  PutLE(Out, 0, 4); // no compression
  PutLE(Out, RowBytes * uint32_t(H), 4);
  PutLE(Out, 2835, 4); // 72 dots an inch
  PutLE(Out, 2835, 4);
  PutLE(Out, uint32_t(Table.size()), 4);
  PutLE(Out, 0, 4);
  for (const TColor& Color : Table) PutLE(Out, uint32_t(Color.B) | Color.G << 8 | Color.R << 16, 4);
  for (int Row = H - 1; Row >= 0; --Row) {
    const std::size_t Start = Out.size();
    for (int Column = 0; Column < W; ++Column) {
      const TColor Color = Pixel(Column, Row);
      if (Bits == 24) {
        Out.insert(Out.end(), {Color.B, Color.G, Color.R});
        continue;
      }
      const auto Index = uint8_t(std::ranges::find(Table, Color) - Table.begin());
      if (Bits == 8)
        Out.push_back(Index);
      else if (Column % 2 == 0)
        Out.push_back(uint8_t(Index << 4));
      else
        Out.back() |= Index;
    }
    Out.resize(Start + RowBytes, 0);
  }
  return Out;
}

void Paint(TCanvas& Canvas, const TMask& Mask, int X, int Y, TColor Ink, TColor Accent) {
  for (int Row = 0; Row < Mask.Height; ++Row)
    for (int Column = 0; Column < Mask.Width; ++Column)
      if (const uint8_t Dot = Mask.At(Column, Row)) Canvas.Plot(X + Column, Y + Row, Dot == 2 ? Accent : Ink);
}

TMask Scaled(const TMask& Mask, int Scale) {
  TMask Out{Mask.Width * Scale, Mask.Height * Scale, {}};
  Out.Dots.resize(std::size_t(Out.Width) * Out.Height);
  for (int Row = 0; Row < Out.Height; ++Row)
    for (int Column = 0; Column < Out.Width; ++Column)
      Out.Dots[std::size_t(Row) * Out.Width + Column] = Mask.At(Column / Scale, Row / Scale);
  return Out;
}

TMask Join(const std::vector<TMask>& Parts, bool Across, int Gap) {
  TMask Out;
  for (const TMask& Part : Parts) {
    if (Across) {
      Out.Width += Part.Width + (Out.Width ? Gap : 0);
      Out.Height = std::max(Out.Height, Part.Height);
    } else {
      Out.Height += Part.Height + (Out.Height ? Gap : 0);
      Out.Width = std::max(Out.Width, Part.Width);
    }
  }
  Out.Dots.resize(std::size_t(Out.Width) * Out.Height);
  int Place = 0;
  for (const TMask& Part : Parts) {
    const int Left = Across ? Place : (Out.Width - Part.Width) / 2;
    const int Top = Across ? (Out.Height - Part.Height) / 2 : Place;
    for (int Row = 0; Row < Part.Height; ++Row)
      for (int Column = 0; Column < Part.Width; ++Column)
        Out.Dots[std::size_t(Top + Row) * Out.Width + Left + Column] = Part.At(Column, Row);
    Place += (Across ? Part.Width : Part.Height) + Gap;
  }
  return Out;
}

void WriteFile(const std::string& Path, const std::vector<uint8_t>& Bytes) {
  std::ofstream File(Path, std::ios::binary);
  File.write(reinterpret_cast<const char*>(Bytes.data()), std::streamsize(Bytes.size()));
  if (!File) throw std::runtime_error(Path + ": cannot be written");
}
