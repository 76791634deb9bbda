#pragma once

#include <cstdint>
#include <set>

#include "platform/Input.h"

// A keyboard whose held keys the test sets.
class TFakeKeyboard : public TKeyboardSource {
public:
  std::set<uint32_t> Held;
  bool KeyDown(uint32_t Code) const override { return Held.contains(Code); }
};

// A joystick whose reading the test sets; counts how often it is read.
class TFakeJoystick : public TJoystickSource {
public:
  TJoystickState State;
  int32_t Reads = 0;
  TJoystickState Read() override {
    ++Reads;
    return State;
  }
};

// Pad 1's assignment when no settings are stored: arrows, Space (A),
// Ctrl (B), Tab (Select), Enter (Start).
inline void AssignPad1Defaults(TDXInput& Input) {
  const uint32_t keys[] = {38, 40, 37, 39, 32, 17, 9, 13};
  Input.ClearAssigns();
  for (int32_t state = 0; state < 8; ++state)
    Input.AssignStateKey(state, {&keys[state], 1});
}
