// Layouts are given in twips (1/1440 inch): 15 twips make a pixel at 96
// dots per inch. The desktop views place their controls with this
// arithmetic, scaled with the screen's resolution.
#pragma once

#include <cstdint>

namespace zorvik {

struct PixelRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

class TwipScale {
 public:
  // `dpi` as the screen reports it. A value that no real screen has (NaN,
  // zero, negative, below 48 or above 960) is taken as 96: a broken report
  // must not make windows vanish or fill the screen.
  explicit TwipScale(double dpi = 96.0);

  double dpi() const { return dpi_; }

  // A length or position in twips as whole pixels, rounded to the nearest
  // (halves away from zero), clamped to the int range.
  int Pixels(std::int64_t twips) const;

  // A rectangle in twips as pixels. Edges are rounded, not widths, so
  // controls that touch in twips touch on the screen too.
  PixelRect Rect(std::int64_t left, std::int64_t top, std::int64_t width,
                 std::int64_t height) const;

  // A font size in points (1/72 inch) as a pixel size, at least 1.
  int FontPixels(double points) const;

 private:
  int PixelsOf(double twips) const;

  double dpi_;
};

}  // namespace zorvik
