#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/Input.h"

// A joypad script: which buttons each pad holds from which frame on.
//
//   # comment
//   FRAME PAD BUTTON...
//
// FRAME counts from 0 at power-on (decimal digits, at most 4294967295), PAD is 1 or 2, the buttons are A, B,
// Select, Start, Up, Down, Left and Right in any letter case, or "-" for
// none. A line holds its buttons until a later line for the same pad.
struct TScriptStep {
  uint32_t Frame = 0;
  uint8_t Pad = 0;     // 0 or 1
  uint8_t Buttons = 0; // bit 0 A, 1 B, 2 Select, 3 Start, 4 Up, 5 Down, 6 Left, 7 Right
};

// Reads a script from File, named Name in messages. A malformed line throws
// std::runtime_error naming the line, a read error one naming the file.
std::vector<TScriptStep> ReadInputScript(std::FILE* File, const std::string& Name);
// The same from the file Path, which must be a regular file: one that is
// not, or cannot be opened, throws std::runtime_error naming it.
std::vector<TScriptStep> ReadInputScriptFile(const std::string& Path);

// The script line saying that Pad (0 or 1) holds Buttons from Frame on, with its line feed.
std::string InputScriptLine(int64_t Frame, int Pad, uint8_t Buttons);

// The keyboard behind both scripted pads: each pad's input object assigns
// its eight buttons to key codes of their own, which this source reports as
// held while the script says so.
class TScriptedPads : public TKeyboardSource {
public:
  explicit TScriptedPads(std::vector<TScriptStep> Steps);

  TDXInput Pad1, Pad2;

  // Moves the script on to Frame: the pads hold what the script says from then on.
  void SetFrame(int64_t Frame);
  bool KeyDown(uint32_t Code) const override;

private:
  std::vector<TScriptStep> Steps;
  size_t Next = 0;
  uint8_t Held[2] = {0, 0};
};
