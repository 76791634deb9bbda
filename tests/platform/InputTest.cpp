#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "platform/Input.h"
#include "tests/platform/FakeInputSources.h"

namespace {

TInputStates StatesOf(std::initializer_list<int32_t> States) {
  TInputStates set;
  for (int32_t s : States)
    set.set(size_t(s));
  return set;
}

// Keys held on the keyboard against a table with several keys per state.
struct TKeyCase {
  const char* Name;
  std::set<uint32_t> Held;
  TInputStates Expected;
  friend void PrintTo(const TKeyCase& c, std::ostream* out) { *out << c.Name; }
};

class KeyboardStates : public testing::TestWithParam<TKeyCase> {};

TEST_P(KeyboardStates, FollowAssigns) {
  TFakeKeyboard keyboard;
  TDXInput input;
  input.Keyboard = &keyboard;
  AssignPad1Defaults(input);
  const uint32_t fireKeys[] = {32, 70, 71}; // Space, F, G all press button 1
  input.AssignStateKey(InputButton(1), fireKeys);
  const uint32_t lastButton = 75; // K
  input.AssignStateKey(InputButton(32), {&lastButton, 1});

  keyboard.Held = GetParam().Held;
  input.Update();
  EXPECT_EQ(input.States, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Assigns, KeyboardStates,
    testing::Values(TKeyCase{"Nothing", {}, {}}, TKeyCase{"UnassignedKey", {65, 0}, {}},
                    TKeyCase{"Arrows", {38, 37}, StatesOf({InputUp, InputLeft})},
                    TKeyCase{"LeftAndRightTogether", {37, 39}, StatesOf({InputLeft, InputRight})},
                    TKeyCase{"SecondSlot", {70}, StatesOf({InputButton(1)})},
                    TKeyCase{"ThirdSlot", {71}, StatesOf({InputButton(1)})},
                    TKeyCase{"AllSlotsOfOneState", {32, 70, 71}, StatesOf({InputButton(1)})},
                    TKeyCase{"SelectAndStart", {9, 13}, StatesOf({InputButton(3), InputButton(4)})},
                    TKeyCase{"LastState", {75, 17}, StatesOf({InputButton(32), InputButton(2)})}),
    [](const auto& info) { return std::string(info.param.Name); });

// A joystick reading against the merged states, with the joystick on.
struct TStickCase {
  const char* Name;
  TJoystickState Stick;
  TInputStates Expected;
  friend void PrintTo(const TStickCase& c, std::ostream* out) { *out << c.Name; }
};

class JoystickStates : public testing::TestWithParam<TStickCase> {};

TEST_P(JoystickStates, DeadZoneHalfTheTravel) {
  TFakeJoystick joystick;
  TDXInput input;
  input.Joystick = &joystick;
  input.JoystickEnabled = true;
  joystick.State = GetParam().Stick;
  input.Update();
  EXPECT_EQ(input.States, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Stick, JoystickStates,
    testing::Values(TStickCase{"Centre", {0, 0, 0}, {}}, TStickCase{"HalfwayIsNotPast", {-500, 500, 0}, {}},
                    TStickCase{"JustPastHalfway", {-501, 501, 0}, StatesOf({InputLeft, InputDown})},
                    TStickCase{"FullRightUp", {1000, -1000, 0}, StatesOf({InputRight, InputUp})},
                    TStickCase{"FirstButton", {0, 0, 0x1}, StatesOf({InputButton(1)})},
                    TStickCase{
                        "ButtonsThreeAndFour", {0, 0, 0xC}, StatesOf({InputButton(3), InputButton(4)})},
                    TStickCase{"LastButton", {0, 0, 0x80000000}, StatesOf({InputButton(32)})}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Input, JoystickSwitchedOffIsNotRead) {
  TFakeJoystick joystick;
  joystick.State = {1000, 1000, 0xFFFFFFFF};
  TDXInput input;
  input.Joystick = &joystick;
  input.Update();
  EXPECT_TRUE(input.States.none());
  EXPECT_EQ(joystick.Reads, 0);
}

TEST(Input, KeyboardAndJoystickMerge) {
  TFakeKeyboard keyboard;
  TFakeJoystick joystick;
  TDXInput input;
  AssignPad1Defaults(input);
  input.Keyboard = &keyboard;
  input.Joystick = &joystick;
  input.JoystickEnabled = true;
  keyboard.Held = {38, 32};
  joystick.State = {-1000, -1000, 0x2};
  input.Update();
  EXPECT_EQ(input.States, StatesOf({InputUp, InputLeft, InputButton(1), InputButton(2)}));
}

TEST(Input, UpdateForgetsReleasedStatesAndSourcesCanGo) {
  TFakeKeyboard keyboard;
  TDXInput input;
  AssignPad1Defaults(input);
  input.Keyboard = &keyboard;
  keyboard.Held = {40};
  input.Update();
  EXPECT_TRUE(input.Pressed(InputDown));
  keyboard.Held.clear();
  input.Update();
  EXPECT_FALSE(input.Pressed(InputDown));
  keyboard.Held = {40};
  input.Keyboard = nullptr;
  input.Update();
  EXPECT_TRUE(input.States.none());
}

TEST(Input, AssignStateKeyReplacesAllThreeSlots) {
  TDXInput input;
  const uint32_t three[] = {1, 2, 3};
  const uint32_t four[] = {4, 5, 6, 7};
  const uint32_t one[] = {8};
  input.AssignStateKey(5, three);
  EXPECT_EQ(input.Assigns[5], (std::array<uint32_t, 3>{1, 2, 3}));
  input.AssignStateKey(5, four);
  EXPECT_EQ(input.Assigns[5], (std::array<uint32_t, 3>{4, 5, 6}));
  input.AssignStateKey(5, one);
  EXPECT_EQ(input.Assigns[5], (std::array<uint32_t, 3>{8, 0, 0}));
  input.ClearAssigns();
  for (const auto& slots : input.Assigns)
    EXPECT_EQ(slots, (std::array<uint32_t, 3>{}));
}

} // namespace
