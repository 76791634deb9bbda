#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <initializer_list>
#include <vector>

#include "core/CPUUnit.h"

namespace {

// A flat 64 KB memory behind the processor's slots that remembers which slot
// touched which address, and a loop event that hands back a scripted code.
struct TMachine {
  TCPU CPU;
  std::array<uint8_t, 0x10000> Memory{};
  std::vector<uint16_t> DataReads, OpcodeReads, Writes;
  std::vector<uint8_t> LoopCodes; // handed back in turn; InterruptStop once used up
  int Loops = 0;
  std::function<void()> DuringLoop;

  TMachine() {
    CPU.OnReadMemory = TReadMemory::Bind<&TMachine::Read>(this);
    CPU.OnReadOpcode = TReadMemory::Bind<&TMachine::Fetch>(this);
    CPU.OnWriteMemory = TWriteMemory::Bind<&TMachine::Write>(this);
    CPU.OnLoop = TLoopEvent::Bind<&TMachine::Loop>(this);
    CPU.LoopCycle = 122;
  }

  void Read(TCPU*, uint16_t a, uint8_t& v) { DataReads.push_back(a), v = Memory[a]; }
  void Fetch(TCPU*, uint16_t a, uint8_t& v) { OpcodeReads.push_back(a), v = Memory[a]; }
  void Write(TCPU*, uint16_t a, uint8_t v) { Writes.push_back(a), Memory[a] = v; }
  void Loop(TCPU*, uint8_t& code) {
    if (DuringLoop) DuringLoop();
    code = size_t(Loops) < LoopCodes.size() ? LoopCodes[Loops] : uint8_t(InterruptStop);
    ++Loops;
  }

