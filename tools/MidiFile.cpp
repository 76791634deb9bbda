#include "tools/MidiFile.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace {

constexpr uint16_t TicksPerQuarter = 1000;
constexpr uint32_t MicrosecondsPerQuarter = 1000000;

void Put32(std::vector<uint8_t>& Out, uint32_t Value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    Out.push_back(uint8_t(Value >> shift));
}

// A variable-length quantity: seven bits a byte, most significant first,
// bit 7 set on all but the last.
void PutVarLen(std::vector<uint8_t>& Out, uint32_t Value) {
  uint8_t bytes[5];
  int count = 0;
  do {
    bytes[count++] = uint8_t(Value & 0x7F);
    Value >>= 7;
  } while (Value != 0);
  while (count > 1)
    Out.push_back(uint8_t(bytes[--count] | 0x80));
  Out.push_back(bytes[0]);
}

uint32_t Tick(double Seconds) { return uint32_t(std::llround(std::max(Seconds, 0.0) * 1000.0)); }

} // namespace

std::vector<uint8_t> MidiFileBytes(const std::vector<TTimedMessage>& Messages, double EndSeconds) {
  std::vector<uint8_t> track;
  // Tempo: one quarter note a second.
  track.insert(track.end(), {0x00, 0xFF, 0x51, 0x03});
  track.insert(track.end(), {uint8_t(MicrosecondsPerQuarter >> 16), uint8_t(MicrosecondsPerQuarter >> 8),
                             uint8_t(MicrosecondsPerQuarter)});
  uint32_t now = 0;
  for (const TTimedMessage& m : Messages) {
    const uint8_t status = uint8_t(m.Message);
    if (status < 0x80 || status >= 0xF0) continue;
    const uint32_t tick = std::max(Tick(m.Seconds), now);
    PutVarLen(track, tick - now);
    now = tick;
    track.push_back(status);
    track.push_back(uint8_t(m.Message >> 8) & 0x7F);
    // Program Change and Channel Pressure carry one data byte, the others two.
    if ((status & 0xE0) != 0xC0) track.push_back(uint8_t(m.Message >> 16) & 0x7F);
  }
  PutVarLen(track, std::max(Tick(EndSeconds), now) - now);
  track.insert(track.end(), {0xFF, 0x2F, 0x00});

  std::vector<uint8_t> file{'M',
                            'T',
                            'h',
                            'd',
                            0,
                            0,
                            0,
                            6,
                            0,
                            0,
                            0,
                            1,
                            uint8_t(TicksPerQuarter >> 8),
                            uint8_t(TicksPerQuarter & 0xFF),
                            'M',
                            'T',
                            'r',
                            'k'};
  Put32(file, uint32_t(track.size()));
  file.insert(file.end(), track.begin(), track.end());
  return file;
}

void WriteMidiFile(const std::string& Path, const std::vector<TTimedMessage>& Messages, double EndSeconds) {
  const std::vector<uint8_t> bytes = MidiFileBytes(Messages, EndSeconds);
  std::ofstream out(Path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + Path + ": " + std::strerror(errno));
}
