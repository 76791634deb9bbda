#include "tools/MidiFile.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

constexpr uint16_t TicksPerQuarter = 1000;
constexpr uint32_t MicrosecondsPerQuarter = 1000000;
constexpr uint64_t TrackLengthAt = 18; // after "MThd", its six bytes and "MTrk"

uint32_t Tick(double Seconds) {
  return uint32_t(std::llround(std::clamp(Seconds, 0.0, double(UINT32_MAX / 1000)) * 1000.0));
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
  while (count > 1) Out.push_back(uint8_t(bytes[--count] | 0x80));
  Out.push_back(bytes[0]);
}

} // namespace

TMidiFileWriter::TMidiFileWriter(const std::string& Path) : Out(Path) {
  const uint8_t header[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, uint8_t(TicksPerQuarter >> 8),
                            uint8_t(TicksPerQuarter & 0xFF), 'M', 'T', 'r', 'k', 0, 0, 0, 0};
  Out.Write(header, sizeof header);
  // Tempo: one quarter note a second.
  Event = {0x00, 0xFF, 0x51, 0x03, uint8_t(MicrosecondsPerQuarter >> 16), uint8_t(MicrosecondsPerQuarter >> 8),
           uint8_t(MicrosecondsPerQuarter)};
  Emit();
}

void TMidiFileWriter::PutDelta(double Seconds) {
  const uint32_t tick = std::max(Tick(Seconds), Now);
  Event.clear();
  PutVarLen(Event, tick - Now);
  Now = tick;
}

void TMidiFileWriter::Emit() {
  TrackBytes += Event.size();
  Out.Write(Event.data(), Event.size());
}

void TMidiFileWriter::Message(double Seconds, uint32_t Message) {
  const uint8_t status = uint8_t(Message);
  if (status < 0x80 || status >= 0xF0) return;
  PutDelta(Seconds);
  Event.push_back(status);
  Event.push_back(uint8_t(Message >> 8) & 0x7F);
  // Program Change and Channel Pressure carry one data byte, the others two.
  if ((status & 0xE0) != 0xC0) Event.push_back(uint8_t(Message >> 16) & 0x7F);
  Emit();
}

void TMidiFileWriter::Close(double EndSeconds) {
  PutDelta(EndSeconds);
  Event.insert(Event.end(), {0xFF, 0x2F, 0x00});
  Emit();
  if (TrackBytes > UINT32_MAX) throw std::runtime_error("cannot write " + Out.Name() + ": a MIDI track holds at most 4 GiB");
  const uint8_t length[] = {uint8_t(TrackBytes >> 24), uint8_t(TrackBytes >> 16), uint8_t(TrackBytes >> 8),
                            uint8_t(TrackBytes)};
  Out.Patch(TrackLengthAt, length, sizeof length);
  Out.Close();
}
