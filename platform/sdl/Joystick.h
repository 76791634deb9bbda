#pragma once

#include <cstdint>

#include "platform/Input.h"

// Joystick device 0 through SDL2: axes scaled to -1000 ... +1000, buttons 1
// to 32; its first hat (the D-pad) reads as the axes at their ends. A
// joystick plugged in or out while the program runs is picked up or let go
// at the next reading; with none there, a reading is all zero.
class TSDLJoystick final : public TJoystickSource {
public:
  TSDLJoystick();
  ~TSDLJoystick() override;
  TSDLJoystick(const TSDLJoystick&) = delete;
  TSDLJoystick& operator=(const TSDLJoystick&) = delete;

  TJoystickState Read() override;

private:
  bool Initialised = false;
  struct _SDL_Joystick* Device = nullptr;
};
