// Replay scripts: one event a line. A replay reads its script twice, once
// to check every line before the program starts (so a bad line stops it with
// nothing run) and once to feed the events as they fall due; neither pass
// keeps more than a chunk of lines in memory.
#pragma once

#include <istream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "bridge/loop/event_loop.h"

namespace zorvik {

enum class ScriptVerb {
  kSay,           // a person types a line into the room
  kClickSplash,   // click on the splash window's picture
  kClickConsole,  // press a console button (target = caption)
  kClickMenu,     // choose an info-menu item (target = item)
  kClickForm,     // press a feedback-form button (target = caption)
  kTypeForm,      // replace the feedback form's text
  kShow,          // write a #console record
};

struct ScriptEvent {
  Micros time = 0;
  ScriptVerb verb = ScriptVerb::kShow;
  std::string target;  // screen name, caption or menu item
  std::string text;    // the text of say and type, escapes resolved
};

struct ScriptError {
  std::size_t line = 0;
  std::string reason;
};

// Reads a script's events one at a time, in script order, checking that
// times never go back.
class ScriptReader {
 public:
  enum class Result { kEvent, kEnd, kError };

  explicit ScriptReader(std::istream& in) : in_(in), buffer_(kChunk) {}

  // The next event into `event`; at kError, error() says which line and why
  // (a stream that fails says so at the line it could not read).
  Result Next(ScriptEvent& event) { return Read(event, true); }
  // The same, but only the event's time and verb are set: for checking a
  // script without keeping its texts.
  Result Check(ScriptEvent& event) { return Read(event, false); }
  const ScriptError& error() const { return error_; }

 private:
  static constexpr std::size_t kChunk = 64 * 1024;

  Result Read(ScriptEvent& event, bool fill);
  // The next line without its LF; false at the end of the stream. The
  // line lasts until the next call.
  bool NextLine(std::string_view& line);
  // Moves the unread bytes to the front of the buffer and reads more after
  // them, setting at_end_ when the stream has no more.
  void ReadChunk();

  std::istream& in_;
  // The stream is read a chunk at a time: [start_, end_) is not read yet.
  std::vector<char> buffer_;
  std::size_t start_ = 0;
  std::size_t end_ = 0;
  bool at_end_ = false;
  std::size_t number_ = 0;
  Micros previous_ = 0;
  ScriptError error_;
};

// Either the events in script order or the first line that cannot be read:
// a whole script read at once, for scripts held in memory.
using ParsedScript = std::variant<std::vector<ScriptEvent>, ScriptError>;

ParsedScript ParseScript(std::string_view script);

// The escapes of say and type: \\ \t \r \n; any other backslash is itself.
std::string UnescapeScriptText(std::string_view text);
// The same into `out`, whose buffer is reused.
void UnescapeScriptText(std::string_view text, std::string& out);

// Seconds as the script writes them ("12.25"), rounded to the nearest
// microsecond. False for anything that is not a plain decimal number or is
// too large to be a time.
bool ParseScriptTime(std::string_view text, Micros& time);

}  // namespace zorvik
