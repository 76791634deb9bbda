#include "tools/OutputFile.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

TOutputFile::TOutputFile(std::string Path, std::FILE* Stream) : Path(std::move(Path)), File(Stream, {false}) {}

TOutputFile TOutputFile::StandardOutput() { return TOutputFile("standard output", stdout); }

std::FILE* StandardStreamAt(const std::string& Path) {
  struct stat info, standard;
  if (::stat(Path.c_str(), &info) != 0) return nullptr;
  for (std::FILE* stream : {stdout, stderr}) {
    if (::fstat(::fileno(stream), &standard) == 0 && standard.st_dev == info.st_dev && standard.st_ino == info.st_ino)
      return stream;
  }
  return nullptr;
}

TOutputFile::TOutputFile(std::string Name) : Path(std::move(Name)) {
  if (std::FILE* stream = StandardStreamAt(Path)) {
    File = decltype(File)(stream, TStreamCloser{false});
    return;
  }
  struct stat info;
  if (::stat(Path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    File.reset(std::fopen(Path.c_str(), "wb"));
    if (!File) Throw(errno);
    return;
  }
  // Beside the file a link leads to, so that the link stays.
  std::error_code error;
  const fs::path target = fs::weakly_canonical(Path, error);
  if (error) Throw(error.value());
  Target = target.string();
  std::string name = ".";
  name.append(target.filename().string()).append(".XXXXXX");
  Temporary = (target.parent_path() / name).string();
  const int descriptor = ::mkstemp(Temporary.data());
  if (descriptor < 0) {
    const int code = errno;
    Temporary.clear();
    Throw(code);
  }
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(descriptor, 0666 & ~mask);
  File.reset(::fdopen(descriptor, "wb"));
  if (!File) {
    const int code = errno;
    ::close(descriptor);
    Throw(code);
  }
}

TOutputFile::TOutputFile(TOutputFile&& Other) noexcept
    : Path(std::move(Other.Path)), Temporary(std::exchange(Other.Temporary, {})), Target(std::move(Other.Target)),
      File(std::move(Other.File)), Error(Other.Error) {}

TOutputFile::~TOutputFile() {
  File.reset();
  if (!Temporary.empty()) ::unlink(Temporary.c_str());
}

void TOutputFile::Fail(int Code) {
  if (!Error) Error = Code ? Code : EIO;
}

void TOutputFile::Throw(int Code) const {
  throw std::runtime_error("cannot write " + Path + ": " + std::strerror(Code));
}

void TOutputFile::Write(const void* Bytes, size_t Count) {
  if (Error || Count == 0) return;
  errno = 0;
  if (std::fwrite(Bytes, 1, Count, File.get()) != Count) Fail(errno);
}

void TOutputFile::Print(const char* Format, ...) {
  if (Error) return;
  va_list arguments;
  va_start(arguments, Format);
  errno = 0;
  if (std::vfprintf(File.get(), Format, arguments) < 0) Fail(errno);
  va_end(arguments);
}

void TOutputFile::Patch(uint64_t Offset, const void* Bytes, size_t Count) {
  if (Error) return;
  if (::fseeko(File.get(), off_t(Offset), SEEK_SET) != 0) return Fail(errno);
  Write(Bytes, Count);
  if (!Error && ::fseeko(File.get(), 0, SEEK_END) != 0) Fail(errno);
}

void TOutputFile::Close() {
  if (!File) return;
  errno = 0;
  if (!Error && (std::fflush(File.get()) != 0 || std::ferror(File.get()))) Fail(errno);
  if (File.get_deleter().Owned) {
    errno = 0;
    if (std::fclose(File.release()) != 0) Fail(errno);
  }
  File.reset();
  if (!Error && !Temporary.empty()) {
    if (std::rename(Temporary.c_str(), Target.c_str()) != 0) Fail(errno);
    else Temporary.clear();
  }
  if (Error) Throw(Error);
}
