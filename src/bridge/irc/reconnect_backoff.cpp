#include "bridge/irc/reconnect_backoff.h"

#include <algorithm>

namespace zorvik {

std::uint64_t ReconnectBackoff::NextRandom() {
  // SplitMix64.
  state_ += 0x9E3779B97F4A7C15ULL;
  std::uint64_t z = state_;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

Micros ReconnectBackoff::Next() {
  Micros nominal = kFirst;
  for (int i = 0; i < failures_ && nominal < kLongest; ++i) nominal *= 2;
  nominal = std::min(nominal, kLongest);
  // Once at the longest delay, counting on would only risk an overflow.
  if (nominal < kLongest) ++failures_;
  const Micros quarter = nominal / 4;
  const auto spread = static_cast<Micros>(NextRandom() % static_cast<std::uint64_t>(quarter + 1));
  return nominal - quarter + spread;
}

}  // namespace zorvik
