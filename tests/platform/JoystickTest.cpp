#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/Input.h"
#include "platform/sdl/Joystick.h"

// SDL's virtual joystick stands in for a game controller plugged in while
// the program runs. The machine must have no real joystick, or it would be
// device 0.
namespace {

class SDLJoystick : public testing::Test {
protected:
  TSDLJoystick Stick;

  void SetUp() override {
    if (SDL_NumJoysticks() != 0) GTEST_SKIP() << "a joystick is plugged in";
  }
  void TearDown() override {
    if (Virtual >= 0) SDL_JoystickDetachVirtual(Virtual);
  }

  // Plugs in a stick with two axes and 33 buttons, one more than are read.
  void PlugIn() {
    Virtual = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 33, 0);
    ASSERT_GE(Virtual, 0) << SDL_GetError();
    // The virtual device is set through the handle SDL gives out for it.
    Handle = SDL_JoystickOpen(Virtual);
    ASSERT_NE(Handle, nullptr) << SDL_GetError();
  }
  void Unplug() {
    SDL_JoystickClose(Handle);
    Handle = nullptr;
    ASSERT_EQ(SDL_JoystickDetachVirtual(Virtual), 0);
    Virtual = -1;
  }
  void Set(Sint16 X, Sint16 Y, std::initializer_list<int> Buttons) {
    SDL_JoystickSetVirtualAxis(Handle, 0, X);
    SDL_JoystickSetVirtualAxis(Handle, 1, Y);
    for (int button = 0; button < 33; ++button)
      SDL_JoystickSetVirtualButton(Handle, button, SDL_RELEASED);
    for (int button : Buttons)
      SDL_JoystickSetVirtualButton(Handle, button, SDL_PRESSED);
  }

  int Virtual = -1;
  SDL_Joystick* Handle = nullptr;
};

void ExpectReading(const TJoystickState& Reading, int32_t X, int32_t Y, uint32_t Buttons) {
  EXPECT_EQ(Reading.X, X);
  EXPECT_EQ(Reading.Y, Y);
  EXPECT_EQ(Reading.Buttons, Buttons);
}

TEST_F(SDLJoystick, NothingPluggedInReadsZero) {
  ExpectReading(Stick.Read(), 0, 0, 0);
  ExpectReading(Stick.Read(), 0, 0, 0);
}

TEST_F(SDLJoystick, AxesScaledAndButtons) {
  PlugIn();
  struct TCase {
    Sint16 X, Y;
    std::initializer_list<int> Buttons;
    int32_t ExpectedX, ExpectedY;
    uint32_t ExpectedButtons;
  };
  const TCase cases[] = {
      {0, 0, {}, 0, 0, 0},
      {-32768, 32767, {0}, -1000, 1000, 1u << 0},
      {32767, -32768, {31}, 1000, -1000, 1u << 31},
      {16384, -16384, {1, 2}, 500, -500, 0b110},
      {-328, 327, {32}, -10, 9, 0}, // the 33rd button is not one of the 32
  };
  for (const TCase& c : cases) {
    Set(c.X, c.Y, c.Buttons);
    ExpectReading(Stick.Read(), c.ExpectedX, c.ExpectedY, c.ExpectedButtons);
  }
}

TEST_F(SDLJoystick, DirectionsBeyondTheDeadZone) {
  PlugIn();
  TDXInput input;
  input.Joystick = &Stick;
  input.JoystickEnabled = true;

  Set(-20000, 10000, {0});
  input.Update();
  EXPECT_TRUE(input.Pressed(InputLeft));
  EXPECT_FALSE(input.Pressed(InputDown)); // 305 of 1000: inside the dead zone
  EXPECT_TRUE(input.Pressed(InputButton(1)));

  Set(0, 20000, {});
  input.Update();
  EXPECT_FALSE(input.Pressed(InputLeft));
  EXPECT_TRUE(input.Pressed(InputDown));
  EXPECT_FALSE(input.Pressed(InputButton(1)));
}

TEST_F(SDLJoystick, UnplugAndPlugInAgain) {
  PlugIn();
  Set(32767, 0, {3});
  ExpectReading(Stick.Read(), 1000, 0, 1u << 3);

  Unplug();
  ExpectReading(Stick.Read(), 0, 0, 0);

  PlugIn();
  Set(0, -32768, {4});
  ExpectReading(Stick.Read(), 0, -1000, 1u << 4);
}

} // namespace
