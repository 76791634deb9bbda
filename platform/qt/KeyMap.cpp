#include "platform/qt/KeyMap.h"

#include <QKeyEvent>

namespace {

struct TKeyCode {
  int Key;
  uint32_t Code;
};

// Keys whose code does not follow from a range of Qt keys.
constexpr TKeyCode KeyTable[] = {
    {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9},        {Qt::Key_Backtab, 9},   {Qt::Key_Clear, 12},
    {Qt::Key_Return, 13},   {Qt::Key_Enter, 13},     {Qt::Key_Shift, 16},    {Qt::Key_Control, 17},
    {Qt::Key_Alt, 18},      {Qt::Key_Escape, 27},    {Qt::Key_Space, 32},    {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},       {Qt::Key_Home, 36},     {Qt::Key_Left, 37},
    {Qt::Key_Up, 38},       {Qt::Key_Right, 39},     {Qt::Key_Down, 40},     {Qt::Key_Insert, 45},
    {Qt::Key_Delete, 46},
};

constexpr uint32_t DigitCode = 48;
constexpr uint32_t KeypadDigitCode = 96;
constexpr uint32_t LetterCode = 65;
constexpr uint32_t F1Code = 112;

// X key codes of the top row's digit keys, 1 to 9 then 0: the same in the
// evdev and the older XFree86 key code sets, and what Qt reports as the
// native scan code on X11 and Wayland. With Shift held, or on layouts such
// as AZERTY, these keys arrive as punctuation; the key code still names the
// digit, as the Windows code does.
constexpr quint32 DigitRowFirst = 10;
constexpr quint32 DigitRowLast = 19;

uint32_t DigitRowCode(quint32 ScanCode) {
  if (ScanCode < DigitRowFirst || ScanCode > DigitRowLast) return 0;
  return DigitCode + (ScanCode - DigitRowFirst + 1) % 10;
}

} // namespace

uint32_t VirtualKeyCode(const QKeyEvent& Event) {
  const int key = Event.key();
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    const bool keypad = Event.modifiers().testFlag(Qt::KeypadModifier);
    return (keypad ? KeypadDigitCode : DigitCode) + uint32_t(key - Qt::Key_0);
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return LetterCode + uint32_t(key - Qt::Key_A);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return F1Code + uint32_t(key - Qt::Key_F1);
  for (const TKeyCode& entry : KeyTable)
    if (entry.Key == key) return entry.Code;
  return DigitRowCode(Event.nativeScanCode());
}
