#include "core/NESUnit.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "core/CPUInterpreter.h"
#include "core/JOYUnit.h"
#include "core/MMCUnit.h"
#include "core/PPUUnit.h"
#include "core/PSGUnit.h"
#include "platform/DIB.h"
#include "platform/Display.h"

namespace {

// Lines of the frame where the console acts.
constexpr int32_t VBlankLine = 238;
constexpr int32_t FirstSpriteLine = 8;
constexpr int32_t DrawnLines = 240;

alignas(64) const std::array<uint8_t, 0x2000> OpenBus = [] {
  std::array<uint8_t, 0x2000> page{};
  page.fill(0xFF);
  return page;
}();

} // namespace

const uint8_t* UnmappedBank(uint16_t WindowStart) { return OffsetBank(OpenBus.data(), WindowStart); }

TNES::TNES() {
  CPU = std::make_unique<TCPU>();
  // The handlers power-on puts in the processor's slots, and their direct run.
  CPU->DirectBus = {TReadMemory::Bind<&TNES::CPUReadMemory>(this), TWriteMemory::Bind<&TNES::CPUWriteMemory>(this),
                    TReadMemory::Bind<&TNES::CPUReadOpcode>(this), TDirectRun::Bind<&TNES::CPUExecute>(this)};
  PPU = std::make_unique<TPPU>(this);
  MMC = std::make_unique<TMMC>(this);
  PSG = std::make_unique<TPSG>(this);
  JOY = std::make_unique<TJOY>(this);
  Shown = std::make_unique<TDIB>(*PPU->FrameBuffer);
  for (size_t w = 0; w < Bank.size(); ++w) Bank[w] = UnmappedBank(static_cast<uint16_t>(w << 13));
  PatternBank.fill(OpenBus.data());
}

TNES::~TNES() {
  // The units go in the order they were made: processor first.
  CPU.reset();
  PPU.reset();
  MMC.reset();
  PSG.reset();
  JOY.reset();
}

// Processor memory map:
//   $0000-$1FFF  2 KB work RAM, mirrored four times
//   $2000-$3FFF  picture unit registers (the unit decodes the full address)
//   $4000-$4014  sound registers ($4014: sprite DMA on writes)
//   $4015-$4017  joypad ports
//   $4018-$5FFF  reads: the sound unit ($FF); writes: the cartridge
//   $6000-$7FFF  battery RAM through Bank[3]
//   $8000-$FFFF  program ROM through Bank[4..7]
void TNES::CPUReadMemory(TCPU*, uint16_t Addr, uint8_t& Value) {
  switch (Addr >> 13) {
  case 0: Value = RAM[Addr & 0x7FF]; break;
  case 1: Value = PPU->ReadReg(Addr); break;
  case 2: Value = (Addr >= 0x4015 && Addr <= 0x4017) ? JOY->ReadPort(Addr) : PSG->ReadRegister(Addr); break;
  default: Value = Bank[Addr >> 13][Addr]; break;
  }
}

void TNES::CPUWriteMemory(TCPU*, uint16_t Addr, uint8_t Value) {
  if (Addr < 0x2000) {
    RAM[Addr & 0x7FF] = Value;
  } else if (Addr < 0x4000) {
    PPU->WriteReg(Addr, Value);
  } else if (Addr < 0x4014) {
    PSG->WriteRegister(Addr, Value);
  } else if (Addr == 0x4014) {
    PPU->WriteReg(Addr, Value);
  } else if (Addr < 0x4018) {
    JOY->WritePort(Addr, Value);
  } else {
    MMC->OnWrite(Addr, Value);
  }
}

// Opcodes, operands and stack pulls come straight from the tables, no device
// touched. Work RAM needs its mirror mask; every other window is one lookup.
// Most fetches are of the program, in the cartridge.
void TNES::CPUReadOpcode(TCPU*, uint16_t Addr, uint8_t& Value) {
  if (Addr >= 0x2000) [[likely]]
    Value = Bank[Addr >> 13][Addr];
  else
    Value = RAM[Addr & 0x7FF];
}

namespace {

// The bus handlers called directly, each still one call per access. The
// sender is read at each call rather than kept: the handlers inline to code
// that never uses it, and a second member would keep the bus in memory.
struct TConsoleBus {
  TNES* NES;

  PIXTOR_INLINE uint8_t Read(uint16_t Addr) {
    uint8_t value;
    NES->CPUReadMemory(CurrentCPU, Addr, value);
    return value;
  }
  PIXTOR_INLINE uint8_t Fetch(uint16_t Addr) {
    uint8_t value;
    NES->CPUReadOpcode(CurrentCPU, Addr, value);
    return value;
  }
  PIXTOR_INLINE void Write(uint16_t Addr, uint8_t Value) { NES->CPUWriteMemory(CurrentCPU, Addr, Value); }
  // Reads of work RAM and of the cartridge windows touch no device.
  static bool IsPlain(uint16_t Addr) { return Addr < 0x2000 || Addr >= 0x6000; }
};

} // namespace

