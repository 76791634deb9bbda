#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A MIDI short message at a time in seconds (status in bits 0-7).
struct TTimedMessage {
  double Seconds;
  uint32_t Message;
};

// A Standard MIDI File of format 0 (one track) holding the messages in
// order, at 1000 ticks a quarter note and 60 quarter notes a minute, so a
// tick is a millisecond; the track ends at EndSeconds (or at its last
// message, if later). Only channel messages (status 80-EF hex) are written.
std::vector<uint8_t> MidiFileBytes(const std::vector<TTimedMessage>& Messages, double EndSeconds);

// Writes MidiFileBytes to Path; throws std::runtime_error naming the file.
void WriteMidiFile(const std::string& Path, const std::vector<TTimedMessage>& Messages, double EndSeconds);
