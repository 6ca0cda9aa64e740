#include "windows/window_layout.h"

#include <string>

namespace zorvik {

namespace {

PixelRect Place(const TwipScale& scale, const TwipRect& r) {
  return scale.Rect(r.left, r.top, r.width, r.height);
}

// A control inside a frame, relative to the window: its edges are rounded
// from the sum in twips, so that it keeps its place at any resolution.
PixelRect Within(const TwipScale& scale, const TwipRect& frame, const TwipRect& r) {
  return scale.Rect(static_cast<std::int64_t>(frame.left) + r.left,
                    static_cast<std::int64_t>(frame.top) + r.top, r.width, r.height);
}

const TwipRect& Frame(ConsoleFrame frame) {
  return kConsoleFrames[static_cast<std::size_t>(frame)];
}

const TwipRect& SeatFrame(int seat) {
  return Frame(seat == 2 ? ConsoleFrame::kPlayer2 : ConsoleFrame::kPlayer1);
}

}  // namespace

PixelRect ConsoleClient(const TwipScale& scale) {
  return Place(scale, {0, 0, kConsoleWidthTwips, kConsoleHeightTwips});
}

PixelRect ConsoleFrameRect(const TwipScale& scale, ConsoleFrame frame) {
  return Place(scale, Frame(frame));
}

PixelRect CreatureLabelRect(const TwipScale& scale, int seat) {
  return Within(scale, SeatFrame(seat), kCreatureLabel);
}

PixelRect HpLabelRect(const TwipScale& scale, int seat) {
  return Within(scale, SeatFrame(seat), kHpLabel);
}

ConsoleFrame FrameOf(ConsoleButton button) {
  for (const ConsoleButtonPlace& b : kConsoleButtonPlaces) {
    if (b.which == button) return b.frame;
  }
  return ConsoleFrame::kControls;
}

PixelRect ConsoleButtonRect(const TwipScale& scale, ConsoleButton button) {
  for (const ConsoleButtonPlace& b : kConsoleButtonPlaces) {
    if (b.which == button) return Within(scale, Frame(b.frame), b.place);
  }
  return PixelRect{};
}

PixelRect SplashClient(const TwipScale& scale) {
  return Place(scale, {0, 0, kSplashWidthTwips, kSplashHeightTwips});
}

PixelRect SplashPictureRect(const TwipScale& scale) {
  return Place(scale, kSplashPicture);
}

PixelRect SplashBylineRect(const TwipScale& scale) {
  return Within(scale, kSplashPicture, kSplashByline);
}

PixelRect FormClient(const TwipScale& scale) {
  return Place(scale, {0, 0, kFormWidthTwips, kFormHeightTwips});
}

PixelRect FormTextRect(const TwipScale& scale) {
  return Place(scale, kFormText);
}

PixelRect FormButtonRect(const TwipScale& scale, FormButton button) {
  for (const FormButtonPlace& b : kFormButtonPlaces) {
    if (b.which == button) return Place(scale, b.place);
  }
  return PixelRect{};
}

std::string WithoutShortcuts(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    out += c;
    if (c == '&') out += '&';
  }
  return out;
}

}  // namespace zorvik
