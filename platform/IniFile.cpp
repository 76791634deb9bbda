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
  const auto First = Text.find_first_not_of(Blanks);
  if (First == std::string_view::npos) return {};
  return Text.substr(First, Text.find_last_not_of(Blanks) - First + 1);
}

bool SameName(std::string_view A, std::string_view B) {
  return std::ranges::equal(A, B, [](char X, char Y) {
    const auto Upper = [](char C) { return C >= 'a' && C <= 'z' ? char(C - 'a' + 'A') : C; };
    return Upper(X) == Upper(Y);
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
  std::ifstream File(Path, std::ios::binary);
  if (!File) return {};
  std::string Text;
  std::array<char, 65536> Chunk;
  while (Text.size() < MaxProfileSize && File.read(Chunk.data(), Chunk.size()).gcount() > 0)
    Text.append(Chunk.data(), std::size_t(File.gcount()));
  Text.resize(std::min(Text.size(), MaxProfileSize));

  std::string_view Rest = Text;
  if (Rest.starts_with("\xEF\xBB\xBF")) Rest.remove_prefix(3); // UTF-8 byte order mark
  bool InSection = false;
  while (!Rest.empty()) {
    const auto End = Rest.find('\n');
    const std::string_view Line = Trim(Rest.substr(0, End));
    Rest.remove_prefix(End == std::string_view::npos ? Rest.size() : End + 1);
    if (Line.empty() || Line.front() == ';') continue;
    if (Line.front() == '[') {
      const auto Close = Line.find(']');
      if (Close != std::string_view::npos)
        InSection = SameName(Trim(Line.substr(1, Close - 1)), Trim(Section));
      continue;
    }
    const auto Equals = Line.find('=');
    if (!InSection || Equals == std::string_view::npos) continue;
    if (SameName(Trim(Line.substr(0, Equals)), Trim(Key)))
      return std::string(Unquote(Trim(Line.substr(Equals + 1))));
  }
  return {};
}
