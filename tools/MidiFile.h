#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/OutputFile.h"

// Writes a Standard MIDI File of format 0 (one track) message by message, at
// 1000 ticks a quarter note and 60 quarter notes a minute, so a tick is a
// millisecond. Only channel messages (status 80-EF hex) are written; a
// message earlier than the one before it is written at the same tick. The
// track's length is filled in by Close; a track holds at most 4 GiB. Opening
// and Close throw std::runtime_error naming the file.
class TMidiFileWriter {
public:
  explicit TMidiFileWriter(const std::string& Path);
  // A short message (status in bits 0-7) at a time in seconds.
  void Message(double Seconds, uint32_t Message);
  // Ends the track at EndSeconds (or at its last message, if later).
  void Close(double EndSeconds);

private:
  void Emit();
  void PutDelta(double Seconds);

  TOutputFile Out;
  std::vector<uint8_t> Event; // the event being encoded
  uint64_t TrackBytes = 0;
  uint32_t Now = 0; // tick of the last event
};
