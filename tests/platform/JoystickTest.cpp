#include <gtest/gtest.h>

#include <ostream>

#include <SDL.h>

#include "platform/Input.h"
#include "platform/sdl/Joystick.h"

static bool operator==(const TJoystickState& a, const TJoystickState& b) {
  return a.X == b.X && a.Y == b.Y && a.Buttons == b.Buttons;
}
static void PrintTo(const TJoystickState& s, std::ostream* out) {
  *out << "{" << s.X << ", " << s.Y << ", " << std::hex << s.Buttons << std::dec << "}";
}

// SDL's virtual joystick stands in for a game controller plugged in while
// the program runs. A real joystick on the machine would be device 0.
namespace {

class SDLJoystick : public testing::Test {
protected:
  TSDLJoystick Stick;
  int Virtual = -1;
  SDL_Joystick* Handle = nullptr; // the virtual device is set through it

  void SetUp() override {
    if (SDL_NumJoysticks() != 0) GTEST_SKIP() << "a joystick is plugged in";
  }
  void TearDown() override { Unplug(); }

  // Two axes, 33 buttons (one more than are read) and a hat.
  void PlugIn() {
    Virtual = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 33, 1);
    Handle = SDL_JoystickOpen(Virtual);
    ASSERT_NE(Handle, nullptr) << SDL_GetError();
  }
  void Unplug() {
    if (Handle) SDL_JoystickClose(Handle);
    if (Virtual >= 0) SDL_JoystickDetachVirtual(Virtual);
    Handle = nullptr;
    Virtual = -1;
  }
  // Sets the axes and the hat and presses one button (-1: none), then reads the stick.
  TJoystickState Read(Sint16 X, Sint16 Y, int Button, Uint8 Hat = SDL_HAT_CENTERED) {
    SDL_JoystickSetVirtualAxis(Handle, 0, X);
    SDL_JoystickSetVirtualAxis(Handle, 1, Y);
    SDL_JoystickSetVirtualHat(Handle, 0, Hat);
    for (int button = 0; button < 33; ++button)
      SDL_JoystickSetVirtualButton(Handle, button, button == Button ? SDL_PRESSED : SDL_RELEASED);
    return Stick.Read();
  }
};

TEST_F(SDLJoystick, AxesScaledAndButtons) {
  PlugIn();
  EXPECT_EQ(Read(0, 0, -1), (TJoystickState{0, 0, 0}));
  EXPECT_EQ(Read(-32768, 32767, 0), (TJoystickState{-1000, 1000, 1u << 0}));
  EXPECT_EQ(Read(32767, -32768, 31), (TJoystickState{1000, -1000, 1u << 31}));
  EXPECT_EQ(Read(16384, -16384, 1), (TJoystickState{500, -500, 1u << 1}));
  EXPECT_EQ(Read(-328, 327, 32), (TJoystickState{-10, 9, 0})); // no 33rd button
}

// The stick beyond half its travel and the hat give the same four directions.
TEST_F(SDLJoystick, DirectionsFromStickAndHat) {
  PlugIn();
  TDXInput input;
  input.Joystick = &Stick;
  input.JoystickEnabled = true;
  const TInputStates none;
  const struct {
    Sint16 X, Y;
    Uint8 Hat;
    TInputStates Expected;
  } cases[] = {
      {-20000, 10000, SDL_HAT_CENTERED, TInputStates().set(InputLeft)},               // -610 and 305 of 1000
      {16384, -16384, SDL_HAT_CENTERED, none},                                        // 500: not beyond half
      {16417, -16417, SDL_HAT_CENTERED, TInputStates().set(InputRight).set(InputUp)}, // 501
      {0, 0, SDL_HAT_LEFTUP, TInputStates().set(InputLeft).set(InputUp)},
      {0, 0, SDL_HAT_RIGHTDOWN, TInputStates().set(InputRight).set(InputDown)},
      {30000, 0, SDL_HAT_UP, TInputStates().set(InputRight).set(InputUp)},
      {30000, 0, SDL_HAT_LEFT, TInputStates().set(InputLeft)},
  };
  for (const auto& c : cases) {
    Read(c.X, c.Y, 0, c.Hat);
    input.Update();
    EXPECT_EQ(input.States, TInputStates(c.Expected).set(InputButton(1)))
        << c.X << ", " << c.Y << ", hat " << int(c.Hat);
  }
  EXPECT_EQ(Read(0, 0, -1, SDL_HAT_LEFTDOWN), (TJoystickState{-1000, 1000, 0}));
}

TEST_F(SDLJoystick, UnplugAndPlugInAgain) {
  EXPECT_EQ(Stick.Read(), TJoystickState{});
  PlugIn();
  EXPECT_EQ(Read(32767, 0, 3), (TJoystickState{1000, 0, 1u << 3}));
  Unplug();
  EXPECT_EQ(Stick.Read(), TJoystickState{});
  PlugIn();
  EXPECT_EQ(Read(0, -32768, 4), (TJoystickState{0, -1000, 1u << 4}));
}

} // namespace
