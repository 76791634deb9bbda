#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "tools/InputScript.h"

namespace {

std::vector<TScriptStep> Read(std::string text) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(fmemopen(text.data(), text.size(), "r"), &std::fclose);
  return ReadInputScript(in.get(), "script");
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
  for (const char* text : {"x 1 A", "-3 1 A", "+3 1 A", "4294967296 1 A", "10 3 A", "10 1 Jump", "10",
                           "10 1 A\n12x 1 B"}) {
    try {
      Read(text);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const std::runtime_error& error) {
      EXPECT_NE(std::string(error.what()).find("line "), std::string::npos) << text;
    }
  }
}

// A giant or hostile word is shown cut short, its control bytes escaped.
TEST(InputScript, BadWordShownShortAndEscaped) {
  const std::string giant = "\x1b[2J" + std::string(1 << 20, '7');
  const struct {
    std::string Text, Message;
  } cases[] = {
      {giant + " 1 A",
       "input script line 1: bad frame \"\\x1b[2J" + std::string(36, '7') + "...\" (0 to 4294967295)"},
      {"0 1 A\n5 2 B \x9b" + giant,
       "input script line 2: unknown button \"\\x9b\\x1b[2J" + std::string(35, '7') + "...\""},
      {"00000000000000000000000000000000000000000000000000042 1 A\n1 1 Up\x07",
       "input script line 2: unknown button \"Up\\x07\""},
  };
  for (const auto& c : cases) {
    try {
      Read(c.Text);
      ADD_FAILURE() << "accepted: " << c.Message;
    } catch (const std::runtime_error& error) {
      EXPECT_EQ(error.what(), c.Message);
    }
  }
}

TEST(InputScript, ReadErrorIsNotTheEndOfTheScript) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> directory(std::fopen("/", "r"), &std::fclose);
  ASSERT_TRUE(directory);
  try {
    ReadInputScript(directory.get(), "/");
    ADD_FAILURE() << "a directory read as a script";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "cannot read /: Is a directory");
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
