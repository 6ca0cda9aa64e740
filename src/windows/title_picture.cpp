// The title picture's bytes, apart from the decoder, so that a program that
// carries the picture as a resource of its own does not link it twice.
#include "windows/bmp_image.h"

namespace zorvik {

namespace {

const std::uint8_t kTitlePicture[] = {
#include "windows/title_picture.inc"
};

}  // namespace

std::span<const std::uint8_t> TitlePictureBmp() {
  return kTitlePicture;
}

}  // namespace zorvik
