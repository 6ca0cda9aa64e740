// Outgoing flood control: a token bucket. It holds up to `burst` tokens and
// gains `per_second` of them every second; each line sent takes one. So a
// quiet sender may send `burst` lines at once, and then one line every
// 1 / per_second seconds, which keeps servers from throttling or killing
// a client that talks too fast.
//
// Time is passed in (the event loop's clock), so the bucket is a plain value
// that tests drive with any times. Kept in whole microseconds of credit, so
// it never drifts however long it runs.
#pragma once

#include "bridge/loop/event_loop.h"

namespace zorvik {

class TokenBucket {
 public:
  // `burst` is taken as at least 1 and `per_second` as at least one line
  // an hour; the bucket starts full at time `now`.
  TokenBucket(double burst, double per_second, Micros now);

  // The earliest time, `now` or later, at which a token can be taken.
  Micros ReadyAt(Micros now) const;

  // Takes one token at `now`. Returns false (and takes nothing) when none
  // is there yet.
  bool Take(Micros now);

 private:
  Micros CreditAt(Micros now) const;

  Micros interval_;  // the time one token takes to grow back
  Micros capacity_;  // burst × interval
  Micros credit_;    // at updated_
  Micros updated_;
};

}  // namespace zorvik
