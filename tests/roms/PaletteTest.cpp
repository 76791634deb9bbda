// Palette RAM writes and the colours of the presented frame (cartridge
// roms/tests/palette.s).
//
// The cartridge writes the 32 entries $0F,$01,$02,$03, $0F,$11,$12,$13, ...
// (first entries $0F), then $2A to $3F10, which writes all eight first
// entries ($3F00, $3F04, ... $3F1C); then $1A to $3F04 and $0C to $3F14, each
// alone; then $05 to $3F20, outside palette RAM.

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "RomRun.h"

namespace {

const std::vector<uint8_t> PaletteRAM = {
    0x2A, 0x01, 0x02, 0x03, 0x1A, 0x11, 0x12, 0x13, 0x2A, 0x21, 0x22, 0x23, 0x2A, 0x31, 0x32, 0x33,
    0x2A, 0x14, 0x15, 0x16, 0x0C, 0x24, 0x25, 0x26, 0x2A, 0x34, 0x35, 0x36, 0x2A, 0x17, 0x18, 0x19};

// The console's colours for those bytes, entry by entry (colour table
// entries 0-31 of the presented frame), and for $05 (entry 32, from $3F20).
const std::array<TColor, 33> Colors = {{
    {0, 192, 0},     {0, 64, 128},    {0, 0, 128},     {64, 0, 128},     // $2A $01 $02 $03
    {0, 128, 0},     {0, 128, 192},   {64, 64, 192},   {128, 0, 192},    // $1A $11 $12 $13
    {0, 192, 0},     {64, 192, 255},  {128, 128, 255}, {192, 64, 255},   // $2A $21 $22 $23
    {0, 192, 0},     {128, 255, 255}, {192, 192, 255}, {255, 128, 255},  // $2A $31 $32 $33
    {0, 192, 0},     {192, 0, 192},   {192, 0, 128},   {192, 32, 32},    // $2A $14 $15 $16
    {0, 64, 64},     {255, 0, 255},   {255, 64, 192},  {255, 80, 80},    // $0C $24 $25 $26
    {0, 192, 0},     {255, 64, 255},  {255, 128, 255}, {255, 128, 128},  // $2A $34 $35 $36
    {0, 192, 0},     {192, 64, 0},    {128, 128, 0},   {85, 128, 0},     // $2A $17 $18 $19
    {128, 0, 64},                                                        // $05
}};

class Palette : public ::testing::Test {
protected:
  // Rendering starts on line 238 of frame 1; frame 2 is presented on line 0 of frame 3.
  TRomRun Run{"test_palette", 4, {"--dump-vram", "3F00:21", "--dump", "300:4"}};
};

TEST_F(Palette, RAMHoldsTheMirroredFirstEntries) {
  ASSERT_TRUE(Run.Ok);
  EXPECT_EQ(Run.Dump(0x3F00, 32), PaletteRAM);
  EXPECT_EQ(Run.Dump(0x3F20, 1), std::vector<uint8_t>{0x05});
}

TEST_F(Palette, ReadsBackThroughTheDataPort) {
  ASSERT_TRUE(Run.Ok);
  // The first read after the address write gives $FF and does not step.
  EXPECT_EQ(Run.Dump(0x300, 4), (std::vector<uint8_t>{0xFF, 0x2A, 0x01, 0x02}));
}

TEST_F(Palette, PresentsTheColoursOfPaletteRAM) {
  ASSERT_TRUE(Run.Ok);
  for (int i = 0; i < int(Colors.size()); ++i) {
    TColor c = Run.Color(i);
    EXPECT_EQ(c, Colors[i]) << "entry " << i << " is " << int(c.R) << ", " << int(c.G) << ", " << int(c.B);
  }
}

TEST_F(Palette, PixelsAreIndexesIntoPaletteRAM) {
  ASSERT_TRUE(Run.Ok);
  struct TPoint {
    int X, Y;
    uint8_t Expected;
  };
  const TPoint points[] = {
      {0, 0, 0},   {8, 0, 1},   {16, 0, 2},   {24, 0, 3},   {32, 0, 0},   // row 0, palette 0
      {0, 32, 4},  {8, 32, 5},  {16, 32, 6},  {24, 32, 7},  {32, 32, 0},  // row 4, palette 1
      {0, 64, 12}, {8, 64, 13}, {16, 64, 14}, {24, 64, 15}, {32, 64, 0},  // row 8, palette 3
      {64, 40, 21}, {80, 40, 31}, {96, 40, 18},                           // sprites
  };
  for (const TPoint& p : points) EXPECT_EQ(Run.Pixel(p.X, p.Y), p.Expected) << "(" << p.X << ", " << p.Y << ")";
}

} // namespace
