#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "core/PPUUnit.h"
#include "platform/Display.h"

namespace {

// A console whose pattern area is a buffer of the test's own.
class PPUTest : public ::testing::Test {
protected:
  PPUTest() {
    NES.PatternBank.fill(Patterns.data());
    NES.MMC->MirrorStep = 0x400;
    PPU.OAM.fill(0xF0); // every sprite below the picture unless a test places it
  }

  void Write(uint16_t Addr, uint8_t Value) { PPU.WriteReg(Addr, Value); }
  void SetAddress(uint16_t Addr) {
    Write(0x2006, uint8_t(Addr >> 8));
    Write(0x2006, uint8_t(Addr));
  }
  void Poke(uint16_t Addr, uint8_t Value) {
    SetAddress(Addr);
    Write(0x2007, Value);
  }
  uint8_t* Line(int L) { return PPU.FrameBuffer->ScanLine(L); }
  // Puts each 1 KB of the pattern area in memory of its own, as a mapper with
  // 1 KB banks would; the contents stay those of Patterns.
  void SplitPatternBanks() {
    for (size_t i = 0; i < 8; ++i) {
      Split[i].assign(Patterns.begin() + i * 0x400, Patterns.begin() + (i + 1) * 0x400);
      NES.PatternBank[i] = OffsetBank(Split[i].data(), uint32_t(i * 0x400));
    }
  }
  void ClearFrame(uint8_t Value = 0) {
    for (int l = 0; l < TDIB::Height; ++l) std::fill_n(Line(l), TDIB::Width, Value);
  }
  // Sets pattern row Row of the tile at Addr (both planes).
  void PatternRow(uint32_t Addr, int Row, uint8_t Low, uint8_t High) {
    Patterns[Addr + Row] = Low;
    Patterns[Addr + Row + 8] = High;
  }
  void Sprite(int N, uint8_t Y, uint8_t Tile, uint8_t Attr, uint8_t X) {
    PPU.OAM[4 * N] = Y;
    PPU.OAM[4 * N + 1] = Tile;
    PPU.OAM[4 * N + 2] = Attr;
    PPU.OAM[4 * N + 3] = X;
  }

