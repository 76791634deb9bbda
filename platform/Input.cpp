#include "platform/Input.h"

#include <algorithm>

void TDXInput::Update() {
  States.reset();
  if (Keyboard) {
    for (int32_t s = 0; s < InputStateCount; ++s) {
      for (uint32_t code : Assigns[s]) {
        if (code != 0 && Keyboard->KeyDown(code)) {
          States.set(size_t(s));
          break;
        }
      }
    }
  }
  if (Joystick && JoystickEnabled) {
    const TJoystickState stick = Joystick->Read();
    if (stick.X < -JoystickDeadZone) States.set(InputLeft);
    if (stick.X > JoystickDeadZone) States.set(InputRight);
    if (stick.Y < -JoystickDeadZone) States.set(InputUp);
    if (stick.Y > JoystickDeadZone) States.set(InputDown);
    for (int32_t n = 1; n <= JoystickButtons; ++n)
      if (stick.Buttons >> (n - 1) & 1) States.set(size_t(InputButton(n)));
  }
}

void TDXInput::ClearAssigns() { Assigns = {}; }

void TDXInput::AssignStateKey(int32_t State, std::span<const uint32_t> Keys) {
  auto& slots = Assigns[State];
  slots = {};
  std::copy_n(Keys.begin(), std::min<size_t>(Keys.size(), slots.size()), slots.begin());
}
