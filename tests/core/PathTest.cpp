// The processor's two ways to the console's bus, the direct run and the
// calls through its slots, run side by side: random programs and the
// project's cartridges must leave the same traces, memory and pictures.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "ConsolePaths.h"
#include "TestImages.h"
#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "core/PPUUnit.h"
#include "platform/DIB.h"
#include "tools/FrameHash.h"
#include "tools/InputScript.h"

namespace {

// Index of the first entry where A and B differ, or -1 when they are equal.
template <typename T> long FirstDifference(const std::vector<T>& A, const std::vector<T>& B) {
  auto [a, b] = std::mismatch(A.begin(), A.end(), B.begin(), B.end());
  return a == A.end() && b == B.end() ? -1 : long(a - A.begin());
}

// One console run through one path, stopped after a number of lines; it
// records a row per instruction when watched and a hash per presented picture.
class TPathRun {
public:
  TNES NES;
  TSlotForwarder Forwarder{NES};
  std::unique_ptr<TScriptedPads> Pads;
  int64_t Lines = 0;
  int64_t StopAt = 0;
  std::vector<uint64_t> Trace;    // PC, A, X, Y, P, S and the low byte of the budget
  std::vector<uint64_t> Pictures; // frame buffer and palette RAM
  TLoopEvent DuringLoop;          // called before the console's line handler

  TPathRun() {
    NES.FrameRate = 1;
    NES.Present = TPresentEvent::Bind<&TPathRun::Present>(this);
  }

  // Power-on has happened: binds the loop and chooses the path.
  void Prepare(TPath Path) {
    NES.CPU->OnLoop = TLoopEvent::Bind<&TPathRun::Loop>(this);
    Forwarder.Install(Path);
  }

  void Run(int64_t Frames, bool Watched) { RunLines(Frames * FrameLines, Watched); }

  void RunLines(int64_t Count, bool Watched) {
    StopAt = Count;
    if (Watched)
      NES.CPU->RunWatched(TInstructionEvent::Bind<&TPathRun::Instruction>(this));
    else
      NES.CPU->Run();
  }

  // Registers, work RAM, video and sprite memory, picture unit registers, the picture.
  std::vector<uint8_t> State() const {
    const TCPU& cpu = *NES.CPU;
    const uint8_t registers[] = {cpu.A, cpu.X, cpu.Y, cpu.P, cpu.S, uint8_t(cpu.PC), uint8_t(cpu.PC >> 8),
                                 uint8_t(cpu.CyclesLeft), uint8_t(NES.ScanLine)};
    std::vector<uint8_t> state(std::begin(registers), std::end(registers));
    const TPPU& ppu = *NES.PPU;
    state.insert(state.end(), NES.RAM.begin(), NES.RAM.end());
    state.insert(state.end(), ppu.VRAM.begin(), ppu.VRAM.end());
    state.insert(state.end(), ppu.OAM.begin(), ppu.OAM.end());
    state.insert(state.end(), ppu.Reg.begin(), ppu.Reg.end());
    state.insert(state.end(), ppu.FrameBuffer->ScanLine(0), ppu.FrameBuffer->ScanLine(0) + TDIB::Width * TDIB::Height);
    return state;
  }

private:
  void Present() {
    Pictures.push_back(FrameHash(*NES.PPU->FrameBuffer, std::span(NES.PPU->VRAM).subspan<0x3F00, 32>()));
  }

  void Loop(TCPU* Sender, uint8_t& Interrupt) {
    ++Lines;
    if (DuringLoop) DuringLoop(Sender, Interrupt);
    if (Pads) Pads->SetFrame(Lines / FrameLines);
    NES.CPULoop(Sender, Interrupt);
    if (Lines == StopAt) Interrupt = InterruptStop;
  }