  std::vector<uint8_t> Patterns = std::vector<uint8_t>(0x2000); // exact size, so overruns show under ASan
  std::array<std::vector<uint8_t>, 8> Split;
  TNES NES;
  TPPU& PPU = *NES.PPU;
};

// ---- Registers and video memory -------------------------------------------

struct MirrorCase {
  int32_t MirrorStep;
  uint16_t Addr;
  uint16_t Copy;
};

TEST_F(PPUTest, NameTableWritesAreMirroredByTheCartridgeStep) {
  for (MirrorCase c : {MirrorCase{0x400, 0x2108, 0x2508}, MirrorCase{0x800, 0x2108, 0x2908},
                       MirrorCase{0x400, 0x2FFF, 0x2BFF}, MirrorCase{0x800, 0x2C00, 0x2400}}) {
    PPU.VRAM.fill(0);
    NES.MMC->MirrorStep = c.MirrorStep;
    Poke(c.Addr, 0x41);
    EXPECT_EQ(PPU.VRAM[c.Addr], 0x41) << std::hex << c.Addr;
    EXPECT_EQ(PPU.VRAM[c.Copy], 0x41) << std::hex << c.Addr;
    EXPECT_EQ(std::count(PPU.VRAM.begin(), PPU.VRAM.end(), 0x41), 2);
    EXPECT_EQ(PPU.VRAMAddr, c.Addr + 1u);
  }
}

TEST_F(PPUTest, AddressIsTheLastTwoBytesCutTo14Bits) {
  for (uint8_t b : {0x12, 0x34, 0x56}) Write(0x2006, b);
  Write(0x2007, 0x99);
  EXPECT_EQ(PPU.VRAM[0x3456], 0x99);
  SetAddress(0xFFFF); // $3FFF, then the step leaves $4000, cut again at the next use
  Write(0x2007, 1);
  Write(0x2007, 2);
  EXPECT_EQ(PPU.VRAM[0x3FFF], 1);
  EXPECT_EQ(PPU.VRAM[0x0000], 2);
}

TEST_F(PPUTest, DataReadsSkipTheFirstAndStepBy1Or32) {
  Patterns[0x0123] = 0xAB;
  PPU.VRAM[0x0123] = 0xCD; // patterns come through the pattern table, not VRAM
  SetAddress(0x0123);
  EXPECT_EQ(PPU.ReadReg(0x2007), 0xFF);
  EXPECT_EQ(PPU.VRAMAddr, 0x0123u);
  EXPECT_EQ(PPU.ReadReg(0x2007), 0xAB);
  EXPECT_EQ(PPU.VRAMAddr, 0x0124u);

  PPU.VRAM[0x3F05] = 0x17;
  PPU.VRAM[0x3F25] = 0x18;
  Write(0x2000, 0x04);
  SetAddress(0x3F05);
  PPU.ReadReg(0x2007);
  EXPECT_EQ(PPU.ReadReg(0x2007), 0x17);
  EXPECT_EQ(PPU.ReadReg(0x2007), 0x18);
  EXPECT_EQ(PPU.VRAMAddr, 0x3F45u);
}

TEST_F(PPUTest, PaletteWritesMirrorOnlyFrom3F10) {
  Poke(0x3F10, 0x0F);
  for (uint16_t a = 0x3F00; a < 0x3F20; ++a) EXPECT_EQ(PPU.VRAM[a], (a & 3) ? 0 : 0x0F) << std::hex << a;
  EXPECT_TRUE(PPU.PaletteChanged);

  Poke(0x3F00, 0x21);
  EXPECT_EQ(PPU.VRAM[0x3F00], 0x21);
  EXPECT_EQ(PPU.VRAM[0x3F10], 0x0F);

  PPU.PaletteChanged = false;
  Poke(0x3F20, 0x22);
  EXPECT_EQ(PPU.VRAM[0x3F20], 0x22);
  EXPECT_FALSE(PPU.PaletteChanged);
}

TEST_F(PPUTest, ScrollWritesAlternateAndRejectYBelowTheTable) {
  Write(0x2005, 0x0B);
  Write(0x2005, 0xF0);
  EXPECT_EQ(PPU.ScrollX, 0x0B);
  EXPECT_EQ(PPU.ScrollY, 0);
  EXPECT_FALSE(PPU.ScrollLatch);
  Write(0x2005, 0xFF);
  Write(0x2005, 239);
  EXPECT_EQ(PPU.ScrollX, 0xFF);
  EXPECT_EQ(PPU.ScrollY, 239);
}

TEST_F(PPUTest, StatusReadClearsVBlankAndSprite0OnlyOnce) {
  Write(0x2002, 0xD5);
  Write(0x2005, 1); // latch set
  EXPECT_EQ(PPU.ReadReg(0x2002), 0xD5);
  EXPECT_EQ(PPU.ReadReg(0x2002), 0x15);
  EXPECT_TRUE(PPU.ScrollLatch);
}

TEST_F(PPUTest, StatusBit4BlocksDataWrites) {
  Write(0x2002, 0x10);
  SetAddress(0x2000);
  Write(0x2007, 0x55);
  EXPECT_EQ(PPU.VRAM[0x2000], 0);
  EXPECT_EQ(PPU.VRAMAddr, 0x2000u);
  EXPECT_FALSE(PPU.FirstRead);
  Write(0x2002, 0x00);
  Write(0x2007, 0x55);
  EXPECT_EQ(PPU.VRAM[0x2000], 0x55);
}

TEST_F(PPUTest, SpriteMemoryAddressWraps) {
  Write(0x2003, 0xFF);
  Write(0x2004, 0x42);
  Write(0x2004, 0x43);
  EXPECT_EQ(PPU.OAM[255], 0x42);
  EXPECT_EQ(PPU.OAM[0], 0x43);
  EXPECT_EQ(PPU.Reg[3], 1);
}

TEST_F(PPUTest, SpriteDMAPages) {
  for (int i = 0; i < 256; ++i) NES.RAM[0x200 + i] = uint8_t(i ^ 0x3C);
  std::vector<uint8_t> rom(0x2000);
  for (int i = 0; i < 256; ++i) rom[i] = uint8_t(255 - i);
  NES.Bank[6] = OffsetBank(rom.data(), 0xC000);

  for (uint8_t page : {0x02, 0x0A, 0x62}) {
    PPU.OAM.fill(0);
    Write(0x2003, 0x80);
    Write(0x4014, page);
    EXPECT_TRUE(std::equal(PPU.OAM.begin(), PPU.OAM.end(), NES.RAM.begin() + 0x200)) << int(page);
    EXPECT_EQ(PPU.Reg[3], 0x80);
  }
  Write(0x4014, 0xC0);
  EXPECT_TRUE(std::equal(PPU.OAM.begin(), PPU.OAM.end(), rom.begin()));
}

TEST_F(PPUTest, UnusedAddressesChangeNothing) {
  Write(0x2000, 0x84);
  SetAddress(0x2345);
  Write(0x2005, 7);
  const std::vector<uint8_t> vram(PPU.VRAM.begin(), PPU.VRAM.end());
  const auto reg = PPU.Reg;
  for (uint16_t a : {0x2008, 0x2009, 0x3FFF, 0x3000}) Write(a, 0xFF);
  for (uint16_t a : {0x2000, 0x2001, 0x2003, 0x2004, 0x2005, 0x2006, 0x2008, 0x200A, 0x3FFF})
    EXPECT_EQ(PPU.ReadReg(a), 0) << std::hex << a;
  EXPECT_TRUE(std::equal(vram.begin(), vram.end(), PPU.VRAM.begin()));
  EXPECT_EQ(PPU.Reg, reg);
  EXPECT_EQ(PPU.VRAMAddr, 0x2345u);
  EXPECT_TRUE(PPU.FirstRead);
  EXPECT_TRUE(PPU.ScrollLatch);
  EXPECT_EQ(PPU.ScrollX, 7);
}

TEST_F(PPUTest, ResetClearsRegistersAndKeepsMemoryAndScroll) {
  Poke(0x3F01, 0x30);
  Write(0x2005, 9);
  Write(0x2000, 0xFF);
  PPU.Sprite0Line = 50;
  PPU.Reset();
  EXPECT_EQ(PPU.Reg, (std::array<uint8_t, 8>{}));
  EXPECT_EQ(PPU.VRAMAddr, 0u);
  EXPECT_FALSE(PPU.FirstRead);
  EXPECT_FALSE(PPU.ScrollLatch);
  EXPECT_EQ(PPU.VRAM[0x3F01], 0x30);
  EXPECT_TRUE(PPU.PaletteChanged);
  EXPECT_EQ(PPU.ScrollX, 9);
  EXPECT_EQ(PPU.Sprite0Line, 50);
}

// ---- Background -------------------------------------------------------------

// A background pixel worked out on its own, in plane coordinates.
uint8_t ReferenceBG(const TPPU& P, const std::vector<uint8_t>& Patterns, int Line, int Column) {
  if (!(P.Reg[1] & 0x08)) return 0;
  int px = Column + P.ScrollX, py = Line + P.ScrollY;
  int table = 0x2000 + 0x400 * (P.Reg[0] & 3);
  int tx = px / 8, ty = py / 8;
  if (tx >= 32) tx -= 32, table ^= 0x400;
  if (ty >= 30) ty -= 30, table ^= 0x800;
  int tile = P.VRAM[table + ty * 32 + tx];
  int attr = P.VRAM[table + 0x3C0 + (ty / 4) * 8 + tx / 4];
  int palette = (attr >> ((ty & 2) * 2 + (tx & 2))) & 3;
  int addr = ((P.Reg[0] & 0x10) ? 0x1000 : 0) + tile * 16 + py % 8;
  int bit = 7 - px % 8;
  return uint8_t(4 * palette + ((Patterns[addr] >> bit) & 1) + 2 * ((Patterns[addr + 8] >> bit) & 1));
}

TEST_F(PPUTest, BackgroundOffIsAllZeros) {
  ClearFrame(0x1F);
  Write(0x2001, 0x10);
  PPU.DrawBGLine(17);
  EXPECT_TRUE(std::all_of(Line(17), Line(17) + 256, [](uint8_t b) { return b == 0; }));
  EXPECT_EQ(Line(16)[0], 0x1F);
}

TEST_F(PPUTest, FineScrollCutsTheFirstAndLastTile) {
  Write(0x2001, 0x08);
  PPU.ScrollX = 0x0B;
  PPU.VRAM[0x2000 + 0] = 2; // scrolled out
  PPU.VRAM[0x2000 + 1] = 1;
  PPU.VRAM[0x2400 + 1] = 2; // the 33rd tile: column 33 is column 1 of the table to the right
  PatternRow(0x10, 0, 0x1F, 0x00); // tile 1: pixels 3-7 colour 1
  PatternRow(0x20, 0, 0xE0, 0xE0); // tile 2: pixels 0-2 colour 3
  PPU.DrawBGLine(0);
  std::array<uint8_t, 256> expected{};
  std::fill_n(expected.begin(), 5, 1);
  std::fill_n(expected.begin() + 253, 3, 3);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), Line(0)));
}

