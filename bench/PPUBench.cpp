#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "core/PPUUnit.h"

namespace {

// A console with random patterns, name tables and sprites, scrolled off the
// tile grid so that every line cuts its first and last tile.
struct TBusyPicture {
  TBusyPicture() {
    std::mt19937 rng(7);
    for (auto& b : Patterns) b = uint8_t(rng());
    NES.PatternBank.fill(Patterns.data());
    NES.MMC->MirrorStep = 0x800;
    TPPU& ppu = *NES.PPU;
    for (uint32_t a = 0x2000; a < 0x3000; ++a) ppu.VRAM[a] = uint8_t(rng());
    for (auto& b : ppu.OAM) b = uint8_t(rng());
    for (int n = 0; n < 64; ++n) ppu.OAM[4 * n] = uint8_t(8 + rng() % 216); // all on screen, from line 8 on
    ppu.WriteReg(0x2000, 0x31); // 8x16 sprites, background patterns at $1000, table $2400
    ppu.WriteReg(0x2001, 0x18);
    ppu.WriteReg(0x2005, 0x0B);
    ppu.WriteReg(0x2005, 37);
  }
  std::vector<uint8_t> Patterns = std::vector<uint8_t>(0x2000);
  TNES NES;
};

void BmDrawBgLine240(benchmark::State& State) {
  TBusyPicture picture;
  TPPU& ppu = *picture.NES.PPU;
  for (auto _ : State) {
    for (int line = 0; line < 240; ++line) ppu.DrawBGLine(line);
    benchmark::DoNotOptimize(ppu.FrameBuffer->ScanLine(0));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BmDrawBgLine240);

// Argument: sprite height, 8 or 16. Every sprite is wholly on screen, so each
// call draws 64 x height rows with random flips and priorities.
void BmDrawSprites64(benchmark::State& State) {
  TBusyPicture picture;
  TPPU& ppu = *picture.NES.PPU;
  const int height = int(State.range(0));
  ppu.WriteReg(0x2000, height == 16 ? 0x31 : 0x11);
  for (auto _ : State) {
    ppu.DrawSprites(8);
    benchmark::ClobberMemory();
  }
  State.SetItemsProcessed(State.iterations() * 64 * height); // items: sprite rows
}
BENCHMARK(BmDrawSprites64)->Arg(8)->Arg(16);

// One drawn frame's picture work: 240 background lines, the sprites, the sprite-0 line.
void BmPictureFrame(benchmark::State& State) {
  TBusyPicture picture;
  TPPU& ppu = *picture.NES.PPU;
  for (auto _ : State) {
    for (int line = 0; line < 240; ++line) {
      ppu.DrawBGLine(line);
      if (line == 8) ppu.FindSprite0Line();
      if (line == 238) ppu.DrawSprites(8);
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BmPictureFrame);

} // namespace
