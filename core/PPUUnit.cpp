#include "core/PPUUnit.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "platform/Display.h"
#include "platform/StartupPicture.h"

// A row of eight pixels is handled as one 64-bit word, pixel k in byte k.
static_assert(std::endian::native == std::endian::little);

namespace {

// Sprite attribute bits.
constexpr uint8_t AttrPalette = 0x03;
constexpr uint8_t AttrBehind = 0x20;
constexpr uint8_t AttrFlipX = 0x40;
constexpr uint8_t AttrFlipY = 0x80;

constexpr uint32_t AddrMask = 0x3FFF;
constexpr uint32_t NameTables = 0x2000;
constexpr uint32_t NameTablesEnd = 0x3000;
constexpr uint32_t AttributeOffset = 0x3C0;
constexpr uint32_t Palette = 0x3F00;
constexpr uint32_t PaletteEnd = 0x3F20;
constexpr uint32_t SpritePalette = 0x3F10;
constexpr uint32_t TableRows = 30;
constexpr uint32_t TableColumns = 32;
constexpr uint32_t PlaneHeight = 2 * TableRows * 8; // two tables stacked
constexpr uint32_t Lines = TDIB::Height;
constexpr uint32_t Columns = TDIB::Width;
// Tile pairs a background line is drawn from: 32 tiles, and one more at either end.
constexpr uint32_t PairsDrawn = 17;

constexpr uint64_t Ones = 0x0101010101010101;

inline uint64_t Load64(const uint8_t* At) {
  uint64_t value;
  std::memcpy(&value, At, 8);
  return value;
}

inline void Store64(uint8_t* At, uint64_t Value) { std::memcpy(At, &Value, 8); }

// A pattern byte spread over a row word, for the low plane and for the high
// one: bit 7 - k becomes bit 0 (low plane) or bit 1 (high plane) of byte k.
constexpr std::array<std::array<uint64_t, 256>, 2> PlaneBits = [] {
  std::array<std::array<uint64_t, 256>, 2> table{};
  for (uint32_t b = 0; b < 256; ++b)
    for (uint32_t k = 0; k < 8; ++k) table[0][b] |= uint64_t((b >> (7 - k)) & 1) << (8 * k);
  for (uint32_t b = 0; b < 256; ++b) table[1][b] = table[0][b] << 1;
  return table;
}();

// 0xFF in byte k where bit 7 - k of a pattern byte is set: the opaque pixels
// of a row, from the two planes or-ed together.
constexpr std::array<uint64_t, 256> OpaqueBits = [] {
  std::array<uint64_t, 256> table{};
  for (uint32_t b = 0; b < 256; ++b) table[b] = PlaneBits[0][b] * 0xFF;
  return table;
}();

// The eight colours of a pattern row: the low plane gives bit 0, the high plane bit 1.
inline uint64_t RowColors(uint32_t Low, uint32_t High) { return PlaneBits[0][Low] | PlaneBits[1][High]; }

// Colour 4 x p + c: the palette's part, for all eight pixels at once.
constexpr std::array<uint64_t, 4> PaletteBits = {0, 4 * Ones, 8 * Ones, 12 * Ones};

// The palette numbers of the 16 tile pairs of table row Row, pair j in bits
// 2j and 2j + 1, from the table's 64 attribute bytes.
inline uint64_t PairPalettes(const uint8_t* Attributes, uint32_t Row) {
  // Each attribute byte covers 4 x 4 tiles: the upper two pairs in its low nibble.
  uint64_t bytes = Load64(Attributes + (Row >> 2) * 8);
  uint64_t pairs = (bytes >> ((Row & 2) * 2)) & 0x0F0F0F0F0F0F0F0F;
  pairs = (pairs | (pairs >> 4)) & 0x00FF00FF00FF00FF;
  pairs = (pairs | (pairs >> 8)) & 0x0000FFFF0000FFFF;
  return (pairs | (pairs >> 16)) & 0xFFFFFFFF;
}

// 0xFF in every byte whose two low bits are not both 0.
inline uint64_t OpaqueBytes(uint64_t Pixels) { return ((Pixels | (Pixels >> 1)) & Ones) * 0xFF; }

// One sprite row over a frame-buffer line, Line pointing at the column where
// the row's word is stored. A row reaching past column 255 is stored at
// column 248 and shifted left by Shift bits, so its cut-off pixels fall out.
template <bool FlipX, bool Behind>
inline void DrawSpriteRow(uint8_t* Line, uint32_t Low, uint32_t High, uint32_t Shift, uint64_t ColorOffset) {
  uint64_t colors = RowColors(Low, High);
  uint64_t opaque = OpaqueBits[Low | High];
  if constexpr (FlipX) {
    colors = __builtin_bswap64(colors);
    opaque = __builtin_bswap64(opaque);
  }
  colors <<= Shift;
  opaque <<= Shift;
  uint64_t old = Load64(Line);
  // Behind the background a sprite shows only where the pixel there is transparent.
  if constexpr (Behind) opaque &= ~OpaqueBytes(old);
  Store64(Line, (old & ~opaque) | ((colors + ColorOffset) & opaque));
}

// Rows Row to End - 1 of a sprite whose pattern bytes start at Pattern, row r
// on line Y + r. Flip is 0, or the height less one when the sprite is flipped
// vertically: row r then shows pattern row h - 1 - r, which is r xor (h - 1).
template <bool FlipX, bool Behind>
void DrawSprite(TDIB& Frame, const uint8_t* Pattern, uint32_t Flip, int32_t Y, int32_t Row, int32_t End,
                uint32_t X, uint64_t ColorOffset) {
  const uint32_t at = std::min(X, Columns - 8);
  const uint32_t shift = (X - at) * 8;
  for (; Row < End; ++Row) {
    // Pattern rows 8-15 are the second tile's, 16 bytes on, past the first tile's high plane.
    const uint32_t r = uint32_t(Row) ^ Flip;
    const uint8_t* low = Pattern + r + (r & 8);
    DrawSpriteRow<FlipX, Behind>(Frame.ScanLine(Y + Row) + at, low[0], low[8], shift, ColorOffset);
  }
}

} // namespace

