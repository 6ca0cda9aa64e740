#include "windows/bmp_image.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zorvik {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Stores the low `size` bytes of `value` at `at`, little-endian.
void Put(Bytes& bytes, std::size_t at, std::int64_t value, std::size_t size = 4) {
  for (std::size_t i = 0; i < size; ++i)
    bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A BMP whose pixel (x, y), counted from the top left, is (x, y, x ^ y),
// laid out as `bits` bits a pixel, bottom-up unless `top_down`.
Bytes MakeBmp(int width, int height, int bits, bool top_down) {
  const std::size_t bpp = static_cast<std::size_t>(bits / 8);
  const std::size_t stride = (static_cast<std::size_t>(width) * bpp + 3) / 4 * 4;
  Bytes bytes(54 + stride * static_cast<std::size_t>(height), 0);
  Put(bytes, 0, 'B' | 'M' << 8, 2);
  Put(bytes, 2, static_cast<std::int64_t>(bytes.size()));
  Put(bytes, 10, 54);
  Put(bytes, 14, 40);
  Put(bytes, 18, width);
  Put(bytes, 22, top_down ? -height : height);
  Put(bytes, 26, 1, 2);
  Put(bytes, 28, bits, 2);
  for (int y = 0; y < height; ++y) {
    const int stored_row = top_down ? y : height - 1 - y;
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = bytes.data() + 54 + static_cast<std::size_t>(stored_row) * stride +
                        static_cast<std::size_t>(x) * bpp;
      p[0] = static_cast<std::uint8_t>(x ^ y);  // blue
      p[1] = static_cast<std::uint8_t>(y);      // green
      p[2] = static_cast<std::uint8_t>(x);      // red
    }
  }
  return bytes;
}

// Row padding, row order and channel order: widths 1 to 5 cover every
// padding a 24-bit row can need; 32-bit rows need none.
TEST(BmpImageTest, DecodesEveryPaddingAndBothRowOrders) {
  for (int bits : {24, 32}) {
    for (int width = 1; width <= 5; ++width) {
      for (bool top_down : {false, true}) {
        SCOPED_TRACE(std::to_string(bits) + " bits, width " + std::to_string(width) +
                     (top_down ? ", top-down" : ", bottom-up"));
        const int height = 3;
        const BmpResult result = DecodeBmp(MakeBmp(width, height, bits, top_down));
        ASSERT_TRUE(result.ok()) << result.error;
        ASSERT_EQ(result.image.width, width);
        ASSERT_EQ(result.image.height, height);
        ASSERT_EQ(result.image.rgb.size(), static_cast<std::size_t>(width * height * 3));
        for (int y = 0; y < height; ++y) {
          for (int x = 0; x < width; ++x) {
            const std::uint8_t* p =
                &result.image.rgb[static_cast<std::size_t>((y * width + x) * 3)];
            EXPECT_EQ(p[0], x);
            EXPECT_EQ(p[1], y);
            EXPECT_EQ(p[2], x ^ y);
          }
        }
      }
    }
  }
}

// The built-in title picture is the 250 x 93, 24-bit, 69,990-byte BMP the
// splash window expects, and it decodes whole.
TEST(BmpImageTest, TitlePictureIsTheSplashPicture) {
  const auto bytes = TitlePictureBmp();
  ASSERT_EQ(bytes.size(), 69'990u);
  EXPECT_EQ(bytes[28], 24);  // bits a pixel, as stored
  const BmpResult result = DecodeBmp(bytes);
  ASSERT_TRUE(result.ok()) << result.error;
  EXPECT_EQ(result.image.width, 250);
  EXPECT_EQ(result.image.height, 93);
  // The picture's top row is its night sky (dark blue); the bottom-up
  // storage must not have turned it upside down into the purple bottom.
  const std::uint8_t* top_left = result.image.rgb.data();
  EXPECT_LT(top_left[0], 60);
  EXPECT_GT(top_left[2], top_left[0]);
  const std::uint8_t* bottom_left = &result.image.rgb[static_cast<std::size_t>(92 * 250 * 3)];
  EXPECT_GT(bottom_left[0], top_left[0]);
}

// Hostile files are refused with a reason, never read past their end.
TEST(BmpImageTest, RefusesBrokenFiles) {
  struct Case {
    const char* what;
    std::size_t at;  // where to poke
    std::size_t bytes;
    std::int64_t value;
    const char* reason_part;
  };
  const Case cases[] = {
      {"wrong magic", 0, 2, 0x4D42 + 1, "not a BMP"}, {"old core header", 14, 4, 12, "too old"},
      {"header larger than file", 14, 4, 100000, "past the end"},
      {"two planes", 26, 2, 2, "planes"}, {"8 bits", 28, 2, 8, "depth"},
      {"16 bits", 28, 2, 16, "depth"}, {"run-length compressed", 30, 4, 1, "compressed"},
      {"zero width", 18, 4, 0, "without pixels"}, {"negative width", 18, 4, -4, "without pixels"},
      {"zero height", 22, 4, 0, "without pixels"},
      {"most negative height", 22, 4, INT32_MIN, "without pixels"},
      {"huge width", 18, 4, 0x7FFFFFFF, "too large"},
      {"huge top-down height", 22, 4, -100000, "too large"},
      {"pixels beyond the end", 10, 4, 60, "past the end"},
      {"pixels inside the header", 10, 4, 20, "past the end"},
      {"offset near 4 GiB", 10, 4, 0xFFFFFFF0, "past the end"},
      {"taller than the data", 22, 4, 5, "past the end"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes bytes = MakeBmp(4, 3, 24, false);
    Put(bytes, c.at, c.value, c.bytes);
    const BmpResult result = DecodeBmp(bytes);
    EXPECT_FALSE(result.ok());
    EXPECT_NE(result.error.find(c.reason_part), std::string::npos) << result.error;
    EXPECT_TRUE(result.image.rgb.empty());
  }
}

// Every cut of a valid file, from nothing to one byte short, is refused.
TEST(BmpImageTest, RefusesEveryTruncation) {
  const Bytes whole = MakeBmp(5, 4, 24, false);
  for (std::size_t size = 0; size < whole.size(); ++size) {
    EXPECT_FALSE(DecodeBmp(std::span(whole.data(), size)).ok()) << size;
  }
}

}  // namespace
}  // namespace zorvik
