#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <span>

// Input states of an input object: up, down, left, right, then buttons 1 to 32.
inline constexpr int32_t InputUp = 0;
inline constexpr int32_t InputDown = 1;
inline constexpr int32_t InputLeft = 2;
inline constexpr int32_t InputRight = 3;
inline constexpr int32_t InputStateCount = 36;
inline constexpr int32_t KeysPerState = 3;
inline constexpr int32_t JoystickButtons = 32;
// The state of button Number, 1 to 32.
inline constexpr int32_t InputButton(int32_t Number) { return InputRight + Number; }

// Axis travel of a joystick, and how far from the centre a deflection must go
// before it counts as a direction (half of the travel).
inline constexpr int32_t JoystickAxisRange = 1000;
inline constexpr int32_t JoystickDeadZone = 500;

using TInputStates = std::bitset<InputStateCount>;

// The keyboard as the input object sees it. Key codes are Windows
// virtual-key codes; a source reports nothing while the program's window is
// not the active window.
class TKeyboardSource {
public:
  virtual ~TKeyboardSource() = default;
  virtual bool KeyDown(uint32_t Code) const = 0;
};

// One reading of a joystick: axes from -1000 (left, up) to +1000 (right,
// down); bit n-1 of Buttons is button n.
struct TJoystickState {
  int32_t X = 0;
  int32_t Y = 0;
  uint32_t Buttons = 0;
};

class TJoystickSource {
public:
  virtual ~TJoystickSource() = default;
  virtual TJoystickState Read() = 0;
};

// An input object: a keyboard and a joystick merged into one set of 36
// states. The keyboard sets a state while any key code assigned to it is
// held; the joystick, when enabled, sets directions beyond the dead zone and
// its buttons. The sources are borrowed; a missing source adds nothing.
class TDXInput {
public:
  TInputStates States;
  // Up to three key codes per state; 0 is no key.
  std::array<std::array<uint32_t, KeysPerState>, InputStateCount> Assigns{};
  bool JoystickEnabled = false;
  TKeyboardSource* Keyboard = nullptr;
  TJoystickSource* Joystick = nullptr;

  // Refreshes States from the sources.
  void Update();
  bool Pressed(int32_t State) const { return States.test(size_t(State)); }

  void ClearAssigns();
  // Clears the state's three slots, then copies in the first three of Keys.
  void AssignStateKey(int32_t State, std::span<const uint32_t> Keys);
};
