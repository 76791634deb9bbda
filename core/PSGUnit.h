#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "platform/BoundMethod.h"
#include "platform/MidiOut.h"

class TNES;

// Voice driver slots: start a tone at a frequency in Hz; change a channel's
// level, where level 0 silences the channel.
using TToneOnEvent = TBoundMethod<void(uint8_t Channel, uint32_t Frequency)>;
using TToneLevelEvent = TBoundMethod<void(uint8_t Channel, int32_t Level)>;

// Channels: 0 square 1 ($4000-$4003), 1 square 2 ($4004-$4007),
// 2 triangle ($4008-$400B), 3 noise ($400C-$400F).
inline constexpr int32_t SoundChannels = 4;

// Frames a tone lasts, by channel and by the length index (bits 3-7 of the
// channel's fourth register). A noise length of 0 is never counted down.
inline constexpr std::array<std::array<int32_t, 32>, SoundChannels> LengthTable = [] {
  std::array<std::array<int32_t, 32>, SoundChannels> table{};
  for (int32_t n = 0; n < 32; ++n) {
    table[0][n] = n * 16 + 8;
    table[1][n] = n * 16 + 8;
    table[2][n] = n + 2;
    table[3][n] = n;
  }
  return table;
}();

// The frequency the driver is asked for, the same rule for every channel.
inline constexpr uint32_t ToneFrequency(uint16_t Period) { return 111860u / (uint32_t(Period) + 1); }

// The sound unit: keeps the registers the processor writes and turns period
// writes, sweeps and length counts into tone starts and silences for a voice
// driver. No waveform is made here. The driver is chosen once, at
// construction: the MIDI driver when the default MIDI output opens, the
// speaker driver otherwise.
class TPSG {
public:
  explicit TPSG(TNES* Owner);
  ~TPSG();
  TPSG(const TPSG&) = delete;
  TPSG& operator=(const TPSG&) = delete;

  bool MidiOpen = false;
  std::unique_ptr<TMidiOut> MidiHandle;
  std::array<uint8_t, 4> MidiMessage{};    // status, first data byte, second data byte, 0
  std::array<bool, SoundChannels> Sweep{}; // bit 7 of the channel's second register
  std::array<uint16_t, SoundChannels> Period{};
  std::array<int32_t, SoundChannels> Length{}; // frames left; 0 = no count running
  TToneOnEvent OnToneOn;
  TToneLevelEvent OnToneLevel;
  int32_t Volume = 255; // master volume 0 to 255
  std::array<bool, SoundChannels> ChannelOn{true, true, true, true};
  std::array<uint8_t, 22> Registers{}; // $4000-$4015; $4014 and $4015 stay 0
  // What the voice driver holds sounding, kept so that a saved state can
  // sound it again: the MIDI notes each channel started since its last All
  // Notes Off (note n in bit n % 64 of word n / 64), and the speaker's tone
  // in Hz (0: silent).
  std::array<std::array<uint64_t, 2>, SoundChannels> SoundingNotes{};
  uint32_t SpeakerFrequency = 0;

  uint8_t ReadRegister(uint16_t Addr);
  void WriteRegister(uint16_t Addr, uint8_t Value);
  void FrameStep();
  // Registers, counters and sounding tones outlive a power-on.
  void ResetSound();
  // Silences everything the voice driver may hold, then sounds what the
  // record above says is sounding: for a state just put in place.
  void Resound();

  // The MIDI driver: console channel c plays on MIDI channel c + 1.
  void MidiToneOn(uint8_t Channel, uint32_t Frequency);
  void MidiToneLevel(uint8_t Channel, int32_t Level);
  // The speaker driver: one speaker for all four channels.
  void SpeakerToneOn(uint8_t Channel, uint32_t Frequency);
  void SpeakerToneLevel(uint8_t Channel, int32_t Level);

private:
  void ToneStart(int32_t Channel);
  void SendMidiMessage(uint8_t Status, uint8_t Data1, uint8_t Data2);

  TNES* NES;
};
