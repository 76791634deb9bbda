#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "platform/qt/DisplayModes.h"

namespace {

struct TParseCase {
  const char* Name;
  const char* Text;
  std::optional<TDisplayMode> Expected;
  friend void PrintTo(const TParseCase& c, std::ostream* out) { *out << c.Name; }
};

class ParseDisplayModes : public testing::TestWithParam<TParseCase> {};

TEST_P(ParseDisplayModes, TakeOnlyThreeNumbers) {
  EXPECT_EQ(ParseDisplayMode(QString::fromUtf8(GetParam().Text)), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseDisplayModes,
    testing::Values(TParseCase{"Usual", "640x480x24", TDisplayMode{640, 480, 24}},
                    TParseCase{"Largest", "65535x65535x32", TDisplayMode{65535, 65535, 32}},
                    TParseCase{"Smallest", "1x1x1", TDisplayMode{1, 1, 1}},
                    TParseCase{"Empty", "", std::nullopt},
                    TParseCase{"TwoNumbers", "640x480", std::nullopt},
                    TParseCase{"FourNumbers", "640x480x24x1", std::nullopt},
                    TParseCase{"Letters", "axbxc", std::nullopt},
                    TParseCase{"LeadingBlank", " 640x480x24", std::nullopt},
                    TParseCase{"TrailingBlank", "640x480x24 ", std::nullopt},
                    TParseCase{"Negative", "640x-480x24", std::nullopt},
                    TParseCase{"Plus", "640x+480x24", std::nullopt},
                    TParseCase{"EmptyNumber", "640xx24", std::nullopt},
                    TParseCase{"Zero", "0x480x24", std::nullopt},
                    TParseCase{"TooLarge", "65536x480x24", std::nullopt},
                    TParseCase{"Overflow", "99999999999x480x24", std::nullopt},
                    TParseCase{"CapitalX", "640X480X24", std::nullopt},
                    TParseCase{"Fraction", "640.5x480x24", std::nullopt}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(DisplayModes, FormatReadsBack) {
  const TDisplayMode mode{1280, 1024, 32};
  EXPECT_EQ(FormatDisplayMode(mode), QStringLiteral("1280x1024x32"));
  EXPECT_EQ(ParseDisplayMode(FormatDisplayMode(mode)), mode);
}

// Qt's offscreen platform has no X server behind it.
TEST(DisplayModes, NoneWithoutX11) {
  TDisplayModes modes;
  EXPECT_TRUE(modes.Modes().empty());
  EXPECT_EQ(modes.Current(), std::nullopt);
  EXPECT_FALSE(modes.Switch({640, 480, 24}));
  modes.Restore();
}

} // namespace
