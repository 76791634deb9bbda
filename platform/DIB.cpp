#include "platform/DIB.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

// BMP layout: 14-byte file header, 40-byte BITMAPINFOHEADER, the colour table
// as blue, green, red, 0, then the rows bottom-up (256 bytes, already 4-aligned).
constexpr uint32_t FileHeaderSize = 14;
constexpr uint32_t InfoHeaderSize = 40;
constexpr uint32_t PixelOffset = FileHeaderSize + InfoHeaderSize + TDIB::ColorCount * 4;
constexpr uint32_t ImageSize = TDIB::Width * TDIB::Height;
constexpr uint32_t PixelsPerMetre = 2835; // 72 dots per inch

void Put16(std::vector<uint8_t>& Out, uint16_t Value) {
  Out.push_back(uint8_t(Value));
  Out.push_back(uint8_t(Value >> 8));
}

void Put32(std::vector<uint8_t>& Out, uint32_t Value) {
  for (int shift = 0; shift < 32; shift += 8) Out.push_back(uint8_t(Value >> shift));
}

struct TFileCloser {
  void operator()(std::FILE* File) const { std::fclose(File); }
};

[[noreturn]] void FileError(const std::string& Path, const char* What, int Error) {
  throw std::runtime_error(std::string(What) + " \"" + Path + "\": " + std::strerror(Error));
}

} // namespace

void TDIB::SetColors(int First, std::span<const TRGB> Entries) {
  if (First < 0 || First >= ColorCount) return;
  size_t count = std::min(Entries.size(), size_t(ColorCount - First));
  std::copy_n(Entries.begin(), count, Colors.begin() + First);
}

std::vector<uint8_t> TDIB::FileBytes() const {
  std::vector<uint8_t> file;
  file.reserve(PixelOffset + ImageSize);
  file.push_back('B');
  file.push_back('M');
  Put32(file, PixelOffset + ImageSize);
  Put32(file, 0); // two reserved words
  Put32(file, PixelOffset);

  Put32(file, InfoHeaderSize);
  Put32(file, Width);
  Put32(file, Height); // positive: rows stored bottom-up
  Put16(file, 1);      // planes
  Put16(file, 8);      // bits per pixel
  Put32(file, 0);      // BI_RGB, uncompressed
  Put32(file, ImageSize);
  Put32(file, PixelsPerMetre);
  Put32(file, PixelsPerMetre);
  Put32(file, ColorCount); // colours used
  Put32(file, 0);          // all colours important

  for (const TRGB& c : Colors) {
    file.push_back(c.B);
    file.push_back(c.G);
    file.push_back(c.R);
    file.push_back(0);
  }
  for (int line = Height - 1; line >= 0; --line) file.insert(file.end(), ScanLine(line), ScanLine(line) + Width);
  return file;
}

void TDIB::SaveToFile(const std::string& Path) const {
  const std::vector<uint8_t> file = FileBytes();
  std::unique_ptr<std::FILE, TFileCloser> out(std::fopen(Path.c_str(), "wb"));
  if (!out) FileError(Path, "Cannot create", errno);
  errno = 0;
  if (std::fwrite(file.data(), 1, file.size(), out.get()) != file.size()) FileError(Path, "Cannot write", errno ? errno : EIO);
  if (std::fclose(out.release()) != 0) FileError(Path, "Cannot write", errno ? errno : EIO);
}