  bool Instruction(TCPU* CPU) {
    Trace.push_back(uint64_t(CPU->PC) << 48 | uint64_t(CPU->A) << 40 | uint64_t(CPU->X) << 32 |
                    uint64_t(CPU->Y) << 24 | uint64_t(CPU->P) << 16 | uint64_t(CPU->S) << 8 |
                    uint8_t(CPU->CyclesLeft));
    return true;
  }
};

// Documented opcodes by length, less those that jump (JMP, JSR, RTS, RTI,
// BRK), which a random program places itself.
// clang-format off
const std::vector<uint8_t> OneByte = {
    0x0A, 0x2A, 0x4A, 0x6A, 0x18, 0x38, 0x58, 0x78, 0xB8, 0xD8, 0xF8, 0xAA, 0xA8,
    0x8A, 0x98, 0xBA, 0x9A, 0x48, 0x08, 0x68, 0x28, 0xE8, 0xC8, 0xCA, 0x88, 0xEA};
const std::vector<uint8_t> TwoBytes = {
    0x69, 0xE9, 0x29, 0x09, 0x49, 0xA9, 0xA2, 0xA0, 0xC9, 0xE0, 0xC0,                   // immediate
    0x65, 0xE5, 0x25, 0x05, 0x45, 0xA5, 0xA6, 0xA4, 0x85, 0x86, 0x84, 0xC5, 0xE4, 0xC4, // zero page
    0x24, 0xE6, 0xC6, 0x06, 0x46, 0x26, 0x66,
    0x75, 0xF5, 0x35, 0x15, 0x55, 0xB5, 0xB6, 0xB4, 0x95, 0x96, 0x94, 0xD5, 0xF6, 0xD6, // indexed
    0x16, 0x56, 0x36, 0x76,
    0x61, 0xE1, 0x21, 0x01, 0x41, 0xA1, 0x81, 0xC1, 0x71, 0xF1, 0x31, 0x11, 0x51, 0xB1, // indirect
    0x91, 0xD1};
const std::vector<uint8_t> Branches = {0x10, 0x30, 0x50, 0x70, 0x90, 0xB0, 0xD0, 0xF0};
const std::vector<uint8_t> ThreeBytes = {
    0x6D, 0x7D, 0x79, 0xED, 0xFD, 0xF9, 0x2D, 0x3D, 0x39, 0x0D, 0x1D, 0x19, 0x4D, 0x5D,
    0x59, 0xAD, 0xBD, 0xB9, 0xAE, 0xBE, 0xAC, 0xBC, 0x8D, 0x9D, 0x99, 0x8E, 0x8C, 0xCD,
    0xDD, 0xD9, 0xEC, 0xCC, 0x2C, 0xEE, 0xFE, 0xCE, 0xDE, 0x0E, 0x1E, 0x4E, 0x5E, 0x2E,
    0x3E, 0x6E, 0x7E};
// clang-format on

// A cartridge with a random program that runs on for ever: random
// instructions from $8000, their absolute operands mostly work RAM, some the
// picture, sound and joypad registers and the program; branches only forward,
// an occasional call of a subroutine, and a jump back to $8000 at the end.
// Its vertical-blank handler does some work of its own. Work RAM and the
// patterns are random too.
struct TRandomCartridge {
  TTempFolder Folder;
  std::string Path;
  std::vector<uint8_t> RAM = std::vector<uint8_t>(0x800);

