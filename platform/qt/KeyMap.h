#pragma once

#include <array>
#include <cstdint>

class QKeyEvent;

// The Windows virtual-key code of a key event, the unit in which every key
// setting is stored: letters 65-90, digits 48-57, keypad digits 96-105,
// Backspace 8, Tab 9, Clear 12, Return 13, Shift 16, Control 17, Alt 18,
// Escape 27, Space 32, Page Up 33, Page Down 34, End 35, Home 36, arrows
// 37-40, Insert 45, Delete 46, F1-F12 112-123. 0 for a key with no code.
uint32_t VirtualKeyCode(const QKeyEvent& Event);

// A named key of the settings dialog's key lists.
struct TKeyName {
  const char* Name;
  uint32_t Code;
};
// The keys a joypad button can be given in the settings dialog, in its order.
extern const std::array<TKeyName, 52> KeyTable;
