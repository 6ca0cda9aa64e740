// How long to wait before the next attempt to reach a server: exponential
// backoff with jitter. The nominal delay starts at one second and doubles
// with every failed attempt up to five minutes; each delay actually used is
// between three quarters of the nominal one and all of it, drawn at random,
// so that many hosts dropped by the same server do not all come back in the
// same second.
//
// The jitter comes from a small generator of its own, started from a seed
// the caller passes, so that tests get the same delays on every run.
#pragma once

#include <cstdint>

#include "bridge/loop/event_loop.h"

namespace zorvik {

class ReconnectBackoff {
 public:
  static constexpr Micros kFirst = 1 * kMicrosPerSecond;
  static constexpr Micros kLongest = 300 * kMicrosPerSecond;

  explicit ReconnectBackoff(std::uint64_t seed) : state_(seed) {}

  // The delay before the next attempt; each call counts one more failure.
  Micros Next();

  // Back to the first delay, once a connection has proved good.
  void Reset() { failures_ = 0; }

 private:
  std::uint64_t NextRandom();

  std::uint64_t state_;
  int failures_ = 0;
};

}  // namespace zorvik
