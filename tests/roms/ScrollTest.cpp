// Background scroll and name-table selection (cartridge roms/tests/scroll.s,
// built with vertical and with horizontal mirroring).
//
// The screen pixel (x, y) shows the point (x + ScrollX, y + ScrollY) of the
// name table chosen by PPUCTRL bits 0-1; past column 255 it moves to the table
// to the right (address xor $400), past line 239 to the table below (xor $800).
// Mirroring on write makes the tables:
//   vertical:   $2000 = $2800 = A,  $2400 = $2C00 = B
//   horizontal: $2000 = $2400 = A,  $2800 = $2C00 = B
// A: blank 0, tile 1 at (0,0) gives 1, tile 2 at (31,29) gives 2 (palette 0).
// B: blank 4, tile 3 at (0,0) gives 7, tile 1 at (31,29) gives 5 (palette 1).
// Line 239 is not checked: its background is drawn after the NMI.

#include <gtest/gtest.h>

#include <vector>

#include "RomRun.h"

namespace {

struct TPoint {
  int X, Y;
  uint8_t Vertical, Horizontal; // expected pixel in each build
};

struct TEntry {
  int Index; // entry of the cartridge's table
  std::vector<TPoint> Points;
};

// NMI n runs on line 238 of frame n + 2 and sets entry n; frame n + 3 is drawn
// with it and presented on line 0 of frame n + 4, where the run then stops.
int FramesToShow(int Entry) { return Entry + 4; }

const TEntry Entries[] = {
    // $2000, scroll (0, 0): A as it stands.
    {0, {{0, 0, 1, 1}, {7, 7, 1, 1}, {8, 0, 0, 0}, {0, 8, 0, 0},
         {248, 232, 2, 2}, {255, 238, 2, 2}, {247, 232, 0, 0}, {248, 231, 0, 0}}},
    // $2000, scroll (3, 5): A's tile (0,0) covers columns 0-4, lines 0-2.
    {1, {{0, 0, 1, 1}, {4, 2, 1, 1}, {5, 2, 0, 0}, {4, 3, 0, 0},
         {245, 227, 2, 2}, {244, 227, 0, 0}, {252, 234, 2, 2},
         // x + 3 = 256: tile (0,0) of the table to the right, $2400.
         {252, 0, 0, 0}, {253, 0, 7, 1}, {255, 2, 7, 1}, {253, 3, 4, 0},
         // y + 5 = 240: row 0 of the table below, $2800.
         {0, 234, 0, 0}, {0, 235, 1, 7}, {4, 237, 1, 7}, {5, 235, 0, 4},
         // both: $2C00, B in either build.
         {253, 235, 7, 7}, {255, 237, 7, 7}}},
    // $2400, scroll (0, 0).
    {2, {{0, 0, 7, 1}, {8, 0, 4, 0}, {248, 232, 5, 2}, {247, 232, 4, 0}}},
    // $2800, scroll (250, 230).
    {3, {{0, 0, 0, 4},                        // (250, 230): column 31, row 28 of $2800
         {0, 2, 2, 5}, {5, 9, 2, 5},          // column 31, row 29 of $2800
         {6, 9, 4, 4},                        // column 0, row 29 of $2C00
         {5, 10, 0, 0},                       // column 31, row 0 of $2000
         {6, 10, 7, 1}, {13, 17, 7, 1},       // column 0, row 0 of $2400
         {14, 10, 4, 0}, {6, 18, 4, 0}}},     // its neighbours there
    // $2C00, scroll (8, 0): the right edge comes from $2800.
    {4, {{0, 0, 4, 4}, {247, 0, 4, 4}, {248, 0, 1, 7}, {255, 7, 1, 7}, {248, 8, 0, 4},
         {240, 232, 5, 5}}},
    // $2000 with a vertical scroll of $F5, which is ignored: as entry 0.
    {5, {{0, 0, 1, 1}, {0, 7, 1, 1}, {0, 8, 0, 0}, {8, 0, 0, 0}}},
};

void PrintTo(const TEntry& Entry, std::ostream* Out) { *Out << "entry " << Entry.Index; }

class Scroll : public ::testing::TestWithParam<TEntry> {};

TEST_P(Scroll, ShowsTheNameTablePointsOfTheEntry) {
  const TEntry& entry = GetParam();
  TRomRun vertical("test_scroll_v", FramesToShow(entry.Index));
  TRomRun horizontal("test_scroll_h", FramesToShow(entry.Index));
  ASSERT_TRUE(vertical.Ok && horizontal.Ok);
  for (const TPoint& p : entry.Points) {
    EXPECT_EQ(vertical.Pixel(p.X, p.Y), p.Vertical) << "vertical mirroring, (" << p.X << ", " << p.Y << ")";
    EXPECT_EQ(horizontal.Pixel(p.X, p.Y), p.Horizontal) << "horizontal mirroring, (" << p.X << ", " << p.Y << ")";
  }
}

INSTANTIATE_TEST_SUITE_P(Entries, Scroll, ::testing::ValuesIn(Entries),
                         [](const auto& info) { return "Entry" + std::to_string(info.param.Index); });

} // namespace
