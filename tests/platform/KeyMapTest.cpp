#include <gtest/gtest.h>

#include <QKeyEvent>

#include "platform/qt/KeyMap.h"

namespace {

TEST(KeyMap, VirtualKeyCodes) {
  constexpr Qt::KeyboardModifiers none = Qt::NoModifier, keypad = Qt::KeypadModifier,
                                  shift = Qt::ShiftModifier;
  struct TCase {
    int Key;
    Qt::KeyboardModifiers Modifiers;
    quint32 ScanCode; // the X key code; 0 where the platform gives none
    uint32_t Expected;
  };
  const TCase cases[] = {
      {Qt::Key_A, none, 0, 65}, {Qt::Key_Z, shift, 0, 90}, {Qt::Key_0, none, 0, 48},
      {Qt::Key_9, none, 0, 57}, {Qt::Key_0, keypad, 0, 96}, {Qt::Key_9, keypad, 0, 105},
      // Keypad keys with Num Lock off keep their navigation codes.
      {Qt::Key_Home, keypad, 79, 36}, {Qt::Key_PageDown, keypad, 89, 34},
      {Qt::Key_Delete, keypad, 91, 46}, {Qt::Key_Clear, keypad, 84, 12},
      {Qt::Key_Enter, keypad, 104, 13}, {Qt::Key_Return, none, 0, 13},
      {Qt::Key_Backspace, none, 0, 8}, {Qt::Key_Backtab, shift, 0, 9},
      {Qt::Key_Shift, shift, 0, 16}, {Qt::Key_Control, none, 0, 17}, {Qt::Key_Alt, none, 0, 18},
      {Qt::Key_Escape, none, 0, 27}, {Qt::Key_Space, none, 0, 32}, {Qt::Key_Left, none, 0, 37},
      {Qt::Key_Down, none, 0, 40}, {Qt::Key_Insert, none, 0, 45}, {Qt::Key_F1, none, 0, 112},
      {Qt::Key_F12, none, 0, 123},
      // The top row's keys by their X key code, whatever symbol Shift or the layout gives.
      {Qt::Key_Exclam, shift, 10, 49}, {Qt::Key_ParenRight, shift, 19, 48},
      {Qt::Key_Ampersand, none, 10, 49},
      // No code.
      {Qt::Key_Exclam, shift, 0, 0}, {Qt::Key_Minus, none, 20, 0}, {Qt::Key_Plus, keypad, 86, 0},
      {Qt::Key_F13, none, 0, 0}, {Qt::Key_Meta, none, 0, 0}, {Qt::Key_unknown, none, 0, 0},
  };
  for (const TCase& c : cases) {
    const QKeyEvent event(QEvent::KeyPress, c.Key, c.Modifiers, c.ScanCode, 0, 0);
    EXPECT_EQ(VirtualKeyCode(event), c.Expected) << "key " << std::hex << c.Key << " scan " << c.ScanCode;
  }
}

} // namespace