TPPU::TPPU(TNES* Owner) : NES(Owner), FrameBuffer(std::make_unique<TDIB>()) { PaintStartupPicture(*FrameBuffer); }

TPPU::~TPPU() = default;

void TPPU::Reset() {
  VRAMAddr = 0;
  FirstRead = false;
  ScrollLatch = false;
  Reg.fill(0);
}

uint8_t TPPU::PatternByte(uint32_t Addr) const { return NES->PatternBank[Addr >> 10][Addr]; }

uint8_t TPPU::ReadReg(uint16_t Addr) {
  switch (Addr) {
  case 0x2002: {
    uint8_t status = Reg[2];
    Reg[2] &= ~(StatusVBlank | StatusSprite0);
    return status;
  }
  case 0x2007: return ReadData();
  default: return 0; // nothing else can be read, and reading it changes nothing
  }
}

void TPPU::WriteReg(uint16_t Addr, uint8_t Value) {
  switch (Addr) {
  case 0x2000:
  case 0x2001:
  case 0x2002:
  case 0x2003: Reg[Addr & 3] = Value; break;
  case 0x2004:
    OAM[Reg[3]] = Value;
    ++Reg[3];
    break;
  case 0x2005:
    if (!ScrollLatch) {
      ScrollX = Value;
    } else if (Value < Lines) {
      ScrollY = Value; // 240-255 would point below the table: ignored
    }
    ScrollLatch = !ScrollLatch;
    break;
  case 0x2006:
    VRAMAddr = (VRAMAddr << 8) | Value;
    FirstRead = true;
    break;
  case 0x2007: WriteData(Value); break;
  case 0x4014: SpriteDMA(Value); break;
  default: break; // the registers are not repeated through $3FFF
  }
}

void TPPU::StepAddress() { VRAMAddr += (Reg[0] & CtrlStep32) ? 32 : 1; }

// Mirroring happens as bytes are written, so that reads need none.
void TPPU::WriteData(uint8_t Value) {
  if (!(Reg[2] & StatusNoVRAMWrite)) {
    VRAMAddr &= AddrMask;
    VRAM[VRAMAddr] = Value;
    if (VRAMAddr >= NameTables && VRAMAddr < NameTablesEnd) {
      // Only the table bits of the step count, so the copy stays among the four tables.
      VRAM[VRAMAddr ^ (uint32_t(NES->MMC->MirrorStep) & 0xC00)] = Value;
    } else if (VRAMAddr >= Palette && VRAMAddr < PaletteEnd) {
      // $3F10 sets the first entry of all eight palettes; no other entry is mirrored.
      if (VRAMAddr == SpritePalette)
        for (uint32_t entry = Palette; entry < PaletteEnd; entry += 4) VRAM[entry] = Value;
      PaletteChanged = true;
    }
    StepAddress();
  }
  FirstRead = false;
}

