// Where the program's own windows put their controls: the twip tables of
// the console, the splash window and the feedback form, and their pixel
// positions at a screen's resolution. Every desktop view (FLTK on X11,
// user32 on Windows) lays its windows out from here, so the arithmetic is
// written once and tested without a display.
#pragma once

#include <array>
#include <string_view>

#include "match/host_console.h"
#include "windows/feedback_form.h"
#include "windows/twips.h"

namespace zorvik {

// A rectangle in twips, relative to the window's client area or, for a
// control inside a frame, to the frame.
struct TwipRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The console.
inline constexpr std::string_view kConsoleCaption = "z\u00f8rv\u00efk by va\u00f1d\u00f8r";
inline constexpr int kConsoleWidthTwips = 5415;
inline constexpr int kConsoleHeightTwips = 1335;
// The captions' font: about 8 points, as small dialogs use.
inline constexpr double kConsoleFontPoints = 8.25;

enum class ConsoleFrame { kPlayer1, kPlayer2, kControls, kGameControls };

inline constexpr std::array<TwipRect, 4> kConsoleFrames = {{
    {0, 0, 2655, 615},     // player1
    {2760, 0, 2655, 615},  // player2
    {0, 720, 2655, 615},   // controls
    {2760, 720, 2655, 615},
}};
// Inside each seat frame: the creature (p11, p12) and its hit points (lvl11, lvl12).
inline constexpr TwipRect kCreatureLabel = {120, 240, 1575, 255};
inline constexpr TwipRect kHpLabel = {1800, 240, 735, 255};

struct ConsoleButtonPlace {
  ConsoleButton which;
  ConsoleFrame frame;
  TwipRect place;  // within the frame
};

// In keyboard focus order (kConsoleButtons).
inline constexpr std::array<ConsoleButtonPlace, 6> kConsoleButtonPlaces = {{
    {ConsoleButton::kGetPlayers, ConsoleFrame::kControls, {120, 240, 1095, 255}},
    {ConsoleButton::kExit, ConsoleFrame::kControls, {1320, 240, 495, 255}},
    {ConsoleButton::kSetup, ConsoleFrame::kGameControls, {120, 240, 735, 255}},
    {ConsoleButton::kStart, ConsoleFrame::kGameControls, {960, 240, 735, 255}},
    {ConsoleButton::kStop, ConsoleFrame::kGameControls, {1800, 240, 735, 255}},
    {ConsoleButton::kInfo, ConsoleFrame::kControls, {1920, 240, 615, 255}},
}};

// The splash window: the picture box and the byline on it.
inline constexpr int kSplashWidthTwips = 4050;
inline constexpr int kSplashHeightTwips = 1665;
inline constexpr TwipRect kSplashPicture = {120, 120, 3810, 1455};
inline constexpr TwipRect kSplashByline = {1680, 1200, 555, 180};  // within the picture
inline constexpr std::string_view kSplashBylineText = "by vandor";
inline constexpr double kSplashBylinePoints = 6.75;

// The feedback form.
inline constexpr std::string_view kFormCaption = "mail me";
inline constexpr int kFormWidthTwips = 2880;
inline constexpr int kFormHeightTwips = 1335;
inline constexpr TwipRect kFormText = {0, 0, 2895, 1095};
inline constexpr double kFormTextPoints = 6.75;

struct FormButtonPlace {
  FormButton which;
  TwipRect place;
};

// In tab order, after the text box: Command1, Command2, Command3.
inline constexpr std::array<FormButtonPlace, 3> kFormButtonPlaces = {{
    {FormButton::kBugReport, {0, 1080, 975, 255}},
    {FormButton::kExit, {1920, 1080, 975, 255}},
    {FormButton::kComments, {960, 1080, 975, 255}},
}};

// Pixel positions at `scale`, relative to the window's client area (frames
// and their controls alike).
PixelRect ConsoleClient(const TwipScale& scale);
PixelRect ConsoleFrameRect(const TwipScale& scale, ConsoleFrame frame);
// Seat 1 or 2.
PixelRect CreatureLabelRect(const TwipScale& scale, int seat);
PixelRect HpLabelRect(const TwipScale& scale, int seat);
PixelRect ConsoleButtonRect(const TwipScale& scale, ConsoleButton button);
ConsoleFrame FrameOf(ConsoleButton button);

PixelRect SplashClient(const TwipScale& scale);
PixelRect SplashPictureRect(const TwipScale& scale);
PixelRect SplashBylineRect(const TwipScale& scale);

PixelRect FormClient(const TwipScale& scale);
PixelRect FormTextRect(const TwipScale& scale);
PixelRect FormButtonRect(const TwipScale& scale, FormButton button);

// `text` with every '&' doubled: the Windows controls' captions take a lone
// '&' as the mark of a shortcut letter, and seat captions hold chat names.
std::string WithoutShortcuts(std::string_view text);

}  // namespace zorvik
