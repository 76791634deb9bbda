#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

// Closes a stream the object opened, leaves standard output open.
struct TStreamCloser {
  bool Owned = true;
  void operator()(std::FILE* File) const {
    if (Owned) std::fclose(File);
  }
};

// Standard output or standard error when Path leads to the file that stream
// writes to (the same device and inode), else nullptr.
std::FILE* StandardStreamAt(const std::string& Path);

// A file the runner writes. A regular file is written to a temporary file
// beside it and put in its place by Close, so a failed or unfinished run
// leaves the old file (or none) rather than a partial one; anything else (a
// device, a pipe) is written directly. A name that leads to the runner's
// standard output or standard error (/dev/stdout) writes to that stream, in
// turn with the runner's own lines: replacing its file would lose them. Opening throws std::runtime_error;
// after that the first failed write is kept, later writes are dropped, and
// Close throws it. Every message reads "cannot write PATH: reason".
class TOutputFile {
public:
  explicit TOutputFile(std::string Path);
  // Standard output, named "standard output"; Close flushes it.
  static TOutputFile StandardOutput();
  TOutputFile(TOutputFile&&) noexcept;
  ~TOutputFile(); // without a successful Close the temporary file is removed

  void Write(const void* Bytes, size_t Count);
  void Print(const char* Format, ...) __attribute__((format(printf, 2, 3)));
  // Rewrites bytes already written (a header's sizes) and comes back to the end.
  void Patch(uint64_t Offset, const void* Bytes, size_t Count);
  bool Failed() const { return Error != 0; }
  const std::string& Name() const { return Path; }
  // Checks everything through to the final flush and close, then puts a temporary file in place.
  void Close();

private:
  TOutputFile(std::string Path, std::FILE* Stream);
  void Fail(int Code);
  [[noreturn]] void Throw(int Code) const;

  std::string Path;      // as the user named it
  std::string Temporary; // empty when writing directly
  std::string Target;    // what the temporary file replaces
  std::unique_ptr<std::FILE, TStreamCloser> File;
  int Error = 0; // errno of the first failure
};