// The first read after an address write gives 0xFF and moves nothing.
uint8_t TPPU::ReadData() {
  if (FirstRead) {
    FirstRead = false;
    return 0xFF;
  }
  VRAMAddr &= AddrMask;
  uint8_t value = VRAMAddr < NameTables ? PatternByte(VRAMAddr) : VRAM[VRAMAddr];
  StepAddress();
  return value;
}

// Pages below $80 come from work RAM (page and 7, also for $20-$7F, which are
// not RAM on the bus); the others from whatever is mapped there.
void TPPU::SpriteDMA(uint8_t Page) {
  const uint8_t* source =
      Page < 0x80 ? NES->RAM.data() + (Page & 7) * 256 : NES->Bank[Page >> 5] + (uint32_t(Page) << 8);
  std::memcpy(OAM.data(), source, OAM.size());
}

// Lines outside the picture draw nothing.
void TPPU::DrawBGLine(int32_t Line) {
  if (uint32_t(Line) >= Lines) return;
  uint8_t* out = FrameBuffer->ScanLine(Line);
  if (!(Reg[1] & MaskBackground)) {
    std::memset(out, 0, Columns);
    return;
  }

  // The picture scrolls over four tables, two across and two down (the plane
  // is 512 x 480); tile rows from 30 on are in the table below (base xor 0x800).
  const uint32_t y = (uint32_t(Line) + uint32_t(ScrollY)) % PlaneHeight;
  const uint32_t scrollX = uint32_t(ScrollX) & 0xFF;
  const uint32_t patternBase = ((Reg[0] & CtrlBGTable) ? 0x1000 : 0) + (y & 7);
  uint32_t row = y >> 3;
  uint32_t table = NameTables + 0x400 * (Reg[0] & CtrlNameTable);
  if (row >= TableRows) {
    row -= TableRows;
    table ^= 0x800;
  }
  const uint32_t right = table ^ 0x400; // the table to the right
  const uint64_t palettes = PairPalettes(&VRAM[table + AttributeOffset], row) |
                            (PairPalettes(&VRAM[right + AttributeOffset], row) << 32);
  // The row's 64 tiles: columns 0-31 of the base table, then 32-63 of the one to the right.
  alignas(16) std::array<uint8_t, 2 * TableColumns> names;
  std::memcpy(&names[0], &VRAM[table + row * TableColumns], TableColumns);
  std::memcpy(&names[TableColumns], &VRAM[right + row * TableColumns], TableColumns);

  // 17 pairs of tiles from the pair holding the first column on (the two
  // tiles of a pair share a palette); tile k lies at pixel 8k - offset. The
  // first tile that shows is stored cut at the left, the others whole and
  // each just after the one before; when the last one is cut at the right,
  // the line's last word is made from it and the one before.
  const uint32_t first = (scrollX >> 3) & ~1u;
  const uint32_t offset = scrollX & 15;
  const uint32_t fine = 8 * (scrollX & 7); // bits cut from the first tile that shows
  const bool skipFirst = offset >= 8;      // tile 0 lies wholly left of the line
  auto drawTiles = [&](auto ColorsOf) {
    uint64_t pairs = palettes >> first;
    const uint8_t* name = &names[first];
    auto tile = [&](uint32_t Column, uint64_t Palette) {
      return ColorsOf(size_t(name[Column]) * 16) | Palette;
    };
    auto store = [&](uint32_t Column, uint64_t Pixels) { Store64(out + (8 * Column - offset), Pixels); };

    uint64_t palette = PaletteBits[pairs & 3];
    uint64_t left = tile(0, palette);
    uint64_t right = tile(1, palette);
    if (skipFirst) {
      Store64(out, right >> fine);
    } else {
      Store64(out, left >> fine);
      store(1, right);
    }
    for (uint32_t column = 2; column < 2 * PairsDrawn - 2; column += 2) {
      pairs >>= 2;
      palette = PaletteBits[pairs & 3];
      store(column, tile(column, palette));
      right = tile(column + 1, palette);
      store(column + 1, right);
    }
    palette = PaletteBits[(pairs >> 2) & 3];
    left = right;
    right = tile(2 * PairsDrawn - 2, palette);
    if (skipFirst) {
      store(2 * PairsDrawn - 2, right);
      left = right;
      right = tile(2 * PairsDrawn - 1, palette);
    }
    if (fine) Store64(out + Columns - 8, (left >> fine) | (right << (64 - fine)));
  };

  // When one piece of memory lies behind the whole 4 KB half (always so with
  // 8 KB banks), its four entries are equal and one of them serves every tile.
  const uint8_t* const* banks = NES->PatternBank.data();
  const uint8_t* const* half = banks + (patternBase >> 10);
  if (half[0] == half[1] && half[0] == half[2] && half[0] == half[3])
    drawTiles([rows = half[0] + patternBase](size_t Tile) { return RowColors(rows[Tile], rows[Tile + 8]); });
  else
    drawTiles([banks, patternBase](size_t Tile) {
      const size_t addr = Tile + patternBase;
      const uint8_t* low = banks[addr >> 10] + addr;
      return RowColors(low[0], low[8]);
    });
}

