#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "tools/InputScript.h"

namespace {

std::vector<TScriptStep> Read(const std::string& text) {
  std::istringstream in(text);
  return ReadInputScript(in);
}

TEST(InputScript, ReadsStepsInFrameOrder) {
  auto steps = Read("# title\n"
                    "120 1 start   # press\n"
                    "\n"
                    "0 2 -\n"
                    "130 1 Right a B up\n");
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[0].Frame, 0);
  EXPECT_EQ(steps[0].Pad, 1);
  EXPECT_EQ(steps[0].Buttons, 0);
  EXPECT_EQ(steps[1].Frame, 120);
  EXPECT_EQ(steps[1].Buttons, 0x08);
  EXPECT_EQ(steps[2].Buttons, 0x80 | 0x01 | 0x02 | 0x10);
}

TEST(InputScript, MalformedLinesNameTheirNumber) {
  for (const char* text : {"x 1 A", "-3 1 A", "10 3 A", "10 1 Jump", "10", "10 1 A\n12x 1 B"}) {
    try {
      Read(text);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const std::runtime_error& error) {
      EXPECT_NE(std::string(error.what()).find("line "), std::string::npos) << text;
    }
  }
}

TEST(InputScript, PadsHoldWhatTheScriptSaysFromItsFrameOn) {
  TScriptedPads pads(Read("10 1 A Start\n20 1 -\n15 2 Left\n"));
  auto held = [&](TDXInput& pad) {
    pad.Update();
    return std::make_pair(pad.Pressed(InputButton(1)), pad.Pressed(InputLeft));
  };
  pads.SetFrame(9);
  EXPECT_EQ(held(pads.Pad1), std::make_pair(false, false));
  pads.SetFrame(10);
  EXPECT_EQ(held(pads.Pad1), std::make_pair(true, false));
  EXPECT_EQ(held(pads.Pad2), std::make_pair(false, false));
  pads.SetFrame(19);
  EXPECT_EQ(held(pads.Pad2), std::make_pair(false, true));
  pads.SetFrame(20);
  EXPECT_EQ(held(pads.Pad1), std::make_pair(false, false));
  EXPECT_EQ(held(pads.Pad2), std::make_pair(false, true));
}

} // namespace
