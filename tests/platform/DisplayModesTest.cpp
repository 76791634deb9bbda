#include <gtest/gtest.h>

#include "platform/qt/DisplayModes.h"

namespace {

TEST(DisplayModes, ParseTakesOnlyThreeNumbers) {
  const std::pair<const char*, std::optional<TDisplayMode>> cases[] = {
      {"640x480x24", TDisplayMode{640, 480, 24}}, {"65535x1x32", TDisplayMode{65535, 1, 32}},
      {"", std::nullopt},           {"640x480", std::nullopt},      {"640x480x24x1", std::nullopt},
      {"axbxc", std::nullopt},      {" 640x480x24", std::nullopt},  {"640x480x24 ", std::nullopt},
      {"640x-480x24", std::nullopt}, {"640x+480x24", std::nullopt}, {"640xx24", std::nullopt},
      {"0x480x24", std::nullopt},   {"65536x480x24", std::nullopt}, {"99999999999x1x1", std::nullopt},
      {"640X480X24", std::nullopt}, {"640.5x480x24", std::nullopt},
  };
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(ParseDisplayMode(QString::fromUtf8(text)), expected) << '"' << text << '"';
  EXPECT_EQ(FormatDisplayMode({1280, 1024, 32}), QStringLiteral("1280x1024x32"));
}

// Qt's offscreen platform has no X server behind it.
TEST(DisplayModes, NoneWithoutX11) {
  TDisplayModes modes;
  EXPECT_TRUE(modes.Modes().empty());
  EXPECT_EQ(modes.Current(), std::nullopt);
  EXPECT_FALSE(modes.Switch({640, 480, 24}));
}

} // namespace
