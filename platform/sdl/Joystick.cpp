#include "platform/sdl/Joystick.h"
TSDLJoystick::TSDLJoystick() {}
TSDLJoystick::~TSDLJoystick() {}
TJoystickState TSDLJoystick::Read() { return {}; }
