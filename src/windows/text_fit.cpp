#include "windows/text_fit.h"

#include <algorithm>

#include "text/utf8.h"

namespace zorvik {

namespace {

int CodePointWidth(char32_t c) {
  if ((c >= 0x300 && c <= 0x36F) || (c >= 0x200B && c <= 0x200F) || c == 0xFE0F) return 0;
  if ((c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
      (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
      (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
      (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1FAFF) ||
      (c >= 0x20000 && c <= 0x3FFFD)) {
    return 2;
  }
  return 1;
}

}  // namespace

Glyph NextGlyph(std::string_view text, std::size_t at) {
  const std::string_view rest = text.substr(at);
  const Utf8Read read = ReadUtf8(rest);
  if (read.status != Utf8Read::kValid) return {rest.substr(0, 1), 1};
  return {rest.substr(0, read.length), CodePointWidth(read.code_point)};
}

int TextWidth(std::string_view text) {
  int width = 0;
  for (std::size_t at = 0; at < text.size();) {
    const Glyph glyph = NextGlyph(text, at);
    width += glyph.width;
    at += glyph.bytes.size();
  }
  return width;
}

std::string CutToWidth(std::string_view text, int width, const TextMeasure& measure) {
  const std::string_view end = text.ends_with(']') ? "]" : "";
  const int room = width - measure(kEllipsis) - measure(end);
  // One pass, stopping at the first character past `width`, so that a
  // name of any length costs no more than the width it is cut to.
  int used = 0;
  std::size_t head = 0;  // bytes of the longest head that fits in `room`
  for (std::size_t at = 0; at < text.size();) {
    const Glyph glyph = NextGlyph(text, at);
    used += measure(glyph.bytes);
    if (used > width) {
      if (room < 0) return measure(kEllipsis) <= width ? std::string(kEllipsis) : std::string();
      while (head > 0 && text[head - 1] == ' ') --head;
      std::string cut(text.substr(0, head));
      cut += kEllipsis;
      cut += end;
      return cut;
    }
    at += glyph.bytes.size();
    if (used <= room) head = at;
  }
  return std::string(text);
}

std::vector<std::string_view> WrapAtSpaces(std::string_view text, int width) {
  width = std::max(1, width);
  std::vector<std::string_view> rows;
  std::size_t row_start = 0;  // the row being filled is text[row_start, row_end)
  std::size_t row_end = 0;
  int used = 0;  // its columns
  std::size_t at = 0;
  while (at < text.size()) {
    // The blanks before the next word, and the word.
    std::size_t word = at;
    while (word < text.size() && text[word] == ' ') ++word;
    std::size_t word_end = word;
    while (word_end < text.size() && text[word_end] != ' ') ++word_end;
    if (word == word_end) break;  // blanks at the end show nothing
    const int blanks = static_cast<int>(word - at);
    const int word_width = TextWidth(text.substr(word, word_end - word));
    at = word_end;
    if (used + blanks + word_width <= width) {
      row_end = word_end;
      used += blanks + word_width;
      continue;
    }
    // The word goes on a row of its own, after the blanks if it is wider
    // than any row and a column is left after them on this one.
    if (used > 0 && (word_width <= width || used + blanks >= width)) {
      rows.push_back(text.substr(row_start, row_end - row_start));
      used = 0;
    }
    if (used == 0) {
      row_start = word;
    } else {
      used += blanks;
    }
    if (word_width <= width) {
      row_end = word_end;
      used = word_width;
      continue;
    }
    for (std::size_t g = word; g < word_end;) {
      const Glyph glyph = NextGlyph(text, g);
      if (glyph.width > 0 && used > 0 && used + glyph.width > width) {
        rows.push_back(text.substr(row_start, g - row_start));
        row_start = g;
        used = 0;
      }
      used += glyph.width;
      g += glyph.bytes.size();
    }
    row_end = word_end;
  }
  rows.push_back(text.substr(row_start, row_end - row_start));
  return rows;
}

}  // namespace zorvik
