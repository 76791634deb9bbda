#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "core/JOYUnit.h"
#include "core/NESUnit.h"
#include "platform/Input.h"
#include "tests/platform/FakeInputSources.h"

namespace {

// Reading eight bits of a port after a strobe, with keys held on pad 1.
struct TReadOrderCase {
  const char* Name;
  std::set<uint32_t> Held;
  std::vector<uint8_t> Bits; // nine reads of $4016
  friend void PrintTo(const TReadOrderCase& c, std::ostream* out) { *out << c.Name; }
};

class ReadOrder : public testing::TestWithParam<TReadOrderCase> {};

TEST_P(ReadOrder, ABSelectStartUpDownLeftRightThenAAgain) {
  TFakeKeyboard keyboard;
  TDXInput pad1;
  AssignPad1Defaults(pad1);
  pad1.Keyboard = &keyboard;
  keyboard.Held = GetParam().Held;
  TJOY joy(nullptr);
  joy.Input1 = &pad1;
  joy.Poll();
  joy.WritePort(0x4016, 1);
  joy.WritePort(0x4016, 0);
  std::vector<uint8_t> bits;
  for (int32_t read = 0; read < 9; ++read)
    bits.push_back(joy.ReadPort(0x4016));
  EXPECT_EQ(bits, GetParam().Bits);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, ReadOrder,
    testing::Values(TReadOrderCase{"Nothing", {}, {0, 0, 0, 0, 0, 0, 0, 0, 0}},
                    TReadOrderCase{"SpaceAndEnter", {32, 13}, {1, 0, 0, 1, 0, 0, 0, 0, 1}},
                    TReadOrderCase{"CtrlAndTab", {17, 9}, {0, 1, 1, 0, 0, 0, 0, 0, 0}},
                    TReadOrderCase{"UpAndDown", {38, 40}, {0, 0, 0, 0, 1, 1, 0, 0, 0}},
                    TReadOrderCase{"LeftAndRight", {37, 39}, {0, 0, 0, 0, 0, 0, 1, 1, 0}},
                    TReadOrderCase{
                        "Everything", {38, 40, 37, 39, 32, 17, 9, 13}, {1, 1, 1, 1, 1, 1, 1, 1, 1}}),
    [](const auto& info) { return std::string(info.param.Name); });

// A script of port accesses on pads whose bytes are fixed: a write, or a read
// with the byte it must give.
struct TPortStep {
  bool IsRead;
  uint16_t Addr;
  uint8_t Value;
};
TPortStep W(uint16_t Addr, uint8_t Value) { return {false, Addr, Value}; }
TPortStep R(uint16_t Addr, uint8_t Expected) { return {true, Addr, Expected}; }

struct TPortCase {
  const char* Name;
  std::vector<TPortStep> Steps;
  friend void PrintTo(const TPortCase& c, std::ostream* out) { *out << c.Name; }
};

class PortScript : public testing::TestWithParam<TPortCase> {};

TEST_P(PortScript, GivesExpectedBits) {
  TJOY joy(nullptr);
  joy.Buttons = {0b0000'0101, 0b1000'0010}; // pad 1: A, Select; pad 2: B, Right
  int32_t step = 0;
  for (const TPortStep& s : GetParam().Steps) {
    if (s.IsRead)
      EXPECT_EQ(joy.ReadPort(s.Addr), s.Value) << "step " << step;
    else
      joy.WritePort(s.Addr, s.Value);
    ++step;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ports, PortScript,
    testing::Values(
        TPortCase{"StrobeResetsBothPads",
                  {R(0x4016, 1), R(0x4017, 0), R(0x4017, 1), W(0x4016, 1), W(0x4016, 0), R(0x4016, 1),
                   R(0x4017, 0), R(0x4017, 1)}},
        TPortCase{"ZeroThenZeroDoesNotReset",
                  {R(0x4016, 1), W(0x4016, 0), W(0x4016, 0), R(0x4016, 0), R(0x4016, 1)}},
        TPortCase{"OneThenOneDoesNotReset",
                  {R(0x4016, 1), W(0x4016, 1), W(0x4016, 1), R(0x4016, 0), R(0x4016, 1)}},
        TPortCase{"OnlyBitZeroOfStrobeCounts",
                  {W(0x4016, 0xFF), R(0x4016, 1), W(0x4016, 0xFE), R(0x4016, 1), W(0x4016, 0x01),
                   W(0x4016, 0x02), R(0x4016, 1)}},
        TPortCase{"ReadsAdvanceWhileStrobeHigh", {W(0x4016, 1), R(0x4016, 1), R(0x4016, 0), R(0x4016, 1)}},
        TPortCase{"WriteToPort2ResetsNothing",
                  {R(0x4016, 1), R(0x4017, 0), W(0x4017, 1), W(0x4017, 0), R(0x4016, 0), R(0x4017, 1)}},
        TPortCase{"Port4015", {W(0x4016, 1), W(0x4015, 0), R(0x4015, 0xFF), R(0x4016, 1), R(0x4016, 0)}},
        TPortCase{"NinthReadWraps",
                  {R(0x4017, 0), R(0x4017, 1), R(0x4017, 0), R(0x4017, 0), R(0x4017, 0), R(0x4017, 0),
                   R(0x4017, 0), R(0x4017, 1), R(0x4017, 0), R(0x4017, 1)}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(JOY, PollReplacesButtonsAndSkipsMissingInput) {
  TFakeKeyboard keyboard;
  TDXInput pad1;
  AssignPad1Defaults(pad1);
  pad1.Keyboard = &keyboard;
  TJOY joy(nullptr);
  joy.Input1 = &pad1;
  joy.Buttons = {0xFF, 0xFF};
  keyboard.Held = {39};
  joy.Poll();
  EXPECT_EQ(joy.Buttons[0], 0x80);
  EXPECT_EQ(joy.Buttons[1], 0x00);
}

TEST(JOY, OneJoystickDrivesBothPads) {
  TFakeJoystick joystick;
  joystick.State = {1000, 0, 0x9}; // right, buttons 1 and 4
  TDXInput pad1, pad2;
  for (TDXInput* pad : {&pad1, &pad2}) {
    pad->Joystick = &joystick;
    pad->JoystickEnabled = true;
  }
  TJOY joy(nullptr);
  joy.Input1 = &pad1;
  joy.Input2 = &pad2;
  joy.Poll();
  EXPECT_EQ(joy.Buttons[0], 0x89);
  EXPECT_EQ(joy.Buttons[1], 0x89);
}

// The joypads reached the way the processor reaches them: through the
// console's bus handlers, polled on line 8 of the console's line count.
class JOYThroughConsole : public testing::Test {
protected:
  JOYThroughConsole() {
    NES.FrameRate = 1;
    NES.Present = TPresentEvent::Bind<&JOYThroughConsole::NoPresent>(this);
    AssignPad1Defaults(Pad1);
    Pad1.Keyboard = &Keyboard;
    const uint32_t pad2Start = 81; // Q
    Pad2.AssignStateKey(InputButton(4), {&pad2Start, 1});
    Pad2.Keyboard = &Keyboard;
    NES.SetInput(&Pad1, &Pad2);
  }
  void NoPresent() {}
  void Line() {
    uint8_t interrupt = 0;
    NES.CPULoop(nullptr, interrupt);
  }
  void RunToLine(int32_t Target) {
    do
      Line();
    while (NES.ScanLine != Target);
  }
  uint8_t Read(uint16_t Addr) {
    uint8_t value = 0;
    NES.CPUReadMemory(nullptr, Addr, value);
    return value;
  }
  std::vector<uint8_t> Strobe8(uint16_t Port) {
    NES.CPUWriteMemory(nullptr, 0x4016, 1);
    NES.CPUWriteMemory(nullptr, 0x4016, 0);
    std::vector<uint8_t> bits;
    for (int32_t read = 0; read < 8; ++read)
      bits.push_back(Read(Port));
    return bits;
  }

  TNES NES;
  TFakeKeyboard Keyboard;
  TDXInput Pad1, Pad2;
};

TEST_F(JOYThroughConsole, KeysSeenFromLineEightOnly) {
  Keyboard.Held = {32, 81};
  RunToLine(7);
  EXPECT_EQ(Strobe8(0x4016), (std::vector<uint8_t>(8, 0)));
  Line(); // line 8 polls
  EXPECT_EQ(Strobe8(0x4016), (std::vector<uint8_t>{1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Strobe8(0x4017), (std::vector<uint8_t>{0, 0, 0, 1, 0, 0, 0, 0}));
  Keyboard.Held.clear();
  RunToLine(7); // released before the next poll: the bytes are those of the last poll
  EXPECT_EQ(Strobe8(0x4016), (std::vector<uint8_t>{1, 0, 0, 0, 0, 0, 0, 0}));
  RunToLine(8);
  EXPECT_EQ(Strobe8(0x4016), (std::vector<uint8_t>(8, 0)));
}

} // namespace
