// Line and frame timing, power, run and pause of the console.

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "TestImages.h"
#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "core/PPUUnit.h"
#include "core/PSGUnit.h"
#include "platform/DIB.h"
#include "platform/Display.h"
#include "platform/MessagePump.h"

namespace {



class Console : public ::testing::Test {
public:
  TNES NES;
  TPPU& PPU = *NES.PPU;
  std::vector<int> PresentedAt; // event numbers
  int Events = 0;
  std::array<uint8_t, 0x2000> Patterns{};

  void Present() { PresentedAt.push_back(Events); }

  Console() {
    NES.FrameRate = 1;
    NES.Present = TPresentEvent::Bind<&Console::Present>(this);
    NES.PowerOn();
    PresentedAt.clear();
    NES.PatternBank.fill(Patterns.data());
  }

  // Raises one loop event and gives the code it hands back.
  uint8_t Event() {
    uint8_t code = 0xEE;
    ++Events;
    NES.CPULoop(NES.CPU.get(), code);
    return code;
  }
  // Raises events up to and including event number Last; gives the codes by event number.
  std::vector<uint8_t> EventsUpTo(int Last) {
    std::vector<uint8_t> codes(Last + 1, InterruptNone);
    while (Events < Last) {
      uint8_t code = Event();
      codes[Events] = code;
    }
    return codes;
  }
};

TEST_F(Console, PowerOnStartsTheCountersAndPresents) {
  NES.ScanLine = 100, NES.FrameSkip = 2, NES.SoundCountdown = 5, NES.Running = NES.Paused = true;
  NES.FrameCount = 7, NES.PendingInterrupt = InterruptNMI;
  NES.RAM[5] = 0x42;
  NES.PowerOn();
  EXPECT_EQ(NES.ScanLine, 0);
  EXPECT_EQ(NES.FrameCount, 0);
  EXPECT_EQ(NES.PendingInterrupt, InterruptNone);
  EXPECT_EQ(NES.FrameSkip, 0);
  EXPECT_EQ(NES.SoundCountdown, 244);
  EXPECT_FALSE(NES.Running);
  EXPECT_FALSE(NES.Paused);
  EXPECT_EQ(NES.RAM[5], 0x42) << "power-on keeps work RAM";
  EXPECT_EQ(PresentedAt.size(), 1u);

  TNES bare; // no Present assigned: nothing is called
  bare.PowerOn();
  EXPECT_FALSE(bare.Present);
}

TEST_F(Console, VerticalBlankComesOnLine238AndGoesOnLine0) {
  PPU.Reg[0] = 0x80;
  auto codes = EventsUpTo(244);
  for (int e = 1; e <= 244; ++e) {
    uint8_t expected = e == 238 ? InterruptNMI : InterruptNone;
    EXPECT_EQ(codes[e], expected) << "event " << e;
  }
  EXPECT_EQ(NES.ScanLine, 0);
  EXPECT_FALSE(PPU.Reg[2] & StatusVBlank);
  EXPECT_EQ(PresentedAt, std::vector<int>{244});

  PPU.Reg[0] = 0x00;
  EventsUpTo(244 + 238);
  EXPECT_TRUE(PPU.Reg[2] & StatusVBlank);
  EXPECT_EQ(NES.ScanLine, 238);
}

TEST_F(Console, SoundStepsOnceAFrame) {
  NES.PSG->Length[0] = 3;
  EventsUpTo(243);
  EXPECT_EQ(NES.PSG->Length[0], 3);
  EventsUpTo(244);
  EXPECT_EQ(NES.PSG->Length[0], 2);
  EventsUpTo(487);
  EXPECT_EQ(NES.PSG->Length[0], 2);
  EventsUpTo(488);
  EXPECT_EQ(NES.PSG->Length[0], 1);
}

TEST_F(Console, FrameDivisorSchedulesPictureWork) {
  struct TCase {
    int FrameRate;
    std::vector<int> PresentFrames; // frame numbers from power-on (event 244·f ends frame f)
  };
  const TCase cases[] = {{1, {1, 2, 3, 4, 5, 6}}, {3, {3, 6}}, {0, {1, 2, 3, 4, 5, 6}}, {-5, {1, 2, 3, 4, 5, 6}}};
  for (const TCase& c : cases) {
    NES.FrameRate = c.FrameRate;
    NES.PowerOn();
    PresentedAt.clear();
    Events = 0;
    EventsUpTo(6 * 244);
    std::vector<int> expected;
    for (int f : c.PresentFrames) expected.push_back(f * 244);
    EXPECT_EQ(PresentedAt, expected) << "frame divisor " << c.FrameRate;
  }
}

TEST_F(Console, SpriteZeroFlagAndInterrupt) {
  // Sprite 0 at Y = 100 with its last opaque row 5: the flag comes on line 106.
  NES.PPU->OAM[0] = 100, NES.PPU->OAM[1] = 0;
  Patterns[5] = 0x80;
  PPU.Reg[1] = 0x10;
  PPU.Reg[0] = 0x40;
  auto codes = EventsUpTo(238);
  EXPECT_EQ(PPU.Sprite0Line, 106);
  EXPECT_EQ(codes[106], InterruptNMI);
  EXPECT_EQ(codes[105], InterruptNone);
  EXPECT_FALSE(PPU.Reg[2] & StatusSprite0) << "cleared on line 238";
  Events = 0;
  NES.PowerOn();
  PPU.Reg[1] = 0x10;
  EventsUpTo(106);
  EXPECT_TRUE(PPU.Reg[2] & StatusSprite0);

  // Sprites off: the line is still computed, the flag never set.
  NES.PowerOn();
  Events = 0;
  PPU.Reg[1] = 0x00;
  PPU.Reg[0] = 0x40;
  codes = EventsUpTo(238);
  EXPECT_EQ(codes[106], InterruptNone);
  EXPECT_FALSE(PPU.Reg[2] & StatusSprite0);

  // A sprite-0 line above 8 never raises the flag.
  NES.PowerOn();
  Events = 0;
  NES.PPU->OAM[0] = 0;
  PPU.Reg[1] = 0x10;
  EventsUpTo(237);
  EXPECT_EQ(PPU.Sprite0Line, 6);
  EXPECT_FALSE(PPU.Reg[2] & StatusSprite0);
}

TEST_F(Console, PauseStopsOnLine8EvenOnTheSprite0InterruptLine) {
  NES.Pause();
  auto codes = EventsUpTo(8);
  EXPECT_EQ(codes[8], InterruptStop);
  EXPECT_EQ(NES.ScanLine, 8);

  // Sprite 0 at Y = 0 with rows 0-7 opaque: its line is 8, the pause line.
  NES.PowerOn();
  Events = 0;
  NES.PPU->OAM[0] = 0;
  Patterns.fill(0xFF);
  PPU.Reg[1] = 0x10, PPU.Reg[0] = 0x40;
  codes = EventsUpTo(8);
  EXPECT_EQ(codes[8], InterruptNMI) << "no pause asked: the sprite-0 interrupt";
  NES.Paused = true;
  codes = EventsUpTo(8 + 244);
  EXPECT_EQ(codes[8 + 244], InterruptStop) << "the pause wins";
  EXPECT_TRUE(PPU.Reg[2] & StatusSprite0) << "the flag is still raised";
  EXPECT_EQ(NES.PendingInterrupt, InterruptNMI) << "kept for the next run";
  EXPECT_EQ(NES.FrameCount, 1) << "one line 0 since power-on";
}

// A cartridge whose program loops on itself, run by the real processor.
class Running : public Console {
public:
  static inline Running* Current = nullptr;
  int PumpCalls = 0;
  int PauseAfter = 0;
  static void Pump() {
    if (++Current->PumpCalls == Current->PauseAfter) Current->NES.Pause();
  }

