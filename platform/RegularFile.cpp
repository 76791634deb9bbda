#include "platform/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include <sys/stat.h>

std::string NotAFile(const std::string& Path) {
  struct stat info;
  if (::stat(Path.c_str(), &info) != 0 || S_ISREG(info.st_mode)) return {};
  if (S_ISDIR(info.st_mode)) return "a directory";
  if (S_ISFIFO(info.st_mode)) return "a pipe (FIFO)";
  if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) return "a device";
  return "a socket";
}

void CheckReadable(const std::string& Path) {
  struct stat info;
  if (::stat(Path.c_str(), &info) != 0) throw std::runtime_error("cannot read " + Path + ": " + std::strerror(errno));
  const std::string kind = NotAFile(Path);
  if (!kind.empty()) throw std::runtime_error("cannot read " + Path + ": it is " + kind + ", not a file");
}
