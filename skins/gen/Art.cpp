#include "Art.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace {

TMask MaskOf(const std::vector<std::string>& Lines) {
  TMask mask{int(Lines.front().size()), int(Lines.size()), {}};
  for (const std::string& line : Lines)
    for (const char dot : line)
      mask.Dots.push_back(dot == '#' ? 1 : dot == 'o' ? 2 : 0);
  return mask;
}

} // namespace

const TMask& TArt::Icon(std::string_view Name) const {
  const auto found = Icons.find(Name);
  if (found == Icons.end()) throw std::runtime_error("art has no icon " + std::string(Name));
  return found->second;
}

TMask TArt::Text(std::string_view Text) const {
  std::vector<TMask> cells;
  for (const char character : Text) {
    TMask cell{CellWidth, CellHeight - 1, std::vector<uint8_t>(CellWidth * (CellHeight - 1))};
    // Letters open the first row of the font, digits the second.
    int left = -1, top = 0;
    if (character >= 'A' && character <= 'Z') left = (character - 'A') * CellWidth;
    if (character >= '0' && character <= '9') left = (character - '0') * CellWidth, top = CellHeight;
    if (left < 0 && character != ' ') throw std::runtime_error(std::string("no art for '") + character + "'");
    for (int row = 0; left >= 0 && row < cell.Height; ++row)
      for (int column = 0; column < CellWidth; ++column)
        cell.Dots[std::size_t(row) * CellWidth + column] = Font.At(left + column, top + row);
    cells.push_back(std::move(cell));
  }
  TMask line = Join(cells, true, 0);
  // The last cell's spacing column goes.
  TMask out{line.Width - 1, line.Height, {}};
  for (int row = 0; row < line.Height; ++row)
    for (int column = 0; column < out.Width; ++column)
      out.Dots.push_back(line.At(column, row));
  return out;
}

TArt ReadArt(const std::string& Path) {
  std::ifstream file(Path);
  if (!file) throw std::runtime_error(Path + ": cannot be read");
  int lineNumber = 0;
  const auto fail = [&](const std::string& Reason) {
    throw std::runtime_error(Path + ":" + std::to_string(lineNumber) + ": " + Reason);
  };
  std::vector<std::string> fontRows[3][TArt::CellHeight];
  TArt art;
  std::string line;
  while (std::getline(file, line)) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    std::vector<std::string> block;
    if (line.starts_with("font ")) {
      const int row = line.size() == 6 ? line[5] - '0' : -1;
      if (row < 0 || row > 2) fail("font row must be 0, 1 or 2");
      for (int count = 0; count < TArt::CellHeight; ++count) {
        if (!std::getline(file, line)) fail("font block ends early");
        ++lineNumber;
        if (line.empty() || line.size() % TArt::CellWidth ||
            line.find_first_not_of(".#") != std::string::npos)
          fail("font art lines are whole 5-pixel cells of '.' and '#'");
        fontRows[row][count].push_back(line);
      }
    } else if (line.starts_with("icon ")) {
      const std::string name = line.substr(5);
      while (std::getline(file, line) && (++lineNumber, !line.empty())) {
        if (line.find_first_not_of(".#o") != std::string::npos) fail("icon art is made of '.', '#' and 'o'");
        if (!block.empty() && line.size() != block.front().size()) fail("icon lines differ in length");
        block.push_back(line);
      }
      if (block.empty()) fail("icon " + name + " has no art");
      art.Icons[name] = MaskOf(block);
    } else {
      fail("expected 'font ROW' or 'icon NAME'");
    }
  }
  std::vector<std::string> fontLines;
  const int fontWidth = *std::ranges::max_element(TArt::RowCells) * TArt::CellWidth;
  for (int row = 0; row < 3; ++row)
    for (const auto& pieces : fontRows[row]) {
      std::string joined;
      for (const std::string& piece : pieces)
        joined += piece;
      if (joined.size() != std::size_t(TArt::RowCells[row] * TArt::CellWidth))
        throw std::runtime_error(Path + ": font row " + std::to_string(row) + " needs " +
                                 std::to_string(TArt::RowCells[row]) + " cells");
      joined.resize(fontWidth, '.');
      fontLines.push_back(joined);
    }
  art.Font = MaskOf(fontLines);
  return art;
}
