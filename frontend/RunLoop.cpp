// The window's side of the run loop: window messages once per line, the
// frame clock and the joypad script once per frame, and the figures of --stats.
#include <chrono>
#include <cstdio>
#include <ctime>

#include <QCoreApplication>

#include "core/NESUnit.h"
#include "frontend/MainUnit.h"
#include "frontend/MidiRecording.h"
#include "platform/FrameClock.h"
#include "platform/qt/Screens.h"

TMainForm* TMainForm::Instance = nullptr;

// The run loop's message pump: the window's events once per line, and the
// frame clock once per emulated frame, before the line event that starts
// the next frame.
void TMainForm::PumpMessages() {
  if (Instance) {
    // The line event that follows begins the next line.
    if (Instance->MidiRecord) Instance->MidiRecord->SetLine(++Instance->Lines);
    else ++Instance->Lines;
    if (Instance->NES->ScanLine == FrameLines - 1) Instance->FrameDone();
    if (Instance->NES->ScanLine == JoypadPollLine)
      Instance->ReportRecordFailure(Instance->InputRecord.Frame(Instance->Frames, *Instance->NES));
  }
  QCoreApplication::processEvents();
}

void TMainForm::FrameDone() {
  ++Frames;
  Clock->Tick();
  if (!ShowStats) return;
  ++StatFrames;
  const auto now = TFrameClock::Clock::now();
  const std::chrono::duration<double> elapsed = now - StatStart;
  if (elapsed.count() < 1.0) return;
  const uint64_t drawn = (DXScreenTV ? DXScreenTV->Flips : 0) + ScreenTV->Draws;
  const double cpu = double(std::clock()) / CLOCKS_PER_SEC;
  std::fprintf(stderr, "pixtor: %.2f frames/s emulated, %.2f drawn, processor %.1f%%\n",
               StatFrames / elapsed.count(), double(drawn - StatDrawn) / elapsed.count(),
               100.0 * (cpu - StatCPU) / elapsed.count());
  StatFrames = 0;
  StatDrawn = drawn;
  StatCPU = cpu;
  StatStart = now;
}