  explicit TRandomCartridge(uint32_t Seed) {
    std::mt19937 rng(Seed);
    auto pick = [&](const std::vector<uint8_t>& From) { return From[rng() % From.size()]; };
    std::vector<uint8_t> image = MakeImage(2, 1);
    uint8_t* rom = image.data() + 16; // $8000-$FFFF
    // $F000: the subroutine; $F100: the vertical-blank handler.
    const std::vector<uint8_t> subroutine = {0xE6, 0x30, 0xA5, 0x31, 0x69, 0x07, 0x85, 0x31, 0x60};
    const std::vector<uint8_t> handler = {0x48, 0x8A, 0x48, 0xE6, 0x32, 0xAD, 0x02, 0x20, 0x85,
                                          0x33, 0x68, 0xAA, 0x68, 0x40};
    std::copy(subroutine.begin(), subroutine.end(), rom + 0x7000);
    std::copy(handler.begin(), handler.end(), rom + 0x7100);
    rom[0x7FFA] = 0x00, rom[0x7FFB] = 0xF1; // NMI
    rom[0x7FFC] = 0x00, rom[0x7FFD] = 0x80; // reset
    rom[0x7FFE] = 0x00, rom[0x7FFF] = 0xF1; // IRQ and BRK: never reached

    auto address = [&]() -> uint16_t {
      uint32_t kind = rng() % 20;
      if (kind < 15) return uint16_t(rng() % 0x2000); // work RAM and its mirrors
      if (kind < 17) return uint16_t(0x2000 + rng() % 8);
      if (kind < 18) return uint16_t(0x4000 + rng() % 0x18);
      return uint16_t(0x8000 + rng() % 0x8000);
    };
    uint32_t at = 0;
    while (at < 0x6FF0) {
      uint32_t kind = rng() % 100;
      if (kind < 25) {
        rom[at++] = pick(OneByte);
      } else if (kind < 60) {
        rom[at++] = pick(TwoBytes);
        rom[at++] = uint8_t(rng());
      } else if (kind < 70) {
        rom[at++] = pick(Branches);
        rom[at++] = uint8_t(rng() % 16);
      } else if (kind < 98) {
        uint16_t addr = address();
        rom[at++] = pick(ThreeBytes);
        rom[at++] = uint8_t(addr), rom[at++] = uint8_t(addr >> 8);
      } else {
        rom[at++] = 0x20, rom[at++] = 0x00, rom[at++] = 0xF0; // JSR $F000
      }
    }
    while (at < 0x7000) rom[at++] = 0xEA;             // NOPs for the last branches
    rom[0x6FFD] = 0x4C, rom[0x6FFE] = 0x00, rom[0x6FFF] = 0x80; // JMP $8000
    for (uint32_t i = 0; i < 0x2000; ++i) image[16 + 0x8000 + i] = uint8_t(rng());
    for (uint8_t& b : RAM) b = uint8_t(rng());
    Path = Folder.Write("random.nes", image);
  }
};

void PowerOnRandom(TPathRun& Run, const TRandomCartridge& Cartridge, TPath Path) {
  ASSERT_TRUE(Run.NES.MMC->LoadROM(Cartridge.Path));
  Run.NES.PowerOn();
  std::copy(Cartridge.RAM.begin(), Cartridge.RAM.end(), Run.NES.RAM.begin());
  Run.NES.Reset();
  Run.Prepare(Path);
}

// What a run left behind. Consoles run one at a time: the processor's slots
// are always those of the newest.
struct TOutcome {
  std::vector<uint8_t> State;
  std::vector<uint64_t> Trace, Pictures;
  int64_t Forwarded = 0;
};

TOutcome RunRandom(const TRandomCartridge& Cartridge, TPath Path, int64_t Frames, bool Watched) {
  auto run = std::make_unique<TPathRun>();
  PowerOnRandom(*run, Cartridge, Path);
  run->Run(Frames, Watched);
  return {run->State(), std::move(run->Trace), std::move(run->Pictures), run->Forwarder.Calls};
}

TEST(Paths, RandomProgramsLeaveTheSameTracesAndMemory) {
  for (uint32_t seed : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u}) {
    const TRandomCartridge cartridge(seed);
    for (bool watched : {true, false}) {
      const TOutcome direct = RunRandom(cartridge, TPath::Direct, 20, watched);
      const TOutcome slots = RunRandom(cartridge, TPath::Slots, 20, watched);
      EXPECT_EQ(direct.Forwarded, 0) << "seed " << seed;
      EXPECT_GT(slots.Forwarded, 0) << "seed " << seed;
      EXPECT_EQ(FirstDifference(direct.Trace, slots.Trace), -1) << "seed " << seed << ", trace row";
      EXPECT_EQ(FirstDifference(direct.State, slots.State), -1) << "seed " << seed << ", watched " << watched;
      EXPECT_EQ(direct.Pictures, slots.Pictures) << "seed " << seed;
      if (watched) {
        EXPECT_GT(direct.Trace.size(), 20u * 4000) << "seed " << seed;
      }
    }
  }
}

TEST(Paths, EveryProjectCartridgeDrawsTheSameFrames) {
  std::vector<std::filesystem::path> cartridges;
  for (const auto& entry : std::filesystem::directory_iterator(PIXTOR_ROM_DIR))
    if (entry.path().extension() == ".nes") cartridges.push_back(entry.path());
  std::sort(cartridges.begin(), cartridges.end());
  ASSERT_GE(cartridges.size(), 9u) << "the project's cartridges are built into " << PIXTOR_ROM_DIR;

  for (const auto& cartridge : cartridges) {
    // The demo plays its scripted game; the others run long enough for all their phases.
    const bool demo = cartridge.stem() == "demo";
    const int64_t frames = demo ? 3500 : 300;
    std::vector<uint8_t> states[2];
    std::vector<uint64_t> pictures[2];
    for (TPath path : {TPath::Direct, TPath::Slots}) {
      auto run = std::make_unique<TPathRun>();
      ASSERT_TRUE(run->NES.MMC->LoadROM(cartridge.string())) << cartridge;
      if (demo) {
        run->Pads = std::make_unique<TScriptedPads>(ReadInputScriptFile(PIXTOR_DEMO_SCRIPT));
        run->NES.SetInput(&run->Pads->Pad1, &run->Pads->Pad2);
      }
      run->NES.PowerOn();
      run->NES.Reset();
      run->Prepare(path);
      run->Run(frames, false);
      states[int(path)] = run->State();
      pictures[int(path)] = std::move(run->Pictures);
    }
    EXPECT_EQ(pictures[0].size(), size_t(frames + 1)) << cartridge << ": power-on presents too";
    EXPECT_EQ(FirstDifference(pictures[0], pictures[1]), -1) << cartridge << " frame";
    EXPECT_EQ(FirstDifference(states[0], states[1]), -1) << cartridge;
  }
}

