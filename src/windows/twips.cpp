#include "windows/twips.h"

#include <cmath>

#include "bridge/own_window.h"

namespace zorvik {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kPointsPerInch = 72.0;

}  // namespace

TwipScale::TwipScale(double dpi) : dpi_(std::isfinite(dpi) && dpi >= 48 && dpi <= 960 ? dpi : 96) {}

int TwipScale::Pixels(std::int64_t twips) const {
  return PixelsOf(static_cast<double>(twips));
}

int TwipScale::PixelsOf(double twips) const {
  return RoundToInt(twips * dpi_ / kTwipsPerInch);
}

PixelRect TwipScale::Rect(std::int64_t left, std::int64_t top, std::int64_t width,
                          std::int64_t height) const {
  const int x = Pixels(left);
  const int y = Pixels(top);
  // The far edges in double, so that a huge width clamps instead of wrapping.
  const double right = PixelsOf(static_cast<double>(left) + static_cast<double>(width));
  const double bottom = PixelsOf(static_cast<double>(top) + static_cast<double>(height));
  return PixelRect{x, y, RoundToInt(right - x), RoundToInt(bottom - y)};
}

int TwipScale::FontPixels(double points) const {
  const int pixels = RoundToInt(points * dpi_ / kPointsPerInch);
  return pixels < 1 ? 1 : pixels;
}

}  // namespace zorvik
