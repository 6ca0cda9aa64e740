#include "bridge/loop/event_loop.h"

#include <cmath>

namespace zorvik {

Micros SecondsToMicros(double seconds) {
  constexpr double kLimit = 10.0 * 365 * 24 * 3600;  // ten years
  if (!(seconds > 0)) return 0;                      // also catches NaN
  if (seconds > kLimit) seconds = kLimit;
  return static_cast<Micros>(std::llround(seconds * 1e6));
}

}  // namespace zorvik
