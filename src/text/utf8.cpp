#include "text/utf8.h"

namespace zorvik {

Utf8Read ReadUtf8(std::string_view text) {
  const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {Utf8Read::kValid, 1, lead};
  std::size_t length = 0;
  // The range the second byte must fall in rules out overlong forms,
  // surrogates and values above U+10FFFF.
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {Utf8Read::kInvalid, 1};
  }
  for (std::size_t i = 1; i < length; ++i) {
    if (i >= text.size()) return {Utf8Read::kIncomplete, i};
    const unsigned char next = byte(i);
    const bool fits = i == 1 ? next >= low && next <= high : next >= 0x80 && next <= 0xBF;
    if (!fits) return {Utf8Read::kInvalid, i};
  }
  char32_t code_point = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) code_point = (code_point << 6) | (byte(i) & 0x3F);
  return {Utf8Read::kValid, length, code_point};
}

}  // namespace zorvik