// Changes made to a console at the event of a line (counted from 1), before
// the console's handler.
using TMeddle = std::function<void(TNES& NES, int64_t Line)>;

// Runs a cartridge through both paths for Lines lines, watched or not, with
// the same changes at line events, and expects the same state, the same
// trace and the same budget at every line event (the line handler sees it)
// from both.
void ExpectSamePaths(const std::string& Cartridge, int64_t Lines, bool Watched, const std::string& What,
                     const TMeddle& Meddle = {}) {
  struct TLines {
    TNES& NES;
    const TMeddle& Meddle;
    std::vector<int32_t> Left = {};
    void Loop(TCPU* CPU, uint8_t&) {
      Left.push_back(CPU->CyclesLeft);
      if (Meddle) Meddle(NES, int64_t(Left.size()));
    }
  };
  std::vector<uint8_t> states[2];
  std::vector<uint64_t> traces[2];
  std::vector<int32_t> budgets[2];
  for (TPath way : {TPath::Direct, TPath::Slots}) {
    auto run = std::make_unique<TPathRun>();
    ASSERT_TRUE(run->NES.MMC->LoadROM(Cartridge));
    run->NES.PowerOn();
    run->NES.Reset();
    run->Prepare(way);
    TLines lines{run->NES, Meddle};
    run->DuringLoop = TLoopEvent::Bind<&TLines::Loop>(&lines);
    run->RunLines(Lines, Watched);
    states[int(way)] = run->State();
    traces[int(way)] = std::move(run->Trace);
    budgets[int(way)] = std::move(lines.Left);
  }
  EXPECT_EQ(FirstDifference(states[0], states[1]), -1) << What;
  EXPECT_EQ(FirstDifference(traces[0], traces[1]), -1) << What << ", trace row";
  EXPECT_EQ(FirstDifference(budgets[0], budgets[1]), -1) << What << ", line";
}

// A cartridge that waits in one loop, a read and a branch back onto it,
// while its vertical-blank handler steps the byte read. Leaving the loop, it
// loads the byte into A, X and Y, counts the exit and goes back in, by turns
// at the read and straight at the branch.
std::string WaitLoopCartridge(const TTempFolder& Folder, uint8_t Read, uint16_t Addr, uint8_t Branch) {
  std::vector<uint8_t> image = MakeImage(2, 1);
  uint8_t* rom = image.data() + 16; // $8000-$FFFF
  const bool absolute = (Read & 0x0F) >= 0x0C;
  const uint8_t low = uint8_t(Addr), high = uint8_t(Addr >> 8);
  std::vector<uint8_t> loop = {Read, low};
  if (absolute) loop.push_back(high);
  const uint16_t branchAt = uint16_t(0x8020 + loop.size());
  loop.insert(loop.end(), {Branch, uint8_t(-2 - int(loop.size()))});
  const std::vector<uint8_t> start = {0xA9, 0x80, 0x8D, 0x00, 0x20, // LDA #$80; STA $2000: NMI on
                                      0x4C, 0x20, 0x80};             // JMP $8020
  // $8040: AD Addr; TAX; TAY; INC $11; LDA $11; LSR A; LDA Addr; BCS $8020; JMP branchAt
  const std::vector<uint8_t> leave = {0xAD, low, high, 0xAA, 0xA8, 0xE6, 0x11, 0xA5, 0x11, 0x4A, 0xAD, low, high,
                                      0xB0, uint8_t(0x20 - 0x4F), 0x4C, uint8_t(branchAt), uint8_t(branchAt >> 8)};
  const std::vector<uint8_t> handler = {0xEE, low, high, 0x40}; // INC Addr; RTI
  std::copy(start.begin(), start.end(), rom);
  std::copy(loop.begin(), loop.end(), rom + 0x20);
  rom[0x20 + loop.size()] = 0x4C, rom[0x21 + loop.size()] = 0x40, rom[0x22 + loop.size()] = 0x80; // JMP $8040
  std::copy(leave.begin(), leave.end(), rom + 0x40);
  std::copy(handler.begin(), handler.end(), rom + 0x7100);
  rom[0x7FFA] = 0x00, rom[0x7FFB] = 0xF1; // NMI
  rom[0x7FFC] = 0x00, rom[0x7FFD] = 0x80; // reset
  return Folder.Write("wait.nes", image);
}

