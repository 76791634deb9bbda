#include "tools/InputScript.h"

#include "core/JOYUnit.h"
#include "platform/CFile.h"
#include "platform/RegularFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string_view>

namespace {

// In the order of the bits of TScriptStep::Buttons; read in any letter case.
constexpr std::array<std::string_view, 8> ButtonNames = {"A", "B", "Select", "Start", "Up", "Down", "Left", "Right"};

// Key codes of the scripted keyboard: pad p's button b is 0x1000 + 8p + b.
constexpr uint32_t KeyCode(int Pad, int Button) { return 0x1000 + 8 * Pad + Button; }

// A word of a script, read a character at a time: only its first
// characters are kept, so a giant word costs no memory.
struct TWord {
  static constexpr size_t Kept = 40;
  std::string Head; // the first Kept characters
  uint64_t Length = 0;
  uint64_t Value = 0; // as a decimal number while Digits, held past the largest frame
  bool Digits = true;

  void Add(char c) {
    if (Head.size() < Kept) Head.push_back(c);
    ++Length;
    Digits = Digits && std::isdigit(uint8_t(c));
    if (Digits) Value = std::min<uint64_t>(Value * 10 + uint64_t(c - '0'), uint64_t(UINT32_MAX) + 1);
  }
  bool Whole() const { return Length == Head.size(); }
  // The word as a message shows it: cut, with control and non-ASCII bytes escaped.
  std::string Shown() const {
    std::string shown;
    for (char c : Head) {
      if (uint8_t(c) < 0x20 || uint8_t(c) >= 0x7F) {
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02x", uint8_t(c));
        shown += escaped;
      } else {
        shown += c;
      }
    }
    return Whole() ? shown : shown + "...";
  }
};

bool IsBlank(int c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

} // namespace

std::vector<TScriptStep> ReadInputScript(std::FILE* File, const std::string& Name) {
  std::vector<TScriptStep> steps;
  // One reader, so the stream's lock is not taken for every character.
  auto read = [File] { return ::getc_unlocked(File); };
  errno = 0;
  int c = read();
  for (int64_t number = 1; c != EOF; ++number) {
    auto bad = [&](const std::string& why) {
      return std::runtime_error("input script line " + std::to_string(number) + ": " + why);
    };
    TScriptStep step;
    int words = 0;
    for (;;) {
      while (IsBlank(c)) c = read();
      if (c == '#')
        while (c != EOF && c != '\n') c = read();
      if (c == EOF || c == '\n') break;
      TWord word;
      for (; c != EOF && c != '\n' && c != '#' && !IsBlank(c); c = read()) word.Add(char(c));
      if (words == 0) {
        if (!word.Digits || word.Value > UINT32_MAX)
          throw bad("bad frame \"" + word.Shown() + "\" (0 to 4294967295)");
        step.Frame = uint32_t(word.Value);
      } else if (words == 1) {
        if (word.Head != "1" && word.Head != "2") throw bad("the pad is 1 or 2");
        step.Pad = uint8_t(word.Head[0] - '1');
      } else if (word.Head != "-") {
        auto found = std::find_if(ButtonNames.begin(), ButtonNames.end(), [&word](std::string_view name) {
          return word.Whole() && word.Head.size() == name.size() &&
                 std::equal(name.begin(), name.end(), word.Head.begin(),
                            [](char a, char b) { return std::tolower(uint8_t(a)) == std::tolower(uint8_t(b)); });
        });
        if (found == ButtonNames.end()) throw bad("unknown button \"" + word.Shown() + "\"");
        step.Buttons |= uint8_t(1u << (found - ButtonNames.begin()));
      }
      ++words;
    }
    if (words == 1) throw bad("the pad is 1 or 2");
    if (words > 0) steps.push_back(step);
    if (c == '\n') c = read();
  }
  if (std::ferror(File)) throw std::runtime_error("cannot read " + Name + ": " + std::strerror(errno ? errno : EIO));
  std::stable_sort(steps.begin(), steps.end(), [](auto& a, auto& b) { return a.Frame < b.Frame; });
  return steps;
}

std::vector<TScriptStep> ReadInputScriptFile(const std::string& Path) {
  CheckReadable(Path);
  const TFile file(std::fopen(Path.c_str(), "r"));
  if (!file) throw std::runtime_error("cannot read " + Path + ": " + std::strerror(errno));
  return ReadInputScript(file.get(), Path);
}

std::string InputScriptLine(int64_t Frame, int Pad, uint8_t Buttons) {
  std::string line = std::to_string(Frame) + ' ' + char('1' + Pad);
  if (Buttons == 0) line += " -";
  for (size_t b = 0; b < ButtonNames.size(); ++b)
    if (Buttons >> b & 1) line.append(" ").append(ButtonNames[b]);
  return line + '\n';
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
