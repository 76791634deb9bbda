#pragma once

#include <map>
#include <string>
#include <string_view>

#include "Raster.h"

// The skin's text art (skins/art.txt), one item per line, '#' starting a
// comment line:
//   font ROW      6 art lines continuing row ROW (0-2) of the title font,
//                 5 characters a cell, in the order of the font's rows
//   icon NAME     art lines up to the next blank line
// In art lines '.' is nothing, '#' ink and 'o' accent.
struct TArt {
  static constexpr int CellWidth = 5;
  static constexpr int CellHeight = 6;
  static constexpr int RowCells[3] = {30, 31, 5};

  TMask Font; // 3 rows of cells, each as long as its count of cells
  std::map<std::string, TMask, std::less<>> Icons;

  const TMask& Icon(std::string_view Name) const;
  // Capitals, digits and spaces in the font's cells, without the blank
  // column and row that part neighbouring cells.
  TMask Text(std::string_view Text) const;
};

// Throws std::runtime_error naming the file and line of a fault.
TArt ReadArt(const std::string& Path);
