// Sound register writes and the tone log (cartridge roms/tests/sound.s).
//
// A period write starts a tone: level 255, then frequency 111860 div
// (period + 1), period = (high register and 7) × 256 + low register, and a
// length in frames from the high register's top five bits n: squares
// 16n + 8, triangle n + 2, noise n (0: never ended). Once a frame each
// counting channel, in channel order, first moves its sweep (period ± step,
// 16-bit, and starts the tone again) and then counts down; at 0 it is
// silenced (level 0).
//
// Log lines are "frame line call channel value". The NMI writes come on
// line 238 of frames 2 and 12. The frame step runs on the event that ends a
// frame, and the log counts it on the line that event begins: line 0 of the
// new frame.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RomRun.h"

namespace {

const std::vector<std::string> ExpectedTones = {
    // Frame 2, NMI 0.
    "2 238 ToneLevel 0 255", "2 238 ToneOn 0 440",   // $4002 $FD: period 253 ($4003 still 0)
    "2 238 ToneLevel 0 255", "2 238 ToneOn 0 219",   // $4003 $09: period 509, length 1 × 16 + 8 = 24
    "2 238 ToneLevel 1 255", "2 238 ToneOn 1 440",   // $4006 $FD: period 253, length 8, sweep on
    "2 238 ToneLevel 2 255", "2 238 ToneOn 2 218",   // $400B $12: period 512, length 2 + 2 = 4
    "2 238 ToneLevel 3 255", "2 238 ToneOn 3 18643", // $400E $05: period 5, length 0
    "2 238 ToneLevel 3 255", "2 238 ToneOn 3 18643", // $400F $18: length 3
    // Square 2 sweeps down one a frame: 252, 251, ... 245.
    "3 0 ToneOn 1 442",
    "4 0 ToneOn 1 443",
    "5 0 ToneOn 1 445", "5 0 ToneLevel 3 0",     // noise: 3 frames
    "6 0 ToneOn 1 447", "6 0 ToneLevel 2 0",     // triangle: 4 frames
    "7 0 ToneOn 1 449",
    "8 0 ToneOn 1 451",
    "9 0 ToneOn 1 452",
    "10 0 ToneOn 1 454", "10 0 ToneLevel 1 0",   // square 2: 8 frames
    // Frame 12, NMI 10: $400D $FF (step 7 × 7 = 49, falling), $400E $10: period 16, length 3.
    "12 238 ToneLevel 3 255", "12 238 ToneOn 3 6580",
    "13 0 ToneOn 3 1",                             // 16 - 49 wraps to 65503
    "14 0 ToneOn 3 1",                             // 65454
    "15 0 ToneOn 3 1", "15 0 ToneLevel 3 0",     // 65405; 3 frames
    "26 0 ToneLevel 0 0",                          // square 1: 24 frames from frame 2
};

TEST(Sound, RegisterWritesGiveTonesLengthsAndSweeps) {
  TRomRun run("test_sound", 30);
  ASSERT_TRUE(run.Ok);
  EXPECT_EQ(run.Tones(), ExpectedTones);
}

TEST(Sound, RegistersReadBackByTheBusMap) {
  TRomRun run("test_sound", 3, {"--dump", "300:5"});
  ASSERT_TRUE(run.Ok);
  // $4003 and $4013 as written; $4014 never written (0); $4015 is the
  // joypads' port ($FF); $4018 is unmapped ($FF).
  EXPECT_EQ(run.Dump(0x300, 5), (std::vector<uint8_t>{0x09, 0x55, 0x00, 0xFF, 0xFF}));
}

} // namespace
