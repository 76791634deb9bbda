// The window's side of the run loop: window messages and the frame clock
// once a frame, the joypad script and the music's time, and the figures of --stats.
#include <chrono>
#include <cstdio>
#include <ctime>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "core/NESUnit.h"
#include "frontend/MainUnit.h"
#include "frontend/MidiRecording.h"
#include "platform/FrameClock.h"
#include "platform/qt/Screens.h"

TMainForm* TMainForm::Instance = nullptr;

namespace {

// Handles window messages as they come until Deadline; those pending at
// once when it has passed. Waiting costs one system call: the wait for the
// next message, which the timer at the deadline ends.
void DispatchUntil(TFrameClock::Clock::time_point Deadline) {
  const auto left = Deadline - TFrameClock::Clock::now();
  if (left <= TFrameClock::Clock::duration::zero()) {
    QCoreApplication::processEvents();
    return;
  }
  QTimer deadline;
  deadline.setSingleShot(true);
  deadline.setTimerType(Qt::PreciseTimer);
  deadline.start(std::chrono::ceil<std::chrono::milliseconds>(left));
  while (deadline.isActive()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace

// The run loop's message pump, called before every line event. Window
// messages are handled once a frame, while the window waits for the frame's
// time: a line costs next to nothing, and a key pressed during one frame is
// still seen by the joypads on line 8 of the next, as before.
void TMainForm::PumpMessages() {
  if (!Instance) return;
  TMainForm& form = *Instance;
  // The line event that follows begins the next line.
  ++form.Lines;
  if (form.MidiRecord) form.MidiRecord->SetLine(form.Lines);
  if (form.NES->ScanLine == JoypadPollLine)
    form.ReportRecordFailure(form.InputRecord.Frame(form.Frames, *form.NES));
  if (form.NES->ScanLine == FrameLines - 1) form.FrameDone();
}

void TMainForm::FrameDone() {
  ++Frames;
  // Fast-forward runs unpaced; when it ends, the clock starts again from the present.
  if (FastForward)
    QCoreApplication::processEvents();
  else
    DispatchUntil(Clock->Advance(TFrameClock::Clock::now()));
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