// The direct run counts off the passes of a wait loop the budget holds; it
// must stop on the instruction and budget where every pass run one by one
// stops, on any line, and leave the loop when the handler changes the byte.
TEST(Paths, WaitLoopsEndAsIfEveryPassRan) {
  const uint8_t reads[] = {0xA5, 0xA6, 0xA4, 0xC5, 0xE4, 0xC4, 0x24, 0xAD, 0xAE, 0xAC, 0xCD, 0xEC, 0xCC, 0x2C};
  const uint8_t branches[] = {0x10, 0x30, 0x50, 0x70, 0x90, 0xB0, 0xD0, 0xF0};
  TTempFolder folder;
  int cases = 0;
  for (uint8_t read : reads) {
    const bool absolute = (read & 0x0F) >= 0x0C;
    // Work RAM through a mirror, battery RAM, and a register that is no plain memory.
    for (uint16_t addr : absolute ? std::vector<uint16_t>{0x0810, 0x6010, 0x2002} : std::vector<uint16_t>{0x10}) {
      for (uint8_t branch : branches) {
        const std::string path = WaitLoopCartridge(folder, read, addr, branch);
        std::ostringstream what;
        what << std::hex << "read " << int(read) << " of " << addr << ", branch " << int(branch);
        ExpectSamePaths(path, 6 * FrameLines + cases++ % 97, false, what.str()); // many lines and budgets
      }
    }
  }
}

// A cartridge of ROM at $8000 with the program Start and the vertical-blank
// handler Handler at $F100.
std::string ProgramCartridge(const TTempFolder& Folder, const std::vector<uint8_t>& Start,
                             const std::vector<uint8_t>& Handler) {
  std::vector<uint8_t> image = MakeImage(2, 1);
  uint8_t* rom = image.data() + 16; // $8000-$FFFF
  std::copy(Start.begin(), Start.end(), rom);
  std::copy(Handler.begin(), Handler.end(), rom + 0x7100);
  rom[0x7FFA] = 0x00, rom[0x7FFB] = 0xF1; // NMI
  rom[0x7FFC] = 0x00, rom[0x7FFD] = 0x80; // reset
  return Folder.Write("program.nes", image);
}

// Idling in a JMP onto itself, while the vertical-blank handler steps a byte
// and waits a number of passes that the byte chooses, so that it returns to
// the jump on ever other cycles of its line. Watched, every pass runs and
// shows in the trace.
TEST(Paths, JumpsOntoThemselvesEndAsIfEveryPassRan) {
  TTempFolder folder;
  const std::string path = ProgramCartridge(folder,
                                            {0xA9, 0x80, 0x8D, 0x00, 0x20, // LDA #$80; STA $2000: NMI on
                                             0x4C, 0x05, 0x80},            // JMP $8005
                                            {0xE6, 0x10, 0xA5, 0x10,       // INC $10; LDA $10
                                             0x29, 0x0F, 0xAA,             // AND #$0F; TAX
                                             0xE8, 0xCA, 0xD0, 0xFD, 0x40}); // INX; DEX; BNE -3; RTI
  for (bool watched : {false, true})
    for (int64_t lines = 3 * FrameLines; lines < 3 * FrameLines + 40; ++lines)
      ExpectSamePaths(path, lines, watched, "stopped on line " + std::to_string(lines));
}

