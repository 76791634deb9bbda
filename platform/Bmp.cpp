#include "platform/Bmp.h"

#include "platform/Bytes.h"

namespace {

constexpr uint32_t FileHeaderSize = 14;
constexpr uint32_t InfoHeaderSize = 40;   // BITMAPINFOHEADER
constexpr uint32_t PixelsPerMetre = 2835; // 72 dots an inch

uint32_t RowBytes(int Width, int Bits) { return (uint32_t(Width) * Bits + 31) / 32 * 4; }

// The file and info headers and the colour table (blue, green, red, 0), room reserved for the rows.
std::vector<uint8_t> Headers(int Width, int Height, int Bits, std::span<const TRGB> Colors) {
  const uint32_t pixelOffset = FileHeaderSize + InfoHeaderSize + 4 * uint32_t(Colors.size());
  const uint32_t imageSize = RowBytes(Width, Bits) * uint32_t(Height);
  std::vector<uint8_t> file;
  file.reserve(pixelOffset + imageSize);
  file.push_back('B');
  file.push_back('M');
  Put32(file, pixelOffset + imageSize);
  Put32(file, 0); // two reserved words
  Put32(file, pixelOffset);

  Put32(file, InfoHeaderSize);
  Put32(file, uint32_t(Width));
  Put32(file, uint32_t(Height)); // positive: rows stored bottom-up
  Put16(file, 1);                // planes
  Put16(file, uint16_t(Bits));
  Put32(file, 0); // BI_RGB, uncompressed
  Put32(file, imageSize);
  Put32(file, PixelsPerMetre);
  Put32(file, PixelsPerMetre);
  Put32(file, uint32_t(Colors.size())); // colours used
  Put32(file, 0);                       // all colours important

  for (const TRGB& c : Colors)
    file.insert(file.end(), {c.B, c.G, c.R, 0});
  return file;
}

} // namespace

std::vector<uint8_t> EncodeBmp(int Width, int Height, int Bits, std::span<const TRGB> Colors,
                               std::span<const uint8_t> Indices) {
  std::vector<uint8_t> file = Headers(Width, Height, Bits, Colors);
  const uint32_t rowBytes = RowBytes(Width, Bits);
  for (int row = Height - 1; row >= 0; --row) {
    const uint8_t* line = Indices.data() + size_t(row) * Width;
    const size_t start = file.size();
    if (Bits == 8) {
      file.insert(file.end(), line, line + Width);
    } else {
      for (int column = 0; column < Width; column += 2)
        file.push_back(uint8_t(line[column] << 4 | (column + 1 < Width ? line[column + 1] : 0)));
    }
    file.resize(start + rowBytes, 0);
  }
  return file;
}

std::vector<uint8_t> EncodeBmp(int Width, int Height, std::span<const TRGB> Pixels) {
  std::vector<uint8_t> file = Headers(Width, Height, 24, {});
  const uint32_t rowBytes = RowBytes(Width, 24);
  for (int row = Height - 1; row >= 0; --row) {
    const size_t start = file.size();
    for (const TRGB& c : Pixels.subspan(size_t(row) * Width, size_t(Width)))
      file.insert(file.end(), {c.B, c.G, c.R});
    file.resize(start + rowBytes, 0);
  }
  return file;
}
