#include "tools/WavWriter.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {

constexpr uint32_t HeaderBytes = 44;

void Put16(std::ofstream& Out, uint16_t Value) {
  const char bytes[2] = {char(Value), char(Value >> 8)};
  Out.write(bytes, 2);
}

void Put32(std::ofstream& Out, uint32_t Value) {
  Put16(Out, uint16_t(Value));
  Put16(Out, uint16_t(Value >> 16));
}

} // namespace

TWavWriter::TWavWriter(const std::string& Path, int32_t SampleRate)
    : Path(Path), Out(Path, std::ios::binary) {
  Out.write("RIFF", 4);
  Put32(Out, HeaderBytes - 8); // filled in by Close
  Out.write("WAVEfmt ", 8);
  Put32(Out, 16);
  Put16(Out, 1); // PCM
  Put16(Out, 2); // channels
  Put32(Out, uint32_t(SampleRate));
  Put32(Out, uint32_t(SampleRate) * 4); // bytes a second
  Put16(Out, 4);                        // bytes a frame
  Put16(Out, 16);                       // bits a sample
  Out.write("data", 4);
  Put32(Out, 0); // filled in by Close
  Check();
}

void TWavWriter::Write(const int16_t* Stereo, int32_t Frames) {
  if constexpr (std::endian::native == std::endian::little) {
    Out.write(reinterpret_cast<const char*>(Stereo), std::streamsize(Frames) * 4);
  } else {
    for (int32_t i = 0; i < 2 * Frames; ++i)
      Put16(Out, uint16_t(Stereo[i]));
  }
  DataBytes += uint32_t(Frames) * 4;
  Check();
}

void TWavWriter::Close() {
  Out.seekp(4);
  Put32(Out, HeaderBytes - 8 + DataBytes);
  Out.seekp(40);
  Put32(Out, DataBytes);
  Out.close();
  Check();
}

void TWavWriter::Check() {
  if (!Out) throw std::runtime_error("cannot write " + Path + ": " + std::strerror(errno));
}
