// Case-blind prefix comparison of window class names, shared by the
// client kit and the window systems it walks.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "bridge/ascii_case.h"

namespace zorvik {

// A class-name prefix known when the program is compiled (up to 15 bytes,
// none of them NUL), folded once, for testing class names kept folded and
// zero-padded in 16 bytes, as the embedded client keeps them: the test is
// then two masked words, whatever the case.
struct FoldedPrefix {
  static constexpr std::size_t kMost = 15;

  consteval explicit FoldedPrefix(std::string_view prefix) : text(prefix) {
    static_assert(std::endian::native == std::endian::little);
    if (prefix.size() > kMost) throw "a class prefix of at most 15 bytes";
    for (std::size_t i = 0; i < prefix.size(); ++i) {
      const auto byte = static_cast<unsigned char>(AsciiLower(prefix[i]));
      if (byte == 0) throw "a class prefix without NUL";
      word[i / 8] |= std::uint64_t{byte} << (8 * (i % 8));
      mask[i / 8] |= std::uint64_t{0xFF} << (8 * (i % 8));
    }
  }

  // Whether the 16 bytes at `folded` (a folded name, zeros past its end)
  // start with this prefix: a shorter name fails on its padding, since the
  // prefix holds no NUL.
  bool StartsFolded(const char* folded) const {
    std::uint64_t low;
    std::uint64_t high;
    std::memcpy(&low, folded, sizeof low);
    std::memcpy(&high, folded + 8, sizeof high);
    return (((low ^ word[0]) & mask[0]) | ((high ^ word[1]) & mask[1])) == 0;
  }

  std::string_view text;
  std::uint64_t word[2] = {};
  std::uint64_t mask[2] = {};
};

}  // namespace zorvik