  // Places a program at Addr and points PC at it.
  void Load(uint16_t Addr, std::initializer_list<uint8_t> Bytes) {
    for (uint8_t b : Bytes) Memory[Addr++] = b;
    CPU.PC = static_cast<uint16_t>(Addr - Bytes.size());
  }
  void ClearLog() { DataReads.clear(), OpcodeReads.clear(), Writes.clear(); }
};

class CPU : public ::testing::Test {
protected:
  TMachine M;
  TCPU& C = M.CPU;
};

TEST_F(CPU, ResetReadsTheVectorLowByteFirstAndTouchesNothingElse) {
  M.Memory[0xFFFC] = 0x34, M.Memory[0xFFFD] = 0x12;
  C.A = C.X = C.Y = 9, C.P = 0xFF;
  C.Reset();
  EXPECT_EQ(C.PC, 0x1234);
  EXPECT_EQ(M.DataReads, (std::vector<uint16_t>{0xFFFC, 0xFFFD}));
  EXPECT_TRUE(M.Writes.empty());
  EXPECT_EQ(C.A | C.X | C.Y, 0);
  EXPECT_EQ(C.P, 0x22);
  EXPECT_EQ(C.S, 0xFF);
  EXPECT_EQ(C.CyclesLeft, 122);
  EXPECT_EQ(C.LoopCycle, 122);
}

// ADC and SBC, binary and decimal: A, M, P before -> A, P after.
struct TArithmeticCase {
  uint8_t Opcode, A, M, P, ResultA, ResultP;
};

TEST_F(CPU, ArithmeticFollowsTheFlagRules) {
  const TArithmeticCase cases[] = {
      // binary ADC
      {0x69, 0x50, 0x50, 0x20, 0xA0, 0xE0},
      {0x69, 0xFF, 0x01, 0x20, 0x00, 0x23},
      {0x69, 0x01, 0x01, 0x21, 0x03, 0x20},
      {0x69, 0x80, 0x80, 0x20, 0x00, 0x63},
      // binary SBC
      {0xE9, 0x00, 0x01, 0x21, 0xFF, 0xA0},
      {0xE9, 0x80, 0x01, 0x21, 0x7F, 0x61},
      {0xE9, 0x05, 0x05, 0x20, 0xFF, 0xA0},
      // decimal ADC: only C changes
      {0x69, 0x09, 0x01, 0x28, 0x10, 0x28},
      {0x69, 0x08, 0x08, 0x28, 0x16, 0x28},
      {0x69, 0x99, 0x01, 0x28, 0x00, 0x29},
      {0x69, 0x58, 0x46, 0x29, 0x05, 0x29},
      {0x69, 0x12, 0x34, 0xEA, 0x46, 0xEA},
      // decimal SBC: only C changes
      {0xE9, 0x20, 0x01, 0x29, 0x19, 0x29},
      {0xE9, 0x10, 0x20, 0x29, 0x90, 0x28},
      {0xE9, 0x46, 0x12, 0x29, 0x34, 0x29},
      {0xE9, 0x40, 0x13, 0x29, 0x27, 0x29},
      // a low digit of 0 less F with borrow: the corrected low digit no longer has bit 4 set
      {0xE9, 0x50, 0x0F, 0x28, 0x5A, 0x29},
  };
  for (const TArithmeticCase& c : cases) {
    M.Load(0x8000, {c.Opcode, c.M});
    C.A = c.A, C.P = c.P;
    C.Step();
    EXPECT_EQ(C.A, c.ResultA) << std::hex << "op " << +c.Opcode << " A " << +c.A << " M " << +c.M;
    EXPECT_EQ(C.P, c.ResultP) << std::hex << "op " << +c.Opcode << " A " << +c.A << " M " << +c.M;
  }
}

// Compare, BIT and the shifts: register/A, operand, P before -> P after (and the shifted value).
TEST_F(CPU, CompareBitAndShiftsSetTheirFlags) {
  struct TCase {
    std::initializer_list<uint8_t> Program;
    uint8_t A, X, P, ResultA, ResultP;
  };
  const TCase cases[] = {
      {{0xC9, 0x40}, 0x40, 0, 0x60, 0x40, 0x63}, // CMP equal: Z C, V kept
      {{0xC9, 0x41}, 0x40, 0, 0x21, 0x40, 0xA0}, // CMP below: N, no C
      {{0xE0, 0x10}, 0, 0x20, 0x40, 0, 0x41},    // CPX above: C, V kept
      {{0x24, 0x10}, 0x01, 0, 0x21, 0x01, 0xE3}, // BIT: N V from M, Z from A and M
      {{0x0A}, 0x81, 0, 0x20, 0x02, 0x21},       // ASL A
      {{0x4A}, 0x01, 0, 0x20, 0x00, 0x23},       // LSR A
      {{0x2A}, 0x80, 0, 0x21, 0x01, 0x21},       // ROL A with carry in
      {{0x6A}, 0x01, 0, 0x21, 0x80, 0xA1},       // ROR A with carry in
  };
  M.Memory[0x10] = 0xC0;
  for (const TCase& c : cases) {
    M.Load(0x8000, c.Program);
    C.A = c.A, C.X = c.X, C.P = c.P;
    C.Step();
    EXPECT_EQ(C.A, c.ResultA) << "opcode " << std::hex << +*c.Program.begin();
    EXPECT_EQ(C.P, c.ResultP) << "opcode " << std::hex << +*c.Program.begin();
  }
}

// Every addressing mode's effective address, including its wraps, and which slot fetched what.
TEST_F(CPU, AddressingModesWrapAsTheProcessorDoes) {
  struct TCase {
    const char* Name;
    std::initializer_list<uint8_t> Program;
    uint8_t X, Y;
    uint16_t Target;
  };
  const TCase cases[] = {
      {"zp,X wraps in page zero", {0xB5, 0xF0}, 0x20, 0, 0x0010},
      {"zp,Y wraps in page zero", {0xB6, 0xF0}, 0, 0x20, 0x0010},
      {"abs,X crosses a page", {0xBD, 0xF0, 0x12}, 0x20, 0, 0x1310},
      {"abs,Y wraps at 64 KB", {0xB9, 0xFF, 0xFF}, 0, 0x02, 0x0001},
      {"(zp,X) at $FF reads high from $0100", {0xA1, 0xFE}, 0x01, 0, 0x3412},
      {"(zp),Y at $FF reads high from $0100", {0xB1, 0xFF}, 0, 0x01, 0x3413},
  };
  M.Memory[0x00FF] = 0x12, M.Memory[0x0100] = 0x34, M.Memory[0x0000] = 0x77;
  for (const TCase& c : cases) {
    M.Load(0x8000, c.Program);
    M.Memory[c.Target] = 0x5A;
    C.X = c.X, C.Y = c.Y;
    M.ClearLog();
    C.Step();
    EXPECT_EQ(C.A, 0x5A) << c.Name;
    EXPECT_EQ(M.DataReads, std::vector<uint16_t>{c.Target}) << c.Name;
    M.Memory[c.Target] = 0;
  }
  // The pointer bytes of (zp),Y come through the opcode slot.
  M.Load(0x8000, {0xB1, 0xFF});
  M.ClearLog();
  C.Step();
  EXPECT_EQ(M.OpcodeReads, (std::vector<uint16_t>{0x8000, 0x8001, 0x00FF, 0x0100}));
}

TEST_F(CPU, JumpIndirectTakesItsHighByteFromTheNextPage) {
  M.Memory[0x12FF] = 0x00, M.Memory[0x1300] = 0x90, M.Memory[0x1200] = 0x40;
  M.Load(0x8000, {0x6C, 0xFF, 0x12});
  M.ClearLog();
  C.Step();
  EXPECT_EQ(C.PC, 0x9000);
  EXPECT_EQ(M.DataReads, (std::vector<uint16_t>{0x12FF, 0x1300}));
}

TEST_F(CPU, StackWrapsInsidePageOne) {
  M.Load(0x8000, {0x48, 0x68});
  C.S = 0x00, C.A = 0x99;
  C.Step();
  EXPECT_EQ(M.Writes, std::vector<uint16_t>{0x0100});
  EXPECT_EQ(C.S, 0xFF);
  C.A = 0;
  M.ClearLog();
  C.Step();
  EXPECT_EQ(C.A, 0x99);
  EXPECT_EQ(C.S, 0x00);
  EXPECT_EQ(M.OpcodeReads.back(), 0x0100);
  EXPECT_TRUE(M.DataReads.empty());
}

TEST_F(CPU, SubroutinesReturnsAndBreak) {
  // JSR at $8000 to $9000 pushes $80 $02; RTS comes back to $8003.
  M.Load(0x9000, {0x60});
  M.Load(0x8000, {0x20, 0x00, 0x90});
  C.S = 0xFF;
  C.Step();
  EXPECT_EQ(C.PC, 0x9000);
  EXPECT_EQ(M.Memory[0x01FF], 0x80);
  EXPECT_EQ(M.Memory[0x01FE], 0x02);
  C.Step();
  EXPECT_EQ(C.PC, 0x8003);
  EXPECT_EQ(C.S, 0xFF);

  // BRK pushes PC+2 and P with B, sets I, clears D, keeps B in P as it was.
  M.Memory[0xFFFE] = 0x00, M.Memory[0xFFFF] = 0xA0;
  M.Load(0x8000, {0x00});
  C.P = 0x2B;
  M.ClearLog();
  C.Step();
  EXPECT_EQ(C.PC, 0xA000);
  EXPECT_EQ(M.Memory[0x01FF], 0x80);
  EXPECT_EQ(M.Memory[0x01FE], 0x02);
  EXPECT_EQ(M.Memory[0x01FD], 0x3B);
  EXPECT_EQ(C.P, 0x27);
  EXPECT_EQ(M.DataReads, (std::vector<uint16_t>{0xFFFE, 0xFFFF}));

  // RTI pulls P (bit 5 forced on, B as pulled) and PC, without a step.
  M.Load(0xA000, {0x40});
  C.Step();
  EXPECT_EQ(C.P, 0x3B);
  EXPECT_EQ(C.PC, 0x8002);
}

TEST_F(CPU, PushedStatusIsTheHeldOne) {
  M.Memory[0xFFFC] = 0x00, M.Memory[0xFFFD] = 0x80;
  C.Reset();
  M.Load(0x8000, {0x08, 0xA9, 0x00, 0x48, 0x28});
  C.Step();
  EXPECT_EQ(M.Memory[0x01FF], 0x22); // PHP after reset: no B
  C.Step(), C.Step(), C.Step();
  EXPECT_EQ(C.P, 0x20); // PLP of 0 keeps bit 5 only
}

TEST_F(CPU, TransfersAndUndocumentedOpcodes) {
  M.Load(0x8000, {0x9A, 0xBA, 0x03, 0xEA});
  C.X = 0x80, C.P = 0x22;
  C.Step(); // TXS: no flags
  EXPECT_EQ(C.S, 0x80);
  EXPECT_EQ(C.P, 0x22);
  C.X = 0;
  C.Step(); // TSX: N and Z from X
  EXPECT_EQ(C.X, 0x80);
  EXPECT_EQ(C.P, 0xA0);
  C.CyclesLeft = 100;
  C.Step(); // $03: one byte, 8 cycles, nothing else
  EXPECT_EQ(C.PC, 0x8003);
  EXPECT_EQ(C.CyclesLeft, 92);
  C.Step(); // NOP
  EXPECT_EQ(C.CyclesLeft, 90);
  EXPECT_EQ(C.P, 0xA0);
}

TEST_F(CPU, BranchesCostTwoOrThreeCycles) {
  struct TCase {
    uint16_t At;
    uint8_t Opcode, Offset, P;
    uint16_t Target;
    int Cost;
  };
  const TCase cases[] = {
      {0x80F0, 0xD0, 0x20, 0x00, 0x8112, 3}, // BNE taken across a page
      {0x8000, 0xD0, 0x20, 0x02, 0x8002, 2}, // BNE not taken
      {0x8010, 0x10, 0xEE, 0x00, 0x8000, 3}, // BPL taken backwards
      {0x8000, 0xB0, 0x10, 0x01, 0x8012, 3}, // BCS taken
  };
  for (const TCase& c : cases) {
    M.Load(c.At, {c.Opcode, c.Offset});
    C.P = c.P, C.CyclesLeft = 50;
    EXPECT_EQ(C.Step(), c.Target);
    EXPECT_EQ(50 - C.CyclesLeft, c.Cost);
  }
}

TEST_F(CPU, RunSlicesEndWithTheInstructionThatUsesTheBudget) {
  // 2-cycle NOPs: the loop event comes after the 61st; 3-cycle JMPs to self: after the 41st.
  struct TCase {
    std::initializer_list<uint8_t> Program;
    int InstructionsPerSlice;
  };
  for (const TCase& c : {TCase{{0xEA}, 61}, TCase{{0x4C, 0x00, 0x80}, 41}}) {
    std::fill(M.Memory.begin() + 0x8000, M.Memory.end(), 0xEA);
    M.Load(0x8000, c.Program);
    C.CyclesLeft = 122;
    M.LoopCodes = {InterruptNone};
    std::vector<uint16_t> pcAtLoop;
    M.Loops = 0;
    M.DuringLoop = [&] { pcAtLoop.push_back(C.PC); };
    C.Run();
    uint16_t expected = c.Program.size() == 1 ? 0x8000 + c.InstructionsPerSlice : 0x8000;
    ASSERT_EQ(pcAtLoop.size(), 2u);
    EXPECT_EQ(pcAtLoop[0], expected);
    EXPECT_EQ(C.CyclesLeft, 122); // the run ended on a loop event: a full slice waits
  }
}

TEST_F(CPU, InterruptsAreTakenAtSliceBoundaries) {
  M.Memory[0xFFFA] = 0x00, M.Memory[0xFFFB] = 0x90; // NMI
  M.Memory[0xFFFE] = 0x00, M.Memory[0xFFFF] = 0xA0; // IRQ
  std::fill(M.Memory.begin() + 0x8000, M.Memory.begin() + 0xFFF0, 0xEA);
  struct TCase {
    uint8_t Code, P;
    uint16_t Resume;
    uint8_t PAfter;
  };
  const TCase cases[] = {
      {InterruptNMI, 0x2C, 0x9000, 0x24}, // NMI: D cleared, I kept
      {InterruptNMI, 0x38, 0x9000, 0x30}, // NMI with I clear: still clear; B kept in P
      {InterruptIRQ, 0x24, 0xC100, 0x24}, // IRQ refused while I is set, and forgotten
      {InterruptIRQ, 0x20, 0xA000, 0x24}, // IRQ with I clear: I set
      {7, 0x20, 0xC100, 0x20},            // unknown codes do nothing
  };
  for (const TCase& c : cases) {
    C.PC = 0xC100 - 61, C.P = c.P, C.S = 0xFD, C.CyclesLeft = 122;
    M.Loops = 0;
    M.LoopCodes = {c.Code};
    M.Memory[0x01FB] = 0;
    C.Run();
    bool taken = c.Resume != 0xC100;
    if (taken) {
      EXPECT_EQ(M.Memory[0x01FD], 0xC1);
      EXPECT_EQ(M.Memory[0x01FC], 0x00);
      EXPECT_EQ(M.Memory[0x01FB], c.P & 0xEF) << "pushed status has B clear";
    }
    // The second slice ran 115 cycles after a taken interrupt (57 NOPs and one overrun), else 122.
    uint16_t expectedPC = c.Resume + (taken ? 58 : 61);
    EXPECT_EQ(C.PC, expectedPC) << "code " << +c.Code;
    EXPECT_EQ(C.P, c.PAfter) << "code " << +c.Code;
  }
}

TEST_F(CPU, ResetDuringTheLoopEventTakesEffectAtTheNextInstruction) {
  M.Memory[0xFFFC] = 0x00, M.Memory[0xFFFD] = 0xB0;
  M.Memory[0xFFFA] = 0x00, M.Memory[0xFFFB] = 0x90;
  std::fill(M.Memory.begin() + 0x8000, M.Memory.begin() + 0xFFF0, 0xEA);
  C.PC = 0x8000, C.CyclesLeft = 122, C.S = 0x80;
  M.LoopCodes = {InterruptNMI};
  M.DuringLoop = [&] {
    if (M.Loops == 0) C.Reset(), C.LoopCycle = 20;
  };
  C.Run();
  // The NMI was entered from the reset state (S = $FF) with the new slice of 20 - 7 cycles.
  EXPECT_EQ(M.Memory[0x01FF], 0xB0);
  EXPECT_EQ(M.Memory[0x01FE], 0x00);
  EXPECT_EQ(C.S, 0xFC);
  EXPECT_EQ(C.PC, 0x9000 + 7);
  EXPECT_EQ(C.CyclesLeft, 20);
}

TEST_F(CPU, StepRunsOneInstructionWithoutALoopEvent) {
  M.Load(0x8000, {0xA9, 0x42});
  C.CyclesLeft = 1;
  EXPECT_EQ(C.Step(), 0x8002);
  EXPECT_EQ(C.A, 0x42);
  EXPECT_EQ(C.CyclesLeft, -1);
  EXPECT_EQ(M.Loops, 0);
}

TEST(ZeroNegativeTable, GivesZAndN) {
  EXPECT_EQ(ZeroNegativeTable[0x00], 0x02);
  EXPECT_EQ(ZeroNegativeTable[0x7F], 0x00);
  EXPECT_EQ(ZeroNegativeTable[0x80], 0x80);
  EXPECT_EQ(ZeroNegativeTable[0xFF], 0x80);
}

} // namespace
