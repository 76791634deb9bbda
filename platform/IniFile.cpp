#include "platform/IniFile.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <string_view>

#include "platform/RegularFile.h"

namespace {

// A description file is a few hundred bytes; whatever lies past this is not read.
constexpr std::size_t MaxProfileSize = 1 << 20;

std::string_view Trim(std::string_view Text) {
  constexpr std::string_view Blanks = " \t\r\v\f";
  const auto first = Text.find_first_not_of(Blanks);
  if (first == std::string_view::npos) return {};
  return Text.substr(first, Text.find_last_not_of(Blanks) - first + 1);
}

bool SameName(std::string_view A, std::string_view B) {
  return std::ranges::equal(A, B, [](char X, char Y) {
    const auto upper = [](char C) { return C >= 'a' && C <= 'z' ? char(C - 'a' + 'A') : C; };
    return upper(X) == upper(Y);
  });
}

// A value in matching quotes loses them, as Windows does.
std::string_view Unquote(std::string_view Value) {
  if (Value.size() >= 2 && Value.front() == Value.back() && (Value.front() == '"' || Value.front() == '\''))
    return Value.substr(1, Value.size() - 2);
  return Value;
}

} // namespace

std::string ReadProfileString(const std::string& Path, const std::string& Section, const std::string& Key) {
  if (!NotAFile(Path).empty()) return {};
  std::ifstream file(Path, std::ios::binary);
  if (!file) return {};
  std::string text;
  std::array<char, 65536> chunk;
  while (text.size() < MaxProfileSize && file.read(chunk.data(), chunk.size()).gcount() > 0)
    text.append(chunk.data(), std::size_t(file.gcount()));
  text.resize(std::min(text.size(), MaxProfileSize));

  std::string_view rest = text;
  if (rest.starts_with("\xEF\xBB\xBF")) rest.remove_prefix(3); // UTF-8 byte order mark
  bool inSection = false;
  while (!rest.empty()) {
    const auto end = rest.find('\n');
    const std::string_view line = Trim(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const auto close = line.find(']');
      if (close != std::string_view::npos)
        inSection = SameName(Trim(line.substr(1, close - 1)), Trim(Section));
      continue;
    }
    const auto equals = line.find('=');
    if (!inSection || equals == std::string_view::npos) continue;
    if (SameName(Trim(line.substr(0, equals)), Trim(Key)))
      return std::string(Unquote(Trim(line.substr(equals + 1))));
  }
  return {};
}