void TNES::CPUExecute(TCPU& Sender, bool Slice) { ExecuteOn(Sender, TConsoleBus{this}, Slice); }

void TNES::CPULoop(TCPU*, uint8_t& Interrupt) {
  Interrupt = InterruptNone;

  if (--SoundCountdown <= 0) {
    SoundCountdown = FrameLines;
    PSG->FrameStep();
  }

  ScanLine = (ScanLine + 1) % FrameLines;
  uint8_t& ctrl = PPU->Reg[0];
  uint8_t& mask = PPU->Reg[1];
  uint8_t& status = PPU->Reg[2];

  if (ScanLine == 0) {
    ++FrameCount;
    status &= ~StatusVBlank;
    if (FrameSkip == 0) PresentFrame();
  }
  if (FrameSkip == 0 && ScanLine < DrawnLines) PPU->DrawBGLine(ScanLine);

  if (ScanLine == VBlankLine) {
    FrameSkip = (FrameSkip + 1) % std::max(FrameRate, 1);
    if ((mask & MaskSprites) && FrameSkip == 0) PPU->DrawSprites(FirstSpriteLine);
    status = (status | StatusVBlank) & ~StatusSprite0;
    if (ctrl & CtrlNMIOnVBlank) Interrupt = InterruptNMI;
  } else if (ScanLine == JoypadPollLine) {
    JOY->Poll();
    PPU->FindSprite0Line();
    if (Paused) Interrupt = InterruptStop;
  }

  if (ScanLine >= FirstSpriteLine && ScanLine <= VBlankLine && (mask & MaskSprites) &&
      PPU->Sprite0Line == ScanLine) {
    status |= StatusSprite0;
    // A pause request on line 8 wins over that line's sprite-0 interrupt, so
    // a cartridge cannot keep the console from pausing; the interrupt waits
    // for the next run, which then goes on as if there had been no pause.
    if (ctrl & CtrlNMIOnSprite0) (Interrupt == InterruptStop ? PendingInterrupt : Interrupt) = InterruptNMI;
  }
}

void TNES::PowerOn() {
  Running = false;
  Paused = false;
  ScanLine = 0;
  SoundCountdown = FrameLines;
  FrameSkip = 0;
  FrameCount = 0;
  PendingInterrupt = InterruptNone;
  CPU->OnReadMemory = CPU->DirectBus.OnReadMemory;
  CPU->OnWriteMemory = CPU->DirectBus.OnWriteMemory;
  CPU->OnReadOpcode = CPU->DirectBus.OnReadOpcode;
  CPU->OnLoop = TLoopEvent::Bind<&TNES::CPULoop>(this);
  CPU->LoopCycle = LineCycles;
  Bank[0] = RAM.data();
  MMC->ResetMapper();
  PPU->Reset();
  PSG->ResetSound();
  JOY->Reset();
  if (Present) PresentFrame();
}

void TNES::Reset() {
  Paused = false;
  Running = true;
  CPU->Reset();
}

uint16_t TNES::Run() {
  Paused = false;
  Running = true;
  TakePendingInterrupt();
  return CPU->Run();
}

uint16_t TNES::RunWatched(TInstructionEvent OnInstruction) {
  Paused = false;
  Running = true;
  TakePendingInterrupt();
  return CPU->RunWatched(OnInstruction);
}

// Where the line event would have handed it over: at the start of a slice, before any instruction.
void TNES::TakePendingInterrupt() {
  if (PendingInterrupt != InterruptNone) CPU->TakeInterrupt(std::exchange(PendingInterrupt, InterruptNone));
}

void TNES::Pause() {
  Paused = true;
  Running = false;
}

void TNES::Stop() { Pause(); }

void TNES::SetDisplay(bool UseDirectDraw, TDXDraw* Display, TCanvas* ScreenCanvas) {
  DXDraw = Display;
  Canvas = ScreenCanvas;
  if (DXDraw) DXDraw->SetVisible(UseDirectDraw);
  Present = UseDirectDraw ? TPresentEvent::Bind<&TNES::PresentDirectDraw>(this)
                          : TPresentEvent::Bind<&TNES::PresentCanvas>(this);
  Present();
}

void TNES::SetInput(TDXInput* First, TDXInput* Second) {
  JOY->Input1 = First;
  JOY->Input2 = Second;
}

void TNES::PresentFrame() {
  Present();
  *Shown = *PPU->FrameBuffer;
}

void TNES::PresentDirectDraw() {
  if (DXDraw && DXDraw->CanDraw()) {
    PPU->DrawToSurface(DXDraw->Surface());
    DXDraw->Flip();
  }
}

void TNES::PresentCanvas() {
  if (Canvas) PPU->DrawToCanvas(*Canvas);
}