  TTempFolder Folder;
  Running() {
    auto image = MakeImage(1, 1);
    // $C000: JMP $C000; NMI and reset vectors $C000.
    image[16] = 0x4C, image[17] = 0x00, image[18] = 0xC0;
    image[16 + 0x3FFA] = 0x00, image[16 + 0x3FFB] = 0xC0; // NMI vector $C000
    image[16 + 0x3FFC] = 0x00, image[16 + 0x3FFD] = 0xC0;
    EXPECT_TRUE(NES.MMC->LoadROM(Folder.Write("loop.nes", image)));
    NES.PowerOn();
    Current = this;
    SetMessagePump(&Running::Pump);
  }
  ~Running() override { SetMessagePump(nullptr); }
};

TEST_F(Running, PauseEndsTheRunOnLine8AndRunResumesOnLine9) {
  NES.Reset();
  EXPECT_TRUE(NES.Running);
  PauseAfter = 300; // in the second frame: the run ends on that frame's line 8
  EXPECT_EQ(NES.Run(), 0xC000);
  EXPECT_EQ(NES.ScanLine, 8);
  EXPECT_EQ(PumpCalls, 2 * 244 + 8);
  EXPECT_FALSE(NES.Running);
  EXPECT_TRUE(NES.Paused);
  EXPECT_EQ(NES.CPU->CyclesLeft, 122);

  PauseAfter = PumpCalls + 1;
  NES.Run();
  EXPECT_EQ(PumpCalls, 3 * 244 + 8) << "resumed on line 9, ran to line 8 of the next frame";
}

TEST_F(Running, PauseEndsTheRunWhenSprite0TakesLine8) {
  // The cartridge's tiles are opaque: sprite 0 at Y = 0 has its line on 8.
  // The sprite-0 interrupt is on, and its handler is the loop itself.
  NES.PPU->OAM[0] = 0;
  PPU.Reg[1] = 0x10, PPU.Reg[0] = 0x40;
  NES.Reset();
  PauseAfter = 300;
  // A frame is about 10,000 loop instructions: the run must end within a few.
  struct TLimit {
    int Executed = 0;
    bool Instruction(TCPU*) { return ++Executed < 60000; }
  } limit;
  NES.CPU->RunWatched(TInstructionEvent::Bind<&TLimit::Instruction>(&limit));
  EXPECT_LT(limit.Executed, 60000) << "the pause was never honoured";
  EXPECT_EQ(NES.ScanLine, 8);
  EXPECT_EQ(PumpCalls, 2 * 244 + 8);
  EXPECT_TRUE(PPU.Reg[2] & StatusSprite0);

  // The run that resumes takes the interrupt the pause held back before its
  // first instruction, as an unpaused run would have at the line's end.
  const uint8_t stack = NES.CPU->S;
  struct TNone {
    bool Instruction(TCPU*) { return false; }
  } none;
  NES.RunWatched(TInstructionEvent::Bind<&TNone::Instruction>(&none));
  EXPECT_EQ(NES.CPU->S, uint8_t(stack - 3)) << "return address and status pushed";
  EXPECT_EQ(NES.CPU->CyclesLeft, 122 - 7);
  EXPECT_EQ(NES.PendingInterrupt, InterruptNone);
}

} // namespace

