#include "fuzz/MemoryFile.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>

std::string MemoryFile(const uint8_t* Data, size_t Size) {
  static const int file = ::memfd_create("pixtor-fuzz", 0);
  if (file < 0 || ::ftruncate(file, 0) != 0 || ::pwrite(file, Data, Size, 0) != ssize_t(Size)) std::abort();
  return "/proc/self/fd/" + std::to_string(file);
}
