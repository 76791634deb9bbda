#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "core/CPUUnit.h"
#include "platform/BoundMethod.h"

class TPPU;
class TMMC;
class TPSG;
class TJOY;
class TDXDraw;
class TCanvas;
class TDXInput;
class TDIB;

using TPresentEvent = TBoundMethod<void()>;

// Processor cycles from one line to the next, and lines in a frame.
inline constexpr int32_t LineCycles = 122;
inline constexpr int32_t FrameLines = 244;
// The line on which the joypads are read, and a pause request ends a run.
inline constexpr int32_t JoypadPollLine = 8;

// The console: owns the units, decodes the processor's address space and
// counts lines and frames from the processor's loop event.
class TNES {
public:
  TNES();
  ~TNES();
  TNES(const TNES&) = delete;
  TNES& operator=(const TNES&) = delete;

  TDXDraw* DXDraw = nullptr; // borrowed from the window
  TCanvas* Canvas = nullptr; // borrowed from the window
  std::array<uint8_t, 2048> RAM{};
  bool Running = false;
  bool Paused = false;
  int32_t FrameSkip = 0;
  int32_t SoundCountdown = 0;
  int32_t ScanLine = 0;
  int32_t FrameRate = 0;  // frame divisor; the console treats anything below 1 as 1
  int64_t FrameCount = 0; // frames begun since power-on: one more on every line 0
  // An interrupt a pause kept from the processor on line 8, taken when the run resumes.
  uint8_t PendingInterrupt = InterruptNone;
  std::unique_ptr<TPPU> PPU;
  std::unique_ptr<TCPU> CPU;
  std::unique_ptr<TMMC> MMC;
  std::unique_ptr<TPSG> PSG;
  std::unique_ptr<TJOY> JOY;
  // Bank[a >> 13][a] is the processor byte at a; PatternBank[a >> 10][a] the pattern byte at a.
  std::array<const uint8_t*, 8> Bank{};
  std::array<const uint8_t*, 9> PatternBank{};
  TPresentEvent Present;
  // The picture last presented: the frame buffer as Present found it, colours included.
  std::unique_ptr<TDIB> Shown;

  // Bus handlers, bound to the processor's events at power-on.
  void CPUReadMemory(TCPU* Sender, uint16_t Addr, uint8_t& Value);
  void CPUWriteMemory(TCPU* Sender, uint16_t Addr, uint8_t Value);
  void CPUReadOpcode(TCPU* Sender, uint16_t Addr, uint8_t& Value);
  // Line handler: one loop event is one line.
  void CPULoop(TCPU* Sender, uint8_t& Interrupt);
  // The processor's direct run: instructions with the bus handlers above inlined.
  void CPUExecute(TCPU& Sender, bool Slice);

  void PowerOn();
  void Reset();
  uint16_t Run();
  // As Run, calling OnInstruction before every instruction (TCPU::RunWatched).
  uint16_t RunWatched(TInstructionEvent OnInstruction);
  void Pause();
  void Stop();
  void SetDisplay(bool UseDirectDraw, TDXDraw* Display, TCanvas* ScreenCanvas);
  void SetInput(TDXInput* First, TDXInput* Second);

  void PresentDirectDraw();
  void PresentCanvas();
  // Line events since power-on.
  int64_t LineCount() const { return FrameCount * FrameLines + ScanLine; }

private:
  // Presents the frame buffer and keeps it as the picture shown.
  void PresentFrame();
  void TakePendingInterrupt();
};

// A table entry for memory mapped at a window: the memory's start less the
// window's first address, so that indexing it with a full address gives the byte.
inline const uint8_t* OffsetBank(const uint8_t* Memory, uint32_t WindowStart) {
  return reinterpret_cast<const uint8_t*>(reinterpret_cast<uintptr_t>(Memory) - WindowStart);
}

// What the processor fetches where no memory is mapped ($2000-$5FFF, and the
// cartridge windows before a cartridge is mapped): a page of $FF bytes. The
// entry is offset like any other, so a lookup stays one index.
const uint8_t* UnmappedBank(uint16_t WindowStart);
