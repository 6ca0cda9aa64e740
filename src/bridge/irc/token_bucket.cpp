#include "bridge/irc/token_bucket.h"

#include <algorithm>
#include <cmath>

namespace zorvik {

TokenBucket::TokenBucket(double burst, double per_second, Micros now) {
  constexpr double kSlowest = 1.0 / 3600;
  if (!(per_second >= kSlowest)) per_second = kSlowest;  // catches NaN too
  if (!(burst >= 1)) burst = 1;
  burst = std::min(burst, 1e6);
  interval_ = std::max<Micros>(1, SecondsToMicros(1.0 / per_second));
  capacity_ = static_cast<Micros>(std::floor(burst)) * interval_;
  credit_ = capacity_;
  updated_ = now;
}

Micros TokenBucket::CreditAt(Micros now) const {
  // A clock that went back (it cannot, but) gives nothing.
  const Micros gained = std::max<Micros>(0, now - updated_);
  return gained >= capacity_ - credit_ ? capacity_ : credit_ + gained;
}

Micros TokenBucket::ReadyAt(Micros now) const {
  const Micros credit = CreditAt(now);
  return credit >= interval_ ? now : now + (interval_ - credit);
}

bool TokenBucket::Take(Micros now) {
  const Micros credit = CreditAt(now);
  if (credit < interval_) return false;
  credit_ = credit - interval_;
  updated_ = std::max(now, updated_);
  return true;
}

}  // namespace zorvik
