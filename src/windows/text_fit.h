// How text fits a width: the columns a terminal gives UTF-8 text, a text
// cut to a width with an ellipsis, and a text wrapped at blanks. The
// full-screen console measures in columns; the desktop views measure in
// pixels of their font, through the same cut, so that a name is shortened
// by one rule wherever it is shown.
//
// Text here comes from strangers: any bytes, any length. A byte that is not
// UTF-8 counts as one character of one column; nothing here fails on it.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik {

// One UTF-8 character of `text` from `at` (at < text.size()): its bytes (a
// bad byte is taken alone) and its width in columns.
struct Glyph {
  std::string_view bytes;
  int width;
};
Glyph NextGlyph(std::string_view text, std::size_t at);

// The columns `text` takes on a terminal: most characters one, combining
// marks none, East Asian wide ones two. Bytes that are not UTF-8 count one.
int TextWidth(std::string_view text);

// The width of a piece of text on one line, in the caller's unit (columns
// for a terminal, pixels in the current font for a window). Never negative.
using TextMeasure = std::function<int(std::string_view)>;

inline constexpr std::string_view kEllipsis = "\u2026";

// `text` as it fits in `width`, measured glyph by glyph: `text` itself when
// it fits; else its longest head that fits with "…" after it (cut between
// characters, blanks before the "…" dropped). A "]" that ends `text` stays
// after the "…", so that a caption such as "player1:[name]" keeps its
// bracket: "player1:[na…]". Where not even that fits, "…" alone, and ""
// where not even "…" does.
std::string CutToWidth(std::string_view text, int width,
                       const TextMeasure& measure = TextWidth);

// `text` (one line) as rows of at most `width` columns (at least 1),
// broken at blanks (U+0020): the blanks where a row breaks are dropped, the
// others kept, leading ones included. A word wider than a whole row starts
// where it stands and breaks inside itself where the row is full. There is
// always one row at least ("" gives one empty row). The rows are views into
// `text`, which must outlive them.
std::vector<std::string_view> WrapAtSpaces(std::string_view text, int width);

}  // namespace zorvik
