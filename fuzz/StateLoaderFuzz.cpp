// Arbitrary bytes as a save state for the sprite test cartridge, once as
// they are and once resealed (file length, the cartridge's digest and the
// CRC made right, so that the sections are read). A refused state must leave
// the console as it was; a loaded one must run on, and save as a state that
// loads again into the same bytes.

#include <cstdlib>
#include <memory>
#include <vector>

#include "core/CPUUnit.h"
#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "core/StateUnit.h"
#include "platform/Checksum.h"

namespace {

struct TConsole {
  TNES NES;
  int64_t StopFrame = 0;

  TConsole() {
    if (!NES.MMC->LoadROM(PIXTOR_FUZZ_STATE_CARTRIDGE)) std::abort();
    NES.FrameRate = 2;
    NES.Present = TPresentEvent::Bind<&TConsole::Present>(this);
    NES.PowerOn();
    NES.CPU->OnLoop = TLoopEvent::Bind<&TConsole::Loop>(this);
    NES.Reset();
  }
  void Present() {}
  void Loop(TCPU* Sender, uint8_t& Interrupt) {
    NES.CPULoop(Sender, Interrupt);
    if (NES.ScanLine == 0 && NES.FrameCount == StopFrame) NES.Pause();
  }
};

void Put32(std::vector<uint8_t>& Bytes, size_t At, uint32_t Value) {
  for (int i = 0; i < 4; ++i) Bytes[At + i] = uint8_t(Value >> (8 * i));
}

void Try(TConsole& Console, const std::vector<uint8_t>& Bytes) {
  const std::vector<uint8_t> before = SaveState(Console.NES);
  if (LoadState(Console.NES, Bytes)) {
    if (SaveState(Console.NES) != before) std::abort();
    return;
  }
  const std::vector<uint8_t> saved = SaveState(Console.NES);
  if (LoadState(Console.NES, saved) || SaveState(Console.NES) != saved) std::abort();
  Console.StopFrame = Console.NES.FrameCount + 2;
  Console.NES.Run();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static TConsole* console = new TConsole;
  std::vector<uint8_t> bytes(Data, Data + Size);
  Try(*console, bytes);
  if (Size < 52 || Size > MaxStateBytes) return 0;
  Put32(bytes, 12, uint32_t(Size));
  std::copy(console->NES.MMC->ImageDigest.begin(), console->NES.MMC->ImageDigest.end(), bytes.begin() + 16);
  Put32(bytes, Size - 4, Crc32(std::span(bytes).first(Size - 4)));
  Try(*console, bytes);
  return 0;
}
