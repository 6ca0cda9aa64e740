#include "windows/bmp_image.h"

#include <limits>

namespace zorvik {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER
constexpr std::uint32_t kBiRgb = 0;

std::uint32_t U32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::uint16_t U16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::int32_t S32(std::span<const std::uint8_t> bytes, std::size_t at) {
  const std::uint32_t raw = U32(bytes, at);
  // Two's complement without relying on an implementation-defined cast.
  return raw <= static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())
             ? static_cast<std::int32_t>(raw)
             : -static_cast<std::int32_t>(~raw) - 1;
}

BmpResult Fail(std::string reason) {
  BmpResult result;
  result.error = std::move(reason);
  return result;
}

}  // namespace

BmpResult DecodeBmp(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kFileHeaderSize + kInfoHeaderSize) return Fail("too short for a BMP header");
  if (bytes[0] != 'B' || bytes[1] != 'M') return Fail("not a BMP file (no \"BM\")");
  const std::uint32_t pixel_offset = U32(bytes, 10);
  const std::uint32_t header_size = U32(bytes, 14);
  if (header_size < kInfoHeaderSize) return Fail("unsupported BMP header (too old)");
  if (header_size > bytes.size() - kFileHeaderSize) return Fail("BMP header runs past the end");
  const std::int32_t width = S32(bytes, 18);
  const std::int32_t raw_height = S32(bytes, 22);
  const std::uint16_t planes = U16(bytes, 26);
  const std::uint16_t bits = U16(bytes, 28);
  const std::uint32_t compression = U32(bytes, 30);
  if (planes != 1) return Fail("BMP with " + std::to_string(planes) + " planes");
  if (bits != 24 && bits != 32) {
    return Fail("unsupported BMP depth: " + std::to_string(bits) + " bits a pixel");
  }
  if (compression != kBiRgb) return Fail("compressed BMPs are not supported");
  // INT32_MIN has no positive counterpart; it is far beyond the limit anyway.
  if (width <= 0 || raw_height == 0 || raw_height == std::numeric_limits<std::int32_t>::min()) {
    return Fail("BMP without pixels");
  }
  const bool top_down = raw_height < 0;
  const std::int64_t height = top_down ? -static_cast<std::int64_t>(raw_height) : raw_height;
  if (width > kMaxBmpSide || height > kMaxBmpSide) return Fail("BMP too large");

  const std::size_t bytes_per_pixel = bits / 8u;
  const std::size_t w = static_cast<std::size_t>(width);
  const std::size_t h = static_cast<std::size_t>(height);
  const std::size_t stride = (w * bytes_per_pixel + 3) / 4 * 4;
  // Sides are at most 2^14, so these products cannot overflow.
  const std::size_t needed = stride * h;
  if (pixel_offset < kFileHeaderSize + header_size || pixel_offset > bytes.size() ||
      bytes.size() - pixel_offset < needed) {
    return Fail("BMP pixel data runs past the end");
  }

  BmpResult result;
  result.image.width = width;
  result.image.height = static_cast<int>(height);
  result.image.rgb.resize(w * h * 3);
  for (std::size_t row = 0; row < h; ++row) {
    const std::size_t source_row = top_down ? row : h - 1 - row;
    const std::uint8_t* in = bytes.data() + pixel_offset + source_row * stride;
    std::uint8_t* out = result.image.rgb.data() + row * w * 3;
    for (std::size_t x = 0; x < w; ++x, in += bytes_per_pixel, out += 3) {
      out[0] = in[2];  // stored blue, green, red
      out[1] = in[1];
      out[2] = in[0];
    }
  }
  return result;
}

}  // namespace zorvik
