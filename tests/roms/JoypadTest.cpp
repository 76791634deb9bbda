// Joypad strobe and read order (cartridge roms/tests/joypad.s, buttons from
// joypad.input).
//
// Button bytes (bit 0 A, 1 B, 2 Select, 3 Start, 4 Up, 5 Down, 6 Left,
// 7 Right) by the script, as polled on line 8 of each frame:
//   pad 1: frames 0-3 A Start = $09; 4-5 Select Up Right = $94; 6- A Up Right = $91
//   pad 2: frames 0-3 B Left = $42;  4-5 none = $00;            6- B Select Up Right = $96
// The cartridge reads the pads in its NMIs, on line 238 of frames 2, 3, ...;
// a run of 8 frames ends on line 8 of frame 8, after the NMIs of frames 2-7.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "RomRun.h"

namespace {

using TBytes = std::vector<uint8_t>;

class Joypad : public ::testing::Test {
protected:
  TRomRun Run{"test_joypad", 8, {"--input", RomTestFile("joypad.input"), "--dump", "300:41"}};
};

TEST_F(Joypad, GivesOneBitAReadInButtonOrder) {
  ASSERT_TRUE(Run.Ok);
  // Frame 7: pad 1 $91, pad 2 $96, bit 0 first; the ninth and tenth reads of
  // pad 1 start over with A and B. Every byte is exactly 0 or 1.
  EXPECT_EQ(Run.Dump(0x300, 10), (TBytes{1, 0, 0, 0, 1, 0, 0, 1, 1, 0}));
  EXPECT_EQ(Run.Dump(0x310, 8), (TBytes{0, 1, 1, 0, 1, 0, 0, 1}));
}

TEST_F(Joypad, RestartsOnlyWhenTheStrobeFallsAtPort1) {
  ASSERT_TRUE(Run.Ok);
  const TBytes expected = {
      0,    // 0 after 0: no restart, pad 1 bit 2 (Select)
      0,    // strobe 1: no restart, bit 3 (Start)
      1,    // still 1: reads go on, bit 4 (Up)
      0,    // pad 2 after its eight reads: bit 0 (A)
      1,    // 1 then 0 to $4017 restarts nothing: pad 2 bit 1 (B)
      1,    // 1 to 0 at $4016: pad 1 from bit 0 (A)
      0,    // and pad 2 from bit 0 too
      0xFF, // $4015
  };
  EXPECT_EQ(Run.Dump(0x318, 8), expected);
}

TEST_F(Joypad, SeesTheButtonsOfEachFramesPoll) {
  ASSERT_TRUE(Run.Ok);
  TBytes pad1(16, 0), pad2(16, 0);
  const TBytes seen1 = {0x09, 0x09, 0x94, 0x94, 0x91, 0x91}; // frames 2-7
  const TBytes seen2 = {0x42, 0x42, 0x00, 0x00, 0x96, 0x96};
  std::copy(seen1.begin(), seen1.end(), pad1.begin());
  std::copy(seen2.begin(), seen2.end(), pad2.begin());
  EXPECT_EQ(Run.Dump(0x320, 16), pad1);
  EXPECT_EQ(Run.Dump(0x330, 16), pad2);
  EXPECT_EQ(Run.Dump(0x340, 1), TBytes{6});
}

} // namespace
