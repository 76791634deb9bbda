// The profile reader of SKIN.INI on arbitrary bytes: a few keys of two sections.
#include <cstdint>

#include "fuzz/MemoryFile.h"
#include "platform/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string path = MemoryFile(Data, Size);
  for (const char* key : {"Name", "Main", "System", "Text", ""}) {
    ReadProfileString(path, "INFO", key);
    ReadProfileString(path, "bitmaps", key);
  }
  return 0;
}