TEST_F(PPUTest, VerticalScrollPassesIntoTheTableBelow) {
  Write(0x2001, 0x08);
  PPU.ScrollY = 200; // line 100: y 300, tile row 37 = row 7 of $2800, pixel row 4
  PPU.VRAM[0x2800 + 7 * 32] = 3;
  PPU.VRAM[0x2BC8] = 0x20; // row 7 uses bits 4-5: palette 2 for columns 0-1
  PatternRow(0x30, 4, 0xFF, 0x00);
  PPU.DrawBGLine(100);
  for (int x = 0; x < 256; ++x) EXPECT_EQ(Line(100)[x], x < 8 ? 9 : x < 16 ? 8 : 0) << x;
}

TEST_F(PPUTest, NameTable3ContinuesInto2800) {
  Write(0x2001, 0x08);
  Write(0x2000, 0x13); // table $2C00, patterns at $1000
  PPU.ScrollX = 31 * 8;
  PPU.VRAM[0x2C00 + 31] = 1;
  PPU.VRAM[0x2800] = 2;
  PatternRow(0x1010, 0, 0xFF, 0x00);
  PatternRow(0x1020, 0, 0x00, 0xFF);
  PPU.DrawBGLine(0);
  for (int x = 0; x < 24; ++x) EXPECT_EQ(Line(0)[x], x < 8 ? 1 : x < 16 ? 2 : 0) << x;
}

