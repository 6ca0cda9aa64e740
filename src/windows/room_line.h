// How a room window shows a room line, on every desktop.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zorvik {

// A room line as the room window shows it: "name: text". Control
// characters are shown as \xNN so that no line can upset the display, and
// a line longer than kLongestShownLine bytes is cut (at a character
// boundary) with "…".
inline constexpr std::size_t kLongestShownLine = 2000;
std::string RoomLineText(std::string_view screen_name, std::string_view text);

}  // namespace zorvik
