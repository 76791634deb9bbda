// Save states and the rewind ring: the demo playing its script and the
// busy-screen cartridge, run a frame at a time to the pause point, with and
// without a state pushed on the ring after every frame (divisor 3, as the
// window runs by default); the memory 30 s of states take; and the time a
// state takes to save and to load.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "core/StateUnit.h"
#include "platform/RewindRing.h"
#include "tools/InputScript.h"

namespace {

struct TRewindBench {
  TNES NES;
  std::unique_ptr<TScriptedPads> Pads;
  bool Loaded;

  // Cartridge 0: the demo with its script; 1: the busy screen.
  explicit TRewindBench(int64_t Cartridge)
      : Loaded(NES.MMC->LoadROM(Cartridge == 0 ? PIXTOR_DEMO_IMAGE : PIXTOR_BUSY_IMAGE)) {
    if (Cartridge == 0) {
      Pads = std::make_unique<TScriptedPads>(ReadInputScriptFile(PIXTOR_DEMO_SCRIPT));
      NES.SetInput(&Pads->Pad1, &Pads->Pad2);
    }
    NES.FrameRate = 3;
    NES.Present = TPresentEvent::Bind<&TRewindBench::Present>(this);
    NES.PowerOn();
    NES.CPU->OnLoop = TLoopEvent::Bind<&TRewindBench::Loop>(this);
    NES.Reset();
  }

  void Present() {}
  // One run is one frame, from line 9 to the next line 8, where a pause ends it.
  void Loop(TCPU* Sender, uint8_t& Interrupt) {
    if (Pads) Pads->SetFrame((NES.LineCount() + 1) / FrameLines);
    NES.CPULoop(Sender, Interrupt);
    if (NES.ScanLine == 0) NES.Pause();
  }
  void Frames(int Count) {
    for (int i = 0; i < Count; ++i)
      NES.Run();
  }
};

const char* CartridgeName(int64_t Cartridge) { return Cartridge == 0 ? "demo" : "busy"; }

void BmFrameWithRing(benchmark::State& state) {
  TRewindBench bench(state.range(0));
  const bool ring = state.range(1) != 0;
  if (!bench.Loaded) return state.SkipWithError("cartridges not built");
  state.SetLabel(std::string(CartridgeName(state.range(0))) + (ring ? ", ring" : ", no ring"));
  bench.Frames(600); // into the game
  TRewindRing rewind;
  for (auto _ : state) {
    bench.NES.Run();
    if (ring) rewind.Push(SaveState(bench.NES));
  }
  state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BmFrameWithRing)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMicrosecond);

// Thirty seconds of states, and stepping back through them.
void BmRingMemory(benchmark::State& state) {
  TRewindBench bench(state.range(0));
  if (!bench.Loaded) return state.SkipWithError("cartridges not built");
  state.SetLabel(CartridgeName(state.range(0)));
  TRewindRing rewind;
  for (auto _ : state) {
    rewind.Clear();
    for (size_t i = 0; i < RewindFrames; ++i) {
      bench.NES.Run();
      rewind.Push(SaveState(bench.NES));
    }
  }
  state.counters["MB"] = double(rewind.Bytes()) / (1 << 20);
  state.counters["states"] = double(rewind.Count());
}
BENCHMARK(BmRingMemory)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

void BmStepBack(benchmark::State& state) {
  TRewindBench bench(1);
  if (!bench.Loaded) return state.SkipWithError("cartridges not built");
  TRewindRing rewind;
  for (auto _ : state) {
    state.PauseTiming();
    rewind.Clear();
    for (int i = 0; i < 64; ++i) {
      bench.NES.Run();
      rewind.Push(SaveState(bench.NES));
    }
    state.ResumeTiming();
    while (!rewind.StepBack().empty()) {
    }
  }
  state.counters["steps/s"] =
      benchmark::Counter(63.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BmStepBack)->Unit(benchmark::kMillisecond);

void BmSaveState(benchmark::State& state) {
  TRewindBench bench(0);
  if (!bench.Loaded) return state.SkipWithError("cartridges not built");
  bench.Frames(600);
  for (auto _ : state)
    benchmark::DoNotOptimize(SaveState(bench.NES));
}
BENCHMARK(BmSaveState)->Unit(benchmark::kMicrosecond);

void BmLoadState(benchmark::State& state) {
  TRewindBench bench(0);
  if (!bench.Loaded) return state.SkipWithError("cartridges not built");
  bench.Frames(600);
  const std::vector<uint8_t> saved = SaveState(bench.NES);
  for (auto _ : state)
    benchmark::DoNotOptimize(LoadState(bench.NES, saved));
}
BENCHMARK(BmLoadState)->Unit(benchmark::kMicrosecond);

} // namespace
