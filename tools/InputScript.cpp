#include "tools/InputScript.h"

#include "core/JOYUnit.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string_view>

namespace {

// In the order of the bits of TScriptStep::Buttons; read in any letter case.
constexpr std::array<std::string_view, 8> ButtonNames = {"A", "B", "Select", "Start", "Up", "Down", "Left", "Right"};

// Key codes of the scripted keyboard: pad p's button b is 0x1000 + 8p + b.
constexpr uint32_t KeyCode(int Pad, int Button) { return 0x1000 + 8 * Pad + Button; }

constexpr const char* Blanks = " \t\r\n\v\f";

} // namespace

std::vector<TScriptStep> ReadInputScript(std::FILE* File, const std::string& Name) {
  std::vector<TScriptStep> steps;
  struct TLineBuffer {
    char* Data = nullptr; // getline's, grown with realloc
    size_t Capacity = 0;
    ~TLineBuffer() { std::free(Data); }
  } buffer;
  errno = 0;
  for (int64_t number = 1;; ++number) {
    const ssize_t length = ::getline(&buffer.Data, &buffer.Capacity, File);
    if (length < 0) break;
    std::string_view line(buffer.Data, size_t(length));
    line = line.substr(0, line.find('#'));
    auto bad = [&](const std::string& why) {
      return std::runtime_error("input script line " + std::to_string(number) + ": " + why);
    };
    auto next = [&line] {
      const size_t start = std::min(line.find_first_not_of(Blanks), line.size());
      const size_t end = std::min(line.find_first_of(Blanks, start), line.size());
      std::string_view word = line.substr(start, end - start);
      line.remove_prefix(end);
      return word;
    };
    const std::string_view frame = next();
    if (frame.empty()) continue;
    TScriptStep step;
    const auto [end, error] = std::from_chars(frame.data(), frame.data() + frame.size(), step.Frame);
    if (error != std::errc() || end != frame.data() + frame.size())
      throw bad("bad frame \"" + std::string(frame) + "\" (0 to 4294967295)");
    const std::string_view pad = next();
    if (pad != "1" && pad != "2") throw bad("the pad is 1 or 2");
    step.Pad = uint8_t(pad[0] - '1');
    for (std::string_view word = next(); !word.empty(); word = next()) {
      if (word == "-") continue;
      auto found = std::find_if(ButtonNames.begin(), ButtonNames.end(), [word](std::string_view name) {
        return word.size() == name.size() && std::equal(word.begin(), word.end(), name.begin(), [](char a, char b) {
                 return std::tolower(uint8_t(a)) == std::tolower(uint8_t(b));
               });
      });
      if (found == ButtonNames.end()) throw bad("unknown button \"" + std::string(word) + "\"");
      step.Buttons |= uint8_t(1u << (found - ButtonNames.begin()));
    }
    steps.push_back(step);
  }
  if (std::ferror(File)) throw std::runtime_error("cannot read " + Name + ": " + std::strerror(errno ? errno : EIO));
  std::stable_sort(steps.begin(), steps.end(), [](auto& a, auto& b) { return a.Frame < b.Frame; });
  return steps;
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
