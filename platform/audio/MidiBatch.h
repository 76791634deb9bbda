#pragma once

#include <array>
#include <cstdint>

// The MIDI messages that reach the synthesizer in one audio block, reduced
// to what they leave behind. Everything taken at a block's start sounds from
// that start on, so a note struck and silenced within one batch is never
// heard, and a note struck a thousand times sounds once: per channel only
// the net effect is kept (the last channel-mode message of each kind, the
// program, the last value of each controller, each note on or off), and the
// synthesizer's work per block is bounded whatever the console sends (at
// most 257 messages a channel).
// Messages the synthesizer does not play (pressure, pitch bend, system) are
// dropped.
class TMidiBatch {
public:
  void Add(uint32_t Message);

  // Hands the batch's net effect to Play (called with each short message),
  // then starts an empty batch. Per channel: channel-mode messages (All
  // Sound Off, Reset All Controllers, All Notes Off...), the program, the
  // controllers, the notes silenced, the notes struck.
  template <typename TPlay> void Flush(TPlay&& Play) {
    for (uint32_t c = 0; c < Channels.size(); ++c) {
      TChannel& channel = Channels[c];
      if (!channel.Touched) continue;
      auto play = [&](uint32_t Status, uint32_t Data1, uint32_t Data2) {
        Play(Status | c | Data1 << 8 | Data2 << 16);
      };
      for (uint32_t n = ModeControllers; n < 128; ++n)
        if (channel.Controllers[n] >= 0) play(0xB0, n, uint32_t(channel.Controllers[n]));
      if (channel.Program >= 0) play(0xC0, uint32_t(channel.Program), 0);
      for (uint32_t n = 0; n < ModeControllers; ++n)
        if (channel.Controllers[n] >= 0) play(0xB0, n, uint32_t(channel.Controllers[n]));
      for (uint32_t key = 0; key < 128; ++key)
        if (channel.Notes[key] == NoteOff) play(0x80, key, 0);
      for (uint32_t key = 0; key < 128; ++key)
        if (channel.Notes[key] != Untouched && channel.Notes[key] != NoteOff)
          play(0x90, key, channel.Notes[key]);
      channel = TChannel();
    }
  }

private:
  // Controllers 120 to 127 are the channel-mode messages.
  static constexpr uint32_t ModeControllers = 120;
  static constexpr uint8_t Untouched = 0, NoteOff = 0x80; // else a Note On's velocity

  struct TChannel {
    bool Touched = false;
    int16_t Program = -1;
    std::array<int16_t, 128> Controllers = Unset();
    std::array<uint8_t, 128> Notes{};
    static constexpr std::array<int16_t, 128> Unset() {
      std::array<int16_t, 128> unset{};
      unset.fill(-1);
      return unset;
    }
  };
  std::array<TChannel, 16> Channels;
};
