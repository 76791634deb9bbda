// Emulated processor cycles per second of the run loop, with the console's
// memory handlers behind the processor's slots (the direct run), and with
// other handlers there that pass each access on to the console's (the calls
// through the slots).

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "core/NESUnit.h"

namespace {

// A mixed stream: indexed loads and stores, arithmetic, an indirect load,
// read-modify-write, a compare and branch, a subroutine with stack traffic.
constexpr std::array<uint8_t, 0x26> Program = {
    0xA2, 0x00,       // $8000 LDX #$00
    0xBD, 0x00, 0x02, // $8002 LDA $0200,X
    0x18,             //       CLC
    0x69, 0x03,       //       ADC #$03
    0x9D, 0x00, 0x02, //       STA $0200,X
    0xB1, 0x10,       //       LDA ($10),Y
    0x45, 0x20,       //       EOR $20
    0x85, 0x21,       //       STA $21
    0xE6, 0x22,       //       INC $22
    0x0A,             //       ASL A
    0x66, 0x23,       //       ROR $23
    0xC9, 0x40,       //       CMP #$40
    0x90, 0x03,       //       BCC $801D
    0x20, 0x23, 0x80, //       JSR $8023
    0xE8,             // $801D INX
    0xD0, 0xE2,       //       BNE $8002
    0x4C, 0x00, 0x80, //       JMP $8000
    0x48,             // $8023 PHA
    0x68,             //       PLA
    0x60,             //       RTS
};

constexpr int LinesPerRun = 24400;

struct TBench {
  TNES NES;
  std::array<uint8_t, 0x4000> ROM{};
  int Lines = 0;

  TBench() {
    std::copy(Program.begin(), Program.end(), ROM.begin());
    NES.PowerOn();
    for (int w = 4; w < 8; ++w) NES.Bank[w] = OffsetBank(ROM.data(), w < 6 ? 0x8000 : 0xC000);
    NES.RAM[0x10] = 0x00, NES.RAM[0x11] = 0x03;
    NES.CPU->OnLoop = TLoopEvent::Bind<&TBench::Loop>(this);
    NES.CPU->PC = 0x8000;
    NES.CPU->CyclesLeft = NES.CPU->LoopCycle;
  }

  void Loop(TCPU*, uint8_t& Interrupt) { Interrupt = ++Lines % LinesPerRun ? InterruptNone : InterruptStop; }

  void Read(TCPU* Sender, uint16_t Addr, uint8_t& Value) { NES.CPUReadMemory(Sender, Addr, Value); }
  void Fetch(TCPU* Sender, uint16_t Addr, uint8_t& Value) { NES.CPUReadOpcode(Sender, Addr, Value); }
  void Write(TCPU* Sender, uint16_t Addr, uint8_t Value) { NES.CPUWriteMemory(Sender, Addr, Value); }
  void ForwardThroughSlots() {
    NES.CPU->OnReadMemory = TReadMemory::Bind<&TBench::Read>(this);
    NES.CPU->OnReadOpcode = TReadMemory::Bind<&TBench::Fetch>(this);
    NES.CPU->OnWriteMemory = TWriteMemory::Bind<&TBench::Write>(this);
  }
};

// Argument 0: the direct run; 1: through the slots.
void BmRunLoop(benchmark::State& state) {
  TBench bench;
  if (state.range(0)) bench.ForwardThroughSlots();
  for (auto _ : state) bench.NES.CPU->Run();
  state.counters["cycles/s"] =
      benchmark::Counter(double(state.iterations()) * LinesPerRun * LineCycles, benchmark::Counter::kIsRate);
}
BENCHMARK(BmRunLoop)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

