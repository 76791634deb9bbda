// An arbitrary image, powered on and run for 10 frames with joypad input:
// the bytes after the image (as its header sizes it) are the pads' buttons,
// one byte a pad a frame.

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

#include "core/CPUUnit.h"
#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "fuzz/MemoryFile.h"
#include "tools/InputScript.h"

namespace {

constexpr int64_t Frames = 10;

size_t ImageSize(const uint8_t* Data, size_t Size) {
  if (Size < 16) return Size;
  const size_t image = 16 + (Data[6] & 0x04 ? 512 : 0) + size_t(Data[4]) * 16384 + size_t(Data[5]) * 8192;
  return std::min(image, Size);
}

struct TRun {
  TNES NES;
  int64_t Lines = 0;
  std::unique_ptr<TScriptedPads> Pads;

  void Loop(TCPU* Sender, uint8_t& Interrupt) {
    ++Lines;
    Pads->SetFrame(Lines / FrameLines);
    NES.CPULoop(Sender, Interrupt);
    if (Lines == Frames * FrameLines) NES.Pause();
  }
  void Present() {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const size_t image = ImageSize(Data, Size);
  std::vector<TScriptStep> steps;
  for (size_t i = image; i < Size && i < image + 2 * Frames; ++i)
    steps.push_back({uint32_t(i - image) / 2, uint8_t((i - image) % 2), Data[i]});

  auto run = std::make_unique<TRun>();
  try {
    if (!run->NES.MMC->LoadROM(MemoryFile(Data, image))) return 0;
  } catch (const std::runtime_error&) {
    return 0;
  }
  run->Pads = std::make_unique<TScriptedPads>(std::move(steps));
  run->NES.SetInput(&run->Pads->Pad1, &run->Pads->Pad2);
  run->NES.Present = TPresentEvent::Bind<&TRun::Present>(run.get());
  run->NES.PowerOn();
  run->NES.CPU->OnLoop = TLoopEvent::Bind<&TRun::Loop>(run.get());
  run->NES.Reset();
  run->NES.Run();
  return 0;
}
