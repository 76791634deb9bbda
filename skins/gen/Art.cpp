#include "Art.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace {

TMask MaskOf(const std::vector<std::string>& Lines) {
  TMask Mask{int(Lines.front().size()), int(Lines.size()), {}};
  for (const std::string& Line : Lines)
    for (const char Dot : Line) Mask.Dots.push_back(Dot == '#' ? 1 : Dot == 'o' ? 2 : 0);
  return Mask;
}

} // namespace

const TMask& TArt::Icon(std::string_view Name) const {
  const auto Found = Icons.find(Name);
  if (Found == Icons.end()) throw std::runtime_error("art has no icon " + std::string(Name));
  return Found->second;
}

TMask TArt::Text(std::string_view Text) const {
  std::vector<TMask> Cells;
  for (const char Character : Text) {
    TMask Cell{CellWidth, CellHeight - 1, std::vector<uint8_t>(CellWidth * (CellHeight - 1))};
    // Letters open the first row of the font, digits the second.
    int Left = -1, Top = 0;
    if (Character >= 'A' && Character <= 'Z') Left = (Character - 'A') * CellWidth;
    if (Character >= '0' && Character <= '9') Left = (Character - '0') * CellWidth, Top = CellHeight;
    if (Left < 0 && Character != ' ') throw std::runtime_error(std::string("no art for '") + Character + "'");
    for (int Row = 0; Left >= 0 && Row < Cell.Height; ++Row)
      for (int Column = 0; Column < CellWidth; ++Column)
        Cell.Dots[std::size_t(Row) * CellWidth + Column] = Font.At(Left + Column, Top + Row);
    Cells.push_back(std::move(Cell));
  }
  TMask Line = Join(Cells, true, 0);
  // The last cell's spacing column goes.
  TMask Out{Line.Width - 1, Line.Height, {}};
  for (int Row = 0; Row < Line.Height; ++Row)
    for (int Column = 0; Column < Out.Width; ++Column) Out.Dots.push_back(Line.At(Column, Row));
  return Out;
}

TArt ReadArt(const std::string& Path) {
  std::ifstream File(Path);
  if (!File) throw std::runtime_error(Path + ": cannot be read");
  int LineNumber = 0;
  const auto Fail = [&](const std::string& Reason) {
    throw std::runtime_error(Path + ":" + std::to_string(LineNumber) + ": " + Reason);
  };
  std::vector<std::string> FontRows[3][TArt::CellHeight];
  TArt Art;
  std::string Line;
  while (std::getline(File, Line)) {
    ++LineNumber;
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    if (Line.empty() || Line.front() == '#') continue;
    std::vector<std::string> Block;
    if (Line.starts_with("font ")) {
      const int Row = Line.size() == 6 ? Line[5] - '0' : -1;
      if (Row < 0 || Row > 2) Fail("font row must be 0, 1 or 2");
      for (int Count = 0; Count < TArt::CellHeight; ++Count) {
        if (!std::getline(File, Line)) Fail("font block ends early");
        ++LineNumber;
        if (Line.empty() || Line.size() % TArt::CellWidth || Line.find_first_not_of(".#") != std::string::npos)
          Fail("font art lines are whole 5-pixel cells of '.' and '#'");
        FontRows[Row][Count].push_back(Line);
      }
    } else if (Line.starts_with("icon ")) {
      const std::string Name = Line.substr(5);
      while (std::getline(File, Line) && (++LineNumber, !Line.empty())) {
        if (Line.find_first_not_of(".#o") != std::string::npos) Fail("icon art is made of '.', '#' and 'o'");
        if (!Block.empty() && Line.size() != Block.front().size()) Fail("icon lines differ in length");
        Block.push_back(Line);
      }
      if (Block.empty()) Fail("icon " + Name + " has no art");
      Art.Icons[Name] = MaskOf(Block);
    } else {
      Fail("expected 'font ROW' or 'icon NAME'");
    }
  }
  std::vector<std::string> FontLines;
  const int FontWidth = *std::ranges::max_element(TArt::RowCells) * TArt::CellWidth;
  for (int Row = 0; Row < 3; ++Row)
    for (const auto& Pieces : FontRows[Row]) {
      std::string Joined;
      for (const std::string& Piece : Pieces) Joined += Piece;
      if (Joined.size() != std::size_t(TArt::RowCells[Row] * TArt::CellWidth))
        throw std::runtime_error(Path + ": font row " + std::to_string(Row) + " needs " +
                                 std::to_string(TArt::RowCells[Row]) + " cells");
      Joined.resize(FontWidth, '.');
      FontLines.push_back(Joined);
    }
  Art.Font = MaskOf(FontLines);
  return Art;
}
