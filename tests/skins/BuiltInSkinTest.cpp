#include <gtest/gtest.h>

#include "frontend/SkinUnit.h"
#include "platform/qt/SkinLibrary.h"

namespace {

TEST(SkinLibrary, HandsOutItsBitmapsByNumber) {
  const TSkinLibrary library;
  ASSERT_TRUE(library.Loaded());
  const struct {
    int Id;
    QSize Size;
  } bitmaps[] = {
      {BitmapBackground, {400, 310}},
      {BitmapSmallButtons, {200, 80}},
      {BitmapWideButtons, {400, 52}},
      {BitmapSlotButtons, {150, 300}},
      {BitmapCommandButtons, {165, 165}},
      {BitmapTitleFont, {155, 18}},
      {BitmapLogo, {216, 144}},
      {100, {0, 0}},
      {108, {0, 0}},
      {-1, {0, 0}},
  };
  for (const auto& bitmap : bitmaps)
    EXPECT_EQ(library.Bitmap(bitmap.Id).size(), bitmap.Size) << bitmap.Id;
}

// Users must see at a glance which button is down, disabled or under the pointer.
void ExpectStatesDiffer(const TSkin& Skin) {
  for (int glyph = 0; glyph < SkinButtonCount; ++glyph) {
    const QImage& strip = Skin.Glyphs[glyph];
    ASSERT_FALSE(strip.isNull()) << glyph;
    const int width = strip.width() / 5;
    for (int a = 0; a < 5; ++a)
      for (int b = a + 1; b < 5; ++b)
        EXPECT_NE(strip.copy(a * width, 0, width, strip.height()),
                  strip.copy(b * width, 0, width, strip.height()))
            << "glyph " << glyph << " states " << a << " and " << b;
  }
}

TEST(BuiltInSkin, EveryButtonHasFiveDifferentStates) {
  ExpectStatesDiffer(ReadSkin({}, {}, [](const QString& Text) { FAIL() << Text.toStdString(); }));
}

TEST(BuiltInSkin, SampleSkinButtonsHaveFiveDifferentStates) {
  ExpectStatesDiffer(ReadSkin("Walnut", {QStringLiteral("Walnut=") + PIXTOR_SAMPLE_SKIN},
                              [](const QString& Text) { FAIL() << Text.toStdString(); }));
}

TEST(BuiltInSkin, TitleFontDrawsEveryCharacterOfItsRows) {
  const TSkin skin = ReadSkin({}, {}, [](const QString&) {});
  ASSERT_TRUE(skin.Font);
  const QImage font = skin.Font->convertToFormat(QImage::Format_RGB32);
  const QRgb paper = font.pixel(4, 5); // the corner that parts the cells
  // Row, number of cells, and the cells that hold a space.
  const struct {
    int Row, Cells;
    std::vector<int> Spaces;
  } rows[] = {{0, 30, {29}}, {1, 31, {10}}, {2, 5, {}}};
  for (const auto& row : rows)
    for (int cell = 0; cell < row.Cells; ++cell) {
      const QImage glyph = font.copy(cell * 5, row.Row * 6, 5, 6);
      bool inked = false;
      for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 5; ++x)
          inked |= glyph.pixel(x, y) != paper;
      const bool space = std::ranges::find(row.Spaces, cell) != row.Spaces.end();
      EXPECT_EQ(inked, !space) << "row " << row.Row << " cell " << cell;
      for (int y = 0; y < 6; ++y)
        EXPECT_EQ(glyph.pixel(4, y), paper) << "row " << row.Row << " cell " << cell;
    }
}

TEST(BuiltInSkin, LogoComesFromTheLibrary) { EXPECT_EQ(ReadLogo().size(), QSize(216, 144)); }

} // namespace
