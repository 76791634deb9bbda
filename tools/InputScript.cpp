#include "tools/InputScript.h"

#include "core/JOYUnit.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <sstream>
#include <stdexcept>

namespace {

constexpr std::array<const char*, 8> ButtonNames = {"a", "b", "select", "start", "up", "down", "left", "right"};

// Key codes of the scripted keyboard: pad p's button b is 0x1000 + 8p + b.
constexpr uint32_t KeyCode(int Pad, int Button) { return 0x1000 + 8 * Pad + Button; }

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

} // namespace

std::vector<TScriptStep> ReadInputScript(std::istream& Script) {
  std::vector<TScriptStep> steps;
  std::string line;
  for (int number = 1; std::getline(Script, line); ++number) {
    line = line.substr(0, line.find('#'));
    std::istringstream words(line);
    std::string frame, pad, word;
    if (!(words >> frame)) continue;
    auto bad = [&](const std::string& why) {
      return std::runtime_error("input script line " + std::to_string(number) + ": " + why);
    };
    TScriptStep step;
    try {
      size_t used = 0;
      step.Frame = std::stoll(frame, &used);
      if (used != frame.size() || step.Frame < 0) throw bad("bad frame \"" + frame + "\"");
    } catch (const std::logic_error&) {
      throw bad("bad frame \"" + frame + "\"");
    }
    if (!(words >> pad) || (pad != "1" && pad != "2")) throw bad("the pad is 1 or 2");
    step.Pad = pad[0] - '1';
    while (words >> word) {
      if (word == "-") continue;
      auto found = std::find(ButtonNames.begin(), ButtonNames.end(), Lower(word));
      if (found == ButtonNames.end()) throw bad("unknown button \"" + word + "\"");
      step.Buttons |= uint8_t(1u << (found - ButtonNames.begin()));
    }
    steps.push_back(step);
  }
  std::stable_sort(steps.begin(), steps.end(), [](auto& a, auto& b) { return a.Frame < b.Frame; });
  return steps;
}

TScriptedPads::TScriptedPads(std::vector<TScriptStep> Steps) : Steps(std::move(Steps)) {
  TDXInput* pads[2] = {&Pad1, &Pad2};
  for (int pad = 0; pad < 2; ++pad) {
    pads[pad]->Keyboard = this;
    for (int button = 0; button < 8; ++button) {
      uint32_t code = KeyCode(pad, button);
      pads[pad]->AssignStateKey(JoypadButtonStates[button], std::span(&code, 1));
    }
  }
}

void TScriptedPads::SetFrame(int64_t Frame) {
  for (; Next < Steps.size() && Steps[Next].Frame <= Frame; ++Next) Held[Steps[Next].Pad] = Steps[Next].Buttons;
}

bool TScriptedPads::KeyDown(uint32_t Code) const {
  uint32_t index = Code - KeyCode(0, 0);
  return index < 16 && (Held[index / 8] >> (index % 8) & 1);
}
