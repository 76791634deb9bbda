#include "platform/StartupPicture.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "platform/DIB.h"

namespace {

// Colour table: entries 0-239 shade the background, one per line; 240-254 shade
// the letters from top to bottom; 255 is their shadow.
constexpr int FirstLetterColor = 240;
constexpr int LetterShades = 15;
constexpr uint8_t ShadowColor = 255;

// 5 x 7 block glyphs, one byte per row, bit 4 the leftmost column.
using TGlyph = std::array<uint8_t, 7>;
// clang-format off
constexpr std::array<TGlyph, 6> Title = {{
  {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}, // P
  {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x1F}, // I
  {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}, // X
  {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}, // T
  {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, // O
  {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}, // R
}};
// clang-format on

// Each glyph cell is a 5 x 5 block on a 6-pixel grid, so the letters look made of pixels.
constexpr int Cell = 6;
constexpr int Block = 5;
constexpr int GlyphWidth = 5 * Cell;
constexpr int GlyphHeight = 7 * Cell;
constexpr int Spacing = Cell;
constexpr int TitleWidth = int(Title.size()) * (GlyphWidth + Spacing) - Spacing;
constexpr int Left = (TDIB::Width - TitleWidth) / 2;
constexpr int Top = (TDIB::Height - GlyphHeight) / 2;
constexpr int ShadowOffset = 3;

uint8_t Blend(int From, int To, int Step, int Steps) { return uint8_t(From + (To - From) * Step / Steps); }

void FillBlocks(TDIB& Image, int OffsetX, int OffsetY, bool Shadow) {
  for (size_t g = 0; g < Title.size(); ++g) {
    int glyphLeft = Left + int(g) * (GlyphWidth + Spacing) + OffsetX;
    for (int row = 0; row < 7; ++row) {
      for (int col = 0; col < 5; ++col) {
        if (!(Title[g][row] & (0x10 >> col))) continue;
        for (int y = 0; y < Block; ++y) {
          int line = Top + OffsetY + row * Cell + y;
          uint8_t color = Shadow ? ShadowColor
                                 : uint8_t(FirstLetterColor + (row * Cell + y) * LetterShades / GlyphHeight);
          std::memset(Image.ScanLine(line) + glyphLeft + col * Cell, color, Block);
        }
      }
    }
  }
}

} // namespace

void PaintStartupPicture(TDIB& Image) {
  std::array<TRGB, TDIB::ColorCount> colors{};
  for (int i = 0; i < FirstLetterColor; ++i)
    colors[i] = {Blend(12, 36, i, FirstLetterColor), Blend(10, 92, i, FirstLetterColor),
                 Blend(44, 124, i, FirstLetterColor)};
  for (int i = 0; i < LetterShades; ++i)
    colors[FirstLetterColor + i] = {Blend(255, 236, i, LetterShades), Blend(240, 112, i, LetterShades),
                                    Blend(150, 36, i, LetterShades)};
  colors[ShadowColor] = {6, 6, 20};
  Image.SetColors(0, colors);

  for (int line = 0; line < TDIB::Height; ++line) std::memset(Image.ScanLine(line), line, TDIB::Width);
  FillBlocks(Image, ShadowOffset, ShadowOffset, true);
  FillBlocks(Image, 0, 0, false);
}
