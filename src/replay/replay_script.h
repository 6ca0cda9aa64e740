// Replay scripts: one event a line. A replay reads its script twice, once
// to check every line before the program starts (so a bad line stops it with
// nothing run) and once to feed the events as they fall due; neither pass
// keeps more than one line in memory.
#pragma once

#include <istream>
#include <string>
#include <string_view>

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

  // `in` must outlive the reader.
  explicit ScriptReader(std::istream& in) : in_(in) {}

  // The next event into `event`; at kError, error() says which line and why
  // (a stream that fails says so at the line it could not read).
  Result Next(ScriptEvent& event);
  const ScriptError& error() const { return error_; }

 private:
  std::istream& in_;
  std::string line_;  // the line being read, kept for its buffer
  std::size_t number_ = 0;
  Micros previous_ = 0;
  ScriptError error_;
};

}  // namespace zorvik
