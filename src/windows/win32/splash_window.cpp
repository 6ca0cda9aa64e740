#include "windows/win32/splash_window.h"

#include <windowsx.h>

#include "windows/bmp_image.h"
#include "windows/win32/wide_text.h"
#include "windows/window_layout.h"

namespace zorvik {

namespace {

constexpr int kPictureBorder = 2;  // the sunken edge, in pixels
constexpr COLORREF kBylineColour = RGB(236, 232, 255);

bool Inside(const PixelRect& r, int x, int y) {
  return x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h;
}

}  // namespace

SplashWindow::SplashWindow(Splash& splash, NativeWindow& window, Win32Loop& loop)
    : splash_(splash),
      window_(window),
      loop_(loop),
      font_(L"Arial", kSplashBylinePoints, window.screen().scale),
      picture_(SplashPictureRect(window.screen().scale)),
      byline_(SplashBylineRect(window.screen().scale)) {
  const BmpResult decoded = DecodeBmp(TitlePictureBmp());
  if (decoded.ok()) {
    const RgbImage& image = decoded.image;
    const std::size_t stride = (static_cast<std::size_t>(image.width) * 3 + 3) / 4 * 4;
    bits_.assign(stride * static_cast<std::size_t>(image.height), 0);
    for (int y = 0; y < image.height; ++y) {
      for (int x = 0; x < image.width; ++x) {
        const std::size_t from = (static_cast<std::size_t>(y) * image.width + x) * 3;
        const std::size_t to = static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * 3;
        bits_[to] = image.rgb[from + 2];
        bits_[to + 1] = image.rgb[from + 1];
        bits_[to + 2] = image.rgb[from];
      }
    }
    info_.bmiHeader.biSize = sizeof info_.bmiHeader;
    info_.bmiHeader.biWidth = image.width;
    info_.bmiHeader.biHeight = -image.height;  // top row first
    info_.bmiHeader.biPlanes = 1;
    info_.bmiHeader.biBitCount = 24;
    info_.bmiHeader.biCompression = BI_RGB;
  }
  window.SetHandler(
      [this](UINT message, WPARAM wparam, LPARAM lparam) { return OnMessage(message, wparam, lparam); });
  splash_.AddVisibilityObserver([this](bool) {
    loop_.Post([this] { window_.SetShown(splash_.shown()); });
  });
}

SplashWindow::~SplashWindow() {
  window_.SetHandler(nullptr);
}

std::optional<LRESULT> SplashWindow::OnMessage(UINT message, WPARAM, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_LBUTTONDOWN: {
      // The label lies on the picture: a click on either lands here.
      if (!Inside(picture_, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam))) return 0;
      Splash& splash = splash_;
      loop_.Post([&splash] { splash.Click(); });
      return 0;
    }
    default:
      return std::nullopt;
  }
}

void SplashWindow::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_.handle(), &paint);
  RECT edge{picture_.x, picture_.y, picture_.x + picture_.w, picture_.y + picture_.h};
  FillRect(dc, &edge, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
  if (!bits_.empty()) {
    SetStretchBltMode(dc, HALFTONE);
    StretchDIBits(dc, picture_.x + kPictureBorder, picture_.y + kPictureBorder,
                  picture_.w - 2 * kPictureBorder, picture_.h - 2 * kPictureBorder, 0, 0,
                  info_.bmiHeader.biWidth, -info_.bmiHeader.biHeight, bits_.data(), &info_,
                  DIB_RGB_COLORS, SRCCOPY);
  }
  HGDIOBJ old_font = SelectObject(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kBylineColour);
  RECT label{byline_.x, byline_.y, byline_.x + byline_.w, byline_.y + byline_.h};
  const std::wstring text = Widen(kSplashBylineText);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &label,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
  SelectObject(dc, old_font);
  EndPaint(window_.handle(), &paint);
}

}  // namespace zorvik