// A wait loop copied to work RAM at $0300, LDA $10 and BEQ back, while its
// code, the byte it reads and the registers are changed between slices (as
// a message handler may): now and then the loop reads another byte ($11, not
// 0), finds $10 not 0, or finds the flags or A changed, and leaves, and is
// entered again.
TEST(Paths, WaitLoopsFollowChangesBetweenSlices) {
  TTempFolder folder;
  const std::string path =
      ProgramCartridge(folder,
                       {0xA2, 0x06, 0xBD, 0x20, 0x80,       // $8000 LDX #6; LDA $8020,X
                        0x9D, 0x00, 0x03, 0xCA, 0x10, 0xF7, //       STA $0300,X; DEX; BPL $8002
                        0xA9, 0x01, 0x85, 0x11,             // $800B LDA #1; STA $11
                        0x4C, 0x00, 0x03,                   //       JMP $0300
                        0xEA, 0xEA, 0xEA, 0xEA, 0xEA, 0xEA, 0xEA, 0xEA, 0xEA, 0xEA, 0xEA, 0xEA, 0xEA, 0xEA,
                        0xA5, 0x10, 0xF0, 0xFC,             // $8020 (the loop) LDA $10; BEQ -4
                        0x4C, 0x30, 0x80, 0xEA,             //       JMP $8030
                        0xEA, 0xEA, 0xEA, 0xEA, 0xEA, 0xEA, 0xEA, 0xEA,
                        0xE6, 0x12, 0x4C, 0x00, 0x03},      // $8030 INC $12; JMP $0300
                       {0x40});
  const TMeddle meddle = [](TNES& NES, int64_t Line) {
    switch (Line % 40) {
    case 5: NES.RAM[0x301] = 0x11; break;
    case 6: NES.RAM[0x301] = 0x10; break;
    case 15: NES.RAM[0x10] = 1; break;
    case 16: NES.RAM[0x10] = 0; break;
    case 25: NES.CPU->A = 0x55; break;
    case 30: NES.CPU->P ^= FlagZ; break;
    default: break;
    }
  };
  for (int64_t lines = 100; lines < 140; ++lines)
    ExpectSamePaths(path, lines, false, "stopped on line " + std::to_string(lines), meddle);
}

// Counts the direct runs, by the line they run on, and passes them on.
struct TDirectCounter {
  TNES& NES;
  const int64_t& Lines;
  std::vector<int64_t> RunsOnLine = {};
  void Run(TCPU& CPU, bool Slice) {
    RunsOnLine.push_back(Lines);
    NES.CPUExecute(CPU, Slice);
  }
};

TEST(Paths, TheChoiceIsMadeAgainAtEveryLoopEvent) {
  TPathRun run;
  PowerOnRandom(run, TRandomCartridge(9), TPath::Direct);
  TDirectCounter counter{run.NES, run.Lines};
  run.NES.CPU->DirectBus.Run = TDirectRun::Bind<&TDirectCounter::Run>(&counter);
  // Forwarders from line 10's event, the console's handlers again from line 20's.
  struct TSwitcher {
    TPathRun& Run;
    void Loop(TCPU*, uint8_t&) {
      TCPU& cpu = *Run.NES.CPU;
      if (Run.Lines == 10) Run.Forwarder.Install(TPath::Slots);
      if (Run.Lines == 20)
        cpu.OnReadMemory = cpu.DirectBus.OnReadMemory, cpu.OnReadOpcode = cpu.DirectBus.OnReadOpcode,
        cpu.OnWriteMemory = cpu.DirectBus.OnWriteMemory;
    }
  } switcher{run};
  run.DuringLoop = TLoopEvent::Bind<&TSwitcher::Loop>(&switcher);
  run.StopAt = 30;
  run.NES.CPU->Run();
  std::vector<int64_t> expected;
  for (int64_t line = 0; line < 30; ++line)
    if (line < 10 || line >= 20) expected.push_back(line);
  EXPECT_EQ(counter.RunsOnLine, expected) << "one direct slice per line, none while the forwarders are in";

  // A watched run chooses before every instruction: a change made at an
  // instruction event holds from that instruction on.
  struct TWatcher {
    TPathRun& Run;
    int Instructions = 0;
    bool Instruction(TCPU*) {
      if (++Instructions == 100) Run.Forwarder.Install(TPath::Slots);
      return Instructions < 200;
    }
  } watcher{run};
  counter.RunsOnLine.clear();
  run.DuringLoop = {};
  run.NES.CPU->RunWatched(TInstructionEvent::Bind<&TWatcher::Instruction>(&watcher));
  EXPECT_EQ(counter.RunsOnLine.size(), 99u);
}

} // namespace
