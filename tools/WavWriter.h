#pragma once

#include <cstdint>
#include <fstream>
#include <string>

// Writes a 16-bit stereo PCM WAV file, block by block; the sizes in the
// header are filled in by Close. Throws std::runtime_error naming the file
// when it can't be written.
class TWavWriter {
public:
  TWavWriter(const std::string& Path, int32_t SampleRate);
  void Write(const int16_t* Stereo, int32_t Frames);
  void Close();

private:
  void Check();
  std::string Path;
  std::ofstream Out;
  uint32_t DataBytes = 0;
};
