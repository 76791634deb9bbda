// Feeds arbitrary bytes to the profile reader as a file and reads a few keys.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "platform/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  char Path[] = "/tmp/pixtor-ini-XXXXXX";
  const int Descriptor = mkstemp(Path);
  if (Descriptor < 0) return 0;
  for (size_t Written = 0; Written < Size;) {
    const ssize_t Count = write(Descriptor, Data + Written, Size - Written);
    if (Count <= 0) break;
    Written += size_t(Count);
  }
  close(Descriptor);
  for (const char* Key : {"Name", "Main", "System", "Text", ""}) {
    ReadProfileString(Path, "INFO", Key);
    ReadProfileString(Path, "bitmaps", Key);
  }
  unlink(Path);
  return 0;
}
