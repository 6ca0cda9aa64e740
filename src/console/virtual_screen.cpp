#include "console/virtual_screen.h"

#include <algorithm>

namespace zorvik {

VirtualScreen::VirtualScreen(int rows, int cols)
    : rows_(std::max(0, rows)), cols_(std::max(0, cols)),
      cells_(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(cols_)) {}

void VirtualScreen::Clear() {
  std::fill(cells_.begin(), cells_.end(), Cell{});
  cursor_row = cursor_col = 0;
}

int VirtualScreen::Put(int row, int col, std::string_view text, Style style, int limit) {
  if (row < 0 || row >= rows_ || col < 0) return col;
  const int end = limit < 0 ? cols_ : std::min(cols_, col + limit);
  for (std::size_t at = 0; at < text.size();) {
    const Glyph glyph = NextGlyph(text, at);
    at += glyph.bytes.size();
    if (glyph.width == 0) {
      // A combining mark joins the character before it.
      if (col > 0) cells_[static_cast<std::size_t>(row * cols_ + col - 1)].glyph += glyph.bytes;
      continue;
    }
    if (col + glyph.width > end) break;
    Cell& cell = cells_[static_cast<std::size_t>(row * cols_ + col)];
    const auto byte = static_cast<unsigned char>(glyph.bytes[0]);
    cell.glyph = byte < 0x20 || byte == 0x7F || (glyph.bytes.size() == 1 && byte >= 0x80)
                     ? std::string("?")
                     : std::string(glyph.bytes);
    cell.style = style;
    if (glyph.width == 2) cells_[static_cast<std::size_t>(row * cols_ + col + 1)] = {"", style};
    col += glyph.width;
  }
  return col;
}

void VirtualScreen::Fill(int row, int col, int count, std::string_view glyph, Style style) {
  for (int i = 0; i < count; ++i) Put(row, col + i, glyph, style);
}

const Cell& VirtualScreen::At(int row, int col) const {
  return cells_[static_cast<std::size_t>(row * cols_ + col)];
}

std::string VirtualScreen::RowText(int row) const {
  std::string text;
  for (int col = 0; col < cols_; ++col) text += At(row, col).glyph;
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

}  // namespace zorvik