// All 64 sprites over the finished background, the last entry first, so that
// sprite 0 covers all others. Nothing is drawn above FirstLine or below line 239.
void TPPU::DrawSprites(int32_t FirstLine) {
  const bool tall = Reg[0] & CtrlTallSprites;
  const int32_t height = tall ? 16 : 8;
  const uint32_t smallBase = (Reg[0] & CtrlSpriteTable) ? 0x1000 : 0;

  for (int32_t n = 63; n >= 0; --n) {
    const int32_t y = OAM[4 * n];
    const uint32_t tile = OAM[4 * n + 1];
    const uint8_t attr = OAM[4 * n + 2];
    const uint32_t x = OAM[4 * n + 3];
    const int64_t above = int64_t(FirstLine) - y; // rows above the first line drawn
    if (y >= int32_t(Lines) || above > height) continue;

    // 8x16: the top half is the even tile of the pair, the table chosen by bit 0.
    const uint32_t addr = tall ? (tile & 1) * 0x1000 + (tile >> 1) * 32 : tile * 16 + smallBase;
    // A sprite's 16 or 32 pattern bytes never cross a 1 KB bank.
    const uint8_t* pattern = NES->PatternBank[addr >> 10] + addr;
    const uint32_t flip = (attr & AttrFlipY) ? height - 1 : 0;
    const int32_t first = int32_t(std::max<int64_t>(above, 0));
    const int32_t end = std::min(height, int32_t(Lines) - y);
    const uint64_t offset = (16 + 4 * uint64_t(attr & AttrPalette)) * Ones;
    switch (attr & (AttrFlipX | AttrBehind)) {
    case 0: DrawSprite<false, false>(*FrameBuffer, pattern, flip, y, first, end, x, offset); break;
    case AttrBehind: DrawSprite<false, true>(*FrameBuffer, pattern, flip, y, first, end, x, offset); break;
    case AttrFlipX: DrawSprite<true, false>(*FrameBuffer, pattern, flip, y, first, end, x, offset); break;
    default: DrawSprite<true, true>(*FrameBuffer, pattern, flip, y, first, end, x, offset); break;
    }
  }
}

// One past the last row of sprite 0 with an opaque pixel, or its Y when it has none.
void TPPU::FindSprite0Line() {
  const uint32_t y = OAM[0];
  const uint32_t tile = OAM[1];
  uint32_t addr;
  uint32_t height;
  if (Reg[0] & CtrlTallSprites) {
    addr = (tile & 1) * 0x1000 + (tile >> 1) * 32;
    height = 16;
  } else {
    addr = tile * 16 + ((Reg[0] & CtrlSpriteTable) ? 0x1000 : 0);
    height = 8;
  }
  Sprite0Line = int32_t(y);
  for (uint32_t row = 0; row < height; ++row, ++addr) {
    if (row == 8) addr += 8;
    if (PatternByte(addr) | PatternByte(addr + 8)) Sprite0Line = int32_t(y + row + 1);
  }
}

// Entries 0-63 follow palette RAM; bytes of 64 and above wrap onto the 64
// colours. Entries 64-255 are set black, so snapshots carry nothing stale.
void TPPU::UpdatePalette() {
  if (!PaletteChanged) return;
  std::array<TRGB, TDIB::ColorCount> colors{};
  for (uint32_t i = 0; i < NESPalette.size(); ++i) colors[i] = NESPalette[VRAM[Palette + i] & 0x3F];
  FrameBuffer->SetColors(0, colors);
  PaletteChanged = false;
}

void TPPU::DrawToSurface(TDrawSurface& Surface) {
  UpdatePalette();
  Surface.Assign(*FrameBuffer);
}

void TPPU::DrawToCanvas(TCanvas& Canvas) {
  UpdatePalette();
  Canvas.Draw(0, 0, *FrameBuffer);
}

void TPPU::SaveToFile(const std::string& FileName) const { FrameBuffer->SaveToFile(FileName); }
