#pragma once

#include <bitset>
#include <cstdint>
#include <unordered_map>

#include "platform/Input.h"

// The keyboard and the joystick as the joypads see them through the main
// window: keys held while the window is active, by virtual-key code, and
// the joystick's reading while the window is active. While it is not, both
// report nothing.
class TWindowInput final : public TKeyboardSource, public TJoystickSource {
public:
  explicit TWindowInput(TJoystickSource* Joystick = nullptr) : Joystick(Joystick) {}

  // A key went down or up. A key is let go by the physical key that
  // pressed it, so that a key whose code changes with Shift (a digit) is
  // still released.
  void Press(uint32_t ScanCode, uint32_t Code);
  void Release(uint32_t ScanCode, uint32_t Code);
  // Activating or deactivating the window; deactivating lets every key go.
  void SetActive(bool Value);
  bool Active() const { return IsActive; }

  bool KeyDown(uint32_t Code) const override { return IsActive && Code < Held.size() && Held.test(Code); }
  TJoystickState Read() override { return IsActive && Joystick ? Joystick->Read() : TJoystickState{}; }

private:
  TJoystickSource* Joystick;
  bool IsActive = false;
  std::bitset<256> Held;
  std::unordered_map<uint32_t, uint32_t> CodeOfScanCode;
};
