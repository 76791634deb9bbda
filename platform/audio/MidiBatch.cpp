#include "platform/audio/MidiBatch.h"

#include <algorithm>

void TMidiBatch::Add(uint32_t Message) {
  TChannel& channel = Channels[Message & 0x0F];
  const uint32_t data1 = (Message >> 8) & 0x7F;
  const uint8_t data2 = (Message >> 16) & 0x7F;
  switch (Message & 0xF0) {
  case 0x80: channel.Notes[data1] = NoteOff; break;
  case 0x90: channel.Notes[data1] = data2 ? data2 : NoteOff; break;
  case 0xB0:
    channel.Controllers[data1] = data2;
    // All Sound Off, All Notes Off and the mode changes end every note before them;
    // Reset All Controllers undoes the controller values before it.
    if (data1 == 121)
      std::fill_n(channel.Controllers.begin(), ModeControllers, int16_t(-1));
    else if (data1 >= ModeControllers)
      channel.Notes.fill(Untouched);
    break;
  case 0xC0: channel.Program = int16_t(data1); break;
  default: return;
  }
  channel.Touched = true;
}