TEST_F(PPUTest, BackgroundMatchesPixelModelAtEveryScroll) {
  std::mt19937 rng(1234);
  for (auto& b : Patterns) b = uint8_t(rng());
  for (uint32_t a = 0x2000; a < 0x3000; ++a) PPU.VRAM[a] = uint8_t(rng());
  for (int round = 0; round < 40; ++round) {
    if (round == 20) SplitPatternBanks();
    Write(0x2000, uint8_t(rng()));
    Write(0x2001, 0x08);
    PPU.ScrollX = int32_t(rng() % 256);
    PPU.ScrollY = int32_t(rng() % 240);
    for (int l = 0; l < 240; ++l) PPU.DrawBGLine(l);
    for (int l = 0; l < 240; ++l)
      for (int x = 0; x < 256; ++x)
        ASSERT_EQ(Line(l)[x], ReferenceBG(PPU, Patterns, l, x))
            << "line " << l << " column " << x << " scroll " << PPU.ScrollX << "," << PPU.ScrollY;
  }
}

// ---- Sprites ----------------------------------------------------------------

// All sprites drawn pixel by pixel, the last entry first.
void ReferenceSprites(const TPPU& P, const std::vector<uint8_t>& Patterns, int First,
                      std::vector<uint8_t>& Frame) {
  const bool tall = P.Reg[0] & 0x20;
  const int h = tall ? 16 : 8;
  for (int n = 63; n >= 0; --n) {
    int y = P.OAM[4 * n], tile = P.OAM[4 * n + 1], attr = P.OAM[4 * n + 2], x = P.OAM[4 * n + 3];
    if (y >= 240) continue;
    for (int r = 0; r < h; ++r) {
      int line = y + r;
      if (line < First || line > 239) continue;
      int pr = (attr & 0x80) ? h - 1 - r : r;
      int addr = tall ? (tile & 1) * 0x1000 + (tile & 0xFE) * 16 + (pr & 7) + (pr & 8) * 2
                      : tile * 16 + ((P.Reg[0] & 0x08) ? 0x1000 : 0) + pr;
      for (int k = 0; k < 8; ++k) {
        int c = ((Patterns[addr] >> (7 - k)) & 1) + 2 * ((Patterns[addr + 8] >> (7 - k)) & 1);
        int col = (attr & 0x40) ? x + 7 - k : x + k;
        if (c == 0 || col > 255) continue;
        uint8_t& dst = Frame[line * 256 + col];
        if (!(attr & 0x20) || !(dst & 3)) dst = uint8_t(16 + 4 * (attr & 3) + c);
      }
    }
  }
}

