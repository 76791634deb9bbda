#include "tools/WavWriter.h"

#include <bit>
#include <stdexcept>
#include <vector>

#include "platform/Bytes.h"

namespace {

void PutText(std::vector<uint8_t>& Out, const char* Text) { Out.insert(Out.end(), Text, Text + 4); }

} // namespace

TWavWriter::TWavWriter(const std::string& Path, int32_t SampleRate) : Out(Path) {
  std::vector<uint8_t> header;
  PutText(header, "RIFF");
  Put32(header, HeaderBytes - 8); // filled in by Close
  PutText(header, "WAVE");
  PutText(header, "fmt ");
  Put32(header, 16);
  Put16(header, 1); // PCM
  Put16(header, 2); // channels
  Put32(header, uint32_t(SampleRate));
  Put32(header, uint32_t(SampleRate) * 4); // bytes a second
  Put16(header, 4);                        // bytes a frame
  Put16(header, 16);                       // bits a sample
  PutText(header, "data");
  Put32(header, 0); // filled in by Close
  Out.Write(header.data(), header.size());
}

void TWavWriter::Write(const int16_t* Stereo, int32_t Frames) {
  const uint64_t bytes = uint64_t(Frames) * 4;
  if (HeaderBytes + DataBytes + bytes > MaxBytes) TooLong = true;
  if (TooLong || Out.Failed()) return;
  if constexpr (std::endian::native == std::endian::little) {
    Out.Write(Stereo, bytes);
  } else {
    std::vector<uint8_t> block;
    for (int32_t i = 0; i < 2 * Frames; ++i) Put16(block, uint16_t(Stereo[i]));
    Out.Write(block.data(), block.size());
  }
  DataBytes += bytes;
}

void TWavWriter::Close() {
  if (TooLong) throw std::runtime_error("cannot write " + Out.Name() + ": a WAV file holds at most 4 GiB");
  std::vector<uint8_t> size;
  Put32(size, uint32_t(HeaderBytes - 8 + DataBytes));
  Out.Patch(4, size.data(), 4);
  size.clear();
  Put32(size, uint32_t(DataBytes));
  Out.Patch(40, size.data(), 4);
  Out.Close();
}
