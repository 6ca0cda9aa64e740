#include "windows/room_layout.h"

#include <algorithm>

namespace zorvik {

namespace {

constexpr int kPadTwips = 90;
constexpr int kRowTwips = 345;
constexpr int kNameTwips = 1800;
constexpr int kSayTwips = 1000;

}  // namespace

RoomLayout LayOutRoom(const TwipScale& scale, int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  const int pad = scale.Pixels(kPadTwips);
  const int row = std::min(scale.Pixels(kRowTwips), std::max(0, height - 2 * pad));
  const int row_top = std::max(0, height - row - pad);
  const int inner = std::max(0, width - 2 * pad);
  // The name and "say" give up width only when the text has none left.
  const int say = std::min(scale.Pixels(kSayTwips), inner);
  const int name = std::min(scale.Pixels(kNameTwips), std::max(0, inner - say - pad));
  const int text = std::max(0, inner - name - say - 3 * pad);

  RoomLayout layout;
  layout.lines = {pad, pad, inner, std::max(0, row_top - 2 * pad)};
  layout.name = {pad, row_top, name, row};
  layout.text = {pad + name + pad, row_top, text, row};
  layout.say = {std::max(pad, width - pad - say), row_top, say, row};
  return layout;
}

}  // namespace zorvik
