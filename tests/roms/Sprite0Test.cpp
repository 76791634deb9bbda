// The sprite-0 flag and the NMI on the sprite-0 line (cartridge
// roms/tests/sprite0.s).
//
// Sprite 0 is tile 5 (opaque rows 0-2) at Y 100, flipped vertically: its
// flag line is 100 + 3 = 103, flip or not. The flag is raised on line 103's
// event after that line's background is drawn, so a scroll written in
// answer takes effect from line 104. Pixel 64 of a line shows 1, 2 or 3 for
// scroll X 0, 16 or 32 (tiles 1, 2, 3 in columns 8, 10, 12).
//
// Frames: vertical-blank NMIs come on line 238 of frames 2, 3, ...; the
// fourth (frame 5) turns on the NMI at the sprite-0 line, so frames 6 to 9
// have one on line 103; the eighth (frame 9) turns sprites off, and with
// them the flag, from frame 10. A run of N frames shows frame N - 1.

#include <gtest/gtest.h>

#include <vector>

#include "RomRun.h"

namespace {

struct TPoint {
  int X, Y;
  uint8_t Expected;
};

struct TPhase {
  const char* Name;
  int Frames;
  std::vector<TPoint> Points;
};

void PrintTo(const TPhase& Phase, std::ostream* Out) { *Out << Phase.Name; }

const TPhase Phases[] = {
    {"PolledFlag", 5,
     {{64, 0, 1}, {64, 103, 1}, {64, 104, 2}, {64, 238, 2}, {63, 104, 0}, {80, 104, 3},
      // Sprite 0 itself: its rows 2-0 on lines 105-107.
      {200, 104, 0}, {200, 105, 17}, {207, 107, 17}, {200, 108, 0}}},
    {"NMIOnSprite0Line", 8,
     {{64, 0, 1}, {64, 103, 1}, {64, 104, 3}, {64, 238, 3}, {200, 105, 17}}},
    {"SpritesOff", 12, {{64, 103, 1}, {64, 104, 1}, {64, 238, 1}, {200, 105, 0}}},
};

class Sprite0 : public ::testing::TestWithParam<TPhase> {};

TEST_P(Sprite0, SplitsTheScreenAfterTheFlagLine) {
  const TPhase& phase = GetParam();
  TRomRun run("test_sprite0", phase.Frames);
  ASSERT_TRUE(run.Ok);
  for (const TPoint& p : phase.Points)
    EXPECT_EQ(run.Pixel(p.X, p.Y), p.Expected) << "(" << p.X << ", " << p.Y << ")";
}

INSTANTIATE_TEST_SUITE_P(Phases, Sprite0, ::testing::ValuesIn(Phases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(Sprite0, LogsEveryNMIWithTheStatusItFound) {
  TRomRun run("test_sprite0", 12, {"--dump", "300:12"});
  ASSERT_TRUE(run.Ok);
  // Frames 2-5: vertical blank only ($80); 6-9: the sprite-0 line ($40, the
  // vertical-blank flag cleared on line 0) then the vertical blank; 10-11:
  // vertical blank only.
  const std::vector<uint8_t> log = {0x80, 0x80, 0x80, 0x80, 0x40, 0x80, 0x40, 0x80,
                                    0x40, 0x80, 0x40, 0x80, 0x80, 0x80, 0x00, 0x00};
  EXPECT_EQ(run.Dump(0x300, 16), log);
  EXPECT_EQ(run.Dump(0x310, 2), (std::vector<uint8_t>{10, 14})); // frames 2-11; 14 entries
}

} // namespace
