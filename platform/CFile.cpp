#include "platform/CFile.h"

#include <cstring>
#include <stdexcept>

void FileError(const std::string& Path, const char* What, int Error) {
  throw std::runtime_error(std::string(What) + " \"" + Path + "\": " + std::strerror(Error));
}
