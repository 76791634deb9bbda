#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The loaders take a path: this puts Size bytes into an in-memory file
// (the same one on every call) and gives a path that reads it.
std::string MemoryFile(const uint8_t* Data, size_t Size);
