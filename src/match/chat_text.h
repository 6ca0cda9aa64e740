// Text rules of the game's chat: how screen names, picks and moves are
// compared, and how hit points are read. Chat text is UTF-8 from strangers:
// any bytes, any length; nothing here fails on it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zorvik {

// Lower case as players see it: ASCII letters and the accented capitals of
// the Latin-1 range (À to Þ, except ×). Everything else, invalid UTF-8
// included, is kept byte for byte.
std::string LowerCase(std::string_view text);
// LowerCase(a) == LowerCase(b).
bool SameLowerCase(std::string_view a, std::string_view b);

// `text` without the blanks (U+0020 only) at either end.
std::string_view TrimSpaces(std::string_view text);

// Hit points as the battle reads them: an optional minus sign and decimal
// digits, nothing else. Anything that is not such a whole number (empty,
// blanks, a fraction, an overflow) reads as 0.
std::int64_t ReadHitPoints(std::string_view text);

}  // namespace zorvik
