#include "core/PSGUnit.h"

namespace {

// Frames a tone lasts, by channel and by the length index (bits 3-7 of the
// channel's fourth register). A noise length of 0 is never counted down.
constexpr std::array<std::array<int32_t, 32>, SoundChannels> LengthTable = [] {
  std::array<std::array<int32_t, 32>, SoundChannels> table{};
  for (int32_t n = 0; n < 32; ++n) {
    table[0][n] = n * 16 + 8;
    table[1][n] = n * 16 + 8;
    table[2][n] = n + 2;
    table[3][n] = n;
  }
  return table;
}();

} // namespace

TPSG::TPSG(TNES* Owner) : NES(Owner) {}

uint8_t TPSG::ReadRegister(uint16_t Addr) {
  return Addr >= 0x4000 && Addr <= 0x4015 ? Registers[Addr - 0x4000] : 0xFF;
}

// Per channel: register 0 (duty, envelope) is only stored, register 1 holds
// the sweep, and a write to either period register (2 low, 3 high) starts a
// tone. $4010-$4013 are only stored.
void TPSG::WriteRegister(uint16_t Addr, uint8_t Value) {
  if (Addr < 0x4000 || Addr > 0x4013) return;
  const uint16_t reg = Addr - 0x4000;
  Registers[reg] = Value;
  if (reg >= 0x10) return;
  const int32_t channel = reg >> 2;
  switch (reg & 3) {
  case 1: Sweep[channel] = (Value & 0x80) != 0; break;
  case 2:
  case 3: ToneStart(channel); break;
  default: break;
  }
}

void TPSG::ToneStart(int32_t Channel) {
  const uint8_t low = Registers[Channel * 4 + 2];
  const uint8_t high = Registers[Channel * 4 + 3];
  Period[Channel] = uint16_t((high & 7) << 8 | low);
  if (ChannelOn[Channel]) {
    ToneLevel(Channel, Volume);
    ToneOn(Channel, ToneFrequency(Period[Channel]));
  } else {
    ToneLevel(Channel, 0);
  }
  Length[Channel] = LengthTable[Channel][high >> 3];
}

// A sweeping channel moves its period by (shift x amount) every frame, down
// when bit 3 of its sweep register is set, and restarts its tone even when
// the step is 0.
void TPSG::FrameStep() {
  for (int32_t c = 0; c < SoundChannels; ++c) {
    if (Length[c] == 0) continue;
    if (Sweep[c]) {
      const uint8_t r = Registers[c * 4 + 1];
      const uint16_t d = uint16_t(((r >> 4) & 7) * (r & 7));
      Period[c] = uint16_t(r & 0x08 ? Period[c] - d : Period[c] + d);
      if (ChannelOn[c]) ToneOn(c, ToneFrequency(Period[c]));
    }
    if (--Length[c] == 0) ToneLevel(c, 0);
  }
}

void TPSG::ResetSound() {}

void TPSG::ToneOn(int32_t Channel, uint32_t Frequency) {
  if (OnToneOn) OnToneOn(uint8_t(Channel), Frequency);
}

void TPSG::ToneLevel(int32_t Channel, int32_t Level) {
  if (OnToneLevel) OnToneLevel(uint8_t(Channel), Level);
}