std::vector<uint8_t> FrameCopy(const TPPU& P) {
  const uint8_t* start = P.FrameBuffer->ScanLine(0);
  return {start, start + 256 * 240};
}

TEST_F(PPUTest, SpriteRowsFromLine8OnAndVerticalFlip) {
  for (int r = 0; r < 8; ++r) PatternRow(0x10, r, uint8_t(0x80 >> r), 0); // row r: pixel r
  for (uint8_t attr : {0x00, 0x80}) {
    ClearFrame();
    Sprite(0, 4, 1, attr, 100);
    Sprite(1, 0, 1, attr, 20); // wholly above line 8
    PPU.DrawSprites(8);
    std::vector<uint8_t> frame = FrameCopy(PPU);
    EXPECT_EQ(std::count(frame.begin(), frame.end(), 17), 4);
    for (int l = 8; l < 12; ++l) {
      int row = attr ? 11 - l : l - 4;
      EXPECT_EQ(Line(l)[100 + row], 17) << "line " << l << " attr " << int(attr);
    }
  }
}

TEST_F(PPUTest, TallSpriteTakesTheTilePairFromBit0) {
  Write(0x2000, 0x28); // 8x16; the 8x8 table bit has no say
  PatternRow(0x1240, 0, 0x80, 0);
  PatternRow(0x1250, 7, 0x01, 0);
  for (uint8_t attr : {0x00, 0x80}) {
    ClearFrame();
    Sprite(0, 20, 0x25, attr, 10);
    PPU.DrawSprites(8);
    EXPECT_EQ(Line(attr ? 35 : 20)[10], 17) << int(attr);
    EXPECT_EQ(Line(attr ? 20 : 35)[17], 17) << int(attr);
    std::vector<uint8_t> frame = FrameCopy(PPU);
    EXPECT_EQ(std::count(frame.begin(), frame.end(), 17), 2);
  }
}

