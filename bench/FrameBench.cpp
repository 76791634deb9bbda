// Whole frames of the busy-screen cartridge (a scrolling background, 64
// moving sprites) through the console, every frame drawn (divisor 1) and one
// in three (divisor 3).

#include <benchmark/benchmark.h>

#include "core/MMCUnit.h"
#include "core/NESUnit.h"

namespace {

struct TFrameBench {
  TNES NES;
  bool Loaded;

  explicit TFrameBench(int FrameRate) : Loaded(NES.MMC->LoadROM(PIXTOR_BUSY_IMAGE)) {
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

void BmFrame(benchmark::State& state) {
  TFrameBench bench(static_cast<int>(state.range(0)));
  if (!bench.Loaded) {
    state.SkipWithError("busy cartridge not built");
    return;
  }
  for (int i = 0; i < 10; ++i) bench.NES.CPU->Run(); // past the set-up
  for (auto _ : state) bench.NES.CPU->Run();
  state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BmFrame)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

} // namespace
