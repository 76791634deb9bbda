#include <gtest/gtest.h>

#include <QKeyEvent>

#include "platform/qt/KeyMap.h"

namespace {

TEST(KeyMap, VirtualKeyCodes) {
  constexpr Qt::KeyboardModifiers None = Qt::NoModifier, Keypad = Qt::KeypadModifier,
                                  Shift = Qt::ShiftModifier;
  struct TCase {
    int Key;
    Qt::KeyboardModifiers Modifiers;
    quint32 ScanCode; // the X key code; 0 where the platform gives none
    uint32_t Expected;
  };
  const TCase cases[] = {
      {Qt::Key_A, None, 0, 65}, {Qt::Key_Z, Shift, 0, 90}, {Qt::Key_0, None, 0, 48},
      {Qt::Key_9, None, 0, 57}, {Qt::Key_0, Keypad, 0, 96}, {Qt::Key_9, Keypad, 0, 105},
      // Keypad keys with Num Lock off keep their navigation codes.
      {Qt::Key_Home, Keypad, 79, 36}, {Qt::Key_PageDown, Keypad, 89, 34},
      {Qt::Key_Delete, Keypad, 91, 46}, {Qt::Key_Clear, Keypad, 84, 12},
      {Qt::Key_Enter, Keypad, 104, 13}, {Qt::Key_Return, None, 0, 13},
      {Qt::Key_Backspace, None, 0, 8}, {Qt::Key_Backtab, Shift, 0, 9},
      {Qt::Key_Shift, Shift, 0, 16}, {Qt::Key_Control, None, 0, 17}, {Qt::Key_Alt, None, 0, 18},
      {Qt::Key_Escape, None, 0, 27}, {Qt::Key_Space, None, 0, 32}, {Qt::Key_Left, None, 0, 37},
      {Qt::Key_Down, None, 0, 40}, {Qt::Key_Insert, None, 0, 45}, {Qt::Key_F1, None, 0, 112},
      {Qt::Key_F12, None, 0, 123},
      // The top row's keys by their X key code, whatever symbol Shift or the layout gives.
      {Qt::Key_Exclam, Shift, 10, 49}, {Qt::Key_ParenRight, Shift, 19, 48},
      {Qt::Key_Ampersand, None, 10, 49},
      // No code.
      {Qt::Key_Exclam, Shift, 0, 0}, {Qt::Key_Minus, None, 20, 0}, {Qt::Key_Plus, Keypad, 86, 0},
      {Qt::Key_F13, None, 0, 0}, {Qt::Key_Meta, None, 0, 0}, {Qt::Key_unknown, None, 0, 0},
  };
  for (const TCase& c : cases) {
    const QKeyEvent event(QEvent::KeyPress, c.Key, c.Modifiers, c.ScanCode, 0, 0);
    EXPECT_EQ(VirtualKeyCode(event), c.Expected) << "key " << std::hex << c.Key << " scan " << c.ScanCode;
  }
}

} // namespace