TEST_F(PPUTest, SpritesAreCutAtColumn255AndLine239) {
  PatternRow(0x10, 0, 0xAA, 0xCC); // colours 3 2 1 0 3 2 1 0
  struct Case {
    uint8_t Attr;
    std::array<uint8_t, 4> Right; // columns 252-255
  };
  for (Case c : {Case{0x00, {19, 18, 17, 0}}, Case{0x40, {0, 17, 18, 19}}}) {
    ClearFrame();
    Sprite(0, 50, 1, c.Attr, 252);
    PPU.DrawSprites(8);
    EXPECT_TRUE(std::equal(c.Right.begin(), c.Right.end(), Line(50) + 252)) << int(c.Attr);
    EXPECT_EQ(std::count(Line(51), Line(51) + 256, 0), 256); // nothing spills onto the next line
  }

  Write(0x2000, 0x20);
  for (int r = 0; r < 8; ++r) PatternRow(0x1FE0, r, 0xFF, 0xFF), PatternRow(0x1FF0, r, 0xFF, 0xFF);
  ClearFrame();
  Sprite(0, 239, 0xFF, 0x83, 255);
  Sprite(1, 240, 0xFF, 0x00, 0); // below the picture: never drawn
  PPU.DrawSprites(8);
  std::vector<uint8_t> frame = FrameCopy(PPU);
  EXPECT_EQ(frame[239 * 256 + 255], 31);
  EXPECT_EQ(std::count(frame.begin(), frame.end(), 0), 256 * 240 - 1);
}

TEST_F(PPUTest, PriorityAndBehindBackground) {
  PatternRow(0x10, 0, 0xFF, 0x00);
  PatternRow(0x20, 0, 0x00, 0xFF);
  struct Case {
    uint8_t Background, Attr3, Attr5, Expected;
  };
  for (Case c : {Case{0, 0x00, 0x01, 17},  // both in front: the lower entry wins
                 Case{8, 0x20, 0x01, 22},  // 3 behind, 5 in front over colour 0: 5 shows
                 Case{8, 0x20, 0x21, 22},  // both behind: 3 cannot cover 5's pixel
                 Case{9, 0x20, 0x21, 9},   // behind, over an opaque background
                 Case{9, 0x00, 0x21, 17}}) {
    ClearFrame(c.Background);
    Sprite(3, 30, 1, c.Attr3, 40);
    Sprite(5, 30, 2, c.Attr5, 40);
    PPU.DrawSprites(8);
    EXPECT_EQ(Line(30)[43], c.Expected) << int(c.Background) << " " << int(c.Attr3) << " " << int(c.Attr5);
  }
}

TEST_F(PPUTest, SpritesMatchPixelModel) {
  std::mt19937 rng(99);
  for (auto& b : Patterns) b = uint8_t(rng() & rng()); // sparse, so that priorities matter
  for (int round = 0; round < 60; ++round) {
    if (round == 30) SplitPatternBanks();
    Write(0x2000, uint8_t(rng()));
    for (auto& b : PPU.OAM) b = uint8_t(rng());
    for (int n = 0; n < 64; n += 3) PPU.OAM[4 * n] = uint8_t(rng() % 8 + (n & 1 ? 224 : 0)); // edges
    for (int l = 0; l < 240; ++l)
      for (int x = 0; x < 256; ++x) Line(l)[x] = uint8_t(rng() % 32);
    const int first = round % 3 == 0 ? int(rng() % 40) - 20 : 8;
    std::vector<uint8_t> expected = FrameCopy(PPU);
    ReferenceSprites(PPU, Patterns, first, expected);
    PPU.DrawSprites(first);
    ASSERT_EQ(FrameCopy(PPU), expected) << "round " << round;
  }
}

struct Sprite0Case {
  uint8_t Ctrl;
  uint8_t Tile;
  uint16_t OpaqueAt; // pattern byte made non-zero, or 0xFFFF for none
  int32_t Expected;
};

