#pragma once

// The processor's instruction code, compiled once for each bus it is given:
// the processor's own slots (core/CPUUnit.cpp), and the console's handlers
// called directly so that the compiler can inline them (core/NESUnit.cpp).

#include <array>
#include <cstdint>

#include "core/CPUUnit.h"

#define PIXTOR_INLINE inline __attribute__((always_inline))

// The registers of one run of instructions, held where the compiler can keep
// them in machine registers across the memory calls; loaded from the processor
// before and stored back before anything outside the instruction code runs.
// Bus makes the accesses: Read (the data slot), Fetch (the opcode slot) and
// Write, each one call of a handler of the current processor.
template <typename Bus> struct TInterpreter {
  uint8_t A, P, X, Y, S;
  uint16_t PC;
  int32_t CyclesLeft;
  Bus Memory;
  // Where the pass of a wait loop that may be running began, and the budget
  // it began with: the start of the slice, or where the last one came back to.
  int32_t WaitStart = -1, WaitBudget = 0;

  TInterpreter(const TCPU& CPU, Bus Memory) : Memory(Memory) {
    A = CPU.A, P = CPU.P, X = CPU.X, Y = CPU.Y, S = CPU.S, PC = CPU.PC, CyclesLeft = CPU.CyclesLeft;
  }
  void PutInto(TCPU& CPU) const {
    CPU.A = A, CPU.P = P, CPU.X = X, CPU.Y = Y, CPU.S = S, CPU.PC = PC, CPU.CyclesLeft = CyclesLeft;
  }

  // ---- access routines -----------------------------------------------------------

  PIXTOR_INLINE void WriteByte(uint16_t Addr, uint8_t Value) { Memory.Write(Addr, Value); }
  PIXTOR_INLINE uint8_t ReadByte(uint16_t Addr) { return Memory.Read(Addr); }
  PIXTOR_INLINE uint8_t FetchByte(uint16_t Addr) { return Memory.Fetch(Addr); }

  // Vectors and JMP (ind) targets: low byte first, then the next address (no page wrap).
  uint16_t ReadWord(uint16_t Addr) {
    uint16_t low = ReadByte(Addr);
    return low | ReadByte(Addr + 1) << 8;
  }

  // ---- addressing modes -------------------------------------------------------

  PIXTOR_INLINE uint8_t Imm() { return FetchByte(PC++); }
  PIXTOR_INLINE uint16_t Zp() { return FetchByte(PC++); }
  PIXTOR_INLINE uint16_t ZpX() { return (FetchByte(PC++) + X) & 0xFF; }
  PIXTOR_INLINE uint16_t ZpY() { return (FetchByte(PC++) + Y) & 0xFF; }

  PIXTOR_INLINE uint16_t Abs() {
    uint16_t low = FetchByte(PC++);
    return low | FetchByte(PC++) << 8;
  }

  PIXTOR_INLINE uint16_t AbsX() { return Abs() + X; }
  PIXTOR_INLINE uint16_t AbsY() { return Abs() + Y; }

  // A pointer at $FF takes its high byte from $0100: the pointer's second byte
  // is a 16-bit step, not a wrap within the zero page.
  PIXTOR_INLINE uint16_t IndX() {
    uint16_t pointer = (FetchByte(PC++) + X) & 0xFF;
    uint16_t low = FetchByte(pointer);
    return low | FetchByte(pointer + 1) << 8;
  }

  PIXTOR_INLINE uint16_t IndY() {
    uint16_t pointer = FetchByte(PC++);
    uint16_t low = FetchByte(pointer);
    return (low | FetchByte(pointer + 1) << 8) + Y;
  }

  // ---- operations -------------------------------------------------------------

  PIXTOR_INLINE void Push(uint8_t Value) { WriteByte(0x0100 + S--, Value); }
  PIXTOR_INLINE uint8_t Pull() { return FetchByte(0x0100 + ++S); }
  PIXTOR_INLINE void SetZN(uint8_t Result) { P = (P & 0x7D) | ZeroNegativeTable[Result]; }

  PIXTOR_INLINE uint8_t Load(uint8_t M) {
    SetZN(M);
    return M;
  }

  PIXTOR_INLINE void Branch(bool Taken) {
    if (Taken) {
      int8_t offset = static_cast<int8_t>(FetchByte(PC));
      PC += 1 + offset;
      --CyclesLeft;
      if constexpr (CountsOffWaits)
        if (offset == -4 || offset == -5) [[unlikely]] CountOffReadLoop(-2 - offset);
    } else {
      ++PC;
    }
  }

  // Wait loops. Within a slice only the processor changes memory, so a loop
  // whose pass reads plain memory into a register or the flags and does
  // nothing else finds the same byte and leaves the same registers on every
  // pass once one has run, and so does a JMP onto itself. When a pass comes
  // back to where the last one (or the slice) began after exactly one pass's
  // cycles (any other way back costs more), the rest of the slice is counted
  // off at once: it ends on the same instruction with the same budget as if
  // each pass had run. The loop is noted, and a later slice that finds it as
  // it was is counted off from its start. Only the console's bus, whose
  // fetches and plain reads touch no device, counts off passes, and only in
  // slices.
  static constexpr bool CountsOffWaits = requires(Bus Memory) { Memory.IsPlain(uint16_t()); };

  // Where the loop counted off last is noted: the processor's, for the
  // slices to come. Set when a slice begins; outside slices no pass repeats.
  TWaitLoop* Waits = nullptr;

  // Whether the pass of Pass cycles that has just come back to PC began
  // there; PC and the budget are noted as the start of the next pass.
  PIXTOR_INLINE bool PassRepeated(int32_t Pass) {
    bool again = PC == WaitStart && CyclesLeft == WaitBudget - Pass;
    WaitStart = PC;
    WaitBudget = CyclesLeft;
    return again;
  }

  // Runs out the budget on passes of Pass cycles from PC: the whole passes it
  // holds, then the loop's first instruction (First cycles, followed by the
  // one at Next), and the rest of the pass if the budget is not yet used up.
  PIXTOR_INLINE void SkipPasses(int32_t Pass, int32_t First, uint16_t Next) {
    if (CyclesLeft <= 0) return;
    CyclesLeft -= (CyclesLeft - 1) / Pass * Pass + First;
    if (CyclesLeft > 0)
      CyclesLeft -= Pass - First;
    else
      PC = Next;
  }

  // After a branch back onto the instruction just before it, ReadLength bytes long.
  PIXTOR_INLINE void CountOffReadLoop(int ReadLength) {
    uint8_t opcode = FetchByte(PC);
    int32_t read = CycleTable[opcode];
    int32_t pass = read + CycleTable[FetchByte(PC + ReadLength)] + 1;
    if (!PassRepeated(pass) || WaitReadLength[opcode] != ReadLength) return;
    uint16_t addr = FetchByte(PC + 1);
    if (ReadLength == 3) addr |= FetchByte(PC + 2) << 8;
    if (!Memory.IsPlain(addr)) return;
    CountOff({.Start = PC,
              .Back = uint16_t(PC + ReadLength),
              .Length = uint8_t(ReadLength + 2),
              .Pass = pass,
              .First = read,
              .Reads = true,
              .A = A, .X = X, .Y = Y, .P = P,
              .Addr = addr,
              .Byte = ReadByte(addr)});
  }

  // Counts off the rest of the slice in Loop, whose pass has just come back
  // to its start, PC, and notes the loop, code included, for the slices after.
  PIXTOR_INLINE void CountOff(TWaitLoop Loop) {
    Loop.Code = LoopCode(PC, Loop.Length);
    *Waits = Loop;
    SkipPasses(Loop.Pass, Loop.First, Loop.Back);
  }

  // The Length bytes of code from Start, the first in the lowest byte. A
  // loop is at most 5 bytes long; all five are fetched (fetches touch
  // nothing) and those past Length dropped.
  PIXTOR_INLINE uint64_t LoopCode(uint16_t Start, uint32_t Length) {
    uint64_t code = 0;
    for (uint32_t i = 0; i < 5; ++i) code |= uint64_t(FetchByte(uint16_t(Start + i))) << (8 * i);
    return code & ((uint64_t(1) << (8 * Length)) - 1);
  }

  // Begins a slice, which may be the start of a pass. When it begins in
  // Last, the loop counted off last, with the loop's code, the registers and
  // the byte it reads as they were then, the slice is counted off at once,
  // since every pass leaves them so (begun at the branch, it first goes
  // back); the answer is whether it was.
  PIXTOR_INLINE bool BeginSlice(TWaitLoop& Last) {
    WaitStart = PC;
    WaitBudget = CyclesLeft;
    if constexpr (!CountsOffWaits) {
      return false;
    } else {
      Waits = &Last;
      if (Last.Start < 0 || (PC != Last.Start && PC != Last.Back) || CyclesLeft <= 0) return false;
      if (Last.Reads && (A != Last.A || X != Last.X || Y != Last.Y || P != Last.P)) return false;
      if (LoopCode(uint16_t(Last.Start), Last.Length) != Last.Code) return false;
      if (Last.Reads && ReadByte(Last.Addr) != Last.Byte) return false;
      if (PC != Last.Start) {
        CyclesLeft -= Last.Pass - Last.First;
        PC = uint16_t(Last.Start);
      }
      SkipPasses(Last.Pass, Last.First, Last.Back);
      return true;
    }
  }

  // The length of a load, compare or BIT of zero-page or absolute memory, 0
  // for any other instruction. Run again on the same byte, these leave what
  // they left the first time.
  static constexpr std::array<uint8_t, 256> WaitReadLength = [] {
    std::array<uint8_t, 256> table{};
    for (uint8_t opcode : {0xA5, 0xA6, 0xA4, 0xC5, 0xE4, 0xC4, 0x24}) table[opcode] = 2;
    for (uint8_t opcode : {0xAD, 0xAE, 0xAC, 0xCD, 0xEC, 0xCC, 0x2C}) table[opcode] = 3;
    return table;
  }();

  PIXTOR_INLINE void Adc(uint8_t M) {
    uint8_t carry = P & FlagC;
    if (P & FlagD) {
      // Packed BCD; N, V and Z keep their values.
      uint8_t low = (A & 0x0F) + (M & 0x0F) + carry;
      uint8_t high = (A >> 4) + (M >> 4);
      if (low > 9) {
        low += 6;
        ++high;
      }
      if (high > 9) high += 6;
      A = (low & 0x0F) | static_cast<uint8_t>(high << 4);
      P = (P & ~FlagC) | (high > 0x0F ? FlagC : 0);
      return;
    }
    uint16_t t = A + M + carry;
    P &= 0x3C;
    if (~(A ^ M) & (A ^ t) & 0x80) P |= FlagV;
    if (t >> 8) P |= FlagC;
    A = static_cast<uint8_t>(t);
    P |= ZeroNegativeTable[A];
  }

  PIXTOR_INLINE void Sbc(uint8_t M) {
    uint8_t borrow = 1 - (P & FlagC);
    if (P & FlagD) {
      // Packed BCD; the high digit borrows when bit 4 of the corrected low digit is set.
      uint8_t low = (A & 0x0F) - (M & 0x0F) - borrow;
      if (low & 0x10) low -= 6;
      uint8_t high = (A >> 4) - (M >> 4) - ((low & 0x10) ? 1 : 0);
      if (high & 0x10) high -= 6;
      A = (low & 0x0F) | static_cast<uint8_t>(high << 4);
      P = (P & ~FlagC) | (high <= 0x0F ? FlagC : 0);
      return;
    }
    uint16_t t = A - M - borrow;
    P &= 0x3C;
    if ((A ^ M) & (A ^ t) & 0x80) P |= FlagV;
    if (!(t >> 8)) P |= FlagC;
    A = static_cast<uint8_t>(t);
    P |= ZeroNegativeTable[A];
  }

  PIXTOR_INLINE void Compare(uint8_t Register, uint8_t M) {
    uint16_t t = Register - M;
    P = (P & 0x7C) | ((t >> 8) ? 0 : FlagC) | ZeroNegativeTable[t & 0xFF];
  }

  PIXTOR_INLINE void Bit(uint8_t M) { P = (P & 0x3D) | (M & 0xC0) | ((A & M) ? 0 : FlagZ); }

  PIXTOR_INLINE uint8_t Asl(uint8_t Value) {
    P = (P & ~FlagC) | (Value >> 7);
    return Load(Value << 1);
  }

  PIXTOR_INLINE uint8_t Lsr(uint8_t Value) {
    P = (P & ~FlagC) | (Value & 1);
    return Load(Value >> 1);
  }

  PIXTOR_INLINE uint8_t Rol(uint8_t Value) {
    uint8_t carry = P & FlagC;
    P = (P & ~FlagC) | (Value >> 7);
    return Load(static_cast<uint8_t>(Value << 1) | carry);
  }

  PIXTOR_INLINE uint8_t Ror(uint8_t Value) {
    uint8_t carry = P & FlagC;
    P = (P & ~FlagC) | (Value & 1);
    return Load((Value >> 1) | carry << 7);
  }

  PIXTOR_INLINE uint8_t Inc(uint8_t Value) { return Load(Value + 1); }
  PIXTOR_INLINE uint8_t Dec(uint8_t Value) { return Load(Value - 1); }

  template <uint8_t (TInterpreter::*Operation)(uint8_t)> PIXTOR_INLINE void Modify(uint16_t Addr) {
    WriteByte(Addr, (this->*Operation)(ReadByte(Addr)));
  }

  // ---- one instruction --------------------------------------------------------

  PIXTOR_INLINE void Execute() {
    uint8_t opcode = FetchByte(PC++);
    CyclesLeft -= CycleTable[opcode];
    switch (opcode) {
    // clang-format off
    case 0x69: Adc(Imm()); break;
    case 0x65: Adc(ReadByte(Zp())); break;
    case 0x75: Adc(ReadByte(ZpX())); break;
    case 0x6D: Adc(ReadByte(Abs())); break;
    case 0x7D: Adc(ReadByte(AbsX())); break;
    case 0x79: Adc(ReadByte(AbsY())); break;
    case 0x61: Adc(ReadByte(IndX())); break;
    case 0x71: Adc(ReadByte(IndY())); break;

    case 0xE9: Sbc(Imm()); break;
    case 0xE5: Sbc(ReadByte(Zp())); break;
    case 0xF5: Sbc(ReadByte(ZpX())); break;
    case 0xED: Sbc(ReadByte(Abs())); break;
    case 0xFD: Sbc(ReadByte(AbsX())); break;
    case 0xF9: Sbc(ReadByte(AbsY())); break;
    case 0xE1: Sbc(ReadByte(IndX())); break;
    case 0xF1: Sbc(ReadByte(IndY())); break;

    case 0x29: A = Load(A & Imm()); break;
    case 0x25: A = Load(A & ReadByte(Zp())); break;
    case 0x35: A = Load(A & ReadByte(ZpX())); break;
    case 0x2D: A = Load(A & ReadByte(Abs())); break;
    case 0x3D: A = Load(A & ReadByte(AbsX())); break;
    case 0x39: A = Load(A & ReadByte(AbsY())); break;
    case 0x21: A = Load(A & ReadByte(IndX())); break;
    case 0x31: A = Load(A & ReadByte(IndY())); break;

    case 0x09: A = Load(A | Imm()); break;
    case 0x05: A = Load(A | ReadByte(Zp())); break;
    case 0x15: A = Load(A | ReadByte(ZpX())); break;
    case 0x0D: A = Load(A | ReadByte(Abs())); break;
    case 0x1D: A = Load(A | ReadByte(AbsX())); break;
    case 0x19: A = Load(A | ReadByte(AbsY())); break;
    case 0x01: A = Load(A | ReadByte(IndX())); break;
    case 0x11: A = Load(A | ReadByte(IndY())); break;

    case 0x49: A = Load(A ^ Imm()); break;
    case 0x45: A = Load(A ^ ReadByte(Zp())); break;
    case 0x55: A = Load(A ^ ReadByte(ZpX())); break;
    case 0x4D: A = Load(A ^ ReadByte(Abs())); break;
    case 0x5D: A = Load(A ^ ReadByte(AbsX())); break;
    case 0x59: A = Load(A ^ ReadByte(AbsY())); break;
    case 0x41: A = Load(A ^ ReadByte(IndX())); break;
    case 0x51: A = Load(A ^ ReadByte(IndY())); break;

    case 0xA9: A = Load(Imm()); break;
    case 0xA5: A = Load(ReadByte(Zp())); break;
    case 0xB5: A = Load(ReadByte(ZpX())); break;
    case 0xAD: A = Load(ReadByte(Abs())); break;
    case 0xBD: A = Load(ReadByte(AbsX())); break;
    case 0xB9: A = Load(ReadByte(AbsY())); break;
    case 0xA1: A = Load(ReadByte(IndX())); break;
    case 0xB1: A = Load(ReadByte(IndY())); break;

    case 0xA2: X = Load(Imm()); break;
    case 0xA6: X = Load(ReadByte(Zp())); break;
    case 0xB6: X = Load(ReadByte(ZpY())); break;
    case 0xAE: X = Load(ReadByte(Abs())); break;
    case 0xBE: X = Load(ReadByte(AbsY())); break;

    case 0xA0: Y = Load(Imm()); break;
    case 0xA4: Y = Load(ReadByte(Zp())); break;
    case 0xB4: Y = Load(ReadByte(ZpX())); break;
    case 0xAC: Y = Load(ReadByte(Abs())); break;
    case 0xBC: Y = Load(ReadByte(AbsX())); break;

    case 0x85: WriteByte(Zp(), A); break;
    case 0x95: WriteByte(ZpX(), A); break;
    case 0x8D: WriteByte(Abs(), A); break;
    case 0x9D: WriteByte(AbsX(), A); break;
    case 0x99: WriteByte(AbsY(), A); break;
    case 0x81: WriteByte(IndX(), A); break;
    case 0x91: WriteByte(IndY(), A); break;

    case 0x86: WriteByte(Zp(), X); break;
    case 0x96: WriteByte(ZpY(), X); break;
    case 0x8E: WriteByte(Abs(), X); break;

    case 0x84: WriteByte(Zp(), Y); break;
    case 0x94: WriteByte(ZpX(), Y); break;
    case 0x8C: WriteByte(Abs(), Y); break;

    case 0xC9: Compare(A, Imm()); break;
    case 0xC5: Compare(A, ReadByte(Zp())); break;
    case 0xD5: Compare(A, ReadByte(ZpX())); break;
    case 0xCD: Compare(A, ReadByte(Abs())); break;
    case 0xDD: Compare(A, ReadByte(AbsX())); break;
    case 0xD9: Compare(A, ReadByte(AbsY())); break;
    case 0xC1: Compare(A, ReadByte(IndX())); break;
    case 0xD1: Compare(A, ReadByte(IndY())); break;

    case 0xE0: Compare(X, Imm()); break;
    case 0xE4: Compare(X, ReadByte(Zp())); break;
    case 0xEC: Compare(X, ReadByte(Abs())); break;

    case 0xC0: Compare(Y, Imm()); break;
    case 0xC4: Compare(Y, ReadByte(Zp())); break;
    case 0xCC: Compare(Y, ReadByte(Abs())); break;

    case 0x24: Bit(ReadByte(Zp())); break;
    case 0x2C: Bit(ReadByte(Abs())); break;

    case 0xE6: Modify<&TInterpreter::Inc>(Zp()); break;
    case 0xF6: Modify<&TInterpreter::Inc>(ZpX()); break;
    case 0xEE: Modify<&TInterpreter::Inc>(Abs()); break;
    case 0xFE: Modify<&TInterpreter::Inc>(AbsX()); break;

    case 0xC6: Modify<&TInterpreter::Dec>(Zp()); break;
    case 0xD6: Modify<&TInterpreter::Dec>(ZpX()); break;
    case 0xCE: Modify<&TInterpreter::Dec>(Abs()); break;
    case 0xDE: Modify<&TInterpreter::Dec>(AbsX()); break;

    case 0xE8: X = Inc(X); break;
    case 0xC8: Y = Inc(Y); break;
    case 0xCA: X = Dec(X); break;
    case 0x88: Y = Dec(Y); break;

    case 0x0A: A = Asl(A); break;
    case 0x06: Modify<&TInterpreter::Asl>(Zp()); break;
    case 0x16: Modify<&TInterpreter::Asl>(ZpX()); break;
    case 0x0E: Modify<&TInterpreter::Asl>(Abs()); break;
    case 0x1E: Modify<&TInterpreter::Asl>(AbsX()); break;

    case 0x4A: A = Lsr(A); break;
    case 0x46: Modify<&TInterpreter::Lsr>(Zp()); break;
    case 0x56: Modify<&TInterpreter::Lsr>(ZpX()); break;
    case 0x4E: Modify<&TInterpreter::Lsr>(Abs()); break;
    case 0x5E: Modify<&TInterpreter::Lsr>(AbsX()); break;

    case 0x2A: A = Rol(A); break;
    case 0x26: Modify<&TInterpreter::Rol>(Zp()); break;
    case 0x36: Modify<&TInterpreter::Rol>(ZpX()); break;
    case 0x2E: Modify<&TInterpreter::Rol>(Abs()); break;
    case 0x3E: Modify<&TInterpreter::Rol>(AbsX()); break;

    case 0x6A: A = Ror(A); break;
    case 0x66: Modify<&TInterpreter::Ror>(Zp()); break;
    case 0x76: Modify<&TInterpreter::Ror>(ZpX()); break;
    case 0x6E: Modify<&TInterpreter::Ror>(Abs()); break;
    case 0x7E: Modify<&TInterpreter::Ror>(AbsX()); break;

    case 0xAA: X = Load(A); break;
    case 0xA8: Y = Load(A); break;
    case 0x8A: A = Load(X); break;
    case 0x98: A = Load(Y); break;
    case 0xBA: X = Load(S); break;
    case 0x9A: S = X; break;

    case 0x48: Push(A); break;
    case 0x08: Push(P); break; // as held: B is only forced on in BRK's pushed copy
    case 0x68: A = Load(Pull()); break;
    case 0x28: P = Pull() | FlagU; break;

    case 0x4C: {
      uint16_t at = PC - 1;
      PC = Abs();
      if constexpr (CountsOffWaits)
        if (PC == at && PassRepeated(CycleTable[0x4C])) [[unlikely]]
          CountOff({.Start = at, .Back = at, .Length = 3, .Pass = CycleTable[0x4C],
                    .First = CycleTable[0x4C]});
      break;
    }
    case 0x6C: PC = ReadWord(Abs()); break; // the high byte may come from the next page
    case 0x20: { // pushes the address of the instruction's last byte
      uint16_t low = FetchByte(PC++);
      uint16_t high = FetchByte(PC);
      Push(PC >> 8);
      Push(PC & 0xFF);
      PC = high << 8 | low;
      break;
    }
    case 0x60: PC = Pull(); PC |= Pull() << 8; ++PC; break;
    case 0x40: P = Pull() | FlagU; PC = Pull(); PC |= Pull() << 8; break;
    case 0x00:
      ++PC;
      Push(PC >> 8);
      Push(PC & 0xFF);
      Push(P | FlagB);
      P = (P | FlagI) & ~FlagD;
      PC = ReadWord(0xFFFE);
      break;

    case 0x10: Branch(!(P & FlagN)); break;
    case 0x30: Branch(P & FlagN); break;
    case 0x50: Branch(!(P & FlagV)); break;
    case 0x70: Branch(P & FlagV); break;
    case 0x90: Branch(!(P & FlagC)); break;
    case 0xB0: Branch(P & FlagC); break;
    case 0xD0: Branch(!(P & FlagZ)); break;
    case 0xF0: Branch(P & FlagZ); break;

    case 0x18: P &= ~FlagC; break;
    case 0x38: P |= FlagC; break;
    case 0x58: P &= ~FlagI; break;
    case 0x78: P |= FlagI; break;
    case 0xB8: P &= ~FlagV; break;
    case 0xD8: P &= ~FlagD; break;
    case 0xF8: P |= FlagD; break;
      // clang-format on

    default: // NOP and every undocumented opcode: one byte, the table's cost, nothing else
      break;
    }
  }

  void TakeInterrupt(uint8_t Code) {
    if (Code != InterruptNMI && !(Code == InterruptIRQ && !(P & FlagI))) return;
    CyclesLeft -= 7;
    Push(PC >> 8);
    Push(PC & 0xFF);
    Push(P & ~FlagB);
    P &= ~FlagD;
    uint16_t vector = 0xFFFA;
    if (Code == InterruptIRQ) {
      P |= FlagI;
      vector = 0xFFFE;
    }
    PC = ReadWord(vector);
  }
};

// Runs instructions through Memory: one (Slice false), or as many as the
// slice's budget allows, always at least one (Slice true).
template <typename Bus> void ExecuteOn(TCPU& CPU, Bus Memory, bool Slice) {
  TInterpreter<Bus> cpu(CPU, Memory);
  if (!Slice) {
    cpu.Execute();
  } else if (!cpu.BeginSlice(CPU.WaitLoop)) {
    do cpu.Execute();
    while (cpu.CyclesLeft > 0);
  }
  cpu.PutInto(CPU);
}
