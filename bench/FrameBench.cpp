// Whole frames through the console: of the busy-screen cartridge (a
// scrolling background, 64 moving sprites), every frame drawn (divisor 1) and
// one in three (divisor 3); and of the sprite test cartridge, whose processor
// idles in a JMP onto itself, every frame drawn.

#include <benchmark/benchmark.h>

#include "core/MMCUnit.h"
#include "core/NESUnit.h"

namespace {

struct TFrameBench {
  TNES NES;
  bool Loaded;

  TFrameBench(const char* Image, int FrameRate) : Loaded(NES.MMC->LoadROM(Image)) {
    NES.FrameRate = FrameRate;
    NES.Present = TPresentEvent::Bind<&TFrameBench::Present>(this);
    NES.PowerOn();
    NES.CPU->OnLoop = TLoopEvent::Bind<&TFrameBench::Loop>(this);
    NES.Reset();
  }

  void Present() {}
  // One run is one frame: it ends on the event that brings the line back to 0.
  void Loop(TCPU* Sender, uint8_t& Interrupt) {
    NES.CPULoop(Sender, Interrupt);
    if (NES.ScanLine == 0) Interrupt = InterruptStop;
  }
};

void RunFrames(benchmark::State& state, const char* Image, int FrameRate) {
  TFrameBench bench(Image, FrameRate);
  if (!bench.Loaded) {
    state.SkipWithError("cartridge not built");
    return;
  }
  for (int i = 0; i < 10; ++i) bench.NES.CPU->Run(); // past the set-up
  for (auto _ : state) bench.NES.CPU->Run();
  state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BmFrame(benchmark::State& state) { RunFrames(state, PIXTOR_BUSY_IMAGE, int(state.range(0))); }
BENCHMARK(BmFrame)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

void BmIdleFrame(benchmark::State& state) { RunFrames(state, PIXTOR_IDLE_IMAGE, 1); }
BENCHMARK(BmIdleFrame)->Unit(benchmark::kMicrosecond);

} // namespace
