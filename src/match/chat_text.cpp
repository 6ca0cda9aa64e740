#include "match/chat_text.h"

#include <charconv>

#include "text/ascii_case.h"

namespace zorvik {

namespace {

// The byte after a C3 in lower case: U+00C0..U+00DE are C3 80..C3 9E, and
// their small forms are 32 higher (C3 A0..C3 BE). U+00D7 (×) has no small
// form.
char LowerAfterC3(char next) {
  const auto byte = static_cast<unsigned char>(next);
  return (byte >= 0x80 && byte <= 0x9E && byte != 0x97) ? static_cast<char>(byte + 0x20) : next;
}

bool IsC3(char c) {
  return static_cast<unsigned char>(c) == 0xC3;
}

}  // namespace

std::string LowerCase(std::string_view text) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = AsciiLower(out[i]);
    if (IsC3(out[i]) && i + 1 < out.size()) {
      ++i;
      out[i] = LowerAfterC3(out[i]);
    }
  }
  return out;
}

bool SameLowerCase(std::string_view a, std::string_view b) {
  // LowerCase keeps every byte in its place, so the texts compare byte by
  // byte; while they agree, a C3 pair starts at the same place in both.
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    if (IsC3(a[i]) && i + 1 < a.size()) {
      ++i;
      if (LowerAfterC3(a[i]) != LowerAfterC3(b[i])) return false;
    }
  }
  return true;
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
