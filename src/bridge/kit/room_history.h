// The lines of a chat room's history view, told apart from one read to the
// next: the desktop client shows its room as one text, a line per room line
// ("screen name:<TAB>text", ending with CR, LF or CR LF), appends new lines
// at the bottom and drops old ones from the top of a long history. Reading
// the text again and again, the room feed needs only what was added.
//
// New lines are found by what was seen last, never by offsets: the longest
// run of lines at the top of the new text that equals the end of the last
// text is taken as already seen, and everything after it is new. So a line
// is never reported twice, whatever was dropped from the top; when lines
// repeat so that this cannot tell, fewer lines are reported rather than
// more. Linear in the texts' length.
//
// A read may catch the text while the client writes it: a last line
// without a line end may still grow. It is held back until a later read
// shows it ended, or shows the same text again (a client that does not end
// its last line), so a half-read line is neither reported nor taken as
// seen. (A line still being written at the first read is reported once it
// has ended: it was not there before listening.)
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zorvik {

struct HistoryLine {
  std::string screen_name;
  std::string text;
  bool operator==(const HistoryLine&) const = default;
};

class RoomHistory {
 public:
  // Takes the history's whole text and returns the room lines added since
  // the last call, in order. The first call after construction or Reset
  // only learns the history and returns nothing. Lines without ":<TAB>"
  // (not room lines) are never reported, but count as seen.
  std::vector<HistoryLine> Update(std::string_view text);

  // Forgets the history: the next Update starts afresh (a new room).
  void Reset();

 private:
  bool started_ = false;
  std::string last_text_;
  std::vector<std::string> last_lines_;  // ended lines, and a held line once reported
  std::string held_;                     // the last read's unended last line
  bool holding_ = false;
  bool held_was_there_ = false;          // held since the first read
};

}  // namespace zorvik
