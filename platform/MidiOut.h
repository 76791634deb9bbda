#pragma once

#include <cstdint>
#include <functional>
#include <memory>

// A MIDI output. A short message is one 32-bit value: the status byte in
// bits 0-7, the first data byte in bits 8-15, the second in bits 16-23.
// Destroying the output closes it.
class TMidiOut {
public:
  virtual ~TMidiOut() = default;
  virtual void ShortMsg(uint32_t Message) = 0;
};

inline constexpr uint32_t MidiShortMessage(uint8_t Status, uint8_t Data1, uint8_t Data2) {
  return uint32_t(Status) | uint32_t(Data1) << 8 | uint32_t(Data2) << 16;
}

// Opens the default MIDI output, or gives nullptr when none opens.
using TMidiOutOpener = std::function<std::unique_ptr<TMidiOut>()>;

// The front end installs the real device once at start-up; until then, and
// in tools and tests that install nothing, there is no MIDI output. Gives
// the opener installed before.
TMidiOutOpener SetMidiOutOpener(TMidiOutOpener Opener);
std::unique_ptr<TMidiOut> MidiOutOpen();
