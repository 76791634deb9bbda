#include "platform/sdl/Joystick.h"

#include <algorithm>

#include <SDL.h>

namespace {

// SDL's axis travel, -32768 ... 32767, onto -1000 ... +1000 with both ends exact.
int32_t ScaleAxis(Sint16 Value) {
  return Value >= 0 ? Value * JoystickAxisRange / 32767 : Value * JoystickAxisRange / 32768;
}

} // namespace

TSDLJoystick::TSDLJoystick() {
  // The program has no SDL window, so SDL would otherwise count it as never focused.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  // SDL would turn SIGINT and SIGTERM into quit events that nobody reads
  // here, and the program could then no longer be interrupted or killed.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  Initialised = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
  // Nobody drains SDL's event queue: state is read directly, events would only pile up.
  if (Initialised) SDL_JoystickEventState(SDL_IGNORE);
}

TSDLJoystick::~TSDLJoystick() {
  if (Device) SDL_JoystickClose(Device);
  if (Initialised) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

TJoystickState TSDLJoystick::Read() {
  if (!Initialised) return {};
  // Reads the open devices and notices devices plugged in or out.
  SDL_JoystickUpdate();
  if (Device && !SDL_JoystickGetAttached(Device)) {
    SDL_JoystickClose(Device);
    Device = nullptr;
  }
  if (!Device && SDL_NumJoysticks() > 0) {
    Device = SDL_JoystickOpen(0);
    // A device just opened has its state filled in by the next update.
    if (Device) SDL_JoystickUpdate();
  }
  if (!Device) return {};

  TJoystickState state;
  state.X = ScaleAxis(SDL_JoystickGetAxis(Device, 0));
  state.Y = ScaleAxis(SDL_JoystickGetAxis(Device, 1));
  const int buttons = std::min(SDL_JoystickNumButtons(Device), int(JoystickButtons));
  for (int i = 0; i < buttons; ++i)
    if (SDL_JoystickGetButton(Device, i)) state.Buttons |= 1u << i;
  // The hat (the D-pad on most pads) pushes the axes to their ends, so its
  // directions are the stick's; where both point along an axis, the hat wins.
  if (SDL_JoystickNumHats(Device) > 0) {
    const Uint8 hat = SDL_JoystickGetHat(Device, 0);
    if (hat & SDL_HAT_LEFT) state.X = -JoystickAxisRange;
    if (hat & SDL_HAT_RIGHT) state.X = JoystickAxisRange;
    if (hat & SDL_HAT_UP) state.Y = -JoystickAxisRange;
    if (hat & SDL_HAT_DOWN) state.Y = JoystickAxisRange;
  }
  return state;
}
