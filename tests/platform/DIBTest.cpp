#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/DIB.h"
#include "platform/StartupPicture.h"

namespace {

std::vector<uint8_t> ReadFile(const std::filesystem::path& Path) {
  std::ifstream in(Path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t Get32(const std::vector<uint8_t>& Data, size_t At) {
  return Data[At] | Data[At + 1] << 8 | Data[At + 2] << 16 | uint32_t(Data[At + 3]) << 24;
}

uint16_t Get16(const std::vector<uint8_t>& Data, size_t At) { return uint16_t(Data[At] | Data[At + 1] << 8); }

class DIBFile : public ::testing::Test {
protected:
  void SetUp() override {
    Dir = std::filesystem::temp_directory_path() /
          ("pixtor_dib_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(Dir);
  }
  void TearDown() override { std::filesystem::remove_all(Dir); }
  std::filesystem::path Dir;
};

TEST(DIB, SetColorsDropsEntriesPastTheTable) {
  TDIB dib;
  std::vector<TRGB> colors(10, TRGB{1, 2, 3});
  dib.SetColors(250, colors);
  EXPECT_EQ(dib.ColorTable()[249], (TRGB{0, 0, 0}));
  EXPECT_EQ(dib.ColorTable()[250], (TRGB{1, 2, 3}));
  EXPECT_EQ(dib.ColorTable()[255], (TRGB{1, 2, 3}));
  dib.SetColors(-1, colors);
  dib.SetColors(256, colors);
  EXPECT_EQ(dib.ColorTable()[0], (TRGB{0, 0, 0}));
}

TEST(DIB, LinesFollowEachOtherTopDown) {
  TDIB dib;
  EXPECT_EQ(dib.ScanLine(1) - dib.ScanLine(0), TDIB::Width);
  EXPECT_EQ(dib.ScanLine(239) - dib.ScanLine(0), 239 * TDIB::Width);
}

TEST_F(DIBFile, BitmapHeaderColourTableAndRowsReadBack) {
  TDIB dib;
  std::vector<TRGB> colors(256);
  for (int i = 0; i < 256; ++i) colors[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i ^ 0x5A)};
  dib.SetColors(0, colors);
  for (int line = 0; line < TDIB::Height; ++line)
    for (int x = 0; x < TDIB::Width; ++x) dib.ScanLine(line)[x] = uint8_t(line * 7 + x);

  auto path = Dir / "shot.bmp";
  dib.SaveToFile(path.string());
  std::vector<uint8_t> file = ReadFile(path);

  const uint32_t pixelOffset = 14 + 40 + 256 * 4;
  ASSERT_EQ(file.size(), pixelOffset + 256u * 240u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(Get32(file, 2), file.size());
  EXPECT_EQ(Get32(file, 10), pixelOffset);
  EXPECT_EQ(Get32(file, 14), 40u);   // BITMAPINFOHEADER
  EXPECT_EQ(Get32(file, 18), 256u);  // width
  EXPECT_EQ(Get32(file, 22), 240u);  // height, positive: bottom-up
  EXPECT_EQ(Get16(file, 26), 1);     // planes
  EXPECT_EQ(Get16(file, 28), 8);     // bits per pixel
  EXPECT_EQ(Get32(file, 30), 0u);    // uncompressed
  EXPECT_EQ(Get32(file, 34), 256u * 240u);
  EXPECT_EQ(Get32(file, 46), 256u);  // colours used

  for (int i = 0; i < 256; ++i) {
    const size_t at = 54 + 4 * i;
    ASSERT_EQ(file[at], colors[i].B) << i;
    ASSERT_EQ(file[at + 1], colors[i].G) << i;
    ASSERT_EQ(file[at + 2], colors[i].R) << i;
    ASSERT_EQ(file[at + 3], 0) << i;
  }
  // The first stored row is the bottom line.
  for (int row = 0; row < TDIB::Height; ++row) {
    const int line = TDIB::Height - 1 - row;
    for (int x = 0; x < TDIB::Width; ++x)
      ASSERT_EQ(file[pixelOffset + row * 256 + x], uint8_t(line * 7 + x)) << line << "," << x;
  }
}

TEST_F(DIBFile, WriteErrorNamesTheFile) {
  TDIB dib;
  const std::string path = (Dir / "missing" / "shot.bmp").string();
  try {
    dib.SaveToFile(path);
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("No such file"), std::string::npos) << e.what();
  }
}

TEST(StartupPicture, UsesItsOwnColoursAndShowsTheTitle) {
  TDIB dib;
  PaintStartupPicture(dib);
  // The background shades from line to line; the letters use the upper entries.
  EXPECT_NE(dib.ColorTable()[0], dib.ColorTable()[239]);
  int letterPixels = 0;
  for (int line = 0; line < TDIB::Height; ++line)
    for (int x = 0; x < TDIB::Width; ++x) letterPixels += dib.ScanLine(line)[x] >= 240;
  EXPECT_GT(letterPixels, 2000);
  EXPECT_EQ(dib.ScanLine(0)[0], 0);
  EXPECT_EQ(dib.ScanLine(239)[255], 239);
}

} // namespace
