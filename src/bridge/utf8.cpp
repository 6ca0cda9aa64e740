#include "bridge/utf8.h"

namespace zorvik {

Utf8Sequence DecodeUtf8(std::string_view bytes) {
  if (bytes.empty()) return {};
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {1, lead};
  // The second byte's bounds rule out the overlong forms, the surrogates and
  // what lies beyond U+10FFFF (the table of RFC 3629, section 4).
  std::size_t length;
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
    return {};
  }
  if (bytes.size() < 2 || byte(1) < low || byte(1) > high) return {};
  char32_t code_point = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if (i >= bytes.size() || byte(i) < 0x80 || byte(i) > 0xBF) return {};
    code_point = (code_point << 6) | (byte(i) & 0x3F);
  }
  return {length, code_point};
}

}  // namespace zorvik
