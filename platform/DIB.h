#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/Bmp.h"

// The device-independent bitmap of the screen: 256 x 240 pixels of 8 bits,
// line 0 at the top, each pixel an index into a 256-entry colour table.
class TDIB {
public:
  static constexpr int Width = 256;
  static constexpr int Height = 240;
  static constexpr int ColorCount = 256;

  // Line 0 to 239; a line is Width bytes, and lines follow each other in memory.
  uint8_t* ScanLine(int Line) { return Pixels.data() + Line * Width; }
  const uint8_t* ScanLine(int Line) const { return Pixels.data() + Line * Width; }
  const std::array<TRGB, ColorCount>& ColorTable() const { return Colors; }

  // Copies Entries into the colour table from entry First on; entries past 255 are dropped.
  void SetColors(int First, std::span<const TRGB> Entries);

  // The 8-bit Windows BMP file, with the full colour table.
  std::vector<uint8_t> FileBytes() const;
  // Writes an 8-bit Windows BMP with the full colour table. File errors throw
  // std::runtime_error naming the file and the reason.
  void SaveToFile(const std::string& Path) const;

  friend bool operator==(const TDIB&, const TDIB&) = default;

private:
  alignas(64) std::array<uint8_t, Width * Height> Pixels{};
  std::array<TRGB, ColorCount> Colors{};
};
