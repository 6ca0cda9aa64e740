#include "windows/room_line.h"

namespace zorvik {

std::string RoomLineText(std::string_view screen_name, std::string_view text) {
  std::string line;
  const auto add = [&line](std::string_view part) {
    for (char c : part) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte < 0x20 || byte == 0x7f) {
        static constexpr char kHex[] = "0123456789abcdef";
        line += "\\x";
        line += kHex[byte >> 4];
        line += kHex[byte & 15];
      } else {
        line += c;
      }
    }
  };
  add(screen_name);
  line += ": ";
  add(text);
  if (line.size() > kLongestShownLine) {
    std::size_t cut = kLongestShownLine;
    // Back up over continuation bytes so no character is split.
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    line.resize(cut);
    line += "\u2026";
  }
  return line;
}

}  // namespace zorvik
