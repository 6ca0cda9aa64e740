// The room window of the embedded client, on every desktop: the room's
// lines above, and below them one row to speak: a screen name, the text and
// "say". The window may be resized; the lines take what the row leaves.
#pragma once

#include "windows/twips.h"

namespace zorvik {

// The room window's first client size in twips.
inline constexpr int kRoomWidthTwips = 8400;
inline constexpr int kRoomHeightTwips = 5400;

struct RoomLayout {
  PixelRect lines;
  PixelRect name;
  PixelRect text;
  PixelRect say;
};

// The controls for a client area of `width` x `height` pixels. In a window
// too small for them, sizes shrink to nothing rather than go negative, and
// the name and "say" keep their widths as long as there is room for them.
RoomLayout LayOutRoom(const TwipScale& scale, int width, int height);

}  // namespace zorvik