namespace {

// Recording stand-ins for the window's display and canvas.
struct TFakeSurface : TDrawSurface {
  int Copies = 0;
  void Assign(const TDIB&) override { ++Copies; }
};

struct TFakeDisplay : TDXDraw {
  TFakeSurface DrawSurface;
  bool Able = true, Visible = true;
  int Flips = 0;
  bool CanDraw() override { return Able; }
  TDrawSurface& Surface() override { return DrawSurface; }
  void Flip() override { ++Flips; }
  void SetVisible(bool Show) override { Visible = Show; }
};

struct TFakeCanvas : TCanvas {
  std::vector<std::pair<int, int>> DrawnAt;
  void Draw(int X, int Y, const TDIB&) override { DrawnAt.emplace_back(X, Y); }
};

TEST(Display, SetDisplayChoosesWherePresentsGo) {
  TNES nes;
  TFakeDisplay display;
  TFakeCanvas canvas;
  nes.SetDisplay(false, &display, &canvas);
  EXPECT_FALSE(display.Visible);
  EXPECT_EQ(canvas.DrawnAt, (std::vector<std::pair<int, int>>{{0, 0}})) << "the current frame is shown at once";
  nes.Present();
  EXPECT_EQ(canvas.DrawnAt.size(), 2u);
  EXPECT_EQ(display.Flips, 0);

  nes.SetDisplay(true, &display, &canvas);
  EXPECT_TRUE(display.Visible);
  EXPECT_EQ(display.Flips, 1);
  EXPECT_EQ(display.DrawSurface.Copies, 1);
  display.Able = false; // a display that cannot draw drops the frame
  nes.Present();
  EXPECT_EQ(display.Flips, 1);
  EXPECT_EQ(canvas.DrawnAt.size(), 2u);
}

} // namespace
