#include "platform/qt/KeyMap.h"

#include <QKeyEvent>

namespace {

struct TKeyCode {
  int Key;
  uint32_t Code;
};

// Keys whose code does not follow from a range of Qt keys.
constexpr TKeyCode QtKeyCodes[] = {
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

// clang-format off
const std::array<TKeyName, 52> KeyTable = {{
  {"BACK", 8}, {"TAB", 9}, {"CLEAR", 12}, {"RETURN", 13}, {"SHIFT", 16}, {"CONTROL", 17},
  {"ESCAPE", 27}, {"SPACE", 32}, {"PAG UP", 33}, {"PAG DOWN", 34}, {"END", 35}, {"HOME", 36},
  {"LEFT", 37}, {"UP", 38}, {"RIGHT", 39}, {"DOWN", 40},
  {"NUMPAD 0", 96}, {"NUMPAD 1", 97}, {"NUMPAD 2", 98}, {"NUMPAD 3", 99}, {"NUMPAD 4", 100},
  {"NUMPAD 5", 101}, {"NUMPAD 6", 102}, {"NUMPAD 7", 103}, {"NUMPAD 8", 104}, {"NUMPAD 9", 105},
  {"Key A", 65}, {"Key B", 66}, {"Key C", 67}, {"Key D", 68}, {"Key E", 69}, {"Key F", 70},
  {"Key G", 71}, {"Key H", 72}, {"Key I", 73}, {"Key J", 74}, {"Key K", 75}, {"Key L", 76},
  {"Key M", 77}, {"Key N", 78}, {"Key O", 79}, {"Key P", 80}, {"Key Q", 81}, {"Key R", 82},
  {"Key S", 83}, {"Key T", 84}, {"Key U", 85}, {"Key V", 86}, {"Key W", 87}, {"Key X", 88},
  {"Key Y", 89}, {"Key Z", 90},
}};
// clang-format on

uint32_t VirtualKeyCode(const QKeyEvent& Event) {
  const int key = Event.key();
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    const bool keypad = Event.modifiers().testFlag(Qt::KeypadModifier);
    return (keypad ? KeypadDigitCode : DigitCode) + uint32_t(key - Qt::Key_0);
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return LetterCode + uint32_t(key - Qt::Key_A);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return F1Code + uint32_t(key - Qt::Key_F1);
  for (const TKeyCode& entry : QtKeyCodes)
    if (entry.Key == key) return entry.Code;
  return DigitRowCode(Event.nativeScanCode());
}
