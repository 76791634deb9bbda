#include "core/CPUUnit.h"

#include "core/CPUInterpreter.h"

#include "platform/MessagePump.h"

TCPU* CurrentCPU = nullptr;

namespace {

uint8_t SignalLoop() {
  ProcessMessages();
  uint8_t interrupt;
  CurrentCPU->OnLoop(CurrentCPU, interrupt);
  return interrupt;
}

// Each access one call through a slot of the current processor. The slots are
// taken once for a run of instructions: only a handler run at a loop event or
// an instruction event can change them.
struct TSlotBus {
  TCPU* Self;
  TReadMemory OnReadMemory, OnReadOpcode;
  TWriteMemory OnWriteMemory;

  explicit TSlotBus(TCPU* CPU)
      : Self(CPU), OnReadMemory(CPU->OnReadMemory), OnReadOpcode(CPU->OnReadOpcode),
        OnWriteMemory(CPU->OnWriteMemory) {}

  PIXTOR_INLINE uint8_t Read(uint16_t Addr) {
    uint8_t value;
    OnReadMemory(Self, Addr, value);
    return value;
  }
  PIXTOR_INLINE uint8_t Fetch(uint16_t Addr) {
    uint8_t value;
    OnReadOpcode(Self, Addr, value);
    return value;
  }
  PIXTOR_INLINE void Write(uint16_t Addr, uint8_t Value) { OnWriteMemory(Self, Addr, Value); }
};

TInterpreter<TSlotBus> SlotInterpreter(const TCPU& CPU) { return {CPU, TSlotBus(CurrentCPU)}; }

} // namespace

TCPU::TCPU() { CurrentCPU = this; }

TCPU::~TCPU() {
  if (CurrentCPU == this) CurrentCPU = nullptr;
}

// ---- run loop ---------------------------------------------------------------

void TCPU::Reset() {
  A = X = Y = 0;
  P = FlagU | FlagZ;
  S = 0xFF;
  PC = SlotInterpreter(*this).ReadWord(0xFFFC);
  CyclesLeft = LoopCycle;
}

void TCPU::Execute(bool Slice) {
  const TCPU& slots = *CurrentCPU;
  if (DirectBus.Run && slots.OnReadOpcode == DirectBus.OnReadOpcode && slots.OnReadMemory == DirectBus.OnReadMemory &&
      slots.OnWriteMemory == DirectBus.OnWriteMemory)
    DirectBus.Run(*this, Slice);
  else
    ExecuteOn(*this, TSlotBus(CurrentCPU), Slice);
}

template <bool Watched> uint16_t TCPU::RunLoop(TInstructionEvent OnInstruction) {
  for (;;) {
    if constexpr (Watched) {
      do {
        if (!OnInstruction(this)) return PC;
        Execute(false);
      } while (CyclesLeft > 0);
    } else {
      Execute(true);
    }
    // Across the loop event the registers live in the object: a message
    // handler may reset the processor, change LoopCycle or the memory slots,
    // and the change holds from the reload on.
    uint8_t code = SignalLoop();
    CyclesLeft = LoopCycle;
    if (code == InterruptStop) return PC;
    if (code != InterruptNone) TakeInterrupt(code);
  }
}

void TCPU::TakeInterrupt(uint8_t Code) {
  TInterpreter<TSlotBus> cpu = SlotInterpreter(*this);
  cpu.TakeInterrupt(Code);
  cpu.PutInto(*this);
}

uint16_t TCPU::Run() { return RunLoop<false>({}); }

uint16_t TCPU::RunWatched(TInstructionEvent OnInstruction) { return RunLoop<true>(OnInstruction); }

uint16_t TCPU::Step() {
  Execute(false);
  return PC;
}
