// pixtor-chrgen: turns tiles drawn as text art into an 8 KB character ROM.
//
// Input format, one item per line ('#' starts a comment, blank lines are skipped):
//   tile INDEX [WxH]     starts a block of W x H tiles (default 1x1) whose first
//                        tile is INDEX (decimal, $hex or 0xhex, 0-511; 256-511 is
//                        the pattern table at 0x1000). Tiles are numbered row by
//                        row: INDEX + row * W + column.
//   8*H art lines        each 8*W characters from ". 0 1 2 3" ('.' = colour 0).
// Every tile left undefined is blank. A tile defined twice is an error.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int TileCount = 512;
constexpr int TileBytes = 16;

struct ParseError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string Trim(const std::string& s) {
  const auto hash = s.find('#');
  std::string t = s.substr(0, hash);
  const auto first = t.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = t.find_last_not_of(" \t\r");
  return t.substr(first, last - first + 1);
}

int ParseNumber(const std::string& text) {
  std::size_t used = 0;
  int value = -1;
  try {
    if (text.size() > 1 && text[0] == '$')
      value = std::stoi(text.substr(1), &used, 16), ++used;
    else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
      value = std::stoi(text.substr(2), &used, 16), used += 2;
    else
      value = std::stoi(text, &used, 10);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size()) throw ParseError("bad number '" + text + "'");
  return value;
}

struct Block {
  int Index = 0;
  int Width = 1;
  int Height = 1;
};

Block ParseHeader(const std::string& line) {
  std::istringstream in(line);
  std::string word, number, size, extra;
  in >> word >> number >> size >> extra;
  if (word != "tile" || number.empty() || !extra.empty())
    throw ParseError("expected 'tile INDEX [WxH]'");
  Block b;
  b.Index = ParseNumber(number);
  if (!size.empty()) {
    const auto x = size.find('x');
    if (x == std::string::npos) throw ParseError("bad block size '" + size + "'");
    b.Width = ParseNumber(size.substr(0, x));
    b.Height = ParseNumber(size.substr(x + 1));
  }
  if (b.Width < 1 || b.Height < 1) throw ParseError("block size must be at least 1x1");
  if (b.Index < 0 || b.Index + b.Width * b.Height > TileCount)
    throw ParseError("tile index out of range 0-511");
  return b;
}

int PixelColour(char c) {
  switch (c) {
    case '.': case '0': return 0;
    case '1': return 1;
    case '2': return 2;
    case '3': return 3;
    default: throw ParseError(std::string("bad pixel '") + c + "'");
  }
}

std::vector<std::uint8_t> Convert(std::istream& in) {
  std::vector<std::uint8_t> chr(TileCount * TileBytes, 0);
  std::array<bool, TileCount> defined{};
  std::string raw;
  int lineNo = 0;
  auto nextArtLine = [&]() {
    while (std::getline(in, raw)) {
      ++lineNo;
      std::string t = Trim(raw);
      if (!t.empty()) return t;
    }
    throw ParseError("art ends early");
  };
  try {
    while (std::getline(in, raw)) {
      ++lineNo;
      const std::string header = Trim(raw);
      if (header.empty()) continue;
      const Block b = ParseHeader(header);
      for (int t = b.Index; t < b.Index + b.Width * b.Height; ++t) {
        if (defined[t]) throw ParseError("tile " + std::to_string(t) + " defined twice");
        defined[t] = true;
      }
      for (int row = 0; row < 8 * b.Height; ++row) {
        const std::string art = nextArtLine();
        if (static_cast<int>(art.size()) != 8 * b.Width)
          throw ParseError("art line must be " + std::to_string(8 * b.Width) + " characters");
        for (int col = 0; col < 8 * b.Width; ++col) {
          const int colour = PixelColour(art[col]);
          const int tile = b.Index + (row / 8) * b.Width + col / 8;
          const std::uint8_t bit = 0x80 >> (col % 8);
          if (colour & 1) chr[tile * TileBytes + row % 8] |= bit;
          if (colour & 2) chr[tile * TileBytes + 8 + row % 8] |= bit;
        }
      }
    }
  } catch (const ParseError& e) {
    throw ParseError("line " + std::to_string(lineNo) + ": " + e.what());
  }
  return chr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: pixtor-chrgen TILES.txt OUTPUT.chr\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << argv[1] << ": cannot open\n";
    return 1;
  }
  std::vector<std::uint8_t> chr;
  try {
    chr = Convert(in);
  } catch (const ParseError& e) {
    std::cerr << argv[1] << ":" << e.what() << "\n";
    return 1;
  }
  std::ofstream out(argv[2], std::ios::binary);
  out.write(reinterpret_cast<const char*>(chr.data()), static_cast<std::streamsize>(chr.size()));
  if (!out) {
    std::cerr << argv[2] << ": cannot write\n";
    return 1;
  }
  return 0;
}
