// 8x8 and 8x16 sprites (cartridge roms/tests/sprites.s, tiles in tiles.txt).
//
// A sprite pixel is 16 + 4 × palette + colour; colour 0 is transparent. Row r
// of a sprite lands on line Y + r, pixel k on column X + k (X + 7 - k when
// flipped horizontally); flipped vertically, line Y + r shows row h - 1 - r.
// Nothing is drawn above line 8 or right of column 255. A behind-background
// sprite only covers pixels whose two low bits are 0; sprites are drawn from
// 63 down to 0, so lower entries cover higher ones.
//
// Tile 4, the marker (colours):   tiles $10/$11 (8x16): the marker over
//   3322....                        a tile blank but for row 7, all colour 1.
//   3.......                      Tiles 1, 2, 3 are solid colours 1, 2, 3.
//   2.......                      $1040 (tile 4 of the $1000 table): solid 1.
//   2.......                      $1200/$1210 (8x16 tile $21): solid 3 / solid 2.
//   ........
//   ........                      Background: 0, but 1 at pixels 112-119,
//   .......1                      lines 40-47.
//   ......11

#include <gtest/gtest.h>

#include <vector>

#include "RomRun.h"

namespace {

struct TPoint {
  int X, Y;
  uint8_t Expected;
};

struct TEntry {
  int Index;
  const char* Name;
  std::vector<TPoint> Points;
};

void PrintTo(const TEntry& Entry, std::ostream* Out) { *Out << Entry.Name; }

// NMI n (line 238 of frame n + 2) loads entry n; its sprites are drawn on
// line 238 of frame n + 3, presented on line 0 of frame n + 4.
int FramesToShow(int Entry) { return Entry + 4; }

const TEntry Entries[] = {
    {0, "Sprites8x8",
     {// 0 at (16, 20), palette 0: row 0 "3322", rows 1-3 "3", "2", "2", rows 6-7 at the right.
      {16, 20, 19}, {17, 20, 19}, {18, 20, 18}, {19, 20, 18}, {20, 20, 0}, {16, 21, 19}, {17, 21, 0},
      {16, 22, 18}, {16, 23, 18}, {16, 24, 0}, {23, 26, 17}, {22, 26, 0}, {22, 27, 17}, {23, 27, 17},
      // 1 at (40, 20), H-flip, palette 1 (20 + colour): row 0 reads from column 47 leftwards.
      {47, 20, 23}, {46, 20, 23}, {45, 20, 22}, {44, 20, 22}, {43, 20, 0}, {47, 21, 23}, {40, 26, 21},
      {41, 26, 0}, {40, 27, 21}, {41, 27, 21},
      // 2 at (64, 20), V-flip, palette 2 (24 + colour): line 20 shows row 7, line 27 row 0.
      {64, 20, 0}, {70, 20, 25}, {71, 20, 25}, {70, 21, 0}, {71, 21, 25}, {64, 24, 26}, {64, 25, 26},
      {64, 26, 27}, {64, 27, 27}, {65, 27, 27}, {66, 27, 26}, {67, 27, 26}, {68, 27, 0},
      // 3 at (88, 20), both flips, palette 3 (28 + colour).
      {88, 20, 29}, {89, 20, 29}, {90, 20, 0}, {95, 26, 31}, {95, 27, 31}, {94, 27, 31}, {93, 27, 30},
      {92, 27, 30}, {91, 27, 0},
      // 4 at (252, 40): columns 252-255 only; nothing wraps onto the left edge.
      {252, 40, 19}, {253, 40, 19}, {254, 40, 18}, {255, 40, 18}, {255, 46, 0}, {0, 40, 0}, {0, 41, 0},
      {3, 46, 0}, {2, 47, 0}, {3, 47, 0}, {2, 48, 0}, {3, 48, 0},
      // 5 at (252, 60), H-flip, palette 1: its right half, mirrored, in columns 252-255.
      {252, 60, 0}, {255, 60, 0}, {255, 61, 0}, {0, 60, 0}, {3, 60, 0}, {0, 61, 0}, {3, 61, 0},
      {252, 66, 21}, {253, 66, 0}, {252, 67, 21}, {253, 67, 21}, {254, 67, 0},
      // 6 behind at (116, 44), solid 3: hidden by background tile 1, shown over colour 0.
      {116, 44, 1}, {119, 47, 1}, {115, 44, 1}, {120, 44, 19}, {116, 48, 19}, {123, 51, 19}, {124, 44, 0},
      // 7 behind at (136, 40), solid 3, palette 2 (27); 8 in front at (140, 44), solid 1, palette 1 (21),
      // drawn first: 7 shows over the background only, not over sprite 8.
      {136, 40, 27}, {143, 43, 27}, {139, 47, 27}, {140, 44, 21}, {143, 47, 21}, {144, 44, 21},
      {147, 51, 21},
      // 9 (solid 2, palette 3: 30) covers 10 (solid 1, palette 0: 17) where they overlap.
      {160, 40, 30}, {164, 44, 30}, {167, 47, 30}, {168, 48, 17}, {164, 48, 17}, {171, 51, 17},
      // 11 at (200, 4): rows 0-3 (lines 4-7) are not drawn; row 6 on line 10, row 7 on line 11.
      {200, 4, 0}, {200, 7, 0}, {206, 10, 0}, {207, 10, 17}, {206, 11, 17}, {207, 11, 17}}},
    {1, "Sprites8x16",
     {// 0 at (16, 20): marker on lines 20-27, bottom tile's row 7 on line 35. PPUCTRL bit 3 is
      // set, which would make tile $10 blank if it applied.
      {16, 20, 19}, {18, 20, 18}, {20, 20, 0}, {23, 26, 17}, {23, 27, 17}, {16, 28, 0}, {16, 34, 0},
      {16, 35, 17}, {23, 35, 17}, {24, 35, 0},
      // 1 at (40, 20), V-flip, palette 1: the 16 rows upside down.
      {40, 20, 21}, {47, 20, 21}, {40, 21, 0}, {40, 27, 0}, {45, 28, 0}, {46, 28, 21}, {47, 28, 21},
      {40, 34, 23}, {40, 35, 23}, {41, 35, 23}, {42, 35, 22}, {43, 35, 22}, {44, 35, 0},
      // 2 at (64, 20), both flips, palette 2.
      {64, 20, 25}, {71, 20, 25}, {64, 28, 25}, {65, 28, 25}, {66, 28, 0}, {71, 35, 27}, {70, 35, 27},
      {69, 35, 26}, {68, 35, 26}, {67, 35, 0},
      // 3 at (88, 20), tile $21: $1200 (solid 3) over $1210 (solid 2), palette 3.
      {88, 20, 31}, {95, 27, 31}, {88, 28, 30}, {95, 35, 30}, {88, 36, 0}, {96, 20, 0},
      // 4 at (120, 2): line 8 shows row 6, line 9 row 7, line 17 the bottom tile's row 7.
      {120, 2, 0}, {126, 8, 0}, {127, 8, 17}, {126, 9, 17}, {127, 9, 17}, {127, 10, 0}, {120, 17, 17},
      {127, 17, 17}, {120, 18, 0},
      // 5 at (144, 0), V-flip, palette 1: lines 8-15 show rows 7 to 0 of the marker.
      {149, 8, 0}, {150, 8, 21}, {151, 8, 21}, {144, 14, 23}, {144, 15, 23}, {145, 15, 23},
      {146, 15, 22}, {147, 15, 22}, {148, 15, 0}, {144, 16, 0}}},
    {2, "Sprites8x8FromTable1000",
     {// Tile 4 is now $1040, solid 1; tiles 1-3 of that table are blank.
      {16, 20, 17}, {20, 20, 17}, {23, 27, 17}, {41, 21, 21}, {120, 44, 0}, {116, 44, 1}, {136, 40, 0}}},
};

class Sprites : public ::testing::TestWithParam<TEntry> {};

TEST_P(Sprites, DrawExactPixels) {
  const TEntry& entry = GetParam();
  TRomRun run("test_sprites", FramesToShow(entry.Index));
  ASSERT_TRUE(run.Ok);
  for (const TPoint& p : entry.Points)
    EXPECT_EQ(run.Pixel(p.X, p.Y), p.Expected) << "(" << p.X << ", " << p.Y << ")";
}

INSTANTIATE_TEST_SUITE_P(Entries, Sprites, ::testing::ValuesIn(Entries),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
