// The image loader on arbitrary bytes: an image is loaded or refused, never a crash.

#include <stdexcept>

#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "fuzz/MemoryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TNES nes;
  try {
    nes.MMC->LoadROM(MemoryFile(Data, Size));
  } catch (const std::runtime_error&) {
    // a file error, reported with the file's name
  }
  return 0;
}
