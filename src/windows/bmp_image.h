// Decodes Windows bitmaps (BMP) held in memory into RGB pixels. The title
// picture is built into the program as the bytes of a BMP file, and the
// desktop toolkit reads BMP only from files, so we decode it ourselves.
//
// Accepted: a "BM" file header, a BITMAPINFOHEADER (or a larger header of
// the same family), one plane, 24 or 32 bits a pixel, no compression
// (BI_RGB), rows bottom-up (positive height) or top-down (negative height),
// each row padded to a multiple of four bytes. Everything else, and any file
// whose sizes or offsets do not add up, is refused with a reason: the bytes
// may be anything, and decoding never reads outside them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zorvik {

// Pixels top row first, three bytes (red, green, blue) a pixel, no padding.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
};

struct BmpResult {
  RgbImage image;
  std::string error;  // empty when the image was decoded
  bool ok() const { return error.empty(); }
};

// The largest width or height accepted; a bitmap claiming more is refused
// before anything is allocated.
inline constexpr int kMaxBmpSide = 16384;

BmpResult DecodeBmp(std::span<const std::uint8_t> bytes);

// The title picture shown by the splash window: a 250 x 93 BMP, 24 bits a
// pixel, 69,990 bytes.
std::span<const std::uint8_t> TitlePictureBmp();

}  // namespace zorvik