TEST_F(PPUTest, Sprite0LineIsOnePastTheLastOpaqueRow) {
  for (Sprite0Case c : {Sprite0Case{0x00, 1, 0x0015, 106},    // row 5 of tile 1, low plane
                        Sprite0Case{0x00, 1, 0xFFFF, 100},    // wholly transparent
                        Sprite0Case{0x08, 1, 0x101F, 108},    // 8x8 table $1000, high plane row 7
                        Sprite0Case{0x20, 0x25, 0x1254, 113}, // 8x16, bottom tile row 4
                        Sprite0Case{0x20, 0x25, 0x1248, 101}}) { // 8x16, top tile row 0, high plane
    std::fill(Patterns.begin(), Patterns.end(), 0);
    if (c.OpaqueAt != 0xFFFF) Patterns[c.OpaqueAt] = 0x01;
    Write(0x2000, c.Ctrl);
    Sprite(0, 100, c.Tile, 0xC3, 250); // flips and position make no difference
    PPU.FindSprite0Line();
    EXPECT_EQ(PPU.Sprite0Line, c.Expected) << std::hex << c.OpaqueAt;
  }
}

// ---- Palette and output -----------------------------------------------------

class FakeCanvas : public TCanvas {
public:
  void Draw(int X, int Y, const TDIB& Image) override {
    Calls.push_back({X, Y});
    Seen = &Image;
    Entry0 = Image.ColorTable()[0];
  }
  std::vector<std::pair<int, int>> Calls;
  const TDIB* Seen = nullptr;
  TRGB Entry0;
};

class FakeSurface : public TDrawSurface {
public:
  void Assign(const TDIB& Image) override { Entry5 = Image.ColorTable()[5]; }
  TRGB Entry5;
};

TEST_F(PPUTest, PaletteRebuildWrapsBytesAndBlacksOutTheRest) {
  const auto startup = PPU.FrameBuffer->ColorTable();
  PPU.UpdatePalette();
  EXPECT_EQ(PPU.FrameBuffer->ColorTable(), startup); // nothing written yet

  SetAddress(0x3F00);
  for (int i = 0; i < 64; ++i) Write(0x2007, uint8_t(i * 4 + 3)); // 0x03 ... 0xFF, most past 63
  PPU.UpdatePalette();
  EXPECT_FALSE(PPU.PaletteChanged);
  const auto& table = PPU.FrameBuffer->ColorTable();
  for (int i = 0; i < 64; ++i) {
    // $3F10 wrote the first entry of every palette.
    uint8_t byte = (i < 16 && i % 4 == 0) ? uint8_t(16 * 4 + 3) : uint8_t(i * 4 + 3);
    EXPECT_EQ(table[i], NESPalette[byte & 0x3F]) << i;
  }
  for (int i = 64; i < 256; ++i) EXPECT_EQ(table[i], (TRGB{0, 0, 0})) << i;
}

TEST_F(PPUTest, PresentRebuildsColoursOnce) {
  FakeCanvas canvas;
  Poke(0x3F00, 0x30);
  PPU.DrawToCanvas(canvas);
  ASSERT_EQ(canvas.Calls.size(), 1u);
  EXPECT_EQ(canvas.Calls[0], std::make_pair(0, 0));
  EXPECT_EQ(canvas.Seen, PPU.FrameBuffer.get());
  EXPECT_EQ(canvas.Entry0, (TRGB{255, 255, 255}));

  FakeSurface surface;
  Poke(0x3F05, 0x0F);
  PPU.DrawToSurface(surface);
  EXPECT_EQ(surface.Entry5, (TRGB{0, 0, 0}));
  EXPECT_FALSE(PPU.PaletteChanged);
}

