#include "windows/twips.h"

#include <cmath>
#include <limits>

namespace zorvik {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kPointsPerInch = 72.0;

int ClampRound(double value) {
  if (std::isnan(value)) return 0;
  const double rounded = std::round(value);
  if (rounded >= static_cast<double>(std::numeric_limits<int>::max())) {
    return std::numeric_limits<int>::max();
  }
  if (rounded <= static_cast<double>(std::numeric_limits<int>::min())) {
    return std::numeric_limits<int>::min();
  }
  return static_cast<int>(rounded);
}

}  // namespace

TwipScale::TwipScale(double dpi) : dpi_(std::isfinite(dpi) && dpi >= 48 && dpi <= 960 ? dpi : 96) {}

int TwipScale::Pixels(std::int64_t twips) const {
  return PixelsOf(static_cast<double>(twips));
}

int TwipScale::PixelsOf(double twips) const {
  return ClampRound(twips * dpi_ / kTwipsPerInch);
}

PixelRect TwipScale::Rect(std::int64_t left, std::int64_t top, std::int64_t width,
                          std::int64_t height) const {
  const int x = Pixels(left);
  const int y = Pixels(top);
  // The far edges in double, so that a huge width clamps instead of wrapping.
  const double right = PixelsOf(static_cast<double>(left) + static_cast<double>(width));
  const double bottom = PixelsOf(static_cast<double>(top) + static_cast<double>(height));
  return PixelRect{x, y, ClampRound(right - x), ClampRound(bottom - y)};
}

int TwipScale::FontPixels(double points) const {
  const int pixels = ClampRound(points * dpi_ / kPointsPerInch);
  return pixels < 1 ? 1 : pixels;
}

}  // namespace zorvik
