// A grid of character cells with a style each: what the full-screen
// console draws into. The terminal copies it to the real screen; tests read
// it back, so the layout is checked without a terminal.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "windows/text_fit.h"  // the widths of glyphs, in cells

namespace zorvik {

enum class Style : std::uint8_t {
  kPlain, kTitle, kHpGood, kHpFair, kHpLow, kBarEmpty, kButton, kButtonDim, kStatus,
  kHostLine, kPlayerLine, kSpectatorLine, kNote, kBorder, kSelected,
};

struct Cell {
  std::string glyph = " ";  // one character in UTF-8; "" behind a wide one
  Style style = Style::kPlain;
};

class VirtualScreen {
 public:
  VirtualScreen(int rows, int cols);

  int rows() const { return rows_; }
  int cols() const { return cols_; }
  void Clear();
  // Writes `text` from (row, col), clipped at the right edge or after
  // `limit` columns (-1: none). Returns the column after the last one written.
  int Put(int row, int col, std::string_view text, Style style, int limit = -1);
  void Fill(int row, int col, int count, std::string_view glyph, Style style);
  const Cell& At(int row, int col) const;
  // A row's characters, trailing spaces left off.
  std::string RowText(int row) const;

  int cursor_row = 0;
  int cursor_col = 0;

 private:
  int rows_, cols_;
  std::vector<Cell> cells_;
};

}  // namespace zorvik
