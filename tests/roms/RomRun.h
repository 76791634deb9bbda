#pragma once

// Runs a test cartridge through pixtor-headless and reads what it leaves
// behind: the snapshot's pixels and colour table, memory dumps, tone log.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

struct TColor {
  uint8_t R = 0, G = 0, B = 0;
  bool operator==(const TColor&) const = default;
};

class TRomRun {
public:
  // Runs cartridge NAME (built under the roms folder) for Frames frames with
  // a snapshot and a tone log in a fresh temporary folder, plus Extra options.
  // Any failure to run or to read the results fails the calling test.
  TRomRun(const std::string& Name, int Frames, const std::vector<std::string>& Extra = {});
  ~TRomRun();
  TRomRun(const TRomRun&) = delete;
  TRomRun& operator=(const TRomRun&) = delete;

  // Palette RAM index of the snapshot pixel at column X, line Y (0 = top).
  uint8_t Pixel(int X, int Y) const;
  // Colour table entry of the snapshot.
  TColor Color(int Index) const;
  // Bytes of the dump lines ("ADDR: XX XX ...") covering Addr to Addr + Length - 1.
  std::vector<uint8_t> Dump(uint32_t Addr, uint32_t Length) const;
  // The tone log, one entry per line.
  std::vector<std::string> Tones() const;

  bool Ok = false; // the run and the reading of its results succeeded

private:
  std::filesystem::path Folder;
  std::vector<uint8_t> Snapshot;
  uint32_t PixelOffset = 0, PaletteOffset = 0;
  int Width = 0, Height = 0;
  std::map<uint32_t, uint8_t> Dumped;
  std::vector<std::string> ToneLines;
};

// Path of a file in the tests' own folder (input scripts).
std::string RomTestFile(const std::string& Name);
