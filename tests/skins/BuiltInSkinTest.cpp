#include <gtest/gtest.h>

#include "frontend/SkinUnit.h"
#include "platform/qt/SkinLibrary.h"

namespace {

TEST(SkinLibrary, HandsOutItsBitmapsByNumber) {
  const TSkinLibrary Library;
  ASSERT_TRUE(Library.Loaded());
  const struct {
    int Id;
    QSize Size;
  } Bitmaps[] = {
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
  for (const auto& Bitmap : Bitmaps)
    EXPECT_EQ(Library.Bitmap(Bitmap.Id).size(), Bitmap.Size) << Bitmap.Id;
}

// Users must see at a glance which button is down, disabled or under the pointer.
void ExpectStatesDiffer(const TSkin& Skin) {
  for (int Glyph = 0; Glyph < SkinButtonCount; ++Glyph) {
    const QImage& Strip = Skin.Glyphs[Glyph];
    ASSERT_FALSE(Strip.isNull()) << Glyph;
    const int Width = Strip.width() / 5;
    for (int A = 0; A < 5; ++A)
      for (int B = A + 1; B < 5; ++B)
        EXPECT_NE(Strip.copy(A * Width, 0, Width, Strip.height()),
                  Strip.copy(B * Width, 0, Width, Strip.height()))
            << "glyph " << Glyph << " states " << A << " and " << B;
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
  const TSkin Skin = ReadSkin({}, {}, [](const QString&) {});
  ASSERT_TRUE(Skin.Font);
  const QImage Font = Skin.Font->convertToFormat(QImage::Format_RGB32);
  const QRgb Paper = Font.pixel(4, 5); // the corner that parts the cells
  // Row, number of cells, and the cells that hold a space.
  const struct {
    int Row, Cells;
    std::vector<int> Spaces;
  } Rows[] = {{0, 30, {29}}, {1, 31, {10}}, {2, 5, {}}};
  for (const auto& Row : Rows)
    for (int Cell = 0; Cell < Row.Cells; ++Cell) {
      const QImage Glyph = Font.copy(Cell * 5, Row.Row * 6, 5, 6);
      bool Inked = false;
      for (int Y = 0; Y < 6; ++Y)
        for (int X = 0; X < 5; ++X)
          Inked |= Glyph.pixel(X, Y) != Paper;
      const bool Space = std::ranges::find(Row.Spaces, Cell) != Row.Spaces.end();
      EXPECT_EQ(Inked, !Space) << "row " << Row.Row << " cell " << Cell;
      for (int Y = 0; Y < 6; ++Y)
        EXPECT_EQ(Glyph.pixel(4, Y), Paper) << "row " << Row.Row << " cell " << Cell;
    }
}

TEST(BuiltInSkin, LogoComesFromTheLibrary) { EXPECT_EQ(ReadLogo().size(), QSize(216, 144)); }

} // namespace
