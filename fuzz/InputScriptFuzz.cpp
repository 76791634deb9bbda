// The joypad-script reader on arbitrary text: steps or a message naming the line.

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

#include "tools/InputScript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  std::vector<uint8_t> text(Data, Data + Size);
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(fmemopen(text.data(), text.size(), "r"), &std::fclose);
  if (!file) return 0; // fmemopen takes no empty buffer
  try {
    TScriptedPads pads(ReadInputScript(file.get(), "script"));
    pads.SetFrame(INT64_MAX);
  } catch (const std::runtime_error&) {
  }
  return 0;
}