TEST_F(PPUTest, SnapshotKeepsTheColoursOfTheLastPresent) {
  auto path = std::filesystem::temp_directory_path() / "pixtor_ppu_snapshot.bmp";
  Poke(0x3F00, 0x30);
  PPU.UpdatePalette();
  Poke(0x3F00, 0x0F);
  PPU.SaveToFile(path.string());
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::filesystem::remove(path);
  ASSERT_EQ(file.size(), 1078u + 256 * 240);
  EXPECT_EQ(file[54], 255); // entry 0 still white
  EXPECT_TRUE(PPU.PaletteChanged);
}

// ---- Through a cartridge ----------------------------------------------------

TEST(PPUCartridge, PatternsWrittenToVRAMShowWithoutCharacterROM) {
  auto path = std::filesystem::temp_directory_path() / "pixtor_ppu_nochr.nes";
  {
    std::vector<uint8_t> image(16 + 16384);
    image[0] = 'N', image[1] = 'E', image[2] = 'S', image[3] = 0x1A;
    image[4] = 1; // one program page, no character ROM
    image[6] = 1; // vertical mirroring
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), image.size());
  }
  TNES nes;
  ASSERT_TRUE(nes.MMC->LoadROM(path.string()));
  std::filesystem::remove(path);
  nes.PowerOn();
  TPPU& ppu = *nes.PPU;
  auto write = [&](uint16_t a, uint8_t v) { ppu.WriteReg(a, v); };
  write(0x2006, 0x00), write(0x2006, 0x10), write(0x2007, 0xF0); // tile 1, row 0
  write(0x2006, 0x28), write(0x2006, 0x00), write(0x2007, 0x01); // $2800, copied to $2000
  write(0x2001, 0x08);
  ppu.DrawBGLine(0);
  const uint8_t* line = ppu.FrameBuffer->ScanLine(0);
  EXPECT_EQ(ppu.VRAM[0x2000], 1);
  EXPECT_TRUE(std::equal(line, line + 8, std::array<uint8_t, 8>{1, 1, 1, 1, 0, 0, 0, 0}.begin()));
}

// ---- Anything the program may write -----------------------------------------

// Random registers, DMA, sprite memory and scroll for many frames; run under
// AddressSanitizer it shows any access outside video, sprite or frame memory.
TEST_F(PPUTest, RandomRegisterTrafficStaysInBounds) {
  std::mt19937 rng(20240611);
  std::vector<uint8_t> rom(0x8000);
  for (auto& b : rom) b = uint8_t(rng());
  for (auto& b : Patterns) b = uint8_t(rng());
  for (auto& b : NES.RAM) b = uint8_t(rng());
  for (int w = 4; w < 8; ++w) NES.Bank[w] = OffsetBank(rom.data() + (w - 4) * 0x2000, w * 0x2000);
  SplitPatternBanks();

  auto traffic = [&](int Count) {
    for (int i = 0; i < Count; ++i) {
      uint32_t pick = rng() % 16;
      uint16_t addr = pick < 12 ? uint16_t(0x2000 + pick % 8) : pick < 15 ? uint16_t(0x2000 + rng() % 0x2000) : 0x4014;
      uint8_t value = uint8_t(rng());
      if (rng() % 4 == 0) PPU.ReadReg(addr);
      else PPU.WriteReg(addr, value);
    }
  };
  for (int frame = 0; frame < 300; ++frame) {
    NES.MMC->MirrorStep = (rng() % 2) ? 0x400 : 0x800;
    const auto colors = PPU.FrameBuffer->ColorTable();
    for (int l = 0; l < 240; ++l) {
      traffic(3);
      PPU.DrawBGLine(l);
      if (l == 8) PPU.FindSprite0Line();
      if (l == 238) PPU.DrawSprites(frame % 5 ? 8 : int(rng() % 300) - 20);
    }
    EXPECT_EQ(PPU.FrameBuffer->ColorTable(), colors); // drawing never runs past the pixels
    ASSERT_GE(PPU.ScrollY, 0);
    ASSERT_LE(PPU.ScrollY, 239);
    PPU.UpdatePalette();
  }
}

} // namespace
