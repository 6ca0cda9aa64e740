// Chat text is bytes from strangers that ought to be UTF-8. Everything that
// reads it as characters (the terminal's escaping, the IRC back end's
// repair of Latin-1, the screen's column widths) decodes it here, with one
// notion of what is valid: RFC 3629's.
#pragma once

#include <cstddef>
#include <string_view>

namespace zorvik {

struct Utf8Sequence {
  std::size_t length = 0;  // 1 to 4 bytes; 0 when there is no valid sequence
  char32_t code_point = 0;  // meaningful only when length > 0
};

// The UTF-8 sequence at the start of `bytes`. Its length is 0 when `bytes`
// is empty or does not start with a valid sequence: a continuation byte
// (0x80..0xBF) or 0xC0, 0xC1, 0xF5..0xFF first; an overlong form; a
// surrogate (U+D800..U+DFFF); a code point beyond U+10FFFF; or a sequence
// cut short by the end of `bytes` or by a byte that does not continue it.
// Reads no byte beyond the sequence's own.
Utf8Sequence DecodeUtf8(std::string_view bytes);

}  // namespace zorvik
