#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include <QKeyEvent>

#include "platform/qt/KeyMap.h"

namespace {

struct TKeyCase {
  const char* Name;
  int Key;
  Qt::KeyboardModifiers Modifiers;
  quint32 ScanCode; // the X key code; 0 where the platform gives none
  uint32_t Expected;
  friend void PrintTo(const TKeyCase& c, std::ostream* out) { *out << c.Name; }
};

class VirtualKeyCodes : public testing::TestWithParam<TKeyCase> {};

TEST_P(VirtualKeyCodes, OfPressAndRelease) {
  const TKeyCase& c = GetParam();
  for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
    const QKeyEvent event(type, c.Key, c.Modifiers, c.ScanCode, 0, 0);
    EXPECT_EQ(VirtualKeyCode(event), c.Expected);
  }
}

constexpr Qt::KeyboardModifiers None = Qt::NoModifier;
constexpr Qt::KeyboardModifiers Keypad = Qt::KeypadModifier;
constexpr Qt::KeyboardModifiers Shift = Qt::ShiftModifier;

INSTANTIATE_TEST_SUITE_P(
    Keys, VirtualKeyCodes,
    testing::Values(
        TKeyCase{"LetterA", Qt::Key_A, None, 0, 65}, TKeyCase{"LetterZ", Qt::Key_Z, None, 0, 90},
        TKeyCase{"ShiftedLetter", Qt::Key_Q, Shift, 0, 81},
        TKeyCase{"Digit0", Qt::Key_0, None, 0, 48}, TKeyCase{"Digit9", Qt::Key_9, None, 0, 57},
        TKeyCase{"KeypadDigit0", Qt::Key_0, Keypad, 0, 96},
        TKeyCase{"KeypadDigit9", Qt::Key_9, Keypad, 0, 105},
        // Keypad keys with Num Lock off keep their navigation codes.
        TKeyCase{"KeypadHome", Qt::Key_Home, Keypad, 79, 36},
        TKeyCase{"KeypadUp", Qt::Key_Up, Keypad, 80, 38},
        TKeyCase{"KeypadPageDown", Qt::Key_PageDown, Keypad, 89, 34},
        TKeyCase{"KeypadInsert", Qt::Key_Insert, Keypad, 90, 45},
        TKeyCase{"KeypadDelete", Qt::Key_Delete, Keypad, 91, 46},
        TKeyCase{"KeypadClear", Qt::Key_Clear, Keypad, 84, 12},
        TKeyCase{"KeypadEnter", Qt::Key_Enter, Keypad, 104, 13},
        TKeyCase{"Backspace", Qt::Key_Backspace, None, 0, 8}, TKeyCase{"Tab", Qt::Key_Tab, None, 0, 9},
        TKeyCase{"ShiftTab", Qt::Key_Backtab, Shift, 0, 9},
        TKeyCase{"Return", Qt::Key_Return, None, 0, 13},
        TKeyCase{"Shift", Qt::Key_Shift, Shift, 0, 16},
        TKeyCase{"Control", Qt::Key_Control, Qt::ControlModifier, 0, 17},
        TKeyCase{"Alt", Qt::Key_Alt, Qt::AltModifier, 0, 18},
        TKeyCase{"Escape", Qt::Key_Escape, None, 0, 27}, TKeyCase{"Space", Qt::Key_Space, None, 0, 32},
        TKeyCase{"PageUp", Qt::Key_PageUp, None, 0, 33}, TKeyCase{"End", Qt::Key_End, None, 0, 35},
        TKeyCase{"Left", Qt::Key_Left, None, 0, 37}, TKeyCase{"Right", Qt::Key_Right, None, 0, 39},
        TKeyCase{"Down", Qt::Key_Down, None, 0, 40}, TKeyCase{"F1", Qt::Key_F1, None, 0, 112},
        TKeyCase{"F12", Qt::Key_F12, None, 0, 123},
        // The top row's keys by their X key code, whatever symbol Shift or the layout gives.
        TKeyCase{"Shift1", Qt::Key_Exclam, Shift, 10, 49},
        TKeyCase{"Shift9", Qt::Key_ParenLeft, Shift, 18, 57},
        TKeyCase{"Shift0", Qt::Key_ParenRight, Shift, 19, 48},
        TKeyCase{"Azerty1", Qt::Key_Ampersand, None, 10, 49},
        // No code: keys outside the set, also with no native key code to go by.
        TKeyCase{"F13", Qt::Key_F13, None, 0, 0}, TKeyCase{"Minus", Qt::Key_Minus, None, 20, 0},
        TKeyCase{"ExclamWithoutScanCode", Qt::Key_Exclam, Shift, 0, 0},
        TKeyCase{"KeypadPlus", Qt::Key_Plus, Keypad, 86, 0},
        TKeyCase{"Meta", Qt::Key_Meta, Qt::MetaModifier, 0, 0},
        TKeyCase{"Unknown", Qt::Key_unknown, None, 0, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
