#include "core/JOYUnit.h"

#include "platform/Input.h"

namespace {

// The input state behind each button bit.
constexpr std::array<int32_t, 8> ButtonStates = {
    InputButton(1), // A
    InputButton(2), // B
    InputButton(3), // Select
    InputButton(4), // Start
    InputUp,        InputDown, InputLeft, InputRight,
};

uint8_t ButtonsOf(TDXInput* Input) {
  if (!Input) return 0;
  Input->Update();
  uint8_t buttons = 0;
  for (size_t bit = 0; bit < ButtonStates.size(); ++bit)
    if (Input->Pressed(ButtonStates[bit])) buttons |= uint8_t(1u << bit);
  return buttons;
}

} // namespace

TJOY::TJOY(TNES* Owner) : NES(Owner) {}

// Each read of a pad's port gives its next button bit as the whole byte and
// wraps after Right back to A. $4015 reads as $FF.
uint8_t TJOY::ReadPort(uint16_t Addr) {
  if (Addr != 0x4016 && Addr != 0x4017) return 0xFF;
  const size_t pad = Addr - 0x4016;
  const uint8_t bit = (Buttons[pad] >> ReadCount[pad]) & 1;
  ReadCount[pad] = (ReadCount[pad] + 1) & 7;
  return bit;
}

// Bit 0 of $4016 falling from 1 to 0 sends both pads back to A.
void TJOY::WritePort(uint16_t Addr, uint8_t Value) {
  if (Addr == 0x4016) {
    if ((StrobeLatch & 1) && !(Value & 1)) ReadCount = {0, 0};
    StrobeLatch = Value;
  } else if (Addr == 0x4017) {
    Port2Latch = Value;
  }
}

void TJOY::Poll() {
  Buttons[0] = ButtonsOf(Input1);
  Buttons[1] = ButtonsOf(Input2);
}

void TJOY::Reset() {}
