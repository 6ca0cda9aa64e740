#include "match/chat_text.h"

#include <charconv>

#include "text/ascii_case.h"

namespace zorvik {

std::string LowerCase(std::string_view text) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto byte = static_cast<unsigned char>(out[i]);
    out[i] = AsciiLower(out[i]);
    if (byte == 0xC3 && i + 1 < out.size()) {
      // U+00C0..U+00DE are C3 80..C3 9E; their small forms are 32 higher
      // (C3 A0..C3 BE). U+00D7 (×) has no small form.
      const auto next = static_cast<unsigned char>(out[i + 1]);
      if (next >= 0x80 && next <= 0x9E && next != 0x97) {
        out[i + 1] = static_cast<char>(next + 0x20);
      }
      ++i;
    }
  }
  return out;
}

bool SameLowerCase(std::string_view a, std::string_view b) {
  return LowerCase(a) == LowerCase(b);
}

std::string_view TrimSpaces(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::int64_t ReadHitPoints(std::string_view text) {
  if (text.empty()) return 0;
  std::int64_t value = 0;
  const char* end = text.data() + text.size();
  // from_chars takes a leading minus but no plus and no blanks, which is
  // exactly the form the battle writes.
  const auto [ptr, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || ptr != end) return 0;
  return value;
}

}  // namespace zorvik
