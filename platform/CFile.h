#pragma once

#include <cstdio>
#include <memory>
#include <string>

// A C stream that closes itself.
struct TFileCloser {
  void operator()(std::FILE* File) const { std::fclose(File); }
};
using TFile = std::unique_ptr<std::FILE, TFileCloser>;

// Throws std::runtime_error `What "Path": reason`, Error being an errno value.
[[noreturn]] void FileError(const std::string& Path, const char* What, int Error);
