#pragma once

#include <cstdint>
#include <string>

#include "tools/OutputFile.h"

// Writes a 16-bit stereo PCM WAV file, block by block; the sizes in the
// header are filled in by Close. The header's sizes are 32 bits, so a file
// holds at most MaxBytes; past that the writing fails. Opening and Close
// throw std::runtime_error naming the file.
class TWavWriter {
public:
  static constexpr uint64_t HeaderBytes = 44;
  static constexpr uint64_t MaxBytes = 0xFFFFFFFF;

  TWavWriter(const std::string& Path, int32_t SampleRate);
  void Write(const int16_t* Stereo, int32_t Frames);
  void Close();

private:
  TOutputFile Out;
  uint64_t DataBytes = 0;
  bool TooLong = false;
};
