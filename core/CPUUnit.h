#pragma once

#include <array>
#include <cstdint>

#include "platform/BoundMethod.h"

class TCPU;

// Codes the loop event hands back to the processor; 4 to 255 act like none.
enum : uint8_t { InterruptNone = 0, InterruptIRQ = 1, InterruptNMI = 2, InterruptStop = 3 };

// Status flag bits of P.
enum : uint8_t {
  FlagC = 0x01,
  FlagZ = 0x02,
  FlagI = 0x04,
  FlagD = 0x08,
  FlagB = 0x10,
  FlagU = 0x20, // no flag: always 1 after reset, forced on by PLP and RTI
  FlagV = 0x40,
  FlagN = 0x80,
};

using TLoopEvent = TBoundMethod<void(TCPU* Sender, uint8_t& Interrupt)>;
using TReadMemory = TBoundMethod<void(TCPU* Sender, uint16_t Addr, uint8_t& Value)>;
using TWriteMemory = TBoundMethod<void(TCPU* Sender, uint16_t Addr, uint8_t Value)>;
// Called before every instruction of a watched run; false ends the run there.
using TInstructionEvent = TBoundMethod<bool(TCPU* Sender)>;

// A wait loop that a direct run has counted off (core/CPUInterpreter.h): its
// code, and what each of its passes leaves as it found it.
struct TWaitLoop {
  int32_t Start = -1; // the loop's first instruction; -1: none
  uint16_t Back = 0;  // the instruction that goes back to Start
  uint8_t Length = 0; // bytes of code from Start
  uint64_t Code = 0;  // those bytes, the first in the lowest
  int32_t Pass = 0;   // cycles of a pass, and of its first instruction
  int32_t First = 0;
  bool Reads = false; // a read and a branch back, else a JMP onto itself
  uint8_t A = 0, X = 0, Y = 0, P = 0;
  uint16_t Addr = 0; // the byte a pass reads
  uint8_t Byte = 0;
};

// Instructions run by code compiled for one known set of memory handlers,
// which it calls directly (core/CPUInterpreter.h): one instruction, or as many
// as the slice's budget allows (Slice).
using TDirectRun = TBoundMethod<void(TCPU& CPU, bool Slice)>;

// The memory handlers a direct run was compiled for, and that run.
struct TDirectBus {
  TReadMemory OnReadMemory;
  TWriteMemory OnWriteMemory;
  TReadMemory OnReadOpcode;
  TDirectRun Run;
};

// The base cost of each opcode in cycles; a taken branch adds one, nothing else does.
// clang-format off
inline constexpr uint8_t CycleTable[256] = {
//  x0 x1 x2 x3 x4 x5 x6 x7 x8 x9 xA xB xC xD xE xF
    7, 6, 2, 8, 3, 3, 5, 5, 3, 2, 2, 2, 4, 4, 6, 6, // 0x
    2, 5, 2, 8, 4, 4, 6, 6, 2, 4, 2, 7, 5, 5, 7, 7, // 1x
    6, 6, 2, 8, 3, 3, 5, 5, 4, 2, 2, 2, 4, 4, 6, 6, // 2x
    2, 5, 2, 8, 4, 4, 6, 6, 2, 4, 2, 7, 5, 5, 7, 7, // 3x
    6, 6, 2, 8, 3, 3, 5, 5, 3, 2, 2, 2, 3, 4, 6, 6, // 4x
    2, 5, 2, 8, 4, 4, 6, 6, 2, 4, 2, 7, 5, 5, 7, 7, // 5x
    6, 6, 2, 8, 3, 3, 5, 5, 4, 2, 2, 2, 5, 4, 6, 6, // 6x
    2, 5, 2, 8, 4, 4, 6, 6, 2, 4, 2, 7, 5, 5, 7, 7, // 7x
    2, 6, 2, 6, 3, 3, 3, 3, 2, 2, 2, 2, 4, 4, 4, 4, // 8x
    2, 6, 2, 6, 4, 4, 4, 4, 2, 5, 2, 5, 5, 5, 5, 5, // 9x
    2, 6, 2, 6, 3, 3, 3, 3, 2, 2, 2, 2, 4, 4, 4, 4, // Ax
    2, 5, 2, 5, 4, 4, 4, 4, 2, 4, 2, 5, 4, 4, 4, 4, // Bx
    2, 6, 2, 8, 3, 3, 5, 5, 2, 2, 2, 2, 4, 4, 6, 6, // Cx
    2, 5, 2, 8, 4, 4, 6, 6, 2, 4, 2, 7, 5, 5, 7, 7, // Dx
    2, 6, 2, 8, 3, 3, 5, 5, 2, 2, 2, 2, 4, 4, 6, 6, // Ex
    2, 5, 2, 8, 4, 4, 6, 6, 2, 4, 2, 7, 5, 5, 7, 7, // Fx
};
// clang-format on

// The Z and N bits for a result byte.
inline constexpr std::array<uint8_t, 256> ZeroNegativeTable = [] {
  std::array<uint8_t, 256> table{};
  for (int r = 0; r < 256; ++r) table[r] = r == 0 ? FlagZ : (r & 0x80 ? FlagN : 0);
  return table;
}();

// The console's 6502. It knows nothing of the console: every memory access
// goes through the three memory events, and every LoopCycle cycles it raises
// OnLoop, whose answer may be an interrupt or the end of the run.
class TCPU {
public:
  TCPU();
  ~TCPU();
  TCPU(const TCPU&) = delete;
  TCPU& operator=(const TCPU&) = delete;

  // Published properties.
  uint8_t A = 0;
  uint8_t P = 0;
  uint8_t X = 0;
  uint8_t Y = 0;
  uint8_t S = 0;
  uint16_t PC = 0;
  int32_t LoopCycle = 0;
  TLoopEvent OnLoop;
  TWriteMemory OnWriteMemory;
  TReadMemory OnReadMemory; // data reads, vectors, JMP (ind) targets
  TReadMemory OnReadOpcode; // opcodes, operands, zero-page pointers, stack pulls

  // Internal: cycles left in the current slice; may go below zero.
  int32_t CyclesLeft = 0;
  // Whenever a slice or a step begins while the current processor's three
  // memory slots hold exactly these handlers, it runs through this bus, which
  // calls them directly; otherwise it calls through the slots. Both execute
  // alike. Set by the processor's owner; none set: always the slots.
  TDirectBus DirectBus;
  // Internal: the wait loop the direct run counted off last. Only a hint: a
  // slice takes it only where it finds the loop's code, registers and byte
  // as noted, so whatever it holds, every slice ends as it would without it.
  TWaitLoop WaitLoop;

  void Reset();
  // Runs slices of LoopCycle cycles until the loop event hands back InterruptStop.
  uint16_t Run();
  // As Run, calling OnInstruction before every instruction; it also ends when
  // OnInstruction answers false, with the slice's budget left as it stands.
  uint16_t RunWatched(TInstructionEvent OnInstruction);
  // Executes exactly one instruction: no budget test, no loop event, no interrupt.
  uint16_t Step();
  // Takes an interrupt code as a loop boundary does (NMI, or IRQ while I is clear).
  void TakeInterrupt(uint8_t Code);

private:
  template <bool Watched> uint16_t RunLoop(TInstructionEvent OnInstruction);
  // One instruction, or a whole slice, through the bus chosen for it.
  void Execute(bool Slice);
};

// The one processor of the program: the memory routines reach the event
// slots through it. Set by the constructor; cleared when that processor goes.
extern TCPU* CurrentCPU;
